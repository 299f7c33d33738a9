#pragma once

#include <functional>

class QCoreApplication;

// What every command's process does around its command, in the program and
// in the drawing module alike.
class CommandProcess {
public:
    // Messages in the operator's language; the statistics lines of info and
    // measure are data, the same in every language.
    static void Translate(QCoreApplication& application);
    // The command's exit code, returned; or the process ended at once with
    // it when HDF5's teardown at exit may hang (a log it could not close).
    // A command that printed less than all it meant to on standard output
    // says so, and fails with exit code 2 where it would have succeeded.
    static int End(int code);
    // The command's exit code; or, when it failed in a way no command
    // expects (the arithmetic found its FFTW module missing), its reason on
    // standard error and exit code 2.
    static int Guarded(const std::function<int()>& command);
};

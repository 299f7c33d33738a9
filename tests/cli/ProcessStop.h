#pragma once

class QProcess;

// How a running korvadex-cli is stopped from outside: the operator's Ctrl-C
// on its console, or the system ending it at once.
enum class Stop { CtrlC, Kill };

// Platform code: ProcessStop_posix.cpp (signals), ProcessStop_win.cpp
// (console control events).
// Before the start: sets the process up so that StopProcess reaches it alone.
void PrepareToStop(QProcess& process);
void StopProcess(QProcess& process, Stop how);

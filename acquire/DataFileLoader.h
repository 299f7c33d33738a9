#pragma once

#include <QString>

class RunData;
class WindowTexts;

// Reads a ".DTA" file into a run as the window's load command does, and
// refuses what the window would not show: a file the file class rejects, or
// one whose rate, count or channel names no item of its list. A refusal
// prints the file name and the window's file-error text on standard error
// and leaves the run without data, never with part of the file.
class DataFileLoader {
public:
    static bool Load(const QString& path, RunData& run, WindowTexts& texts);
};

#pragma once

// The program's synopsis and version, without Qt: the companion's first
// process prints them before it loads anything.
class Synopsis {
public:
    // What --help prints (without the last line's end).
    static const char* Text();
    // The program's name and the project's version, "korvadex-cli 2.0.0".
    static const char* Version();
};

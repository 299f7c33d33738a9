#pragma once

// Every command of the companion lives in the module korvadex-commands,
// with Qt Core and what the commands need: the program itself (main.cpp)
// starts without Qt, answers --help and --version at once, and loads the
// module for anything else.
struct CommandsModuleEntries {
    // Runs the command the program's arguments name and returns its exit
    // code.
    int (*Run)(int& argc, char** argv);
};

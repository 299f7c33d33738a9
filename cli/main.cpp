#include "CommandsModule.h"
#include "ExitCode.h"
#include "ProgramModule.h"
#include "Synopsis.h"
#include "Terminal.h"

#include <cstdio>
#include <cstring>
#include <string>

// The program loads no more than the C++ library before it knows its
// command: --help and --version print at once, and every other command runs
// in the module korvadex-commands, with Qt and the libraries behind it.

namespace {

bool Named(int argc, char** argv, const char* word)
{
    return argc > 1 && std::strcmp(argv[1], word) == 0;
}

// The text and a line's end on standard output; a text that could not be
// written (a full disk) is a failed command.
int Print(const char* text)
{
    if (std::fputs(text, stdout) >= 0 && std::fputc('\n', stdout) != EOF && std::fflush(stdout) == 0)
        return ExitDone;
    std::fprintf(stderr, "%s\n", Terminal::OutputLost);
    return ExitUsageOrFile;
}

} // namespace

int main(int argc, char** argv)
{
    Terminal::WritesUtf8Unchanged();
    if (Named(argc, argv, "--help") || Named(argc, argv, "help"))
        return Print(Synopsis::Text());
    if (Named(argc, argv, "--version"))
        return Print(Synopsis::Version());
    std::string error;
    const CommandsModuleEntries* commands = ProgramModule::Load<CommandsModuleEntries>("commands", error);
    if (commands == nullptr) {
        std::fprintf(stderr, "korvadex-cli: %s; every command but --help and --version needs it\n", error.c_str());
        return ExitUsageOrFile;
    }
    return commands->Run(argc, argv);
}

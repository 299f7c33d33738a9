#include "GuardedApplication.h"
#include "WindowProgram.h"

// The program reads no command line: every start begins with the same
// defaults. The environment chooses only the language of its texts.
int main(int argc, char* argv[])
{
    GuardedApplication application(argc, argv);
    return RunWindowProgram(application);
}

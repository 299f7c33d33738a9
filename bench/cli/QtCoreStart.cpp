#include <QtGlobal>

// The floor under every command's start-up: a process that loads Qt Core
// and its libraries, as korvadex-cli does, and does nothing else.
int main()
{
    return qVersion() == nullptr ? 1 : 0;
}

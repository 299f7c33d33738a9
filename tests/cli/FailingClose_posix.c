// Loaded before the C library into korvadex-cli, it stands in for a network
// file system that reports a failed write only when the file is closed:
// close() of a file whose name ends in $KORVADEX_TEST_FAIL_CLOSE closes it,
// then answers EIO.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static int NamedForFailure(int fd)
{
    const char* suffix = getenv("KORVADEX_TEST_FAIL_CLOSE");
    if (suffix == NULL || *suffix == '\0')
        return 0;
    char link[64];
    char name[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, name, sizeof name - 1);
    const size_t wanted = strlen(suffix);
    if (length <= 0 || (size_t)length < wanted)
        return 0;
    name[length] = '\0';
    return strcmp(name + length - wanted, suffix) == 0;
}

int close(int fd)
{
    static int (*realClose)(int) = NULL;
    if (realClose == NULL)
        realClose = (int (*)(int))dlsym(RTLD_NEXT, "close");
    const int fails = NamedForFailure(fd);
    const int result = realClose(fd);
    if (fails && result == 0) {
        errno = EIO;
        return -1;
    }
    return result;
}

#include "FileSizeLimit.h"

#include <QProcess>

#include <csignal>
#include <sys/resource.h>

bool LimitFileSize(QProcess& process, qint64 bytes)
{
    process.setChildProcessModifier([bytes] {
        const rlimit limit{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
        setrlimit(RLIMIT_FSIZE, &limit);
        std::signal(SIGXFSZ, SIG_IGN);
    });
    return true;
}

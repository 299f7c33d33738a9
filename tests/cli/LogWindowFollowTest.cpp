// The window's log window on an HDF5 log that korvadex-cli is still
// writing: it looks again every second and follows the end as it grows.

#include "CliProcess.h"
#include "LogPlot.h"
#include "LogWindow.h"
#include "TestApplication.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

#ifndef _WIN32  // a reader beside the live writer (SWMR) is a POSIX use only
TEST(LogWindowFollow, FollowsTheEndOfALogWhileItIsWritten)
{
    EnsureTestApplication();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("live.h5"));
    LogWindow window;
    window.resize(900, 480);
    std::vector<std::int64_t> ends;  // the view's last sample, each time it moved
    const auto grownThrice = [&] {
        QCoreApplication::processEvents();
        QString error;
        if (ends.empty()) {
            if (QFileInfo::exists(path) && window.Open(path, error) && window.Plot()->View().Last() > 0)
                ends.push_back(window.Plot()->View().Last());
            return false;
        }
        if (window.Plot()->View().Last() != ends.back())
            ends.push_back(window.Plot()->View().Last());
        return ends.size() >= 4;
    };
    const CliResult r = CliProcess::RunSignalledWhen(
        {QStringLiteral("log"), QStringLiteral("--rate"), QStringLiteral("1ksps"), QStringLiteral("--channel"), QStringLiteral("0"),
         QStringLiteral("--filter"), QStringLiteral("sinc5"), QStringLiteral("-o"), path},
        {}, grownThrice, Stop::CtrlC);
    ASSERT_TRUE(r.Finished);
    ASSERT_EQ(ends.size(), 4u) << r.Err.toStdString();
    for (std::size_t i = 1; i < ends.size(); ++i)
        EXPECT_GT(ends[i], ends[i - 1]);
}
#endif

} // namespace

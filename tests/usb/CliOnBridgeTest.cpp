// korvadex-cli run as a process with no vendor library anywhere and the
// libusb stand-in first on the loader path: the loader falls back to the
// libftdi driver, which finds the emulated bridge.

#include "CliProcess.h"
#include "DtaFiles.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <vector>

namespace {

constexpr std::int32_t Start = 100;
constexpr std::int32_t Ch1Offset = 0x800000;

CliProcess::Environment CountingBoard(CliProcess::Environment more = {})
{
    more.insert(QStringLiteral("KORVADEX_SIM_COUNTER"), QStringLiteral("1"));
    more.insert(QStringLiteral("KORVADEX_SIM_COUNTER_START"), QString::number(Start));
    return more;
}

QStringList FullRateRun(const QString& path)
{
    return {QStringLiteral("measure"), QStringLiteral("--rate"),    QStringLiteral("125ksps"),
            QStringLiteral("--count"), QStringLiteral("100000"),    QStringLiteral("--channel"),
            QStringLiteral("2"),       QStringLiteral("--filter"),  QStringLiteral("sinc5"),
            QStringLiteral("-o"),      path};
}

std::vector<std::int32_t> Counting(std::int32_t first, int count)
{
    std::vector<std::int32_t> codes(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        codes[static_cast<std::size_t>(i)] = first + i;
    return codes;
}

TEST(CliOnEmulatedBridge, MeasuresAndSavesAFullRateTwoChannelRun)
{
    DtaFiles files;
    const QString path = files.Path(QStringLiteral("bridge"));
    const CliResult r = CliProcess::Run(FullRateRun(path), CountingBoard());
    ASSERT_TRUE(r.Finished);
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    EXPECT_EQ(r.OutLines().value(0), QStringLiteral("KORVADEX / V1.00"));
    const LoadedRun run = LoadDta(path + QStringLiteral(".DTA"));
    ASSERT_TRUE(run.Ok);
    EXPECT_EQ(run.Ch0, Counting(Start, 100000));
    EXPECT_EQ(run.Ch1, Counting(Start + Ch1Offset, 100000));
}

struct BridgeFailure {
    const char* Name;
    const char* Variable;
    const char* Value;
    int ExitCode;
    const char* Message;
};

void PrintTo(const BridgeFailure& failure, std::ostream* out)
{
    *out << failure.Name;
}

class CliOnFailingBridge : public ::testing::TestWithParam<BridgeFailure> {
};

TEST_P(CliOnFailingBridge, EndsWithTheWindowsMessageAndExitCode)
{
    DtaFiles files;
    const BridgeFailure& failure = GetParam();
    const CliResult r = CliProcess::Run(FullRateRun(files.Path(QStringLiteral("failed"))),
                                        CountingBoard({{QString::fromLatin1(failure.Variable),
                                                        QString::fromLatin1(failure.Value)}}));
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, failure.ExitCode) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(QString::fromUtf8(failure.Message))) << r.Err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CliOnFailingBridge,
    ::testing::Values(BridgeFailure{"AccessDenied", "KORVADEX_SIM_USB_FAULTS", "access", 3,
                                    "KORVADEX が見つかりませんでした"},
                      BridgeFailure{"UnpluggedMidRun", "KORVADEX_SIM_USB_REMOVE_AFTER", "60000", 6,
                                    "計測エラーで終了"}),
    [](const ::testing::TestParamInfo<BridgeFailure>& info) { return info.param.Name; });

}  // namespace

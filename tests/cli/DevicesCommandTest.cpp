// Several FTDI devices on one computer, on the driver path the test program
// is built for (DriverPath): what devices lists and identifies, how measure
// chooses its board, and why it cannot use one.

#include "CliProcess.h"
#include "DriverPath.h"

#include "QtPrinting.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

namespace {

const QString Devices = QStringLiteral("KORVADEX_SIM_DEVICES");

QString Listed(int index, const QString& fields, const QString& state)
{
    return QStringLiteral("%1\t%2\t%3\t%4").arg(index).arg(fields, DriverPath::Location(index), state);
}

// A USB-serial cable at index 0, before the board: the case where opening
// device 0 talks to the wrong thing.
CliProcess::Environment Bench(const QString& devices = QStringLiteral("cable:silent,KVX0001:board,loop:echo,KVX0002:board:busy"))
{
    return {{Devices, devices}, {QStringLiteral("KORVADEX_SIM_SPEED"), QStringLiteral("20")}};
}

QStringList MeasureWords(QStringList more = {})
{
    return QStringList{QStringLiteral("measure"), QStringLiteral("--rate"), QStringLiteral("10ksps"),
                       QStringLiteral("--count"), QStringLiteral("100"),    QStringLiteral("--channel"),
                       QStringLiteral("0"),       QStringLiteral("--filter"), QStringLiteral("sinc5")}
           + more;
}

TEST(DevicesCommandTest, ListsEveryDeviceWithoutAskingAny)
{
    const CliResult r = CliProcess::Run({QStringLiteral("devices")}, Bench());
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QString usable = QStringLiteral("usable");
    EXPECT_EQ(r.OutLines(), (QStringList{
                                Listed(0, QStringLiteral("cable\tUSB-Serial Cable\tFT-X"), usable),
                                Listed(1, QStringLiteral("KVX0001\tKORVADEX Board KVX0001\tFT232R"), usable),
                                Listed(2, QStringLiteral("loop\tUSB-Serial Loopback\tFT232R"), usable),
                                Listed(3, QStringLiteral("KVX0002\tKORVADEX Board KVX0002\tFT232R"),
                                       QStringLiteral("busy: ") + DriverPath::BusyReason()),
                            }));
}

TEST(DevicesCommandTest, JsonHasOneObjectPerDevice)
{
    const CliResult r = CliProcess::Run({QStringLiteral("devices"), QStringLiteral("--json")}, Bench());
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList lines = r.OutLines();
    ASSERT_EQ(lines.size(), 4);
    const QJsonObject board = QJsonDocument::fromJson(lines[1].toUtf8()).object();
    EXPECT_EQ(board.value(QStringLiteral("index")).toInt(), 1);
    EXPECT_EQ(board.value(QStringLiteral("serial")).toString(), QStringLiteral("KVX0001"));
    EXPECT_EQ(board.value(QStringLiteral("description")).toString(), QStringLiteral("KORVADEX Board KVX0001"));
    EXPECT_EQ(board.value(QStringLiteral("type")).toString(), QStringLiteral("FT232R"));
    EXPECT_EQ(board.value(QStringLiteral("location")).toString(), DriverPath::Location(1));
    EXPECT_EQ(board.value(QStringLiteral("state")).toString(), QStringLiteral("usable"));
    EXPECT_FALSE(board.contains(QStringLiteral("identity")));
    const QJsonObject busy = QJsonDocument::fromJson(lines[3].toUtf8()).object();
    EXPECT_EQ(busy.value(QStringLiteral("state")).toString(), QStringLiteral("busy"));
    EXPECT_EQ(busy.value(QStringLiteral("reason")).toString(), DriverPath::BusyReason());
}

TEST(DevicesCommandTest, IdentifyTellsTheBoardFromTheAdapters)
{
    const CliResult r = CliProcess::Run({QStringLiteral("devices"), QStringLiteral("--identify")}, Bench());
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList lines = r.OutLines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("\tusable\tnot a KORVADEX Board"))) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral("\tusable\tKORVADEX / V1.00"))) << lines[1].toStdString();
    EXPECT_TRUE(lines[2].endsWith(QStringLiteral("\tusable\tnot a KORVADEX Board"))) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].endsWith(QStringLiteral("\tbusy: ") + DriverPath::BusyReason())) << "a busy device is not asked";
}

TEST(DevicesCommandTest, IdentifyAsksOnlyTheChosenBoard)
{
    const CliResult r = CliProcess::Run(
        {QStringLiteral("devices"), QStringLiteral("--identify"), QStringLiteral("--json"), QStringLiteral("--board"),
         QStringLiteral("KVX0001")},
        Bench());
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    const QStringList lines = r.OutLines();
    ASSERT_EQ(lines.size(), 4);
    for (int i = 0; i < lines.size(); ++i) {
        const QJsonObject device = QJsonDocument::fromJson(lines[i].toUtf8()).object();
        EXPECT_EQ(device.value(QStringLiteral("identity")).toString(),
                  i == 1 ? QStringLiteral("KORVADEX / V1.00") : QString());
    }
}

TEST(DevicesCommandTest, NoDeviceSaysWhereItLookedAndExitsWithOne)
{
    const CliResult r = CliProcess::Run({QStringLiteral("devices")}, Bench(QString()));
    EXPECT_EQ(r.ExitCode, 1);
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_TRUE(r.Err.contains(DriverPath::LastSearched() + QStringLiteral(": 0 devices"))) << r.Err.toStdString();
}

TEST(DevicesCommandTest, WithSeveralDevicesMeasureDoesNotGuess)
{
    const CliResult r = CliProcess::Run(MeasureWords(), Bench());
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Out.isEmpty());
    EXPECT_TRUE(r.Err.contains(QStringLiteral("--board SERIAL"))) << r.Err.toStdString();
    for (const char* serial : {"\tcable\t", "\tKVX0001\t", "\tloop\t", "\tKVX0002\t"})
        EXPECT_TRUE(r.Err.contains(QLatin1String(serial))) << serial;
}

// The board is reached past the cable at index 0, whether it is chosen on
// the command line or in the environment.
TEST(DevicesCommandTest, TheChosenBoardIsMeasured)
{
    CliProcess::Environment chosenByVariable = Bench();
    chosenByVariable.insert(QStringLiteral("KORVADEX_BOARD"), QStringLiteral("KVX0001"));
    const std::pair<QStringList, CliProcess::Environment> ways[] = {
        {MeasureWords({QStringLiteral("--board"), QStringLiteral("KVX0001")}), Bench()},
        {MeasureWords(), chosenByVariable},
    };
    for (const auto& [words, environment] : ways) {
        const CliResult r = CliProcess::Run(words, environment);
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        EXPECT_EQ(r.OutLines().value(0), QStringLiteral("KORVADEX / V1.00"));
    }
}

TEST(DevicesCommandTest, AChosenSerialNotAttachedIsNotFound)
{
    const CliResult r = CliProcess::Run(MeasureWords({QStringLiteral("--board"), QStringLiteral("KVX0009")}), Bench());
    EXPECT_EQ(r.ExitCode, 3);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("serial number KVX0009"))) << r.Err.toStdString();
}

// Why the board cannot be used, on the line after the window's text, ending
// with the fix.
struct Unusable {
    const char* Name;
    const char* Devices;
    const char* Faults;
    const char* Reason;
};

void PrintTo(const Unusable& unusable, std::ostream* out)
{
    *out << unusable.Name;
}

class UnusableBoardTest : public ::testing::TestWithParam<Unusable> {};

TEST_P(UnusableBoardTest, SaysWhyAfterTheWindowsTextAndExitsWithThree)
{
    const Unusable unusable = GetParam();
    CliProcess::Environment bench = Bench(QString::fromLatin1(unusable.Devices));
    bench.insert(QStringLiteral("KORVADEX_SIM_FAULTS"), QString::fromLatin1(unusable.Faults));
    const CliResult r = CliProcess::Run(MeasureWords(), bench);
    EXPECT_EQ(r.ExitCode, 3);
    EXPECT_TRUE(r.Err.endsWith(QStringLiteral("KORVADEX が見つかりませんでした\n") + QString::fromLatin1(unusable.Reason)
                               + QLatin1Char('\n')))
        << r.Err.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Reasons, UnusableBoardTest,
    ::testing::Values(Unusable{"NoDevice", "", "", "no FTDI device attached: plug in the board"},
                      Unusable{"OffTheBus", "KVX0001:board", "absent", "no FTDI device attached: plug in the board"},
                      Unusable{"Busy", "KVX0001:board:busy", "", "KVX0001 is open in another program: close it"},
                      Unusable{"AnotherName", "KVX0001:board", "wrong-name",
                               "device 0 (KVX0001) is not a KORVADEX Board: choose the board with --board SERIAL"}),
    [](const ::testing::TestParamInfo<Unusable>& info) { return std::string(info.param.Name); });

#ifdef KORVADEX_TEST_ON_LIBFTDI
// Only USB tells these apart; the drop-in D2XX library lists such devices as usable.
INSTANTIATE_TEST_SUITE_P(
    UsbReasons, UnusableBoardTest,
    ::testing::Values(Unusable{"NoPermission", "KVX0001:board:access", "",
                               "device 0: no permission to open it: install the package's udev rule "
                               "60-korvadex.rules, or use a seat session"},
                      Unusable{"KernelDriver", "KVX0001:board:kernel-driver", "",
                               "KVX0001 is held by a kernel driver that would not let go: unload it "
                               "(sudo modprobe -r ftdi_sio)"}),
    [](const ::testing::TestParamInfo<Unusable>& info) { return std::string(info.param.Name); });
#endif

} // namespace

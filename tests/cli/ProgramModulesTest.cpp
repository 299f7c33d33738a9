#include "CliProcess.h"
#include "LogFiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <vector>

using ::testing::HasSubstr;
using ::testing::Not;

namespace {

// A ".DTA" file and an HDF5 log of the same 100 CH0 codes.
class ProgramModules : public ::testing::Test {
protected:
    ProgramModules()
    {
        settings.fSinc5 = 1;
        const std::vector<std::int32_t> codes(100, 0x800000);
        dta = files.Folder().Write(QStringLiteral("run.DTA"), settings, LogFiles::DataLines(settings, codes));
        hdf5 = files.Hdf5(QStringLiteral("log.h5"), settings, {{"2026-12-10T03:00:00.000Z", codes}});
    }

    // Copies the built module korvadex-NAME into the folder `empty`.
    void Keep(const QString& name)
    {
        const QStringList found = QDir(QStringLiteral(MODULE_DIR)).entryList({QStringLiteral("korvadex-%1.*").arg(name)}, QDir::Files);
        ASSERT_EQ(found.size(), 1);
        ASSERT_TRUE(QFile::copy(QStringLiteral(MODULE_DIR "/") + found[0], empty.filePath(found[0])));
    }

    MeasureSettings settings;
    LogFiles files;
    QString dta;
    QString hdf5;
    QTemporaryDir empty;
};

} // namespace

TEST_F(ProgramModules, ACommandWithoutItsModuleSaysSoAndTheOthersWork)
{
    const CliProcess::Environment noModules{{QStringLiteral("KORVADEX_MODULE_PATH"), empty.path()}};
    // Without the commands' own module, only --help and --version work.
    EXPECT_EQ(CliProcess::Run({QStringLiteral("--version")}, noModules).ExitCode, 0);
    const CliResult noCommands = CliProcess::Run({QStringLiteral("info"), dta}, noModules);
    EXPECT_EQ(noCommands.ExitCode, 2);
    EXPECT_THAT(noCommands.Err.toStdString(), HasSubstr("korvadex-commands"));
    Keep(QStringLiteral("commands"));
    const QString png = empty.filePath(QStringLiteral("plot.png"));
    const QString log = empty.filePath(QStringLiteral("new.h5"));
    struct Case {
        QStringList Words;
        int Exit;
        const char* Said;  // on standard error; empty for a command that works
    };
    const std::vector<Case> cases = {
        {{QStringLiteral("info"), dta}, 0, ""},
        {{QStringLiteral("export"), dta}, 0, ""},
        {{QStringLiteral("info"), hdf5}, 2, "korvadex-hdf5"},
        {{QStringLiteral("plot"), dta, QStringLiteral("-o"), png}, 2, "korvadex-draw"},
        {{QStringLiteral("report"), QStringLiteral("--json"), dta}, 2, "korvadex-draw"},
        {{QStringLiteral("results"), QStringLiteral("--report"), png}, 2, "korvadex-draw"},
        {{QStringLiteral("log"), QStringLiteral("-o"), log}, 2, "korvadex-hdf5"},
        {{QStringLiteral("log"), QStringLiteral("-o"), empty.filePath(QStringLiteral("new.csv")), QStringLiteral("--publish"),
          QStringLiteral("mqtt://127.0.0.1/korvadex")},
         2, "korvadex-mqtt"},
        {{QStringLiteral("results"), QStringLiteral("--db"), QStringLiteral("postgresql://lab@127.0.0.1:1/results")},
         2, "korvadex-postgres"},
        {{QStringLiteral("results"), QStringLiteral("--db"), QStringLiteral("sqlite:") + dta},
         2, "korvadex-sqlite"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Words.join(QLatin1Char(' ')).toStdString());
        const CliResult result = CliProcess::Run(c.Words, noModules);
        EXPECT_EQ(result.ExitCode, c.Exit) << result.Err.toStdString();
        EXPECT_THAT(result.Err.toStdString(), HasSubstr(c.Said));
    }
    EXPECT_FALSE(QFile::exists(log));
    EXPECT_FALSE(QFile::exists(png));
}

// The drawing module without FFTW's: a report stops at its first spectrum,
// and a test before any board is touched.
TEST_F(ProgramModules, ACommandWithoutFftwSaysSo)
{
    Keep(QStringLiteral("commands"));
    Keep(QStringLiteral("draw"));
    const QString plan = empty.filePath(QStringLiteral("plan.toml"));
    QFile planFile(plan);
    ASSERT_TRUE(planFile.open(QIODevice::WriteOnly));
    planFile.write("[plan]\nname = \"p\"\nversion = \"1\"\n[[step]]\nname = \"s\"\nrate = \"1ksps\"\n"
                   "count = 1000\nchannel = 0\nfilter = \"sinc5\"\n");
    planFile.close();
    // Enough samples for a spectrum.
    const QString longer = files.Folder().Write(QStringLiteral("long.DTA"), settings,
                                                LogFiles::DataLines(settings, std::vector<std::int32_t>(1000, 0x800000)));
    const CliProcess::Environment drawOnly{{QStringLiteral("KORVADEX_MODULE_PATH"), empty.path()}};
    for (const QStringList& words : {QStringList{QStringLiteral("report"), QStringLiteral("--json"), longer},
                                     QStringList{QStringLiteral("test"), plan}}) {
        SCOPED_TRACE(words.join(QLatin1Char(' ')).toStdString());
        const CliResult result = CliProcess::Run(words, drawOnly);
        EXPECT_EQ(result.ExitCode, 2) << result.Err.toStdString();
        EXPECT_THAT(result.Err.toStdString(), HasSubstr("korvadex-fftw"));
        EXPECT_TRUE(result.Out.isEmpty()) << result.Out.toStdString();
    }
}

// The dynamic loader's own trace names every library it opens.
TEST_F(ProgramModules, ACommandLoadsOnlyTheLibrariesItNeeds)
{
    const CliProcess::Environment traced{{QStringLiteral("LD_DEBUG"), QStringLiteral("files")}};
    const char* heavy[] = {"libhdf5", "libQt6Gui", "libmosquitto", "libftdi1", "libpq", "libsqlite3", "libfftw3"};
    const CliResult version = CliProcess::Run({QStringLiteral("--version")}, traced);
    ASSERT_EQ(version.ExitCode, 0);
    ASSERT_THAT(version.Err.toStdString(), HasSubstr("libstdc++"));
    EXPECT_THAT(version.Err.toStdString(), Not(HasSubstr("libQt6Core")));
    const CliResult info = CliProcess::Run({QStringLiteral("info"), dta}, traced);
    ASSERT_EQ(info.ExitCode, 0);
    ASSERT_THAT(info.Err.toStdString(), HasSubstr("libQt6Core"));
    for (const char* library : heavy)
        EXPECT_THAT(info.Err.toStdString(), Not(HasSubstr(library)));
    const CliResult onHdf5 = CliProcess::Run({QStringLiteral("info"), hdf5}, traced);
    ASSERT_EQ(onHdf5.ExitCode, 0);
    EXPECT_THAT(onHdf5.Err.toStdString(), HasSubstr("libhdf5"));
    EXPECT_THAT(onHdf5.Err.toStdString(), Not(HasSubstr("libQt6Gui")));
}

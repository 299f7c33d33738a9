// log -o NAME.h5 run as a process on the virtual board, its file read back
// with the program's own reader: every sample in order, what a kill leaves,
// a full disk; and index adding block summaries to such a log.

#include "CliProcess.h"
#include "FileSizeLimit.h"
#include "Hdf5LogReader.h"
#include "Hdf5Signature.h"
#include "Hdf5LogWriter.h"
#include "LogLayout.h"
#include "../data/LogRowsOf.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <hdf5.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::int32_t Start = 1000;
constexpr std::int64_t RunSamples = 100000;

// 10 ksps at twenty times the speed: a run of 100000 samples in half a second.
// The counting board, whose every sample is checked, runs at ten times: its
// 64 KiB driver queue then outlasts a 200 ms stall of a loaded (sanitized)
// machine; at twenty it overflowed after 109 ms and lost conversions, as a
// real board would.
CliProcess::Environment FastBoard(bool counter)
{
    CliProcess::Environment board{{QStringLiteral("KORVADEX_SIM_SPEED"), counter ? QStringLiteral("10") : QStringLiteral("20")}};
    if (counter) {
        board.insert(QStringLiteral("KORVADEX_SIM_COUNTER"), QStringLiteral("1"));
        board.insert(QStringLiteral("KORVADEX_SIM_COUNTER_START"), QString::number(Start));
    }
    return board;
}

QStringList LogWords(const QString& path, QStringList more = {})
{
    return QStringList{QStringLiteral("log"),     QStringLiteral("--rate"),   QStringLiteral("10ksps"),
                       QStringLiteral("--channel"), QStringLiteral("0"),      QStringLiteral("--filter"),
                       QStringLiteral("sinc5"),   QStringLiteral("-o"),       path}
        + more;
}

// Runs follow each other without a hole, each counting up from the
// counter's start, and all but a running last one whole.
void ExpectWholeRuns(Hdf5LogReader& reader)
{
    std::int64_t next = 0;
    for (const LogRun& run : RunsOf(reader)) {
        SCOPED_TRACE(run.Run);
        EXPECT_EQ(run.FirstSample, next);
        if (run.End != LogLayout::EndRunning) {
            EXPECT_EQ(run.Samples, RunSamples);
        }
        std::vector<std::int32_t> codes(static_cast<std::size_t>(run.Samples));
        ASSERT_TRUE(reader.ReadCodes(run.FirstSample, run.Samples, codes.data())) << reader.Error().toStdString();
        for (std::size_t i = 0; i < codes.size(); ++i)
            ASSERT_EQ(codes[i], Start + static_cast<std::int32_t>(i)) << "sample " << i;
        next += run.Samples;
    }
    EXPECT_EQ(next, reader.Samples());
}

// Every level taken (none refused: no row reaches past the codes), every row
// read back checked, and each level-1 row the figures of its raw codes.
void ExpectSummariesOfCodes(Hdf5LogReader& reader)
{
    ASSERT_EQ(reader.SummaryLevels(), LogLayout::SummaryLevels) << reader.SummaryRefusal().toStdString();
    for (int level = 1; level <= LogLayout::SummaryLevels; ++level) {
        std::vector<BlockSummary> rows;
        ASSERT_TRUE(reader.ReadSummary(level, 0, reader.SummaryRows(level), rows)) << reader.Error().toStdString();
    }
    std::vector<BlockSummary> rows;
    ASSERT_TRUE(reader.ReadSummary(1, 0, reader.SummaryRows(1), rows));
    std::vector<std::int32_t> codes(static_cast<std::size_t>(LogLayout::SummaryBlock));
    for (std::size_t row = 0; row < rows.size(); ++row) {
        ASSERT_TRUE(reader.ReadCodes(static_cast<std::int64_t>(row) * LogLayout::SummaryBlock, LogLayout::SummaryBlock, codes.data()));
        const BlockSummary raw = BlockSummary::Of(codes.data(), LogLayout::SummaryBlock, 1);
        ASSERT_EQ(std::memcmp(&rows[row], &raw, sizeof raw), 0) << "row " << row;
    }
}

// A log as an older version wrote it: no /summary.
void DropSummaries(const QString& path)
{
    const hid_t file = H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDWR, H5P_DEFAULT);
    ASSERT_GE(file, 0);
    EXPECT_GE(H5Ldelete(file, LogLayout::Summary, H5P_DEFAULT), 0);
    H5Fclose(file);
}

class Hdf5LogCommand : public ::testing::Test {
protected:
    QTemporaryDir folder;
    QString path = folder.filePath(QStringLiteral("log.h5"));
};

TEST_F(Hdf5LogCommand, HoldsEverySampleInOrderWithItsRunsAndEvents)
{
    const CliResult r = CliProcess::Run(LogWords(path, {QStringLiteral("--runs"), QStringLiteral("2")}), FastBoard(true));
    ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    EXPECT_EQ(reader.Head().Board, "KORVADEX / V1.00");
    EXPECT_EQ(reader.Head().BoardSerial, "KVX0001");
    EXPECT_EQ(reader.Head().SettingsText, "10ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1");
    EXPECT_EQ(reader.Channels(), 1);
    const std::vector<LogRun> runs = RunsOf(reader);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].End, LogLayout::EndComplete);
    EXPECT_EQ(runs[1].End, LogLayout::EndComplete);
    ExpectWholeRuns(reader);
    ExpectSummariesOfCodes(reader);
    const std::vector<LogEvent> events = EventsOf(reader);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].Kind, LogLayout::EventGap);
    EXPECT_EQ(events[0].Run, 2);
    EXPECT_GT(events[0].Seconds, 0.0);
    EXPECT_EQ(events[1].Kind, LogLayout::EventEnd);
    EXPECT_EQ(events[1].Text.rfind("ended after 2 runs, 200000 samples", 0), 0u) << events[1].Text;
}

struct FormatChoice {
    const char* Name;
    const char* Format;  // --format's value, or none
    bool Hdf5;
};

TEST_F(Hdf5LogCommand, TheNameOrFormatChoosesTheForm)
{
    for (const FormatChoice& choice : {FormatChoice{"a.h5", nullptr, true}, FormatChoice{"b.csv", "hdf5", true},
                                       FormatChoice{"c.h5", "text", false}, FormatChoice{"d.csv", nullptr, false}}) {
        SCOPED_TRACE(choice.Name);
        const QString file = folder.filePath(QString::fromUtf8(choice.Name));
        QStringList more{QStringLiteral("--runs"), QStringLiteral("1")};
        if (choice.Format)
            more << QStringLiteral("--format") << QString::fromUtf8(choice.Format);
        const CliResult r = CliProcess::Run(LogWords(file, more), FastBoard(true));
        ASSERT_EQ(r.ExitCode, 0) << r.Err.toStdString();
        EXPECT_EQ(Hdf5Signature::StartsWith(file), choice.Hdf5);
    }
    const CliResult bad = CliProcess::Run(LogWords(path, {QStringLiteral("--format"), QStringLiteral("xml")}));
    EXPECT_EQ(bad.ExitCode, 2);
    EXPECT_TRUE(bad.Err.contains(QStringLiteral("--format takes text or hdf5"))) << bad.Err.toStdString();
}

// Killed as soon as its file opens as a log, in its second run, and some
// runs later, each seen in the file itself whatever the machine's speed:
// the file opens, and holds every run up to the last write whole.
class KilledHdf5Log : public Hdf5LogCommand, public ::testing::WithParamInterface<std::size_t> {};

TEST_P(KilledHdf5Log, LeavesEveryWrittenRunWhole)
{
    const std::size_t runsSeen = GetParam();
    // A look every 200 ms, and the board at ten times the speed: the looks
    // must not starve the writer of a loaded (sanitized) build, whose board
    // would then lose samples as a real board does.
    QElapsedTimer sinceLook;
    const auto due = [&] {
        if (sinceLook.isValid() && sinceLook.elapsed() < 200)
            return false;
        sinceLook.start();
        Hdf5LogReader watcher;
        return watcher.Open(path) && static_cast<std::size_t>(watcher.RunCount()) >= runsSeen;
    };
    const CliResult r = CliProcess::RunSignalledWhen(LogWords(path), FastBoard(true), due, Stop::Kill);
    ASSERT_TRUE(r.Finished);
    EXPECT_NE(r.ExitCode, 0);
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    ExpectWholeRuns(reader);
    ExpectSummariesOfCodes(reader);
    EXPECT_GE(RunsOf(reader).size(), runsSeen);
}

INSTANTIATE_TEST_SUITE_P(RunsSeen, KilledHdf5Log, ::testing::Values(0u, 2u, 4u));

#ifndef _WIN32
// A reader follows a slow log while it is written, in real time, at the
// rates either side of where a partial chunk stays unfiltered (below 64
// samples a second): every sample it sees at each look is the one written.
// Not on Windows: there a reader beside the live writer (SWMR) is not a use
// this program promises, and under Wine the log ended early beside it.
TEST_F(Hdf5LogCommand, ALiveReaderSeesEveryFlushedSampleOfASlowLog)
{
    for (const char* rate : {"60sps", "100sps"}) {
        SCOPED_TRACE(rate);
        const QString file = folder.filePath(QStringLiteral("live-%1.h5").arg(QString::fromUtf8(rate)));
        QStringList words = LogWords(file);
        words[2] = QString::fromUtf8(rate);
        std::int64_t seen = 0;
        int looks = 0;
        bool whole = true;
        const auto follow = [&] {
            Hdf5LogReader live;
            if (!live.Open(file) || live.Samples() <= seen)
                return false;
            std::vector<std::int32_t> codes(static_cast<std::size_t>(live.Samples()));
            whole = whole && live.ReadCodes(0, live.Samples(), codes.data());
            for (std::size_t i = 0; whole && i < codes.size(); ++i)
                whole = codes[i] == Start + static_cast<std::int32_t>(i);
            seen = live.Samples();
            return ++looks >= 3 && seen > 2 * Hdf5LogWriter::SmallestChunk;
        };
        CliProcess::Environment board = FastBoard(true);
        board.remove(QStringLiteral("KORVADEX_SIM_SPEED"));
        const CliResult r = CliProcess::RunSignalledWhen(words, board, follow, Stop::CtrlC);
        ASSERT_TRUE(r.Finished);
        EXPECT_TRUE(whole);
        EXPECT_GE(looks, 3);
    }
}
#endif

TEST_F(Hdf5LogCommand, AFullDiskEndsTheLogAndKeepsWhatWasWritten)
{
    const qint64 room = 256 * 1024;
    const CliResult r = CliProcess::RunPrepared(LogWords(path), FastBoard(false),
                                                [&](QProcess& process) { ASSERT_TRUE(LimitFileSize(process, room)); });
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("cannot write ") + path)) << r.Err.toStdString();
    EXPECT_TRUE(r.Err.contains(QStringLiteral("File too large"))) << r.Err.toStdString();
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    EXPECT_GT(reader.Samples(), RunSamples);
    std::int64_t counted = 0;
    for (const LogRun& run : RunsOf(reader))
        counted += run.Samples;
    EXPECT_EQ(counted, reader.Samples());
    std::vector<std::int32_t> codes(static_cast<std::size_t>(reader.Samples()));
    EXPECT_TRUE(reader.ReadCodes(0, reader.Samples(), codes.data())) << reader.Error().toStdString();
    ExpectSummariesOfCodes(reader);
}

// index on a log without summaries adds them; again it refuses, --force
// builds them anew; a text log is refused by name.
TEST_F(Hdf5LogCommand, IndexAddsSummariesToALogWithout)
{
    ASSERT_EQ(CliProcess::Run(LogWords(path, {QStringLiteral("--runs"), QStringLiteral("1")}), FastBoard(true)).ExitCode, 0);
    DropSummaries(path);
    const QString text = folder.filePath(QStringLiteral("log.csv"));
    ASSERT_EQ(CliProcess::Run(LogWords(text, {QStringLiteral("--runs"), QStringLiteral("1")}), FastBoard(true)).ExitCode, 0);
    struct Step {
        QStringList Words;
        int ExitCode;
        const char* Err;  // a part of standard error
    };
    const Step steps[] = {
        {{QStringLiteral("index"), path}, 0, ""},
        {{QStringLiteral("index"), path}, 2, "has block summaries already (/summary); --force builds them anew"},
        {{QStringLiteral("index"), QStringLiteral("--force"), path}, 0, ""},
        {{QStringLiteral("index"), text}, 2, "not an HDF5 log"},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.Words.join(QLatin1Char(' ')).toStdString());
        const CliResult r = CliProcess::Run(step.Words);
        EXPECT_EQ(r.ExitCode, step.ExitCode) << r.Err.toStdString();
        EXPECT_TRUE(r.Err.contains(QString::fromUtf8(step.Err))) << r.Err.toStdString();
        Hdf5LogReader reader;
        ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
        ExpectSummariesOfCodes(reader);
    }
}

#ifndef _WIN32
// Not on Windows: there the system's sharing rules refuse a log being
// written before the program can tell why (exit 2, "cannot be opened for
// writing"), and the test's file-size limit does not reach index's writes.

// A log being written is refused, and left to its writer; so is what a
// killed writer leaves.
TEST_F(Hdf5LogCommand, IndexRefusesALogBeingWritten)
{
    CliResult index;
    const auto indexWhenOpen = [&] {
        Hdf5LogReader watcher;
        if (!watcher.Open(path) || watcher.RunCount() < 1)
            return false;
        index = CliProcess::Run({QStringLiteral("index"), path});
        return true;
    };
    const CliResult r = CliProcess::RunSignalledWhen(LogWords(path), FastBoard(true), indexWhenOpen, Stop::Kill);
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(index.ExitCode, 2);
    EXPECT_TRUE(index.Err.contains(QStringLiteral("is open in another program"))) << index.Err.toStdString();
    // Killed, its writer leaves the mark.
    const CliResult killed = CliProcess::Run({QStringLiteral("index"), path});
    EXPECT_EQ(killed.ExitCode, 2);
    EXPECT_TRUE(killed.Err.contains(QStringLiteral("is marked open for writing"))) << killed.Err.toStdString();
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    ExpectWholeRuns(reader);
    ExpectSummariesOfCodes(reader);
}

// A disk that fills while the summaries are written: exit code 2, and the
// log reads as before, its codes whole and no summaries, its superblock
// as it was.
TEST_F(Hdf5LogCommand, AFullDiskLeavesTheIndexedLogAsItWas)
{
    ASSERT_EQ(CliProcess::Run(LogWords(path, {QStringLiteral("--runs"), QStringLiteral("2")}), FastBoard(true)).ExitCode, 0);
    DropSummaries(path);
    const qint64 room = QFileInfo(path).size() + 1024;
    const CliResult r = CliProcess::RunPrepared({QStringLiteral("index"), path}, {},
                                                [&](QProcess& process) { ASSERT_TRUE(LimitFileSize(process, room)); });
    ASSERT_TRUE(r.Finished);
    EXPECT_EQ(r.ExitCode, 2);
    EXPECT_TRUE(r.Err.contains(QStringLiteral("korvadex-cli: ") + path + QStringLiteral(": the block summaries cannot be")))
        << r.Err.toStdString();
    // Not even marked open for writing: a plain reader opens it.
    const hid_t plain = H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDONLY, H5P_DEFAULT);
    EXPECT_GE(plain, 0);
    H5Fclose(plain);
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    EXPECT_EQ(reader.SummaryLevels(), 0);
    EXPECT_EQ(reader.Samples(), 2 * RunSamples);
    ExpectWholeRuns(reader);
}
#endif

#ifdef FAILING_CLOSE_LIBRARY
// A write error that shows only when the file is closed (as on a network
// file system) fails the log, and what was flushed before stays readable.
TEST_F(Hdf5LogCommand, AFailedCloseIsAFailedLog)
{
    for (const char* name : {"closed.h5", "closed.csv"}) {
        SCOPED_TRACE(name);
        const QString file = folder.filePath(QString::fromUtf8(name));
        CliProcess::Environment board = FastBoard(true);
        board.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(FAILING_CLOSE_LIBRARY));
        board.insert(QStringLiteral("ASAN_OPTIONS"), QStringLiteral("verify_asan_link_order=0"));
        board.insert(QStringLiteral("KORVADEX_TEST_FAIL_CLOSE"), QString::fromUtf8(name));
        const CliResult r = CliProcess::Run(LogWords(file, {QStringLiteral("--runs"), QStringLiteral("1")}), board);
        ASSERT_TRUE(r.Finished);
        EXPECT_EQ(r.ExitCode, 2);
        EXPECT_TRUE(r.Err.contains(QStringLiteral("cannot write ") + file)) << r.Err.toStdString();
        if (QByteArray(name).endsWith(".h5")) {
            Hdf5LogReader reader;
            ASSERT_TRUE(reader.Open(file)) << reader.Error().toStdString();
            ASSERT_EQ(RunsOf(reader).size(), 1u);
            ExpectWholeRuns(reader);
        }
    }
}
#endif

} // namespace

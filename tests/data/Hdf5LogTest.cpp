#include "Hdf5LogReader.h"
#include "Hdf5Signature.h"
#include "Hdf5LogWriter.h"
#include "LogLayout.h"
#include "LogRowsOf.h"
#include "MeasureItems.h"

#include "DataFixtures.h"

#include <hdf5.h>

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

LogHead Head(std::int32_t mode)
{
    LogHead head;
    head.Settings.spsSel = 16;
    head.Settings.DataCountSel = 9;
    head.Settings.CHSel = mode;
    head.Settings.fSinc5 = 1;
    head.Board = "KORVADEX / V1.00";
    head.BoardSerial = "KVX0001";
    head.SettingsText = "125ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1";
    head.Started = "2026-12-08T21:40:12.345Z";
    head.ProgramVersion = "1.2.3";
    return head;
}

// Codes no two alike, so that a sample out of place shows.
std::vector<std::int32_t> Codes(std::int64_t samples, int channels, std::int32_t seed)
{
    std::vector<std::int32_t> codes(static_cast<std::size_t>(samples * channels));
    for (std::size_t i = 0; i < codes.size(); ++i)
        codes[i] = static_cast<std::int32_t>((seed + 7919 * i) % 16777216);
    return codes;
}

LogRun RunRow(std::int32_t number, std::int64_t first, std::int64_t samples, const char* end)
{
    return LogRun{number, "2026-12-08T21:40:1" + std::to_string(number) + ".000Z", first, samples, end};
}

void ExpectRun(const LogRun& actual, const LogRun& expected)
{
    EXPECT_EQ(actual.Run, expected.Run);
    EXPECT_EQ(actual.Start, expected.Start);
    EXPECT_EQ(actual.FirstSample, expected.FirstSample);
    EXPECT_EQ(actual.Samples, expected.Samples);
    EXPECT_EQ(actual.End, expected.End);
}

class Hdf5Log : public ::testing::TestWithParam<std::int32_t> {
protected:
    TempFolder folder;
    QString path = folder.Path(QStringLiteral("log.h5"));
};

// Two runs, the first three chunks and more (its whole chunks deflated by
// the writer itself), with a gap between and the end; each run's row first
// written "running" and rewritten at its end.
TEST_P(Hdf5Log, ReadsBackWhatWasWritten)
{
    const LogHead head = Head(GetParam());
    const int channels = GetParam() == ModeDual ? 2 : 1;
    const std::int64_t chunk = Hdf5LogWriter::ChunkFor(125000.0);
    const std::int64_t first = 3 * chunk + 123;
    const std::vector<std::int32_t> run1 = Codes(first, channels, 5);
    const std::vector<std::int32_t> run2 = Codes(1000, channels, 11);
    const LogEvent gap{"2026-12-08T21:40:13.000Z", LogLayout::EventGap, 2, 0.0421, "gap: 0.042 s between ..."};
    const LogEvent end{"2026-12-08T21:40:14.000Z", LogLayout::EventEnd, 2, 2.5, "ended after 2 runs"};
    {
        Hdf5LogWriter writer;
        ASSERT_TRUE(writer.Create(path) && writer.Begin(head, "korvadex-cli log")) << writer.Error().toStdString();
        writer.SetRun(RunRow(1, 0, 0, LogLayout::EndRunning));
        writer.AddCodes(run1.data(), 1000);
        ASSERT_TRUE(writer.Flush());
        writer.AddCodes(run1.data() + 1000 * channels, first - 1000);
        writer.SetRun(RunRow(1, 0, first, LogLayout::EndComplete));
        writer.AddEvent(gap);
        writer.SetRun(RunRow(2, first, 0, LogLayout::EndRunning));
        writer.AddCodes(run2.data(), 1000);
        writer.SetRun(RunRow(2, first, 1000, LogLayout::EndStopped));
        writer.AddEvent(end);
        ASSERT_TRUE(writer.Close()) << writer.Error().toStdString();
    }
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    EXPECT_EQ(reader.Channels(), channels);
    EXPECT_EQ(reader.Samples(), first + 1000);
    EXPECT_EQ(reader.Head().Settings.spsSel, 16);
    EXPECT_EQ(reader.Head().Settings.DataCountSel, 9);
    EXPECT_EQ(reader.Head().Settings.CHSel, GetParam());
    EXPECT_EQ(reader.Head().Settings.fSinc5, 1);
    EXPECT_EQ(reader.Head().Board, head.Board);
    EXPECT_EQ(reader.Head().BoardSerial, head.BoardSerial);
    EXPECT_EQ(reader.Head().SettingsText, head.SettingsText);
    EXPECT_EQ(reader.Head().Started, head.Started);
    EXPECT_EQ(reader.Head().ProgramVersion, head.ProgramVersion);
    const std::vector<LogRun> runs = RunsOf(reader);
    ASSERT_EQ(runs.size(), 2u);
    ExpectRun(runs[0], RunRow(1, 0, first, LogLayout::EndComplete));
    ExpectRun(runs[1], RunRow(2, first, 1000, LogLayout::EndStopped));
    const std::vector<LogEvent> events = EventsOf(reader);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0].Kind, gap.Kind);
    EXPECT_EQ(events[0].Time, gap.Time);
    EXPECT_EQ(events[0].Run, gap.Run);
    EXPECT_DOUBLE_EQ(events[0].Seconds, gap.Seconds);
    EXPECT_EQ(events[1].Text, end.Text);
    std::vector<std::int32_t> all(static_cast<std::size_t>(reader.Samples() * channels));
    ASSERT_TRUE(reader.ReadCodes(0, reader.Samples(), all.data())) << reader.Error().toStdString();
    std::vector<std::int32_t> expected = run1;
    expected.insert(expected.end(), run2.begin(), run2.end());
    EXPECT_EQ(all, expected);
    // Narrow reads go through HDF5's own filters: across the last flush's
    // tail, and inside a chunk the writer deflated.
    std::vector<std::int32_t> slice(static_cast<std::size_t>(3 * channels));
    for (const std::int64_t at : {first - 1, 2 * chunk - 1}) {
        ASSERT_TRUE(reader.ReadCodes(at, 3, slice.data())) << reader.Error().toStdString();
        EXPECT_EQ(slice, std::vector<std::int32_t>(expected.begin() + at * channels, expected.begin() + (at + 3) * channels));
    }
    EXPECT_FALSE(reader.ReadCodes(first + 999, 2, slice.data()));
    EXPECT_NE(reader.Error().indexOf(QStringLiteral("outside")), -1);
}

// Wide reads of a fast log decode the chunks apart from HDF5, on two
// threads; a slow log's, whose partial chunk is kept unfiltered, go through
// HDF5. Whatever the stretch's edges, both give what was written; a damaged
// chunk is an error, not codes.
TEST_P(Hdf5Log, WideReadsGiveTheCodesWrittenAndRefuseADamagedChunk)
{
    const int channels = GetParam() == ModeDual ? 2 : 1;
    for (const std::int32_t spsSel : {16, 0}) {
        SCOPED_TRACE(spsSel);
        LogHead head = Head(GetParam());
        head.Settings.spsSel = spsSel;
        const std::int64_t chunk = Hdf5LogWriter::ChunkFor(MeasureItems::SampleRate(head.Settings));
        const std::int64_t samples = 12 * chunk + chunk / 3;
        const std::vector<std::int32_t> codes = Codes(samples, channels, spsSel + 1);
        const QString file = folder.Path(QStringLiteral("wide%1.h5").arg(spsSel));
        {
            Hdf5LogWriter writer;
            ASSERT_TRUE(writer.Create(file) && writer.Begin(head, "korvadex-cli log"));
            writer.SetRun(RunRow(1, 0, samples, LogLayout::EndComplete));
            writer.AddCodes(codes.data(), samples);
            ASSERT_TRUE(writer.Close()) << writer.Error().toStdString();
        }
        Hdf5LogReader reader;
        ASSERT_TRUE(reader.Open(file)) << reader.Error().toStdString();
        const std::pair<std::int64_t, std::int64_t> stretches[] = {
            {0, samples}, {chunk / 2, 10 * chunk + 7}, {chunk, 9 * chunk}, {samples - 9 * chunk - 1, 9 * chunk + 1}};
        for (const auto& [first, count] : stretches) {
            std::vector<std::int32_t> read(static_cast<std::size_t>(count * channels));
            ASSERT_TRUE(reader.ReadCodes(first, count, read.data())) << reader.Error().toStdString();
            EXPECT_TRUE(std::equal(read.begin(), read.end(), codes.begin() + first * channels)) << first << " " << count;
        }
    }

    // A few bytes inside the fourth chunk of the fast log overwritten.
    const QString file = folder.Path(QStringLiteral("wide16.h5"));
    haddr_t address = 0;
    hsize_t size = 0;
    {
        Hdf5LogReader reader;
        ASSERT_TRUE(reader.Open(file));
        const Hdf5Handle codes(H5Dopen2(reader.File(), LogLayout::Codes, H5P_DEFAULT), H5Dclose);
        const hsize_t offset[2] = {static_cast<hsize_t>(3 * Hdf5LogWriter::ChunkFor(125000.0 / channels)), 0};
        ASSERT_GE(H5Dget_chunk_info_by_coord(codes.Id(), offset, nullptr, &address, &size), 0);
    }
    QFile damaged(file);
    ASSERT_TRUE(damaged.open(QIODevice::ReadWrite) && damaged.seek(static_cast<qint64>(address + size / 2)));
    damaged.write(QByteArray(16, '\x5a'));
    damaged.close();
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(file)) << reader.Error().toStdString();
    std::vector<std::int32_t> read(static_cast<std::size_t>(reader.Samples() * channels));
    EXPECT_FALSE(reader.ReadCodes(0, reader.Samples(), read.data()));
    EXPECT_NE(reader.Error().indexOf(QStringLiteral("cannot be read")), -1) << reader.Error().toStdString();
}

// What a killed writer leaves is the file as of its last flush, still marked
// as open for SWMR writing: a copy taken then. Its running run counts what
// was flushed.
TEST_P(Hdf5Log, ARunningRunCountsWhatWasFlushed)
{
    const int channels = GetParam() == ModeDual ? 2 : 1;
    const std::vector<std::int32_t> codes = Codes(700, channels, 3);
    const QString left = folder.Path(QStringLiteral("left.h5"));
    Hdf5LogWriter writer;
    ASSERT_TRUE(writer.Create(path) && writer.Begin(Head(GetParam()), "korvadex-cli log"));
    writer.SetRun(RunRow(1, 0, 300, LogLayout::EndComplete));
    writer.SetRun(RunRow(2, 300, 0, LogLayout::EndRunning));
    writer.AddCodes(codes.data(), 500);
    ASSERT_TRUE(writer.Flush());
    ASSERT_TRUE(QFile::copy(path, left));
    writer.AddCodes(codes.data() + 500 * channels, 200);  // never flushed into the copy

    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(left)) << reader.Error().toStdString();
    EXPECT_EQ(reader.Samples(), 500);
    const std::vector<LogRun> runs = RunsOf(reader);
    ASSERT_EQ(runs.size(), 2u);
    ExpectRun(runs[0], RunRow(1, 0, 300, LogLayout::EndComplete));
    ExpectRun(runs[1], RunRow(2, 300, 200, LogLayout::EndRunning));
    std::vector<std::int32_t> read(static_cast<std::size_t>(500 * channels));
    ASSERT_TRUE(reader.ReadCodes(0, 500, read.data()));
    EXPECT_EQ(read, std::vector<std::int32_t>(codes.begin(), codes.begin() + 500 * channels));
}

// A run table longer than a page is read in pages that meet without a seam:
// a page across a page's edge, the running last run counted to the codes'
// end, and rows past the table's end refused.
TEST_F(Hdf5Log, ARunTableLongerThanAPageIsReadInPages)
{
    constexpr std::int32_t Runs = 5000;
    const std::vector<std::int32_t> codes = Codes(Runs + 6, 1, 9);
    const auto row = [](std::int32_t run, std::int64_t samples, const char* end) {
        return LogRun{run, "2026-12-08T21:40:12.345Z", run - 1, samples, end};
    };
    Hdf5LogWriter writer;
    ASSERT_TRUE(writer.Create(path) && writer.Begin(Head(ModeCh0), "korvadex-cli log"));
    for (std::int32_t run = 1; run < Runs; ++run)
        writer.SetRun(row(run, 1, LogLayout::EndComplete));
    writer.SetRun(row(Runs, 0, LogLayout::EndRunning));
    writer.AddCodes(codes.data(), Runs + 6);
    ASSERT_TRUE(writer.Flush());

    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    ASSERT_EQ(reader.RunCount(), Runs);
    std::vector<LogRun> page;
    ASSERT_TRUE(reader.ReadRuns(4094, 3, page)) << reader.Error().toStdString();
    ASSERT_EQ(page.size(), 3u);
    for (std::int32_t i = 0; i < 3; ++i)
        ExpectRun(page[i], row(4095 + i, 1, LogLayout::EndComplete));
    ASSERT_TRUE(reader.ReadRuns(Runs - 2, 2, page));
    ExpectRun(page[1], row(Runs, 7, LogLayout::EndRunning));
    EXPECT_FALSE(reader.ReadRuns(Runs - 1, 2, page));
    EXPECT_NE(reader.Error().indexOf(QStringLiteral("outside the 5000 rows of /runs")), -1) << reader.Error().toStdString();
}

// A comment longer than its field is cut before the character that would
// not fit whole ("µ" is two bytes), never inside it.
// Partial chunks stay unfiltered only where a chunk takes longer than a
// flush (a second) to fill: below 64 samples a second.
TEST_F(Hdf5Log, OnlyASlowLogKeepsItsPartialChunkUnfiltered)
{
    for (const auto& [rate, unfiltered] : {std::pair{59.92, true}, std::pair{100.0, false}, std::pair{5.0, true}}) {
        SCOPED_TRACE(rate);
        Hdf5LogWriter writer;
        ASSERT_TRUE(writer.Create(path));
        LogHead head = Head(ModeCh0);
        head.Settings.spsSel = rate == 5.0 ? 0 : rate == 100.0 ? 5 : 4;
        ASSERT_TRUE(writer.Begin(head, "test")) << writer.Error().toStdString();
        ASSERT_TRUE(writer.Close());
        const hid_t file = H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDONLY, H5P_DEFAULT);
        const hid_t codes = H5Dopen2(file, LogLayout::Codes, H5P_DEFAULT);
        const hid_t properties = H5Dget_create_plist(codes);
        unsigned options = 0;
        H5Pget_chunk_opts(properties, &options);
        EXPECT_EQ((options & H5D_CHUNK_DONT_FILTER_PARTIAL_CHUNKS) != 0, unfiltered);
        H5Pclose(properties);
        H5Dclose(codes);
        H5Fclose(file);
    }
}

TEST_F(Hdf5Log, ALongEventTextIsCutAtACharacter)
{
    const std::string kept(LogLayout::TextLength - 1, 'x');
    Hdf5LogWriter writer;
    ASSERT_TRUE(writer.Create(path) && writer.Begin(Head(ModeCh0), "korvadex-cli log"));
    writer.AddEvent(LogEvent{"2026-12-08T21:40:13.000Z", LogLayout::EventLost, 1, 0.0, kept + "\xC2\xB5s"});
    ASSERT_TRUE(writer.Close());
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    const std::vector<LogEvent> events = EventsOf(reader);
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Text, kept);
}

INSTANTIATE_TEST_SUITE_P(Channels, Hdf5Log, ::testing::Values(ModeCh0, ModeCh1, ModeDual));

// A file as HDF5 makes it, with the root attributes given and a /codes of
// the type and shape given (none when rank is 0).
void MakeHdf5(const QString& path, bool withFormat, std::int32_t version, hid_t codeType, int rank)
{
    const hid_t file = H5Fcreate(QFile::encodeName(path).constData(), H5F_ACC_TRUNC, H5P_DEFAULT, H5P_DEFAULT);
    const hid_t scalar = H5Screate(H5S_SCALAR);
    if (withFormat) {
        const hid_t text = H5Tcopy(H5T_C_S1);
        H5Tset_size(text, H5T_VARIABLE);
        H5Tset_cset(text, H5T_CSET_UTF8);
        const char* format = LogLayout::Format;
        const hid_t attribute = H5Acreate2(file, LogLayout::FormatAttribute, text, scalar, H5P_DEFAULT, H5P_DEFAULT);
        H5Awrite(attribute, text, &format);
        H5Aclose(attribute);
        H5Tclose(text);
        for (const char* name : {LogLayout::FormatVersionAttribute, LogLayout::RateItemAttribute,
                                 LogLayout::CountItemAttribute, LogLayout::ChannelModeAttribute,
                                 LogLayout::FilterAttribute, LogLayout::GainDivisorAttribute}) {
            const std::int32_t value = name == LogLayout::FormatVersionAttribute ? version : 1;
            const hid_t number = H5Acreate2(file, name, H5T_STD_I32LE, scalar, H5P_DEFAULT, H5P_DEFAULT);
            H5Awrite(number, H5T_NATIVE_INT32, &value);
            H5Aclose(number);
        }
    }
    if (rank > 0) {
        const hsize_t dims[3] = {10, 2, 2};
        const hid_t space = H5Screate_simple(rank, dims, nullptr);
        H5Dclose(H5Dcreate2(file, LogLayout::Codes, codeType, space, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT));
        H5Sclose(space);
    }
    H5Sclose(scalar);
    H5Fclose(file);
}

struct BadFile {
    const char* why;
    const char* message;  // a part of Error()
};

TEST(Hdf5LogBadFiles, AreRefusedWithTheirReason)
{
    TempFolder folder;
    folder.Write(QStringLiteral("text.csv"), "# korvadex-cli log\ntime,run,sample,ch0_code,ch0_uV\n");
    MakeHdf5(folder.Path(QStringLiteral("other.h5")), false, 1, H5T_STD_I32LE, 1);
    MakeHdf5(folder.Path(QStringLiteral("later.h5")), true, LogLayout::FormatVersion + 1, H5T_STD_I32LE, 1);
    MakeHdf5(folder.Path(QStringLiteral("float.h5")), true, 1, H5T_IEEE_F32LE, 1);
    MakeHdf5(folder.Path(QStringLiteral("unsigned.h5")), true, 1, H5T_STD_U32LE, 2);
    MakeHdf5(folder.Path(QStringLiteral("rank3.h5")), true, 1, H5T_STD_I32LE, 3);
    MakeHdf5(folder.Path(QStringLiteral("nocodes.h5")), true, 1, H5T_STD_I32LE, 0);
    {
        Hdf5LogWriter writer;
        ASSERT_TRUE(writer.Create(folder.Path(QStringLiteral("whole.h5"))) && writer.Begin(Head(ModeCh0), "korvadex-cli log"));
        const std::vector<std::int32_t> codes = Codes(50000, 1, 1);
        writer.AddCodes(codes.data(), 50000);
    }
    const std::string whole = folder.Read(QStringLiteral("whole.h5"));
    folder.Write(QStringLiteral("truncated.h5"), whole.substr(0, whole.size() / 2));
    // The head's texts lie in a global heap ("GCOL"): a first object that
    // claims 2^50 bytes crashes the library that reads it.
    std::string heap = whole;
    const std::size_t collection = heap.find("GCOL");
    ASSERT_NE(collection, std::string::npos);
    heap[collection + 30] = '\x04';
    folder.Write(QStringLiteral("heap.h5"), heap);

    const BadFile cases[] = {
        {"missing.h5", "no such file"},
        {"text.csv", "not an HDF5 file"},
        {"other.h5", "not a KORVADEX log"},
        {"later.h5", "format version 2"},
        {"float.h5", "not of 32-bit signed integers"},
        {"unsigned.h5", "not of 32-bit signed integers"},
        {"rank3.h5", "neither the shape (n) nor (n, 2)"},
        {"nocodes.h5", "without /codes"},
        {"truncated.h5", "cannot be read as HDF5"},
#ifndef _WIN32
        {"heap.h5", "its head cannot be read: the HDF5 library fails on it"},
#endif
    };
    for (const BadFile& bad : cases) {
        SCOPED_TRACE(bad.why);
        Hdf5LogReader reader;
        EXPECT_FALSE(reader.Open(folder.Path(QString::fromUtf8(bad.why))));
        EXPECT_NE(reader.Error().indexOf(QString::fromUtf8(bad.message)), -1) << reader.Error().toStdString();
        EXPECT_TRUE(reader.Error().startsWith(folder.Path(QString::fromUtf8(bad.why))));
    }
    EXPECT_TRUE(Hdf5Signature::StartsWith(folder.Path(QStringLiteral("whole.h5"))));
    EXPECT_FALSE(Hdf5Signature::StartsWith(folder.Path(QStringLiteral("text.csv"))));
}

} // namespace

// The HDF5 log's block summaries: what the writer and the index build, as
// a reader takes them, against the raw codes they cover.
#include "Hdf5LogIndexer.h"
#include "Hdf5LogReader.h"
#include "Hdf5LogRows.h"
#include "Hdf5LogWriter.h"
#include "SummaryPyramid.h"
#include "LogLayout.h"
#include "SampleMoments.h"

#include "DataFixtures.h"

#include <hdf5.h>

#include <QFile>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Level 3 whole twice, then 17 blocks and a partial one.
constexpr std::int64_t Samples = 2 * 4096 * 16 * 16 + 17 * 4096 + 1000;

LogHead Head(std::int32_t mode)
{
    LogHead head;
    head.Settings.spsSel = 16;
    head.Settings.CHSel = mode;
    head.Settings.GainDivisor = 1;
    return head;
}

// Noise of a few codes about zero volts, where squares in double lose the
// variance; a step of a million codes inside a block, and both ends of the
// converter's range, so that every figure of a row matters.
std::vector<std::int32_t> Codes(int channels)
{
    std::vector<std::int32_t> codes(static_cast<std::size_t>(Samples * channels));
    std::uint64_t state = 1;
    for (std::size_t i = 0; i < codes.size(); ++i) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const auto sample = static_cast<std::int64_t>(i) / channels;
        const std::int32_t step = sample >= 70000 && sample < 300000 ? 1000000 : 0;
        codes[i] = 8388608 + static_cast<std::int32_t>(state >> 60) - 8 + step;
    }
    codes[12345 * channels] = 0;
    codes[123456 * channels] = 16777215;
    return codes;
}

// The log, its codes added in pieces that end inside blocks, flushed now
// and then, in one run.
void WriteLog(const QString& path, std::int32_t mode, const std::vector<std::int32_t>& codes)
{
    const int channels = mode == ModeDual ? 2 : 1;
    Hdf5LogWriter writer;
    ASSERT_TRUE(writer.Create(path) && writer.Begin(Head(mode), "test")) << writer.Error().toStdString();
    writer.SetRun(LogRun{1, "2026-12-08T21:40:12.345Z", 0, Samples, LogLayout::EndComplete});
    constexpr std::int64_t Piece = 12345;
    for (std::int64_t first = 0; first < Samples; first += Piece) {
        writer.AddCodes(codes.data() + first * channels, std::min(Piece, Samples - first));
        if (first % (8 * Piece) == 0) {
            ASSERT_TRUE(writer.Flush()) << writer.Error().toStdString();
        }
    }
    ASSERT_TRUE(writer.Close()) << writer.Error().toStdString();
}

std::vector<BlockSummary> AllRows(Hdf5LogReader& reader, int level)
{
    std::vector<BlockSummary> rows;
    EXPECT_TRUE(reader.ReadSummary(level, 0, reader.SummaryRows(level), rows)) << reader.Error().toStdString();
    return rows;
}

class Hdf5Summary : public ::testing::TestWithParam<std::int32_t> {
protected:
    TempFolder folder;
    QString path = folder.Path(QStringLiteral("log.h5"));
};

struct RowRun {
    int Level;
    std::int64_t First;
    std::int64_t Count;
};

// Rows merged as SampleMoments merges give the figures of the raw codes of
// any run of whole blocks; only whole blocks have a row.
TEST_P(Hdf5Summary, MergedRowsGiveTheFiguresOfTheirCodes)
{
    const int channels = GetParam() == ModeDual ? 2 : 1;
    const std::vector<std::int32_t> codes = Codes(channels);
    WriteLog(path, GetParam(), codes);
    Hdf5LogReader reader;
    ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
    ASSERT_EQ(reader.SummaryLevels(), LogLayout::SummaryLevels) << reader.SummaryRefusal().toStdString();
    for (int level = 1; level <= LogLayout::SummaryLevels; ++level)
        EXPECT_EQ(reader.SummaryRows(level), Samples / SummaryPyramid::RowSamples(level)) << level;
    const std::int64_t blocks = Samples / LogLayout::SummaryBlock;
    for (const RowRun& run : {RowRun{1, 0, 1}, RowRun{1, 3, 1}, RowRun{1, 16, 37}, RowRun{1, 0, blocks},
                              RowRun{2, 1, 20}, RowRun{3, 0, 2}}) {
        SCOPED_TRACE(testing::Message() << "level " << run.Level << " rows " << run.First << " + " << run.Count);
        std::vector<BlockSummary> rows;
        ASSERT_TRUE(reader.ReadSummary(run.Level, run.First, run.Count, rows)) << reader.Error().toStdString();
        const std::int64_t rowSamples = SummaryPyramid::RowSamples(run.Level);
        for (int channel = 0; channel < channels; ++channel) {
            BlockSummary merged{};
            for (std::int64_t row = 0; row < run.Count; ++row)
                merged.Merge(rows[static_cast<std::size_t>(row * channels + channel)]);
            SampleMoments raw;
            raw.Add(codes.data() + run.First * rowSamples * channels + channel, run.Count * rowSamples, channels);
            EXPECT_EQ(merged.Count, raw.Count());
            EXPECT_EQ(merged.Min, raw.Smallest());
            EXPECT_EQ(merged.Max, raw.Largest());
            EXPECT_EQ(static_cast<long double>(merged.Sum) / merged.Count, raw.Mean());
            const double sigma = std::sqrt(merged.M2 / merged.Count);
            const double rawSigma = std::sqrt(static_cast<double>(raw.Variance()));
            EXPECT_NEAR(sigma, rawSigma, 1e-9 * rawSigma);
        }
    }
    std::vector<BlockSummary> past;
    EXPECT_FALSE(reader.ReadSummary(1, blocks - 1, 2, past));
    EXPECT_NE(reader.Error().indexOf(QStringLiteral("outside the %1 rows of /summary/level1").arg(blocks)), -1)
        << reader.Error().toStdString();
}

// The index builds, from the codes alone, the rows the writer wrote; it
// refuses a log that has them, and --force builds them anew.
TEST_P(Hdf5Summary, TheIndexBuildsTheWritersRows)
{
    const int channels = GetParam() == ModeDual ? 2 : 1;
    WriteLog(path, GetParam(), Codes(channels));
    const QString bare = folder.Path(QStringLiteral("bare.h5"));
    ASSERT_TRUE(QFile::copy(path, bare));
    {
        const hid_t file = H5Fopen(QFile::encodeName(bare).constData(), H5F_ACC_RDWR, H5P_DEFAULT);
        ASSERT_GE(H5Ldelete(file, LogLayout::Summary, H5P_DEFAULT), 0);
        H5Fclose(file);
    }
    Hdf5LogIndexer indexer;
    for (const bool rebuild : {false, true}) {
        ASSERT_TRUE(indexer.Index(bare, rebuild)) << indexer.Error().toStdString();
        Hdf5LogReader written;
        Hdf5LogReader indexed;
        ASSERT_TRUE(written.Open(path) && indexed.Open(bare));
        ASSERT_EQ(indexed.SummaryLevels(), LogLayout::SummaryLevels) << indexed.SummaryRefusal().toStdString();
        for (int level = 1; level <= LogLayout::SummaryLevels; ++level) {
            const std::vector<BlockSummary> a = AllRows(written, level);
            const std::vector<BlockSummary> b = AllRows(indexed, level);
            ASSERT_EQ(a.size(), b.size()) << level;
            // memcmp of no rows would be handed null pointers.
            EXPECT_TRUE(a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(BlockSummary)) == 0) << level;
        }
    }
    EXPECT_FALSE(indexer.Index(bare, false));
    EXPECT_NE(indexer.Error().indexOf(QStringLiteral("has block summaries already")), -1) << indexer.Error().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Channels, Hdf5Summary, ::testing::Values(ModeCh0, ModeDual));

// One cell of row 1 of level 1 replaced, or the level grown past the codes.
struct Damage {
    const char* Field;
    double Value;
    const char* Message;  // a part of the reader's reason
};

void Damaged(const QString& path, const Damage& damage)
{
    const hid_t file = H5Fopen(QFile::encodeName(path).constData(), H5F_ACC_RDWR, H5P_DEFAULT);
    const hid_t level = H5Dopen2(file, "summary/level1", H5P_DEFAULT);
    if (damage.Field == nullptr) {
        const hsize_t rows[1] = {static_cast<hsize_t>(damage.Value)};
        H5Dset_extent(level, rows);
    } else {
        const Hdf5Handle type = Hdf5LogRows::SummaryType(false);
        BlockSummary row{};
        const hid_t space = H5Dget_space(level);
        const hsize_t at[1] = {1};
        const hsize_t one[1] = {1};
        const hid_t memory = H5Screate_simple(1, one, nullptr);
        H5Sselect_hyperslab(space, H5S_SELECT_SET, at, nullptr, one, nullptr);
        H5Dread(level, type.Id(), memory, space, H5P_DEFAULT, &row);
        const std::string field = damage.Field;
        if (field == LogLayout::MinField)
            row.Min = static_cast<std::int32_t>(damage.Value);
        else if (field == LogLayout::MaxField)
            row.Max = static_cast<std::int32_t>(damage.Value);
        else if (field == LogLayout::CountField)
            row.Count = static_cast<std::int64_t>(damage.Value);
        else if (field == LogLayout::SumField)
            row.Sum = static_cast<std::int64_t>(damage.Value);
        else
            row.M2 = damage.Value;
        H5Dwrite(level, type.Id(), memory, space, H5P_DEFAULT, &row);
        H5Sclose(memory);
        H5Sclose(space);
    }
    H5Dclose(level);
    H5Fclose(file);
}

// A row that is no summary of its samples is refused by name, the rows
// before it still read; a level longer than the codes refuses the
// summaries, never the log.
TEST(Hdf5SummaryDamage, IsRefusedWithItsReason)
{
    TempFolder folder;
    const QString whole = folder.Path(QStringLiteral("whole.h5"));
    {
        Hdf5LogWriter writer;
        ASSERT_TRUE(writer.Create(whole) && writer.Begin(Head(ModeCh0), "test"));
        const std::vector<std::int32_t> codes(3 * 4096, 8388608);
        writer.AddCodes(codes.data(), 3 * 4096);
        ASSERT_TRUE(writer.Close());
    }
    const Damage cases[] = {
        {LogLayout::CountField, 4095, "row 1 of /summary/level1: its count is not the samples it covers"},
        {LogLayout::CountField, 0, "its count is not"},
        {LogLayout::MinField, -1, "its min and max are no range of converter codes"},
        {LogLayout::MaxField, 16777216, "its min and max are no range"},
        {LogLayout::MinField, 8388609, "its min and max are no range"},
        {LogLayout::SumField, 4096.0 * 8388608 + 1, "its sum lies outside count times [min, max]"},
        {LogLayout::M2Field, -1.0, "its m2 is not a sum of squares its range allows"},
        {LogLayout::M2Field, 0.5, "its m2 is not"},
        {LogLayout::M2Field, std::nan(""), "its m2 is not"},
        {nullptr, 4, "/summary/level1 has 4 rows, but /codes holds 3 blocks of its size"},
    };
    for (const Damage& damage : cases) {
        SCOPED_TRACE(damage.Message);
        const QString path = folder.Path(QStringLiteral("damaged.h5"));
        QFile::remove(path);
        ASSERT_TRUE(QFile::copy(whole, path));
        Damaged(path, damage);
        Hdf5LogReader reader;
        ASSERT_TRUE(reader.Open(path)) << reader.Error().toStdString();
        std::vector<BlockSummary> rows;
        if (damage.Field == nullptr) {
            EXPECT_EQ(reader.SummaryLevels(), 0);
            EXPECT_NE(reader.SummaryRefusal().indexOf(QString::fromUtf8(damage.Message)), -1) << reader.SummaryRefusal().toStdString();
            continue;
        }
        EXPECT_TRUE(reader.ReadSummary(1, 0, 1, rows)) << reader.Error().toStdString();
        EXPECT_FALSE(reader.ReadSummary(1, 0, 3, rows));
        EXPECT_NE(reader.Error().indexOf(QString::fromUtf8(damage.Message)), -1) << reader.Error().toStdString();
    }
}

} // namespace

// Feeds arbitrary bytes, as a file, to the long-term log's readers (text or
// HDF5, chosen by the first bytes as the companion chooses). Whatever the
// bytes, a refusal gives its reason; a log that opens reads all its samples
// in blocks, in order, and every code read is a converter code; every level
// of its block summaries reads a page at a time until a page is refused
// with its reason, and every row given is a summary of the samples it
// covers, none past the codes.
#include "CodeScale.h"
#include "LogBlocks.h"
#include "LogSource.h"
#include "SummaryPyramid.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void Require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "log open fuzz: %s\n", what);
        std::abort();
    }
}

// The scratch file, removed when the program ends.
void ReadSummaries(LogSource& log)
{
    constexpr std::int64_t PageRows = 4096;
    std::vector<BlockSummary> rows;
    for (int level = 1; level <= log.SummaryLevels(); ++level) {
        const std::int64_t rowSamples = SummaryPyramid::RowSamples(level);
        Require(log.SummaryRows(level) * rowSamples <= log.Samples(), "summary rows past the codes");
        for (std::int64_t first = 0; first < log.SummaryRows(level); first += PageRows) {
            const std::int64_t count = std::min(PageRows, log.SummaryRows(level) - first);
            if (!log.ReadSummary(level, first, count, rows)) {
                Require(!log.Error().isEmpty(), "a summary refused without its reason");
                break;
            }
            Require(static_cast<std::int64_t>(rows.size()) == count * log.Channels(), "a page of the wrong size");
            for (const BlockSummary& row : rows)
                Require(row.Fault(rowSamples) == nullptr, "a summary row that is none");
        }
    }
}

struct ScratchFile {
    QString Path = QDir::temp().filePath(QStringLiteral("korvadex-log-fuzz-%1").arg(QCoreApplication::applicationPid()));
    ~ScratchFile() { QFile::remove(Path); }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const ScratchFile scratch;
    const QString& path = scratch.Path;
    {
        QFile file(path);
        Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write the scratch file");
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    QString error;
    const std::unique_ptr<LogSource> log = LogSource::Open(path, error);
    if (!log) {
        Require(!error.isEmpty(), "a refusal without its reason");
        return 0;
    }
    Require(log->Channels() == 1 || log->Channels() == 2, "neither one nor two columns");
    Require(log->Samples() >= 0, "a negative number of samples");
    LogBlocks blocks(*log, {{0, log->Samples()}});
    std::int64_t next = 0;
    const bool read = blocks.Walk(100, [&](const std::int32_t* rows, std::int64_t first, std::int64_t owned,
                                           std::int64_t available) {
        Require(first == next && owned > 0 && available >= owned, "blocks out of order");
        next += owned;
        for (std::int64_t i = 0; i < available * log->Channels(); ++i)
            Require(rows[i] >= 0 && rows[i] <= CodeScale::FullScale, "a code out of range");
    });
    Require(!read || next == log->Samples(), "blocks short of the samples");
    ReadSummaries(*log);
    return 0;
}

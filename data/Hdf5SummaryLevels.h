#pragma once

#include "BlockSummary.h"
#include "Hdf5Handle.h"

#include <QString>

#include <cstdint>
#include <vector>

// Reads a log's block summaries (LogLayout's /summary), which a file may
// lack (older logs, other writers) or hold in any state: levels 1 .. n,
// their rows counted when opened, each row checked as it is read, and no
// row past what /codes holds.
class Hdf5SummaryLevels {
public:
    // Opens the levels of /summary in `file`, whose /codes has `channels`
    // columns; before the size of /codes is read, since a writer writes a
    // level's rows after the codes they cover. None when there is no
    // /summary; none, with Refusal(), when it is not as LogLayout says.
    void Open(hid_t file, int channels);
    // Refuses them all when a level holds more rows than `samples` make.
    void CheckAgainst(std::int64_t samples);
    int Levels() const { return static_cast<int>(levels_.size()); }
    std::int64_t Rows(int level) const;
    QString Refusal() const { return refusal_; }
    // Rows [first, first + count) of a level, channels summaries a row,
    // replace what `out` held; the reason when they lie outside the level,
    // cannot be read, or one is not a summary of the samples it covers.
    QString Read(int level, std::int64_t first, std::int64_t count, std::vector<BlockSummary>& out) const;

    // "/summary/level1"
    static QString Name(int level);

private:
    bool Refuse(const QString& why);
    bool OpenLevel(hid_t group, int level);

    int channels_ = 1;
    std::vector<Hdf5Handle> levels_;
    std::vector<std::int64_t> rows_;
    QString refusal_;
};

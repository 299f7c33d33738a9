#pragma once

#include "CommandLine.h"
#include "LogBlocks.h"

#include <QDateTime>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class LogSource;

// The part of a long-term log an analysis takes, from --runs A-B (or N)
// and --from/--to (UTC, ISO 8601 as the log writes its times). A sample's
// time is its run's start plus its index in the run at the nominal rate, so
// that a text log and an HDF5 log of the same runs pick the same samples.
// Both options together pick the samples both name.
class LogPick {
public:
    static const QString RunsOption;
    static const QString FromOption;
    static const QString ToOption;
    // The three options for CommandLine::Parse.
    static std::vector<CommandLine::Option> Options();

    // An empty error when the options are good.
    QString Parse(const CommandLine& line);
    bool PicksPart() const;

    // The pieces of this log, in order; none when nothing is picked. False
    // with the log's Error() when its runs cannot be read.
    bool Pieces(LogSource& log, std::vector<LogBlocks::Piece>& pieces) const;
    // Why Pieces gave none, in words.
    QString NothingPicked() const;

private:
    std::optional<std::int32_t> firstRun_;
    std::optional<std::int32_t> lastRun_;
    std::optional<QDateTime> from_;
    std::optional<QDateTime> to_;
};

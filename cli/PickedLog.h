#pragma once

#include "LogBlocks.h"
#include "LogSource.h"

#include <QString>

#include <memory>
#include <vector>

class LogPick;

// A long-term log opened and the part of it the options pick; a log that
// cannot be read or holds nothing picked is told on standard error, naming
// the file, and gives no log.
struct PickedLog {
    std::unique_ptr<LogSource> Log;
    std::vector<LogBlocks::Piece> Pieces;

    static PickedLog Open(const QString& path, const LogPick& pick);
    // A .DTA file given with options that pick part of a log, told likewise.
    static bool RefusePick(const QString& path, const LogPick& pick);
};

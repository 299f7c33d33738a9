#pragma once

#include "CliProcess.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// The text log as the process tests read it back, and the counting board
// they log from, on whichever driver path the test program runs.

// The counter pattern's first value of every run.
constexpr std::int32_t CounterStart = 1000;

// The whole file, empty when it cannot be read.
QByteArray Contents(const QString& path);

// Twenty times real time keeps the runs short. The board loses what its 64 KiB
// queue cannot hold, so a case that needs every sample of long runs, read by
// a companion slowed by the sanitizers on a busy machine, asks for less.
CliProcess::Environment CountingBoard(CliProcess::Environment more = {});

// log on CH0 with Sinc5+Sinc1 at `rate` into `path`, and the words given.
QStringList LogWords(const QString& path, const QString& rate, QStringList more = {});

// A log as read back: its comments, and per run its samples' codes; every
// row must be whole, carry five fields and be the next sample of its run,
// and no line may cross a 4096-byte block.
struct ParsedLog {
    bool Whole = true;
    QStringList Comments;
    std::vector<std::vector<std::int32_t>> Runs;
};

ParsedLog ParseLog(const QByteArray& text);

// The run counts up from CounterStart without a gap, and has a sample.
bool CountsUpFromStart(const std::vector<std::int32_t>& codes);

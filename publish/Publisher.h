#pragma once

#include "LogRecords.h"
#include "SecondFigures.h"

#include <QByteArray>
#include <QString>

#include <cstdint>

// Where a log's live figures, or a board test's verdict, go. Never the
// master of the log or test: a publisher never blocks nor fails them; what
// it could not deliver it counts.
class Publisher {
public:
    virtual ~Publisher() = default;

    virtual void Summary(const SecondSummary& second, int reconnects) = 0;
    virtual void Event(const LogEvent& event) = 0;
    // A board's test record in short (JSON), retained: the board's last verdict.
    virtual void TestOutcome(const QByteArray& message) = 0;
    // Ends publishing (says "offline" where there is a status): the number
    // of summaries and events never delivered.
    virtual std::int64_t Close() = 0;
    // Why messages did not get through, in words; empty when they did.
    virtual QString Problem() const = 0;
};

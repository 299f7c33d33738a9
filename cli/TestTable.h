#pragma once

#include "TestRecord.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The boards' progress while a plan runs, on standard output. On a terminal
// that redraws, a table with a row per board (its step and the worst
// verdict so far) rewritten in place; otherwise a plain line per run as it
// ends, which a log or a script reads as it comes.
class TestTable {
public:
    TestTable(bool redraw, const QStringList& boards);

    // Board `row` started (no outcome yet) or ended a run of a step.
    void Update(int row, const QString& serial, const QString& step, std::optional<Verdict> outcome);
    // A line per board: its serial, verdict, runs, the test it re-checks,
    // and why it is ERROR.
    void Finish(const std::vector<BoardRecord>& records);

private:
    struct Row {
        QString Serial;
        QString Step;
        QString State;
        std::optional<Verdict> Worst;
    };

    void Redraw();
    QString RowText(const Row& row) const;

    bool redraw_;
    bool drawn_ = false;
    std::vector<Row> rows_;
};

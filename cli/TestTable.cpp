#include "TestTable.h"

#include "Console.h"

namespace {

const QString CursorUp = QStringLiteral("\x1b[%1A");
const QString EraseLine = QStringLiteral("\x1b[2K");
constexpr int SerialWidth = 16;
constexpr int StepWidth = 40;

} // namespace

TestTable::TestTable(bool redraw, const QStringList& boards)
    : redraw_(redraw)
{
    for (const QString& serial : boards)
        rows_.push_back({serial.isEmpty() ? QStringLiteral("(attached)") : serial, QString(), QStringLiteral("waiting"), {}});
    if (redraw_)
        Redraw();
}

void TestTable::Update(int row, const QString& serial, const QString& step, std::optional<Verdict> outcome)
{
    Row& r = rows_[static_cast<std::size_t>(row)];
    if (!serial.isEmpty())
        r.Serial = serial;
    r.Step = step;
    if (outcome) {
        r.Worst = r.Worst ? Worst(*r.Worst, *outcome) : *outcome;
        r.State = VerdictName(*outcome);
    } else {
        r.State = QStringLiteral("running");
    }
    if (redraw_)
        Redraw();
    else if (outcome)
        Console::Out(QStringLiteral("%1  %2  %3").arg(r.Serial, step, r.State));
}

QString TestTable::RowText(const Row& row) const
{
    const QString worst = row.Worst ? QStringLiteral("  (so far %1)").arg(VerdictName(*row.Worst)) : QString();
    return QStringLiteral("%1  %2  %3%4")
        .arg(row.Serial.leftJustified(SerialWidth), row.Step.leftJustified(StepWidth), row.State, worst);
}

void TestTable::Redraw()
{
    QString text;
    if (drawn_)
        text += CursorUp.arg(rows_.size());
    for (const Row& row : rows_)
        text += EraseLine + RowText(row) + QLatin1Char('\n');
    text.chop(1);
    Console::Out(text);
    drawn_ = true;
}

void TestTable::Finish(const std::vector<BoardRecord>& records)
{
    for (const BoardRecord& record : records) {
        QString line = QStringLiteral("%1  %2  %3 runs").arg(record.Serial.isEmpty() ? QStringLiteral("(attached)") : record.Serial,
                                                              VerdictName(record.Outcome))
                           .arg(record.Steps.size());
        if (!record.RecheckOf.isEmpty())
            line += QStringLiteral("  re-check of ") + record.RecheckOf;
        if (!record.Error.isEmpty())
            line += QStringLiteral("  ") + record.Error;
        Console::Out(line);
    }
}

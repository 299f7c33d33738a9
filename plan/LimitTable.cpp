#include "LimitTable.h"

#include <QFile>
#include <QStringList>

#include <cmath>

namespace {

const QStringList Columns = {QStringLiteral("step"),         QStringLiteral("figure"),       QStringLiteral("low"),
                             QStringLiteral("high"),         QStringLiteral("marginal_low"), QStringLiteral("marginal_high"),
                             QStringLiteral("band_low"),     QStringLiteral("band_high")};
constexpr int LeastColumns = 6;

struct Field {
    QString Text;
    int Column;  // 1-based, where the field starts
};

// One line's fields: split at the separator outside quotes, "" inside
// quotes standing for one quote.
std::vector<Field> Split(const QString& line, QChar separator)
{
    std::vector<Field> fields{{QString(), 1}};
    bool quoted = false;
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == QLatin1Char('"')) {
            if (quoted && i + 1 < line.size() && line[i + 1] == QLatin1Char('"'))
                fields.back().Text += line[++i];
            else
                quoted = !quoted;
        } else if (c == separator && !quoted) {
            fields.push_back({QString(), i + 2});
        } else {
            fields.back().Text += c;
        }
    }
    return fields;
}

} // namespace

bool LimitTable::Fail(const QString& path, int line, int column, const QString& what)
{
    error_ = QStringLiteral("%1:%2:%3: %4").arg(path).arg(line).arg(column).arg(what);
    return false;
}

bool LimitTable::ApplyTo(const QString& path, TestPlan& plan)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        error_ = QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString());
        return false;
    }
    const QChar separator = decimalPoint_ == QLatin1Char(',') ? QLatin1Char(';') : QLatin1Char(',');
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const auto header = Split(lines.value(0).trimmed().remove(QChar(0xFEFF)), separator);
    const int width = static_cast<int>(header.size());
    bool headerRight = width == LeastColumns || width == static_cast<int>(Columns.size());
    for (int i = 0; headerRight && i < width; ++i)
        headerRight = header[static_cast<std::size_t>(i)].Text.trimmed() == Columns[i];
    if (!headerRight)
        return Fail(path, 1, 1, QStringLiteral("the first line must be %1 (band_low,band_high optional), split at \"%2\"")
                                    .arg(Columns.mid(0, LeastColumns).join(separator), separator));

    for (PlanStep& step : plan.Steps)
        step.Limits.clear();
    for (int n = 1; n < lines.size(); ++n) {
        const QString line = lines[n].trimmed();
        if (line.isEmpty())
            continue;
        const std::vector<Field> fields = Split(line, separator);
        if (static_cast<int>(fields.size()) != width)
            return Fail(path, n + 1, 1, QStringLiteral("%1 fields where the header has %2").arg(fields.size()).arg(width));
        PlanStep* step = plan.StepNamed(fields[0].Text.trimmed());
        if (step == nullptr)
            return Fail(path, n + 1, fields[0].Column, QStringLiteral("no step named \"%1\" in the plan").arg(fields[0].Text));
        const std::optional<PlanFigure> figure = PlanFigures::Parse(fields[1].Text.trimmed());
        if (!figure)
            return Fail(path, n + 1, fields[1].Column,
                        QStringLiteral("unknown figure \"%1\"; the figures are %2").arg(fields[1].Text, PlanFigures::Known()));
        std::optional<double> values[6];
        for (int i = 2; i < width; ++i) {
            const Field& field = fields[static_cast<std::size_t>(i)];
            QString text = field.Text.trimmed();
            if (text.isEmpty())
                continue;
            if (decimalPoint_ == QLatin1Char(','))
                text.replace(QLatin1Char(','), QLatin1Char('.'));
            bool ok = false;
            const double value = text.toDouble(&ok);
            if (!ok || !std::isfinite(value))
                return Fail(path, n + 1, field.Column, QStringLiteral("%1 \"%2\" is not a number").arg(Columns[i], field.Text));
            values[i - 2] = value;
        }
        FigureLimit limit{*figure, values[0], values[1], values[2], values[3], std::nullopt};
        if (values[4] || values[5])
            limit.Band = std::make_pair(values[4].value_or(NAN), values[5].value_or(NAN));
        const QString fault = limit.Fault();
        if (!fault.isEmpty())
            return Fail(path, n + 1, 1, fault);
        step->Limits.push_back(limit);
    }
    return true;
}

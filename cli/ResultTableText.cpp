#include "ResultTableText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace {

QString CsvField(const SqlValue& value)
{
    QString text = Sql::Text(value);
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))
        && !text.contains(QLatin1Char('\r')))
        return text;
    return QLatin1Char('"') + text.replace(QLatin1String("\""), QLatin1String("\"\"")) + QLatin1Char('"');
}

QJsonValue JsonValue(const SqlValue& value)
{
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto number = Sql::Number(value))
        return *number;
    return QJsonValue(QJsonValue::Null);
}

// A double to six significant digits, enough to read; CSV and JSON give
// every digit.
QString Cell(const SqlValue& value)
{
    if (const auto* real = std::get_if<double>(&value))
        return QString::number(*real, 'g', 6);
    return Sql::Text(value);
}

QString Line(const QStringList& cells, const std::vector<int>& widths)
{
    QString line;
    for (std::size_t i = 0; i < widths.size(); ++i)
        line += (i == 0 ? QString() : QStringLiteral("  ")) + cells[static_cast<int>(i)].leftJustified(widths[i]);
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line + QLatin1Char('\n');
}

} // namespace

QByteArray ResultTableText::Text(const ResultTable& table)
{
    std::vector<QStringList> rows{table.Columns};
    for (const SqlRow& row : table.Rows) {
        QStringList cells;
        for (const SqlValue& value : row)
            cells << Cell(value);
        rows.push_back(cells);
    }
    std::vector<int> widths(static_cast<std::size_t>(table.Columns.size()), 0);
    for (const QStringList& cells : rows) {
        for (std::size_t i = 0; i < widths.size(); ++i)
            widths[i] = std::max(widths[i], static_cast<int>(cells[static_cast<int>(i)].size()));
    }
    QString text;
    for (const QStringList& cells : rows)
        text += Line(cells, widths);
    return text.toUtf8();
}

QByteArray ResultTableText::Csv(const ResultTable& table)
{
    QString text = table.Columns.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const SqlRow& row : table.Rows) {
        QStringList fields;
        for (const SqlValue& value : row)
            fields << CsvField(value);
        text += fields.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}

QByteArray ResultTableText::Json(const ResultTable& table)
{
    QJsonArray rows;
    for (const SqlRow& row : table.Rows) {
        QJsonObject object;
        for (std::size_t i = 0; i < row.size(); ++i)
            object.insert(table.Columns[static_cast<int>(i)], JsonValue(row[i]));
        rows.append(object);
    }
    return QJsonDocument(rows).toJson(QJsonDocument::Indented);
}

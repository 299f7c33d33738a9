#include "SqlValue.h"

#include <QLocale>

std::optional<double> Sql::Number(const SqlValue& value)
{
    if (const auto* real = std::get_if<double>(&value))
        return *real;
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        return static_cast<double>(*whole);
    return std::nullopt;
}

std::int64_t Sql::Integer(const SqlValue& value)
{
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        return *whole;
    if (const auto* real = std::get_if<double>(&value))
        return static_cast<std::int64_t>(*real);
    return 0;
}

QString Sql::Text(const SqlValue& value)
{
    if (const auto* text = std::get_if<QString>(&value))
        return *text;
    if (const auto* whole = std::get_if<std::int64_t>(&value))
        return QString::number(*whole);
    if (const auto* real = std::get_if<double>(&value))
        return QString::number(*real, 'g', QLocale::FloatingPointShortest);
    return QString();
}

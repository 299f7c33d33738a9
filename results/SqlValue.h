#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

// A statement's parameter or a column's value, as both databases hold them:
// NULL, a whole number, a double or a text. Statements carry values only as
// parameters ($1, $2, ...), never pasted into their text.
using SqlValue = std::variant<std::monostate, std::int64_t, double, QString>;
using SqlRow = std::vector<SqlValue>;

namespace Sql {

inline SqlValue Optional(const std::optional<double>& value)
{
    return value ? SqlValue(*value) : SqlValue();
}

inline bool IsNull(const SqlValue& value)
{
    return std::holds_alternative<std::monostate>(value);
}

// A whole number or a double as a double, NULL and texts as nothing.
std::optional<double> Number(const SqlValue& value);
std::int64_t Integer(const SqlValue& value);
// A text as it is, a number in its shortest exact form, NULL as "".
QString Text(const SqlValue& value);

} // namespace Sql

#pragma once

#include "ResultTable.h"

#include <QByteArray>

// A results table as `korvadex-cli results` prints it: aligned columns for
// a person (numbers to six significant digits), CSV (fields quoted as RFC
// 4180 has it, "." as the decimal point, a line a row as the other
// commands write them) or a JSON array of objects, one per row, for a
// program. An empty value is NULL: blank, or null in JSON.
class ResultTableText {
public:
    static QByteArray Text(const ResultTable& table);
    static QByteArray Csv(const ResultTable& table);
    static QByteArray Json(const ResultTable& table);
};

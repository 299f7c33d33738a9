#pragma once

#include "SqlValue.h"

#include <QStringList>

#include <vector>

// Rows of values under named columns, as `korvadex-cli results` prints them.
struct ResultTable {
    QStringList Columns;
    std::vector<SqlRow> Rows;
};

#pragma once

#include "TestPlan.h"

#include <QString>

// Limits kept in a spreadsheet, as a CSV table that replaces every limit of
// the plan:
//
//     step,figure,low,high,marginal_low,marginal_high[,band_low,band_high]
//     noise 1 kSPS,rms_uV,,1.2,,1.0
//
// With "," as the decimal point the fields are split at ";", as spreadsheets
// of such locales write them. A field may be quoted ("a, b"); an empty
// field is no limit. An unknown step or figure, a number not understood or
// limits that contradict each other refuse the table with FILE:LINE:COLUMN.
class LimitTable {
public:
    explicit LimitTable(QChar decimalPoint = QLatin1Char('.'))
        : decimalPoint_(decimalPoint)
    {
    }

    bool ApplyTo(const QString& path, TestPlan& plan);
    QString Error() const { return error_; }

private:
    bool Fail(const QString& path, int line, int column, const QString& what);

    QChar decimalPoint_;
    QString error_;
};

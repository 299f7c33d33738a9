#pragma once

#include <QString>

// Writes value rounded to as many decimals as pattern has zeros after its
// point ("0", "0.0" ... "0.00000"): halves away from zero on the exact value
// passed, at least one integer digit, no grouping, "-" for a negative value
// unless it rounds to zero. The separator is the user's locale's.
QString FormatReal(long double value, const char* pattern);

// The same with an explicit decimal separator.
QString FormatReal(long double value, const char* pattern, QChar decimalSeparator);

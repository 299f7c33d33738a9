#include "FormatReal.h"

#include <QLocale>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace {

// Enough decimals to hold the exact expansion of every value that can round
// to anything but zero at five decimals: a long double of 2^-20 or more has
// at most 84 fractional binary digits, each giving one decimal digit.
constexpr int kExactDecimals = 100;

int DecimalsOf(const char* pattern)
{
    const char* point = pattern ? std::strchr(pattern, '.') : nullptr;
    return point ? static_cast<int>(std::strlen(point + 1)) : 0;
}

// The magnitude written out exactly as "ddd.ddd…" with kExactDecimals decimals.
std::string ExactDecimal(long double magnitude)
{
    const int length = std::snprintf(nullptr, 0, "%.*Lf", kExactDecimals, magnitude);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*Lf", kExactDecimals, magnitude);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

// Adds one unit in the last place of a string of decimal digits.
void IncrementDigits(std::string& digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

} // namespace

QString FormatReal(long double value, const char* pattern, QChar decimalSeparator)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("INF") : QStringLiteral("-INF");

    const int decimals = DecimalsOf(pattern);
    const std::string exact = ExactDecimal(std::fabs(value));
    const std::size_t point = exact.find('.');

    // Keep the integer digits and the wanted decimals; the first dropped digit
    // decides, since 5 followed by anything is at least half a unit.
    std::string kept = exact.substr(0, point) + exact.substr(point + 1, static_cast<std::size_t>(decimals));
    if (exact[point + 1 + static_cast<std::size_t>(decimals)] >= '5')
        IncrementDigits(kept);

    const std::size_t integerDigits = kept.size() - static_cast<std::size_t>(decimals);
    std::string integerPart = kept.substr(0, integerDigits);
    const std::size_t firstNonZero = integerPart.find_first_not_of('0');
    integerPart = firstNonZero == std::string::npos ? std::string("0") : integerPart.substr(firstNonZero);

    const bool roundsToZero = kept.find_first_not_of('0') == std::string::npos;
    QString text;
    if (std::signbit(value) && !roundsToZero)
        text += QLatin1Char('-');
    text += QString::fromLatin1(integerPart.data(), static_cast<qsizetype>(integerPart.size()));
    if (decimals > 0) {
        text += decimalSeparator;
        text += QString::fromLatin1(kept.data() + integerDigits, decimals);
    }
    return text;
}

QString FormatReal(long double value, const char* pattern)
{
    const QString point = QLocale().decimalPoint();
    return FormatReal(value, pattern, point.isEmpty() ? QChar('.') : point.at(0));
}

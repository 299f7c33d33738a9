#include "RunArguments.h"

#include "MeasureItems.h"
#include "PythonErrors.h"

#include <QStringList>

namespace {

QString Items(QString (*item)(int), int count)
{
    QStringList items;
    for (int i = 0; i < count; ++i)
        items << QLatin1Char('"') + item(i) + QLatin1Char('"');
    return items.join(QStringLiteral(", "));
}

[[noreturn]] void Refuse(const char* name, const QString& value, const QString& allowed)
{
    PythonErrors::RaiseBuiltin(PyExc_ValueError, QStringLiteral("%1 %2 is not one of %3")
                                                     .arg(QLatin1String(name), value.isEmpty() ? QStringLiteral("\"\"") : value, allowed));
}

} // namespace

MeasureSettings RunArguments::Settings(const QString& rate, const QString& count, const QString& channel,
                                       const QString& filter)
{
    MeasureSettings settings;
    const auto spsSel = MeasureItems::ParseRate(rate);
    if (!spsSel)
        Refuse("rate", rate,
               Items(MeasureItems::RateItem, MeasureItems::RateCount) + QStringLiteral(" (or their index 0..16)"));
    const auto dataCountSel = MeasureItems::ParseCount(count);
    if (!dataCountSel)
        Refuse("count", count,
               Items(MeasureItems::CountItem, MeasureItems::CountCount) + QStringLiteral(" (or their index 0..9)"));
    const auto chSel = MeasureItems::ParseChannel(channel);
    if (!chSel)
        Refuse("channel", channel, QStringLiteral("0 (CH0), 1 (CH1), 2 (CH0 + CH1)"));
    const auto fSinc5 = MeasureItems::ParseFilter(filter);
    if (!fSinc5)
        Refuse("filter", filter, QStringLiteral("\"sinc3\", \"sinc5\""));
    settings.spsSel = *spsSel;
    settings.DataCountSel = *dataCountSel;
    settings.CHSel = *chSel;
    settings.fSinc5 = *fSinc5;
    return settings;
}

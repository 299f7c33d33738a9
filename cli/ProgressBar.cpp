#include "ProgressBar.h"

#include "Console.h"

#include <algorithm>

namespace {

constexpr std::chrono::milliseconds RedrawInterval(100);

} // namespace

ProgressBar::ProgressBar(bool enabled, const QString& label)
    : enabled_(enabled)
    , label_(label)
    , start_(Clock::now())
{
}

void ProgressBar::Update(std::int32_t taken, std::int32_t total)
{
    if (!enabled_)
        return;
    const Clock::time_point now = Clock::now();
    if (drawn_ && taken < total && now - lastDrawn_ < RedrawInterval)
        return;
    const double seconds = std::chrono::duration<double>(now - start_).count();
    Console::ErrOpen(QLatin1Char('\r') + Line(label_, taken, total, seconds));
    lastDrawn_ = now;
    drawn_ = true;
}

void ProgressBar::Finish()
{
    Console::EraseOpenLine();
    drawn_ = false;
}

QString ProgressBar::Line(const QString& label, std::int32_t taken, std::int32_t total, double seconds)
{
    const std::int64_t filled =
        total > 0 ? std::clamp<std::int64_t>(static_cast<std::int64_t>(taken) * BarWidth / total, 0, BarWidth) : 0;
    const QString bar = QString(static_cast<int>(filled), QLatin1Char('#'))
                        + QString(BarWidth - static_cast<int>(filled), QLatin1Char('-'));
    const QString prefix = label.isEmpty() ? QString() : label + QLatin1Char(' ');
    return prefix + QStringLiteral("[%1] %2/%3 %4 s").arg(bar).arg(taken).arg(total).arg(seconds, 0, 'f', 1);
}

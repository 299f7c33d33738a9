#include "LogTimeline.h"

#include "LogSource.h"

#include <QDateTime>

#include <algorithm>
#include <cmath>

namespace {

constexpr double Second = 1000.0;
constexpr double Minute = 60 * Second;
constexpr double Hour = 60 * Minute;
constexpr double Day = 24 * Hour;

// The steps a tick may take, shortest first.
constexpr double Steps[] = {1,           2,           5,           10,          20,          50,         100,
                            200,         500,         Second,      2 * Second,  5 * Second,  10 * Second, 15 * Second,
                            30 * Second, Minute,      2 * Minute,  5 * Minute,  10 * Minute, 15 * Minute, 30 * Minute,
                            Hour,        2 * Hour,    3 * Hour,    6 * Hour,    12 * Hour,   Day,        2 * Day,
                            7 * Day,     30 * Day};

QDateTime At(double ms, bool utc)
{
    const QDateTime time = QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::floor(ms)), Qt::UTC);
    return utc ? time : time.toLocalTime();
}

QString Label(double ms, double step, bool utc)
{
    const QDateTime time = At(ms, utc);
    if (step < Second)
        return time.toString(QStringLiteral("HH:mm:ss.zzz"));
    if (step < Minute)
        return time.toString(QStringLiteral("HH:mm:ss"));
    if (step < Day)
        return time.toString(QStringLiteral("HH:mm"));
    return time.toString(QStringLiteral("MM-dd"));
}

// Offset of the time zone at ms, so that hours and days fall on the
// operator's own clock.
double ZoneOffsetMs(double ms, bool utc)
{
    return utc ? 0.0 : At(ms, false).offsetFromUtc() * Second;
}

} // namespace

LogTimeline::LogTimeline(std::vector<Run> runs, double rate)
    : runs_(std::move(runs))
    , rate_(rate > 0 ? rate : 1.0)
{
}

std::optional<LogTimeline> LogTimeline::Of(LogSource& log, double rate)
{
    std::vector<Run> runs;
    const bool read = log.ForEachRun([&runs](const LogRun& run) {
        const QDateTime start = QDateTime::fromString(QString::fromStdString(run.Start), Qt::ISODateWithMs);
        runs.push_back({run.FirstSample, run.Samples, start.isValid() ? static_cast<double>(start.toMSecsSinceEpoch()) : 0.0});
    });
    if (!read)
        return std::nullopt;
    return LogTimeline(std::move(runs), rate);
}

std::optional<std::size_t> LogTimeline::RunOf(std::int64_t sample) const
{
    const auto after = std::upper_bound(runs_.begin(), runs_.end(), sample,
                                        [](std::int64_t s, const Run& run) { return s < run.FirstSample; });
    if (after == runs_.begin())
        return std::nullopt;
    const Run& run = *(after - 1);
    if (sample >= run.FirstSample + run.Samples)
        return std::nullopt;
    return static_cast<std::size_t>(after - 1 - runs_.begin());
}

std::optional<double> LogTimeline::TimeOf(std::int64_t sample) const
{
    const std::optional<std::size_t> index = RunOf(sample);
    if (!index)
        return std::nullopt;
    const Run& run = runs_[*index];
    return run.StartMs + static_cast<double>(sample - run.FirstSample) * Second / rate_;
}

std::optional<std::int64_t> LogTimeline::SampleAt(double ms) const
{
    const auto after = std::upper_bound(runs_.begin(), runs_.end(), ms, [](double t, const Run& run) { return t < run.StartMs; });
    if (after == runs_.begin())
        return std::nullopt;
    const Run& run = *(after - 1);
    const double index = std::ceil((ms - run.StartMs) * rate_ / Second - 1e-9);
    if (index >= static_cast<double>(run.Samples))
        return std::nullopt;  // in the gap after the run
    return run.FirstSample + static_cast<std::int64_t>(index);
}

std::optional<std::int64_t> LogTimeline::PositionOf(double ms) const
{
    if (runs_.empty())
        return std::nullopt;
    if (const std::optional<std::int64_t> sample = SampleAt(ms))
        return sample;
    const auto next = std::upper_bound(runs_.begin(), runs_.end(), ms, [](double t, const Run& run) { return t < run.StartMs; });
    if (next != runs_.end())
        return next->FirstSample;
    const Run& last = runs_.back();
    return last.FirstSample + std::max<std::int64_t>(last.Samples - 1, 0);
}

std::vector<LogTimeline::Tick> LogTimeline::Ticks(std::int64_t first, std::int64_t last, int most, bool utc) const
{
    std::vector<Tick> ticks;
    const std::optional<double> from = TimeOf(first);
    const std::optional<double> to = TimeOf(last);
    if (!from || !to || *to <= *from || most < 1)
        return ticks;
    const double span = *to - *from;
    const double* step = std::find_if(std::begin(Steps), std::end(Steps), [&](double s) { return span / s <= most; });
    if (step == std::end(Steps))
        step = std::end(Steps) - 1;
    const double offset = ZoneOffsetMs(*from, utc);
    for (double t = std::ceil((*from + offset) / *step) * *step - offset; t <= *to && ticks.size() < 4u * most; t += *step) {
        const std::optional<std::int64_t> sample = SampleAt(t);
        if (sample && *sample >= first && *sample <= last && (ticks.empty() || ticks.back().Sample != *sample))
            ticks.push_back({*sample, Label(t, *step, utc)});
    }
    return ticks;
}

QString LogTimeline::Stamp(double ms, bool utc)
{
    return At(ms, utc).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")) + (utc ? QStringLiteral(" UTC") : QString());
}

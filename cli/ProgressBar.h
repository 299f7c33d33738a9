#pragma once

#include <QString>

#include <chrono>
#include <cstdint>

// A run's progress on standard error, redrawn in place: a bar, the samples
// taken of the total and the seconds since the run began. Drawn only when
// standard error is a terminal (a log or a pipe gets nothing), at most ten
// times a second, and always when the run is complete. A message written
// while the bar shows ends its line, so the bar stays above the message.
class ProgressBar {
public:
    static constexpr int BarWidth = 30;

    // label names the run in front of the bar ("" for none).
    ProgressBar(bool enabled, const QString& label);

    void Update(std::int32_t taken, std::int32_t total);
    // Takes the bar away; what follows is written where it stood.
    void Finish();

    // "label [#######-------] 500/1000  1.2 s"
    static QString Line(const QString& label, std::int32_t taken, std::int32_t total, double seconds);

private:
    using Clock = std::chrono::steady_clock;

    bool enabled_;
    QString label_;
    Clock::time_point start_;
    Clock::time_point lastDrawn_;
    bool drawn_ = false;
};

#include "SecondFigures.h"

#include "ChannelFigures.h"
#include "CodeScale.h"
#include "MeasureItems.h"
#include "RunData.h"
#include "SampleTime.h"

#include <algorithm>
#include <limits>

namespace {

QDateTime WholeSecond(const QDateTime& time)
{
    return QDateTime::fromSecsSinceEpoch(time.toSecsSinceEpoch(), Qt::UTC);
}

} // namespace

SecondFigures::SecondFigures(const MeasureSettings& settings, Done done)
    : settings_(settings)
    , rate_(MeasureItems::SampleRate(settings))
    , done_(std::move(done))
{
    if (settings.CHSel != ModeCh1)
        channels_.push_back({0, {}, {}});
    if (settings.CHSel != ModeCh0)
        channels_.push_back({1, {}, {}});
}

std::int64_t SecondFigures::BoundaryAfter(const QDateTime& second) const
{
    return SampleTime::IndexAt(runStart_, second.addSecs(1), rate_, std::numeric_limits<std::int32_t>::max());
}

void SecondFigures::RunStarted(const std::string& start)
{
    runStart_ = QDateTime::fromString(QString::fromStdString(start), Qt::ISODateWithMs).toUTC();
    const QDateTime first = WholeSecond(runStart_);
    if (second_ && *second_ != first)
        Emit();
    second_ = first;
    boundary_ = BoundaryAfter(first);
}

void SecondFigures::Samples(const RunData& run, std::int32_t from, std::int32_t to)
{
    while (from < to) {
        if (from >= boundary_) {
            Emit();
            second_ = second_->addSecs(1);
            boundary_ = BoundaryAfter(*second_);
            continue;
        }
        const std::int32_t end = static_cast<std::int32_t>(std::min<std::int64_t>(to, boundary_));
        Add(run, from, end);
        from = end;
    }
}

void SecondFigures::Add(const RunData& run, std::int32_t from, std::int32_t to)
{
    for (Channel& channel : channels_) {
        const std::int32_t* codes = (channel.Number == 0 ? run.Ch0Codes : run.Ch1Codes) + from;
        const std::int32_t count = to - from;
        microvolts_.resize(static_cast<std::size_t>(count));
        for (std::int32_t i = 0; i < count; ++i)
            microvolts_[i] = static_cast<float>(CodeScale::CodeToMicrovolts(codes[i], settings_.GainDivisor));
        channel.Codes.Add(codes, count);
        channel.Microvolts.Add(microvolts_.data(), count);
    }
}

void SecondFigures::Emit()
{
    if (!second_ || channels_.front().Codes.Count() == 0)
        return;
    SecondSummary summary;
    summary.Second = *second_;
    summary.Samples = channels_.front().Codes.Count();
    for (Channel& channel : channels_) {
        summary.Channels.push_back(
            ChannelFigures::Of(channel.Codes, channel.Microvolts, settings_.GainDivisor, channel.Number));
        channel.Codes = SampleMoments();
        channel.Microvolts = SampleMoments();
    }
    done_(summary);
}

void SecondFigures::Finish()
{
    Emit();
    second_.reset();
}

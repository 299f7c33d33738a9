#include "LogPlot.h"

#include "AxisTicks.h"
#include "CodeScale.h"
#include "ColumnTrace.h"
#include "LogLayout.h"
#include "LogSource.h"
#include "PlotNavigator.h"
#include "SummaryPyramid.h"

#include <QDateTime>
#include <QImage>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <utility>
#include <cmath>

namespace {

constexpr std::uint32_t White = Rgb(255, 255, 255);
constexpr std::uint32_t ChannelColours[] = {Rgb(255, 0, 0), Rgb(0, 0, 255)};
constexpr int TopMargin = 8;
constexpr int RightMargin = 12;
constexpr int TickSpacing = 110;  // pixels between time ticks, about
constexpr int MinRunSpacing = 4;  // pixels between run lines, on average

double Microvolts(double code)
{
    return static_cast<double>(CodeScale::CodeToMicrovolts(static_cast<std::int32_t>(std::lround(code)), 1))
           + (code - std::round(code)) * CodeScale::ReferenceMicrovolts / CodeScale::CodeSteps;
}

} // namespace

LogPlot::LogPlot(QWidget* parent)
    : QWidget(parent)
    , navigator_(new PlotNavigator(this, [this] { return log_ != nullptr; }))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    setMinimumSize(400, 200);
    connect(navigator_, &PlotNavigator::ZoomSamples, this, &LogPlot::ZoomSamples);
    connect(navigator_, &PlotNavigator::ZoomValues, this, &LogPlot::ZoomValues);
    connect(navigator_, &PlotNavigator::Pan, this, &LogPlot::Pan);
    connect(navigator_, &PlotNavigator::ZoomToBox, this, &LogPlot::ZoomToBox);
    connect(navigator_, &PlotNavigator::Fit, this, &LogPlot::ShowAll);
    connect(navigator_, &PlotNavigator::Hover, this, &LogPlot::Hover);
    navigator_->EnableSelecting();
    connect(navigator_, &PlotNavigator::Selected, this, [this](int fromX, int toX) {
        SelectSamples(SampleAt(fromX - PlotArea().left()), SampleAt(toX - PlotArea().left()));
    });
}

bool LogPlot::ShowNextEvent()
{
    const std::int64_t span = view_.Last() - view_.First();
    const std::int64_t centre = view_.First() + span / 2;
    std::optional<std::int64_t> next;
    for (const Mark& mark : marks_) {
        if (mark.Sample > centre && (!next || mark.Sample < *next))
            next = mark.Sample;
    }
    if (!next)
        return false;
    ShowSamples(*next - span / 2, *next - span / 2 + span);
    return true;
}

std::optional<std::pair<std::int64_t, std::int64_t>> LogPlot::ShowNoisiestBlock()
{
    if (log_ == nullptr || log_->SummaryLevels() == 0)
        return std::nullopt;
    const int level = std::max(envelope_.Level(), 1);
    const std::int64_t block = SummaryPyramid::RowSamples(level);
    const std::int64_t firstRow = (view_.First() + block - 1) / block;
    const std::int64_t endRow = std::min((view_.Last() + 1) / block, log_->SummaryRows(level));
    std::vector<BlockSummary> rows;
    if (endRow <= firstRow || !log_->ReadSummary(level, firstRow, endRow - firstRow, rows))
        return std::nullopt;
    const int channels = log_->Channels();
    std::size_t noisiest = 0;
    double largest = -1.0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int column = static_cast<int>(i % static_cast<std::size_t>(channels));
        if ((channels_ & (1 << column)) && rows[i].Count > 0 && rows[i].M2 / rows[i].Count > largest) {
            largest = rows[i].M2 / rows[i].Count;
            noisiest = i / static_cast<std::size_t>(channels);
        }
    }
    const std::int64_t first = (firstRow + static_cast<std::int64_t>(noisiest)) * block;
    ShowSamples(first, first + block - 1);
    return std::make_pair(first, first + block - 1);
}

void LogPlot::SelectSamples(std::int64_t first, std::int64_t last)
{
    stretch_ = std::make_pair(std::min(first, last), std::max(first, last));
    update();
    emit StretchChosen(stretch_->first, stretch_->second);
}

void LogPlot::Show(LogSource* log, LogTimeline timeline, const std::vector<LogEvent>& events)
{
    stretch_.reset();
    Take(log, std::move(timeline), events);
    ShowAll();
}

void LogPlot::Release()
{
    log_ = nullptr;
}

void LogPlot::Grow(LogSource* log, LogTimeline timeline, const std::vector<LogEvent>& events, std::int64_t before)
{
    const bool whole = view_.IsAuto();
    const bool atEnd = view_.Last() >= before - 1;
    const std::int64_t first = view_.First();
    const std::int64_t span = view_.Last() - first;
    Take(log, std::move(timeline), events);
    view_.Reset(log_->Samples());
    if (!whole) {
        const std::int64_t start = atEnd ? log_->Samples() - 1 - span : first;
        view_.ShowSamples(static_cast<double>(start), static_cast<double>(start + span));
    }
    Refresh();
}

void LogPlot::Take(LogSource* log, LogTimeline timeline, const std::vector<LogEvent>& events)
{
    log_ = log;
    timeline_ = std::move(timeline);
    marks_.clear();
    for (const LogEvent& event : events) {
        if (const std::optional<std::int64_t> sample = MarkPlace(event))
            marks_.push_back({*sample, QString::fromStdString(event.Kind) + QStringLiteral(": ") + QString::fromStdString(event.Text)});
    }
}

// A gap lies before the run it names; anything else is marked at its time.
std::optional<std::int64_t> LogPlot::MarkPlace(const LogEvent& event) const
{
    const std::vector<LogTimeline::Run>& runs = timeline_.Runs();
    if (event.Kind == LogLayout::EventGap && event.Run >= 1 && static_cast<std::size_t>(event.Run) <= runs.size())
        return runs[static_cast<std::size_t>(event.Run - 1)].FirstSample;
    const QDateTime time = QDateTime::fromString(QString::fromStdString(event.Time), Qt::ISODateWithMs);
    if (!time.isValid())
        return std::nullopt;
    return timeline_.PositionOf(static_cast<double>(time.toMSecsSinceEpoch()));
}

void LogPlot::SetChannels(int mask)
{
    channels_ = mask;
    DrawPicture();
    update();
}

void LogPlot::SetVolts(bool volts)
{
    volts_ = volts;
    update();
}

void LogPlot::SetUtc(bool utc)
{
    utc_ = utc;
    update();
}

void LogPlot::ShowAll()
{
    view_.Reset(log_ != nullptr ? log_->Samples() : 1);
    Refresh();
}

void LogPlot::ShowSamples(std::int64_t first, std::int64_t last)
{
    view_.ShowSamples(static_cast<double>(first), static_cast<double>(last));
    Refresh();
}

QRect LogPlot::PlotArea() const
{
    return QRect(LeftMargin, TopMargin, std::max(width() - LeftMargin - RightMargin, 1),
                 std::max(height() - TopMargin - BottomMargin, 1));
}

std::int64_t LogPlot::SampleAt(int x) const
{
    const std::int64_t n = view_.Last() - view_.First() + 1;
    const std::int64_t w = PlotArea().width();
    return view_.First() + std::clamp<std::int64_t>(x, 0, w - 1) * n / w;
}

// The last column whose first sample is at or before the sample: column c
// holds samples from floor(c n / w), as the envelope shares them out.
int LogPlot::ColumnOf(std::int64_t sample) const
{
    const std::int64_t n = view_.Last() - view_.First() + 1;
    const std::int64_t w = PlotArea().width();
    const std::int64_t k = sample - view_.First();
    return static_cast<int>(((k + 1) * w + n - 1) / n - 1);
}

void LogPlot::Refresh()
{
    if (log_ != nullptr && !envelope_.Read(*log_, view_.First(), view_.Last(), PlotArea().width()))
        emit Failed(envelope_.Error());
    DrawPicture();
    update();
}

double LogPlot::ValueOf(float code) const
{
    return volts_ ? Microvolts(code) : code;
}

void LogPlot::DrawPicture()
{
    const QRect area = PlotArea();
    picture_.SetSize(area.width(), area.height());
    picture_.FillRect({0, 0, area.width(), area.height()}, White);
    if (log_ == nullptr)
        return;
    shownLow_ = view_.Low();
    shownHigh_ = view_.High();
    if (!view_.ValuesSet()) {
        const auto [least, most] = envelope_.Range();
        const double margin = std::max((most - least) * 0.05, 1.0);
        shownLow_ = least - margin;
        shownHigh_ = most + margin;
    }
    for (int c = 0; c < envelope_.Channels(); ++c) {
        if (channels_ & (1 << c))
            DrawEnvelope(c, ChannelColours[LogChannel(c)], shownLow_, shownHigh_);
    }
}

void LogPlot::DrawEnvelope(int channel, std::uint32_t colour, double low, double high)
{
    const int rows = picture_.Height();
    const auto rowOf = [&](float code) {
        return static_cast<int>(std::lround((high - code) / (high - low) * (rows - 1)));
    };
    picture_.SetPenColor(colour);
    if (envelope_.Raw()) {
        const std::vector<float>& codes = envelope_.Codes(channel);
        const std::int64_t first = envelope_.First();
        DrawColumnTrace(picture_, codes.data(), static_cast<std::int32_t>(codes.size()),
                        [&](std::int32_t i) { return ColumnOf(first + i); }, rowOf);
        return;
    }
    const ColumnExtremes& columns = envelope_.Columns(channel);
    for (int x = 0; x < columns.Columns(); ++x) {
        if (!columns.Filled(x))
            continue;
        picture_.MoveTo(x, rowOf(columns.High(x)));
        picture_.LineTo(x, rowOf(columns.Low(x)) + 1);
    }
}

int LogPlot::LogChannel(int column) const
{
    if (log_ == nullptr || log_->Channels() == 2)
        return column;
    return log_->Head().Settings.CHSel == ModeCh1 ? 1 : 0;
}

void LogPlot::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const QRect area = PlotArea();
    const QImage image(reinterpret_cast<const uchar*>(picture_.Pixels()), picture_.Width(), picture_.Height(),
                       QImage::Format_RGB32);
    painter.drawImage(area.topLeft(), image);
    if (stretch_ && stretch_->second >= view_.First() && stretch_->first <= view_.Last()) {
        const int from = area.left() + ColumnOf(std::max(stretch_->first, view_.First()));
        const int to = area.left() + ColumnOf(std::min(stretch_->second, view_.Last()));
        painter.fillRect(QRect(from, area.top(), to - from + 1, area.height()), QColor(255, 200, 0, 60));
    }
    painter.setPen(palette().windowText().color());
    painter.drawRect(area.adjusted(-1, -1, 0, 0));
    if (log_ == nullptr)
        return;

    // The value axis, in codes or µV, from the codes drawn at the top and bottom rows.
    const double top = ValueOf(static_cast<float>(shownHigh_));
    const double bottom = ValueOf(static_cast<float>(shownLow_));
    // About one mark every 40 pixels, so that a short strip's do not crowd.
    const std::vector<double> values = AxisTicks::Linear(bottom, top, std::clamp(area.height() / 40, 2, 6));
    const int decimals = AxisTicks::Decimals(values);
    // The unit above the axis; a mark's number that would run into it is
    // left out, its mark kept.
    const QRect unit(0, 0, area.left() - 6, 14);
    painter.drawText(unit, Qt::AlignRight, volts_ ? QStringLiteral("µV") : QStringLiteral("code"));
    for (const double value : values) {
        const int y = area.top() + static_cast<int>(std::lround((top - value) / (top - bottom) * (area.height() - 1)));
        painter.drawLine(area.left() - 4, y, area.left() - 1, y);
        const QRect label(0, y - 8, area.left() - 6, 16);
        if (!label.intersects(unit))
            painter.drawText(label, Qt::AlignRight | Qt::AlignVCenter, QString::number(value, 'f', decimals));
    }

    // The time of day, the runs' starts and the events.
    const int most = std::max(area.width() / TickSpacing, 2);
    for (const LogTimeline::Tick& tick : timeline_.Ticks(view_.First(), view_.Last(), most, utc_)) {
        const int x = area.left() + ColumnOf(tick.Sample);
        painter.drawLine(x, area.bottom() + 1, x, area.bottom() + 4);
        // Centred under its mark, but kept whole inside the plot's width.
        const int wide = painter.fontMetrics().horizontalAdvance(tick.Label) + 4;
        painter.drawText(QRect(std::clamp(x - wide / 2, 0, std::max(width() - wide, 0)), area.bottom() + 6, wide, 14),
                         Qt::AlignHCenter, tick.Label);
    }
    // Run starts as dotted lines, one a column at most, and none when they
    // would stand closer than a few pixels: a day's hundred thousand runs
    // would be a grey wall that says nothing, and slow to draw.
    const std::vector<LogTimeline::Run>& runs = timeline_.Runs();
    const auto after = [](std::int64_t sample, const LogTimeline::Run& run) { return sample < run.FirstSample; };
    const auto from = std::upper_bound(runs.begin(), runs.end(), view_.First(), after);
    const auto to = std::upper_bound(from, runs.end(), view_.Last(), after);
    if ((to - from) * MinRunSpacing <= area.width()) {
        painter.setPen(QPen(Qt::darkGray, 1, Qt::DotLine));
        int drawn = -1;
        for (auto run = from; run != to; ++run) {
            const int x = area.left() + ColumnOf(run->FirstSample);
            if (x != drawn)
                painter.drawLine(x, area.top(), x, area.bottom());
            drawn = x;
        }
    }
    // One mark a column: those on the same pixels would hide each other.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 128, 0));
    std::vector<char> marked(static_cast<std::size_t>(area.width()), 0);
    for (const Mark& mark : marks_) {
        if (mark.Sample < view_.First() || mark.Sample > view_.Last())
            continue;
        const int column = std::clamp(ColumnOf(mark.Sample), 0, area.width() - 1);
        if (std::exchange(marked[static_cast<std::size_t>(column)], 1) != 0)
            continue;
        const int x = area.left() + column;
        const QPoint corners[] = {{x, area.bottom() - MarkSize * 2}, {x - MarkSize, area.bottom()}, {x + MarkSize, area.bottom()}};
        painter.drawPolygon(corners, 3);
    }
}

void LogPlot::resizeEvent(QResizeEvent*)
{
    Refresh();
}

void LogPlot::ZoomSamples(double factor, QPoint at)
{
    view_.ZoomSamples(factor, static_cast<double>(SampleAt(at.x() - PlotArea().left())));
    Refresh();
}

void LogPlot::ZoomValues(double factor, QPoint at)
{
    const QRect area = PlotArea();
    const double code = shownHigh_ - (at.y() - area.top()) * (shownHigh_ - shownLow_) / std::max(area.height() - 1, 1);
    if (!view_.ValuesSet())
        view_.SetValues(shownLow_, shownHigh_);
    view_.ZoomValues(factor, code);
    DrawPicture();
    update();
}

void LogPlot::Pan(int columns, int rows)
{
    const QRect area = PlotArea();
    const double samples = static_cast<double>(view_.Last() - view_.First() + 1) * columns / area.width();
    view_.PanSamples(-samples);
    if (rows != 0) {
        if (!view_.ValuesSet())
            view_.SetValues(shownLow_, shownHigh_);
        view_.PanValues(rows * (shownHigh_ - shownLow_) / std::max(area.height() - 1, 1));
    }
    Refresh();
}

void LogPlot::ZoomToBox(const QRect& box)
{
    const QRect area = PlotArea();
    const QRect inside = box.translated(-area.left(), -area.top());
    view_.ShowSamples(static_cast<double>(SampleAt(inside.left())), static_cast<double>(SampleAt(inside.right())));
    Refresh();
}

void LogPlot::Hover(QPoint at)
{
    const int x = at.x() - PlotArea().left();
    emit Readout(ReadoutAt(x));
    const QString mark = MarkAt(x);
    if (!mark.isEmpty() && at.y() >= PlotArea().bottom() - MarkSize * 3)
        QToolTip::showText(mapToGlobal(at), mark, this);
}

QString LogPlot::ReadoutAt(int x) const
{
    if (log_ == nullptr || x < 0 || x >= PlotArea().width())
        return QString();
    const std::int64_t sample = SampleAt(x);
    const std::optional<double> time = timeline_.TimeOf(sample);
    QString text = time ? LogTimeline::Stamp(*time, utc_) : QString();
    text += QStringLiteral("  #%1").arg(sample);
    const auto value = [this](float code) {
        return volts_ ? QStringLiteral("%1 µV").arg(Microvolts(code), 0, 'f', 3) : QString::number(static_cast<std::int64_t>(code));
    };
    for (int c = 0; c < envelope_.Channels(); ++c) {
        const QString name = QStringLiteral("CH%1 ").arg(LogChannel(c));
        if (envelope_.Raw()) {
            text += QStringLiteral("  ") + name + value(envelope_.Codes(c)[static_cast<std::size_t>(sample - envelope_.First())]);
        } else if (envelope_.Columns(c).Filled(x)) {
            const ColumnExtremes& columns = envelope_.Columns(c);
            text += QStringLiteral("  ") + name + value(columns.Low(x)) + QStringLiteral(" .. ") + value(columns.High(x));
            if (const std::optional<double> mean = envelope_.Mean(c, x))
                text += tr("（平均 %1）").arg(volts_ ? QStringLiteral("%1 µV").arg(Microvolts(static_cast<float>(*mean)), 0, 'f', 3)
                                                   : QString::number(*mean, 'f', 1));
        }
    }
    return text;
}

QString LogPlot::MarkAt(int x) const
{
    QStringList texts;
    for (const Mark& mark : marks_) {
        if (mark.Sample >= view_.First() && mark.Sample <= view_.Last() && std::abs(ColumnOf(mark.Sample) - x) <= MarkSize)
            texts << mark.Text;
    }
    return texts.join(QLatin1Char('\n'));
}

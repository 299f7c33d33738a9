#include "Graph_2ch.h"

#include "AxisLabel.h"
#include "ChannelData.h"
#include "CodeScale.h"
#include "ColumnTrace.h"
#include "FormatReal.h"
#include "MeasureSettings.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

using CodeScale::FullScale;
using CodeScale::MidScale;

constexpr std::uint32_t White = Rgb(255, 255, 255);
constexpr std::uint32_t Grey = Rgb(128, 128, 128);
constexpr std::uint32_t Red = Rgb(255, 0, 0);
constexpr std::uint32_t Blue = Rgb(0, 0, 255);

// Each span's limit is 0.8 times the span, so a range centred in it leaves at
// least one free division above and below.
struct CodeSpanRow {
    std::int64_t Limit;
    std::int32_t Span;
};
constexpr CodeSpanRow CodeSpans[] = {
    {8, 10},           {16, 20},           {40, 50},           {80, 100},
    {160, 200},        {400, 500},         {800, 1000},        {1600, 2000},
    {4000, 5000},      {8000, 10000},      {16000, 20000},     {40000, 50000},
    {80000, 100000},   {160000, 200000},   {400000, 500000},   {800000, 1000000},
    {1600000, 2000000}, {4000000, 5000000}, {8000000, 10000000},
};
constexpr std::int32_t WidestCodeSpan = 20000000;

struct VoltSpanRow {
    double Limit;
    float Span;
};
constexpr VoltSpanRow VoltSpans[] = {
    {0.16, 0.2f},       {0.4, 0.5f},        {0.8, 1},           {1.6, 2},
    {4, 5},             {8, 10},            {16, 20},           {40, 50},
    {80, 100},          {160, 200},         {400, 500},         {800, 1000},
    {1600, 2000},       {4000, 5000},       {8000, 10000},      {16000, 20000},
    {40000, 50000},     {80000, 100000},    {160000, 200000},   {400000, 500000},
    {800000, 1000000},  {1600000, 2000000}, {4000000, 5000000},
};
constexpr float WidestVoltSpan = 6000000;

// The span of the first row whose limit the distance d does not exceed; a
// negative d (the empty range) gives the first.
template <typename Row, std::size_t RowCount, typename Distance, typename Span>
Span SpanFor(const Row (&rows)[RowCount], Distance d, Span widest)
{
    for (const Row& row : rows)
        if (d <= row.Limit)
            return row.Span;
    return widest;
}

// Samples a channel really holds; a Count beyond the arrays is read as full.
std::int32_t SampleCount(const ChannelData& channel)
{
    return std::clamp(channel.Count, 0, SampleCapacity);
}

std::int32_t MaxCode(const ChannelData& channel, std::int32_t first, std::int32_t last)
{
    std::int32_t max = 0;
    for (std::int32_t i = first; i <= last; ++i)
        max = std::max(max, channel.Codes[i]);
    return max;
}

std::int32_t MinCode(const ChannelData& channel, std::int32_t first, std::int32_t last)
{
    std::int32_t min = FullScale;
    for (std::int32_t i = first; i <= last; ++i)
        min = std::min(min, channel.Codes[i]);
    return min;
}

// Truncates toward zero; values beyond the int range stick to its ends (NaN
// gives 0) so that a wild sample cannot wrap round onto the plot.
template <typename Real>
int TruncToInt(Real value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<Real>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<Real>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// trunc(position * dx) + 1. The product of an index below 2^24 and a float
// is exact in a double, so this is the extended-precision result, only faster.
int SampleX(std::int32_t position, float dx)
{
    return TruncToInt(static_cast<double>(position) * dx) + 1;
}

const char* VoltPattern(float scaledSpan)
{
    if (scaledSpan <= 0.001)
        return "0.00000";
    if (scaledSpan <= 0.01)
        return "0.0000";
    if (scaledSpan <= 0.1)
        return "0.000";
    if (scaledSpan <= 1)
        return "0.00";
    if (scaledSpan <= 10)
        return "0.0";
    return "0";
}

} // namespace

TGraph_2CH::TGraph_2CH(PaintBox* box, ChannelData* ch0, ChannelData* ch1, MeasureSettings* settings,
                       AxisLabel* const* yLabels, AxisLabel* const* xLabels)
    : Ch0(ch0), Ch1(ch1), Settings(settings), Box(box), YLabels(yLabels), XLabels(xLabels)
{
    Resize();
}

void TGraph_2CH::Resize()
{
    if (!Box)
        return;
    BoxWidth = Box->Width();
    BoxHeight = Box->Height();
    PlotWidth = BoxWidth - 2;
    PlotHeight = BoxHeight - 2;
    TargetRect = {1, 1, BoxWidth - 1, BoxHeight - 1};
    SourceRect = {0, 0, PlotWidth, PlotHeight};
    Plot.SetSize(PlotWidth, PlotHeight);
}

void TGraph_2CH::DrawEmpty(bool volt)
{
    Clear();
    SetEmptyYLabels(volt);
    DrawHorizontalGrid();
    SetXLabels(1, 1000);
    DrawVerticalGrid();
    Paint();
}

void TGraph_2CH::DrawAll(bool volt)
{
    if (!View.IsAuto()) {
        DrawView(volt);
        return;
    }
    ScanAll();
    ComputeRange();
    if (HoldsData())
        SetYLabels(volt);
    Clear();
    DrawHorizontalGrid();
    SetXLabels(1, TraceSampleCount());
    DrawVerticalGrid();
    // Handlers that run here may resize or redraw the graph; the traces below
    // read sizes and counts afresh.
    if (EventPump) {
        Pumping = true;
        EventPump();
        Pumping = false;
    }
    DrawTraces(volt);
    Paint();
}

// A stretch of the run on the axes the auto view would give its samples (or
// the values chosen). Operator input draws it, so it lets no events run.
void TGraph_2CH::DrawView(bool volt)
{
    ScanView();
    ComputeRange();
    SetYLabels(volt);
    Clear();
    DrawHorizontalGrid();
    SetXLabels(ShownFirst() + 1, ShownLast() + 1);
    DrawVerticalGrid();
    DrawTraces(volt);
    Paint();
}

void TGraph_2CH::DrawBlock(bool volt, std::int32_t first, std::int32_t last)
{
    if (first < 0 || last >= SampleCapacity || first >= last)
        return;
    Clear();
    ScanBlock(first, last);
    ComputeRange();
    SetYLabels(volt);
    DrawHorizontalGrid();
    SetXLabels(first + 1, last + 1);
    DrawVerticalGrid();
    DrawBlockTraces(volt, first, last);
    Paint();
}

void TGraph_2CH::DrawAxes(bool volt)
{
    Clear();
    if (HoldsData()) {
        if (!volt)
            RescanCodeAxis();
        SetYLabels(volt);
    }
    DrawHorizontalGrid();
    SetXLabels(1, TraceSampleCount());
    DrawVerticalGrid();
    Paint();
}

void TGraph_2CH::Paint()
{
    Box->ShowPixels(Plot.Pixels(), Plot.Width(), Plot.Height(), Plot.Width(), TargetRect, SourceRect);
}

long double TGraph_2CH::CodeToMicrovolts(std::int32_t code) const
{
    return CodeScale::CodeToMicrovolts(code, Settings->GainDivisor);
}

std::int32_t TGraph_2CH::GetMaxCodeCh0()
{
    return RescanExtreme(*Ch0, MaxCode, MaxCh0);
}

std::int32_t TGraph_2CH::GetMaxCodeCh1()
{
    return RescanExtreme(*Ch1, MaxCode, MaxCh1);
}

std::int32_t TGraph_2CH::GetMinCodeCh0()
{
    return RescanExtreme(*Ch0, MinCode, MinCh0);
}

std::int32_t TGraph_2CH::GetMinCodeCh1()
{
    return RescanExtreme(*Ch1, MinCode, MinCh1);
}

// The microvolt accessors convert the stored extreme, which with Count 0 is
// whatever the last scan left there.
float TGraph_2CH::GetMaxMicrovoltsCh0()
{
    GetMaxCodeCh0();
    return StoreMicrovolts(MaxCh0, MaxMicrovoltsCh0);
}

float TGraph_2CH::GetMaxMicrovoltsCh1()
{
    GetMaxCodeCh1();
    return StoreMicrovolts(MaxCh1, MaxMicrovoltsCh1);
}

float TGraph_2CH::GetMinMicrovoltsCh0()
{
    GetMinCodeCh0();
    return StoreMicrovolts(MinCh0, MinMicrovoltsCh0);
}

float TGraph_2CH::GetMinMicrovoltsCh1()
{
    GetMinCodeCh1();
    return StoreMicrovolts(MinCh1, MinMicrovoltsCh1);
}

// An empty channel gives 0 and leaves the stored extreme as it is.
std::int32_t TGraph_2CH::RescanExtreme(const ChannelData& channel, CodeExtreme extreme, std::int32_t& stored)
{
    if (SampleCount(channel) == 0)
        return 0;
    stored = extreme(channel, 0, SampleCount(channel) - 1);
    return stored;
}

float TGraph_2CH::StoreMicrovolts(std::int32_t code, float& stored) const
{
    stored = static_cast<float>(CodeToMicrovolts(code));
    return stored;
}

void TGraph_2CH::SetEventPump(std::function<void()> pump)
{
    EventPump = std::move(pump);
}

bool TGraph_2CH::ZoomSamplesAt(double factor, int column)
{
    if (!BeginViewChange())
        return false;
    View.ZoomSamples(factor, SampleAtX(column));
    return true;
}

bool TGraph_2CH::ZoomValuesAt(double factor, int row, bool volt)
{
    if (!BeginViewChange())
        return false;
    const double anchor = CodeAtRow(row, volt);
    FixValueAxis();
    View.ZoomValues(factor, anchor);
    return true;
}

// The picture follows the mouse: dragged right, earlier samples come into
// view; dragged down, higher values.
bool TGraph_2CH::PanBy(int columns, int rows, bool volt)
{
    if (!BeginViewChange())
        return false;
    View.PanSamples(SampleAtX(0) - SampleAtX(columns));
    if (rows != 0) {
        const double codes = CodeAtRow(0, volt) - CodeAtRow(rows, volt);
        FixValueAxis();
        View.PanValues(codes);
    }
    return true;
}

bool TGraph_2CH::ZoomToRect(const PixelRect& rect, bool volt)
{
    const double first = SampleAtX(rect.Left);
    const double last = SampleAtX(rect.Right);
    const double low = CodeAtRow(rect.Bottom, volt);
    const double high = CodeAtRow(rect.Top, volt);
    return ShowSamples(first, last) && ShowValues(low, high);
}

bool TGraph_2CH::ShowSamples(double first, double last)
{
    if (!BeginViewChange())
        return false;
    View.ShowSamples(first, last);
    return true;
}

bool TGraph_2CH::ShowValues(double low, double high)
{
    if (!BeginViewChange())
        return false;
    View.SetValues(low, high);
    return true;
}

bool TGraph_2CH::FitValues()
{
    if (View.IsAuto() || !BeginViewChange())
        return false;
    View.FitValues();
    return true;
}

bool TGraph_2CH::FitView()
{
    if (View.IsAuto())
        return false;
    View.Reset(TraceSampleCount());
    if (HoldsData()) {
        ScanAll();
        ComputeRange();
    }
    return true;
}

std::int32_t TGraph_2CH::SampleAtColumn(int column) const
{
    if (!HoldsData())
        return -1;
    const double nearest = std::round(SampleAtX(column));
    return static_cast<std::int32_t>(std::clamp(nearest, static_cast<double>(ShownFirst()),
                                                static_cast<double>(ShownLast())));
}

int TGraph_2CH::ColumnOfSample(std::int32_t index) const
{
    return SampleX(index - ShownFirst(), ShownDx());
}

// A channel of fewer than 10 samples has no trace.
bool TGraph_2CH::TraceHolds(int channel, std::int32_t index) const
{
    const std::int32_t count = SampleCount(Channel(channel));
    return count >= 10 && index >= 0 && index < count;
}

double TGraph_2CH::SampleValue(int channel, std::int32_t index, bool volt) const
{
    const ChannelData& data = Channel(channel);
    return volt ? static_cast<double>(data.Microvolts[index]) : data.Codes[index];
}

// The scans look at the Counts only, not at CHSel; an empty CH0 leaves the
// empty range 0 / FullScale for CH1 to widen.
void TGraph_2CH::ScanAll()
{
    RangeMax = 0;
    RangeMin = FullScale;
    if (SampleCount(*Ch0) > 0) {
        MaxCh0 = MaxCode(*Ch0, 0, SampleCount(*Ch0) - 1);
        MinCh0 = MinCode(*Ch0, 0, SampleCount(*Ch0) - 1);
        RangeMax = MaxCh0;
        RangeMin = MinCh0;
    }
    if (SampleCount(*Ch1) > 0) {
        MaxCh1 = MaxCode(*Ch1, 0, SampleCount(*Ch1) - 1);
        MinCh1 = MinCode(*Ch1, 0, SampleCount(*Ch1) - 1);
        RangeMax = std::max(RangeMax, MaxCh1);
        RangeMin = std::min(RangeMin, MinCh1);
    }
}

// A block is read without looking at the Counts: during a run they are not
// yet set, and CHSel names the channels being measured.
void TGraph_2CH::ScanBlock(std::int32_t first, std::int32_t last)
{
    const bool ch0 = Settings->CHSel == ModeCh0 || Settings->CHSel == ModeDual;
    const bool ch1 = Settings->CHSel == ModeCh1 || Settings->CHSel == ModeDual;
    if (ch0) {
        MaxCh0 = MaxCode(*Ch0, first, last);
        MinCh0 = MinCode(*Ch0, first, last);
    }
    if (ch1) {
        MaxCh1 = MaxCode(*Ch1, first, last);
        MinCh1 = MinCode(*Ch1, first, last);
    }
    if (ch0 && ch1) {
        RangeMax = std::max(MaxCh0, MaxCh1);
        RangeMin = std::min(MinCh0, MinCh1);
    } else if (ch0 || ch1) {
        RangeMax = ch0 ? MaxCh0 : MaxCh1;
        RangeMin = ch0 ? MinCh0 : MinCh1;
    }
}

void TGraph_2CH::RangeToMicrovolts()
{
    RangeMaxMicrovolts = static_cast<float>(CodeToMicrovolts(RangeMax));
    RangeMinMicrovolts = static_cast<float>(CodeToMicrovolts(RangeMin));
}

void TGraph_2CH::CodeSpanFor()
{
    const std::int64_t d = static_cast<std::int64_t>(RangeMax) - RangeMin;
    CodeSpan = SpanFor(CodeSpans, d, WidestCodeSpan);
}

// Cut toward zero to a multiple of half a division, so a negative bottom moves
// up.
void TGraph_2CH::CodeBottomFor()
{
    const std::int64_t c = (static_cast<std::int64_t>(RangeMax) + RangeMin) / 2 - CodeSpan / 2;
    if (CodeSpan > 10) {
        const std::int64_t halfDivision = CodeSpan / 20;
        CodeBottom = static_cast<std::int32_t>(c / halfDivision * halfDivision);
    } else {
        CodeBottom = static_cast<std::int32_t>(c);
    }
}

void TGraph_2CH::VoltSpanFor()
{
    const float d = static_cast<long double>(RangeMaxMicrovolts) - RangeMinMicrovolts;
    VoltSpan = SpanFor(VoltSpans, d, WidestVoltSpan);
}

// Rounded to the nearest whole division, halves away from zero.
void TGraph_2CH::VoltBottomFor()
{
    const float step = 0.1L * VoltSpan;
    const float c = (static_cast<long double>(RangeMaxMicrovolts) + RangeMinMicrovolts) * 0.5L -
                    static_cast<long double>(VoltSpan) * 0.5L;
    if (c >= 0)
        VoltBottom = std::trunc(static_cast<long double>(c) / step + 0.5L) * step;
    else
        VoltBottom = -std::trunc(-static_cast<long double>(c) / step + 0.5L) * step;
}

// Both axes are worked out whatever the view, so that switching the view
// later finds them ready.
void TGraph_2CH::ComputeRange()
{
    RangeToMicrovolts();
    CodeSpanFor();
    CodeBottomFor();
    VoltSpanFor();
    VoltBottomFor();
}

// The samples shown, over the channels that hold data, as ScanAll does for
// the whole run; or the values the operator chose, widened to whole codes.
void TGraph_2CH::ScanView()
{
    if (View.ValuesSet()) {
        RangeMin = static_cast<std::int32_t>(std::floor(View.Low()));
        RangeMax = static_cast<std::int32_t>(std::ceil(View.High()));
        return;
    }
    RangeMax = 0;
    RangeMin = FullScale;
    for (const ChannelData* channel : {Ch0, Ch1}) {
        const std::int32_t first = ShownFirst();
        const std::int32_t last = std::min(ShownLast(), SampleCount(*channel) - 1);
        if (last < first)
            continue;
        RangeMax = std::max(RangeMax, MaxCode(*channel, first, last));
        RangeMin = std::min(RangeMin, MinCode(*channel, first, last));
    }
}

// The auto view's extent is that of its traces; a change starts from it.
bool TGraph_2CH::BeginViewChange()
{
    if (Pumping || !HoldsData())
        return false;
    if (View.IsAuto())
        View.Reset(TraceSampleCount());
    return true;
}

// A value axis that followed the samples starts from their range, the one
// on screen.
void TGraph_2CH::FixValueAxis()
{
    if (!View.ValuesSet())
        View.SetValues(RangeMin, RangeMax);
}

// A run holds at most SampleCount samples, so its view fits 32 bits.
std::int32_t TGraph_2CH::ShownFirst() const
{
    return View.IsAuto() ? 0 : static_cast<std::int32_t>(View.First());
}

std::int32_t TGraph_2CH::ShownLast() const
{
    return View.IsAuto() ? TraceSampleCount() - 1 : static_cast<std::int32_t>(View.Last());
}

// The block's and the full view's spacing: the shown samples across the
// plot but for a column at either end.
float TGraph_2CH::ShownDx() const
{
    return static_cast<long double>(PlotWidth - 2) / (ShownLast() - ShownFirst());
}

// The sample position drawn at a column, between whole samples too.
double TGraph_2CH::SampleAtX(double column) const
{
    return ShownFirst() + (column - 1) / ShownDx();
}

// The value axis on screen read backwards: the code at a row, fractions kept.
double TGraph_2CH::CodeAtRow(double row, bool volt) const
{
    const double above = 1 - row / PlotHeight;
    if (!volt)
        return CodeBottom + above * CodeSpan;
    const double microvolts = VoltBottom + above * static_cast<double>(VoltSpan);
    return MidScale + microvolts / static_cast<double>(CodeToMicrovolts(MidScale + 1));
}

const ChannelData& TGraph_2CH::Channel(int channel) const
{
    return channel == 0 ? *Ch0 : *Ch1;
}

// With no samples at all the full views leave the Y labels as they are.
bool TGraph_2CH::HoldsData() const
{
    return SampleCount(*Ch0) > 0 || SampleCount(*Ch1) > 0;
}

// The code axis of all samples, without touching the volt axis, which keeps
// what the last full or block view left.
void TGraph_2CH::RescanCodeAxis()
{
    ScanAll();
    RangeToMicrovolts();
    CodeSpanFor();
    CodeBottomFor();
}

void TGraph_2CH::SetYLabels(bool volt)
{
    if (volt)
        SetVoltYLabels();
    else
        SetCodeYLabels();
}

void TGraph_2CH::SetCodeYLabels()
{
    for (int i = 0; i < YLabelCount; ++i)
        SetYLabel(i, QString::number(CodeBottom + CodeSpan - (i * CodeSpan) / 10), false);
}

void TGraph_2CH::SetVoltYLabels()
{
    const long double largest =
        std::max(std::fabs(std::trunc(static_cast<long double>(VoltSpan))),
                 std::fabs(std::trunc(static_cast<long double>(VoltBottom))));
    QString unit = QStringLiteral("uV");
    long double factor = 1;
    if (largest > 200000) {
        unit = QStringLiteral("V");
        factor = 1e-6L;
    } else if (largest > 200) {
        unit = QStringLiteral("mV");
        factor = 0.001L;
    }
    const float span = VoltSpan * factor;
    const float bottom = VoltBottom * factor;
    const char* pattern = VoltPattern(span);
    for (int i = 0; i < YLabelCount; ++i) {
        const float value = (static_cast<long double>(bottom) + span) - static_cast<long double>(i) * span * 0.1L;
        QString caption = FormatReal(value, pattern);
        if (i == 0 || i == YLabelCount - 1)
            caption += unit;
        SetYLabel(i, caption, true);
    }
}

// The empty plot starts at mid-scale in codes and is centred on it in volts.
void TGraph_2CH::SetEmptyYLabels(bool volt)
{
    for (int i = 0; i < YLabelCount; ++i) {
        if (volt) {
            const float microvolts = static_cast<float>(CodeToMicrovolts(MidScale + 50 - 10 * i));
            SetYLabel(i, FormatReal(microvolts, "0.00"), true);
        } else {
            SetYLabel(i, QString::number(MidScale - 10 * i), false);
        }
    }
}

// The label's middle sits on bitmap row i * PlotHeight / 10, and the bitmap
// is shown one pixel inside the paint box. Volt captions end 3 pixels left of
// the box; code captions all start CodeCaptionRoom pixels left of it.
void TGraph_2CH::SetYLabel(int index, const QString& caption, bool volt)
{
    AxisLabel* label = YLabels[index];
    label->SetCaption(caption);
    label->SetTop(Box->Top() + 1 + (index * PlotHeight) / 10 - label->Height() / 2);
    label->SetLeft(volt ? Box->Left() - 3 - label->Width() : Box->Left() - CodeCaptionRoom);
}

void TGraph_2CH::SetXLabels(std::int32_t left, std::int32_t right)
{
    const int top = Box->Top() + PlotHeight + 10;
    XLabels[0]->SetCaption(QString::number(left));
    XLabels[0]->SetTop(top);
    XLabels[0]->SetLeft(Box->Left());
    XLabels[1]->SetCaption(QString::number(right));
    XLabels[1]->SetTop(top);
    XLabels[1]->SetLeft(Box->Left() + PlotWidth - XLabels[1]->Width());
}

// CH1 sets the X range when it holds data; short runs still get an axis of
// 100 sample positions.
std::int32_t TGraph_2CH::TraceSampleCount() const
{
    const std::int32_t count = SampleCount(*Ch1) != 0 ? SampleCount(*Ch1) : SampleCount(*Ch0);
    return std::max(count, 100);
}

void TGraph_2CH::Clear()
{
    Plot.FillRect({0, 0, PlotWidth, PlotHeight}, White);
}

void TGraph_2CH::DrawHorizontalGrid()
{
    Plot.SetPenColor(Grey);
    for (int i = 0; i <= 10; ++i) {
        const int y = (PlotHeight - 1) * i / 10;
        Plot.MoveTo(0, y);
        Plot.LineTo(PlotWidth - 1, y);
    }
}

void TGraph_2CH::DrawVerticalGrid()
{
    Plot.SetPenColor(Grey);
    for (int i = 0; i <= 10; ++i) {
        const int x = (PlotWidth - 1) * i / 10;
        Plot.MoveTo(x, 0);
        Plot.LineTo(x, PlotHeight - 1);
    }
}

// CH0 first, so blue lies on top where the traces cross. A channel of fewer
// than 10 samples still sets the range but gets no trace.
void TGraph_2CH::DrawTraces(bool volt)
{
    if (!HoldsData())
        return;
    const float dx = ShownDx();
    DrawTrace(*Ch0, Red, volt, dx);
    DrawTrace(*Ch1, Blue, volt, dx);
}

// Every sample is drawn; with 100000 samples about 190 segments fall on each
// column and the trace shows as a band between the column's extremes, which
// DrawColumnTrace paints without mapping each sample to its row. It needs
// rows that never go down as samples go up, which both mappings give on a
// plot of any height above zero (a plot of no height shows nothing anyway).
//
// The auto view draws every sample of the channel; a stretch draws those it
// shows, its first on the plot's first column.
void TGraph_2CH::DrawTrace(const ChannelData& channel, std::uint32_t colour, bool volt, float dx)
{
    const std::int32_t count = SampleCount(channel);
    if (count < 10)
        return;
    const std::int32_t first = ShownFirst();
    const std::int32_t last = std::min(ShownLast(), count - 1);
    if (last < first)
        return;
    Plot.SetPenColor(colour);
    const auto column = [dx](std::int32_t i) { return SampleX(i, dx); };
    if (volt)
        DrawColumnTrace(Plot, channel.Microvolts + first, last - first + 1, column,
                        [this](float v) { return MicrovoltY(v); });
    else
        DrawColumnTrace(Plot, channel.Codes + first, last - first + 1, column,
                        [this](std::int32_t c) { return CodeY(c); });
}

// The block fills the width on its own scale. The pen colour is set before
// every segment, so with both channels red and blue alternate segment by
// segment.
void TGraph_2CH::DrawBlockTraces(bool volt, std::int32_t first, std::int32_t last)
{
    const float dx = static_cast<long double>(PlotWidth - 2) / (last - first);
    const bool ch0 = Settings->CHSel == ModeCh0 || Settings->CHSel == ModeDual;
    const bool ch1 = Settings->CHSel == ModeCh1 || Settings->CHSel == ModeDual;
    for (std::int32_t i = first; i < last; ++i) {
        const std::int32_t k = i - first;
        const int x1 = SampleX(k, dx);
        const int x2 = SampleX(k + 1, dx);
        if (ch0)
            DrawBlockSegment(*Ch0, Red, volt, i, x1, x2);
        if (ch1)
            DrawBlockSegment(*Ch1, Blue, volt, i, x1, x2);
    }
}

void TGraph_2CH::DrawBlockSegment(const ChannelData& channel, std::uint32_t colour, bool volt, std::int32_t i,
                                  int x1, int x2)
{
    Plot.SetPenColor(colour);
    Plot.MoveTo(x1, SampleY(channel, i, volt));
    Plot.LineTo(x2, SampleY(channel, i + 1, volt));
}

int TGraph_2CH::SampleY(const ChannelData& channel, std::int32_t index, bool volt) const
{
    return volt ? MicrovoltY(channel.Microvolts[index]) : CodeY(channel.Codes[index]);
}

// The top of the axis lands on row 0, its bottom on row PlotHeight, one below
// the bitmap.
int TGraph_2CH::CodeY(std::int32_t code) const
{
    const std::int64_t aboveBottom = static_cast<std::int64_t>(code) - CodeBottom;
    return TruncToInt(PlotHeight * (1 - static_cast<long double>(aboveBottom) / CodeSpan));
}

int TGraph_2CH::MicrovoltY(float microvolts) const
{
    return TruncToInt(PlotHeight * (1 - (static_cast<long double>(microvolts) - VoltBottom) / VoltSpan));
}

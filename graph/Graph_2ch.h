#pragma once

#include "Bitmap.h"
#include "PaintBox.h"
#include "ZoomRange.h"

#include <QString>

#include <cstdint>
#include <functional>

class AxisLabel;
struct ChannelData;
struct MeasureSettings;

// The window's two-channel graph. It draws into its own bitmap, shows it one
// pixel inside the paint box with a single copy per operation, and sets the
// captions and positions of the eleven Y labels (top first) and the two X
// labels (left, right). It reads the channels and the settings in place and
// never changes them; every pointer must outlive the graph.
class TGraph_2CH {
public:
    static constexpr int YLabelCount = 11;
    static constexpr int XLabelCount = 2;
    // Code captions start this many pixels left of the paint box, so this is
    // all the room they have.
    static constexpr int CodeCaptionRoom = 50;

    TGraph_2CH(PaintBox* box, ChannelData* ch0, ChannelData* ch1, MeasureSettings* settings,
               AxisLabel* const* yLabels, AxisLabel* const* xLabels);
    TGraph_2CH(const TGraph_2CH&) = delete;
    TGraph_2CH& operator=(const TGraph_2CH&) = delete;

    // Takes over the paint box's size; the caller redraws next.
    void Resize();
    // In every Draw operation volt picks the Y axis in µV/mV/V (true) or in
    // converter codes (false) for this call only. DrawAll shows the view
    // (below): the whole run auto-ranged while it is auto, else its stretch.
    void DrawEmpty(bool volt);
    void DrawAll(bool volt);
    // Samples first..last inclusive on their own scale; the caller has taken
    // them for the channels CHSel selects. A block outside the sample arrays,
    // or with first >= last, draws nothing.
    void DrawBlock(bool volt, std::int32_t first, std::int32_t last);
    void DrawAxes(bool volt);
    void Paint();

    long double CodeToMicrovolts(std::int32_t code) const;

    // Each call scans the channel's samples again; with Count 0 the code
    // accessors return 0 and the microvolt ones convert the last extreme found.
    std::int32_t GetMaxCodeCh0();
    std::int32_t GetMaxCodeCh1();
    std::int32_t GetMinCodeCh0();
    std::int32_t GetMinCodeCh1();
    float GetMaxMicrovoltsCh0();
    float GetMaxMicrovoltsCh1();
    float GetMinMicrovoltsCh0();
    float GetMinMicrovoltsCh1();

    // DrawAll lets waiting events run through pump after the grid and before
    // the traces; without one it goes straight on.
    void SetEventPump(std::function<void()> pump);
    const Bitmap& PlotBitmap() const { return Plot; }

    // Changes of the view, each true when it took effect; the caller then
    // redraws with DrawAll. Pixels are the bitmap's (a paint-box pixel less
    // one each way) and volt names the value axis on screen, against which
    // rows are read. Without data, or while DrawAll lets events run, the
    // view stays as it is.
    bool ZoomSamplesAt(double factor, int column);
    bool ZoomValuesAt(double factor, int row, bool volt);
    bool PanBy(int columns, int rows, bool volt);
    bool ZoomToRect(const PixelRect& rect, bool volt);
    // Samples first..last, and values low..high in codes, as the axes of
    // the auto view would frame such data.
    bool ShowSamples(double first, double last);
    bool ShowValues(double low, double high);
    // The value axis follows the samples shown again.
    bool FitValues();
    // Back to the auto view; the range fields are left as the whole run's
    // DrawAll leaves them, which DrawAxes relies on.
    bool FitView();
    bool ViewIsAuto() const { return View.IsAuto(); }

    // For a readout over the picture: the sample drawn nearest to a column
    // (-1 without data), the column a sample is drawn on, whether a channel's
    // trace shows a sample, and that sample as a code or in microvolts.
    std::int32_t SampleAtColumn(int column) const;
    int ColumnOfSample(std::int32_t index) const;
    bool TraceHolds(int channel, std::int32_t index) const;
    double SampleValue(int channel, std::int32_t index, bool volt) const;

private:
    using CodeExtreme = std::int32_t (*)(const ChannelData& channel, std::int32_t first, std::int32_t last);
    static std::int32_t RescanExtreme(const ChannelData& channel, CodeExtreme extreme, std::int32_t& stored);
    float StoreMicrovolts(std::int32_t code, float& stored) const;

    void ScanAll();
    void ScanBlock(std::int32_t first, std::int32_t last);
    void RangeToMicrovolts();
    void CodeSpanFor();
    void CodeBottomFor();
    void VoltSpanFor();
    void VoltBottomFor();
    void ComputeRange();
    void ScanView();
    void DrawView(bool volt);
    bool BeginViewChange();
    void FixValueAxis();
    std::int32_t ShownFirst() const;
    std::int32_t ShownLast() const;
    float ShownDx() const;
    double SampleAtX(double column) const;
    double CodeAtRow(double row, bool volt) const;
    const ChannelData& Channel(int channel) const;

    bool HoldsData() const;
    void RescanCodeAxis();
    void SetYLabels(bool volt);
    void SetCodeYLabels();
    void SetVoltYLabels();
    void SetEmptyYLabels(bool volt);
    void SetYLabel(int index, const QString& caption, bool volt);
    void SetXLabels(std::int32_t left, std::int32_t right);
    std::int32_t TraceSampleCount() const;

    void Clear();
    void DrawHorizontalGrid();
    void DrawVerticalGrid();
    void DrawTraces(bool volt);
    void DrawTrace(const ChannelData& channel, std::uint32_t colour, bool volt, float dx);
    void DrawBlockTraces(bool volt, std::int32_t first, std::int32_t last);
    void DrawBlockSegment(const ChannelData& channel, std::uint32_t colour, bool volt, std::int32_t i,
                          int x1, int x2);
    int SampleY(const ChannelData& channel, std::int32_t index, bool volt) const;
    int CodeY(std::int32_t code) const;
    int MicrovoltY(float microvolts) const;

    ChannelData* Ch0;
    ChannelData* Ch1;
    MeasureSettings* Settings;
    PaintBox* Box;
    Bitmap Plot;
    PixelRect TargetRect;
    PixelRect SourceRect;
    std::int32_t BoxWidth = 0;
    std::int32_t BoxHeight = 0;
    std::int32_t PlotWidth = 0;
    std::int32_t PlotHeight = 0;
    AxisLabel* const* YLabels;
    AxisLabel* const* XLabels;

    float RangeMaxMicrovolts = 0;
    float RangeMinMicrovolts = 0;
    float MaxMicrovoltsCh0 = 0;
    float MinMicrovoltsCh0 = 0;
    float MaxMicrovoltsCh1 = 0;
    float MinMicrovoltsCh1 = 0;
    float VoltSpan = 0;
    float VoltBottom = 0;

    std::int32_t RangeMax = 0;
    std::int32_t RangeMin = 0;
    std::int32_t MaxCh0 = 0;
    std::int32_t MinCh0 = 0;
    std::int32_t MaxCh1 = 0;
    std::int32_t MinCh1 = 0;
    std::int32_t CodeSpan = 0;
    std::int32_t CodeBottom = 0;

    std::function<void()> EventPump;
    // Set while DrawAll lets events run: a view changed then would be drawn
    // over by the traces that follow.
    bool Pumping = false;
    ZoomRange View;
};

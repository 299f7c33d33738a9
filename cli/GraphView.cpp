#include "GraphView.h"

#include "RunData.h"

const QRect GraphView::PaintBoxGeometry(72, 24, 528, 372);

namespace {

template <std::size_t N>
std::array<MeasuredLabel, N> MakeLabels(const LabelMetrics* metrics)
{
    std::array<MeasuredLabel, N> labels;
    labels.fill(MeasuredLabel(metrics));
    return labels;
}

template <std::size_t N>
std::array<AxisLabel*, N> Pointers(std::array<MeasuredLabel, N>& labels)
{
    std::array<AxisLabel*, N> pointers{};
    for (std::size_t i = 0; i < N; ++i)
        pointers[i] = &labels[i];
    return pointers;
}

} // namespace

GraphView::GraphView(RunData& run, const LabelMetrics* metrics)
    : box_(PaintBoxGeometry)
    , yLabels_(MakeLabels<TGraph_2CH::YLabelCount>(metrics))
    , xLabels_(MakeLabels<TGraph_2CH::XLabelCount>(metrics))
    , yLabelPointers_(Pointers(yLabels_))
    , xLabelPointers_(Pointers(xLabels_))
    , graph_(&box_, &run.Ch0Data, &run.Ch1Data, &run.Settings, yLabelPointers_.data(), xLabelPointers_.data())
{
}

void GraphView::DrawAsLoaded(bool volt)
{
    graph_.DrawEmpty(volt);
    graph_.DrawAll(volt);
}

std::array<const MeasuredLabel*, TGraph_2CH::YLabelCount + TGraph_2CH::XLabelCount> GraphView::Labels() const
{
    std::array<const MeasuredLabel*, TGraph_2CH::YLabelCount + TGraph_2CH::XLabelCount> labels{};
    std::size_t next = 0;
    for (const MeasuredLabel& label : yLabels_)
        labels[next++] = &label;
    for (const MeasuredLabel& label : xLabels_)
        labels[next++] = &label;
    return labels;
}

QStringList GraphView::Captions() const
{
    QStringList captions;
    for (const MeasuredLabel* label : Labels())
        captions << label->Caption();
    return captions;
}

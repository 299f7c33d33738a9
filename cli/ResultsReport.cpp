#include "ResultsReport.h"

#include "FigureHistory.h"
#include "PlanFigure.h"
#include "ReportDocument.h"
#include "ResultsPage.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace {

// One history per plan, step, figure and channel, in that order; samples
// come oldest first.
std::vector<FigureHistory> Histories(const std::vector<FigureSample>& samples)
{
    std::map<std::tuple<QString, QString, QString, int>, FigureHistory> groups;
    for (const FigureSample& sample : samples) {
        FigureHistory& history = groups[{sample.Plan, sample.Step, sample.Figure, sample.Channel}];
        if (history.Values.empty()) {
            history.Plan = sample.Plan;
            history.Step = sample.Step;
            history.Figure = QStringLiteral("ch%1.%2").arg(sample.Channel).arg(sample.Figure);
            const std::optional<PlanFigure> figure = PlanFigures::Parse(sample.Figure);
            history.Unit = figure ? PlanFigures::Unit(*figure) : QString();
        }
        history.StartMs.push_back(sample.StartMs);
        history.Values.push_back(sample.Value);
        history.Low = sample.Low;
        history.High = sample.High;
    }
    std::vector<FigureHistory> histories;
    histories.reserve(groups.size());
    for (auto& [key, history] : groups)
        histories.push_back(std::move(history));
    return histories;
}

} // namespace

bool ResultsReport::Write(const QString& path, const QString& heading, const std::vector<FigureSample>& samples,
                          QString& error)
{
    if (!ReportDocument::IsKnownKind(path)) {
        error = QStringLiteral("%1 ends in neither .pdf nor .png").arg(path);
        return false;
    }
    const std::vector<FigureHistory> histories = Histories(samples);
    const int pages = std::max(1, static_cast<int>((histories.size() + ResultsPage::FiguresAPage - 1) / ResultsPage::FiguresAPage));
    ReportDocument document(path, pages);
    for (int page = 0; page < pages; ++page) {
        const auto paint = [&](QPainter& painter) {
            ResultsPage::Paint(painter, heading, histories, static_cast<std::size_t>(page) * ResultsPage::FiguresAPage,
                               page + 1, pages);
        };
        if (!document.AddPage(page, paint)) {
            error = document.Error();
            return false;
        }
    }
    if (!document.Finish()) {
        error = document.Error();
        return false;
    }
    return true;
}

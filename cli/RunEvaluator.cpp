#include "RunEvaluator.h"

#include "ChannelFigures.h"
#include "Mystatus.h"
#include "RunData.h"
#include "StatusTexts.h"

namespace {

ChannelReport Report(const ChannelData& data, int channel)
{
    ChannelReport r = ChannelFigures::Of(data, channel);
    RunEvaluator::WriteTexts(r);
    return r;
}

} // namespace

void RunEvaluator::WriteTexts(ChannelReport& r)
{
    StatusTexts panels;
    TmyStatus status(panels, QStringLiteral("KORVADEX Board"), 2);
    status.ShowStatDigit(r.MaxCode, r.MinCode, r.Channel, r.DevCode);
    r.DigitText = panels.Text(2);
    status.ShowStatVolt(r.Channel, r.DevMicrovolts, r.MinMicrovolts, r.MaxMicrovolts);
    r.VoltText = panels.Text(2);
}

std::vector<ChannelReport> RunEvaluator::Evaluate(RunData& run)
{
    run.ConvertAll();
    std::vector<ChannelReport> reports;
    if (run.Ch0Data.Count > 0)
        reports.push_back(Report(run.Ch0Data, 0));
    if (run.Ch1Data.Count > 0)
        reports.push_back(Report(run.Ch1Data, 1));
    return reports;
}

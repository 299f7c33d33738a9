#include "RunFiles.h"

#include "LineWriter.h"
#include "ReportDocument.h"
#include "SampleTable.h"

bool RunFiles::WriteCsv(const QString& path, const MeasureSettings& settings, const ChannelData& ch0,
                        const ChannelData& ch1)
{
    // The table carries its own line ends ("\n", as export writes them).
    LineWriter out;
    if (!out.Open(path))
        return false;
    out.Put(SampleTable(',').Text(settings, ch0, ch1));
    return out.Commit();
}

bool RunFiles::WriteReport(const QString& path, const RunAnalysis& analysis, const ChannelData& ch0,
                           const ChannelData& ch1)
{
    ReportDocument document(path, 1);
    return document.AddPage(0, analysis, ch0, ch1) && document.Finish();
}

#include "LogFiles.h"

#include "CodeScale.h"
#include "Hdf5LogWriter.h"
#include "MeasureItems.h"
#include "PlainNumber.h"

namespace {

int Columns(const MeasureSettings& settings)
{
    return settings.CHSel == ModeDual ? 2 : 1;
}

LogHead HeadOf(const MeasureSettings& settings)
{
    LogHead head;
    head.Settings = settings;
    head.Board = "KORVADEX / V1.00";
    head.SettingsText = MeasureItems::Describe(settings).toStdString();
    head.Started = "2026-12-08T21:40:12.345Z";
    return head;
}

std::string Header(const MeasureSettings& settings)
{
    std::string header = "time,run,sample";
    if (settings.CHSel != ModeCh1)
        header += ",ch0_code,ch0_uV";
    if (settings.CHSel != ModeCh0)
        header += ",ch1_code,ch1_uV";
    return header + '\n';
}

} // namespace

QString LogFiles::Text(const QString& name, const MeasureSettings& settings, const std::vector<TestRun>& runs) const
{
    const LogHead head = HeadOf(settings);
    std::string text = "# korvadex-cli log\n# board: " + head.Board + "\n# settings: " + head.SettingsText
                       + "\n# started: " + head.Started + '\n' + Header(settings);
    const int columns = Columns(settings);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (r > 0)
            text += "# gap: 0.012 s between the last sample of run " + std::to_string(r) + " and the first of run "
                    + std::to_string(r + 1) + " (nominal interval 0.000008 s)\n";
        const std::vector<std::int32_t>& codes = runs[r].Codes;
        for (std::size_t i = 0; i * columns < codes.size(); ++i) {
            text += runs[r].Start + ',' + std::to_string(r + 1) + ',' + std::to_string(i);
            for (int c = 0; c < columns; ++c) {
                const std::int32_t code = codes[i * columns + static_cast<std::size_t>(c)];
                text += ',' + std::to_string(code) + ',';
                PlainNumber::AppendFloat(text, static_cast<float>(CodeScale::CodeToMicrovolts(code, 1)));
            }
            text += '\n';
        }
    }
    text += "# ended after " + std::to_string(runs.size()) + " runs\n";
    return folder_.WriteText(name, QByteArray::fromStdString(text));
}

QString LogFiles::Hdf5(const QString& name, const MeasureSettings& settings, const std::vector<TestRun>& runs) const
{
    const QString path = folder_.Path(name);
    Hdf5LogWriter writer;
    if (!writer.Create(path) || !writer.Begin(HeadOf(settings), "korvadex-cli log"))
        return QString();
    const int columns = Columns(settings);
    std::int64_t first = 0;
    for (std::size_t r = 0; r < runs.size(); ++r) {
        const std::int64_t samples = static_cast<std::int64_t>(runs[r].Codes.size()) / columns;
        writer.AddCodes(runs[r].Codes.data(), samples);
        writer.SetRun(LogRun{static_cast<std::int32_t>(r + 1), runs[r].Start, first, samples, "complete"});
        first += samples;
    }
    return writer.Close() ? path : QString();
}

QStringList LogFiles::DataLines(const MeasureSettings& settings, const std::vector<std::int32_t>& codes)
{
    QStringList lines;
    if (settings.CHSel != ModeDual) {
        for (const std::int32_t code : codes)
            lines << QString::number(code);
        return lines;
    }
    for (std::size_t i = 0; i + 1 < codes.size(); i += 2)
        lines << QStringLiteral("%1,%2").arg(codes[i]).arg(codes[i + 1]);
    return lines;
}

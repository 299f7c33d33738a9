#include "ReportWriter.h"

#include "Console.h"
#include "JsonReport.h"
#include "MeasureItems.h"

ReportWriter::ReportWriter(bool json)
    : json_(json)
{
}

void ReportWriter::Print(const QString& name, const QString& board, const MeasureSettings& settings,
                         const std::vector<ChannelReport>& channels) const
{
    if (json_) {
        Console::Out(QString::fromUtf8(JsonReport::Line(name, board, settings, channels)));
        return;
    }
    if (!board.isEmpty())
        Console::Out(board);
    Console::Out(name + QStringLiteral(": ") + MeasureItems::Describe(settings));
    for (const ChannelReport& channel : channels) {
        Console::Out(channel.DigitText);
        Console::Out(channel.VoltText);
    }
}

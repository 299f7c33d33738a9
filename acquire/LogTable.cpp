#include "LogTable.h"

#include "CodeScale.h"
#include "MeasureSettings.h"
#include "PlainNumber.h"
#include "RunData.h"

#include <QDateTime>

#include <cstring>

LogTable::LogTable(const MeasureSettings& settings)
    : ch0_(settings.CHSel != ModeCh1)
    , ch1_(settings.CHSel != ModeCh0)
    , gainDivisor_(settings.GainDivisor)
{
}

std::string LogTable::Header() const
{
    std::string header = "time,run,sample";
    if (ch0_)
        header += ",ch0_code,ch0_uV";
    if (ch1_)
        header += ",ch1_code,ch1_uV";
    return header + '\n';
}

std::string LogTable::WallClock(std::chrono::system_clock::time_point time)
{
    const qint64 milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    return QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC).toString(Qt::ISODateWithMs).toStdString();
}

void LogTable::AppendRows(std::string& text, const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                          std::chrono::system_clock::time_point arrived) const
{
    const std::string time = WallClock(arrived);
    for (std::int32_t i = from; i < to; ++i) {
        text += time;
        text += ',';
        PlainNumber::AppendInteger(text, runNumber);
        text += ',';
        PlainNumber::AppendInteger(text, i);
        if (ch0_)
            AppendChannel(text, run.Ch0Codes[i]);
        if (ch1_)
            AppendChannel(text, run.Ch1Codes[i]);
        text += '\n';
    }
}

void LogTable::AppendChannel(std::string& text, std::int32_t code) const
{
    text += ',';
    PlainNumber::AppendInteger(text, code);
    text += ',';
    AppendMicrovolts(text, code);
}

void LogTable::AppendMicrovolts(std::string& text, std::int32_t code) const
{
    MicrovoltText& kept = microvolts_[static_cast<std::uint32_t>(code) % MicrovoltTexts];
    if (kept.Code != code) {
        std::string written;
        PlainNumber::AppendFloat(written, static_cast<float>(CodeScale::CodeToMicrovolts(code, gainDivisor_)));
        if (written.size() > sizeof kept.Text) {
            text += written;
            return;
        }
        kept.Code = code;
        kept.Length = static_cast<std::uint8_t>(written.size());
        std::memcpy(kept.Text, written.data(), written.size());
    }
    text.append(kept.Text, kept.Length);
}

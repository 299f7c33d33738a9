#include "LogTable.h"

#include "CodeScale.h"
#include "MeasureSettings.h"
#include "PlainNumber.h"
#include "RunData.h"

#include <QDateTime>

#include <charconv>
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

// Each row is put together in a buffer of its own, behind the time and run
// that all of them share, and appended whole: one append a row, not one a
// field, at 125000 rows a second.
void LogTable::AppendRows(std::string& text, const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                          std::chrono::system_clock::time_point arrived) const
{
    std::string row = WallClock(arrived);
    row += ',';
    PlainNumber::AppendInteger(row, runNumber);
    row += ',';
    const std::size_t shared = row.size();
    row.resize(shared + RowRoom);
    char* const fields = row.data() + shared;
    for (std::int32_t i = from; i < to; ++i) {
        char* out = std::to_chars(fields, fields + 12, i).ptr;
        if (ch0_)
            out = WriteChannel(out, run.Ch0Codes[i]);
        if (ch1_)
            out = WriteChannel(out, run.Ch1Codes[i]);
        *out++ = '\n';
        text.append(row.data(), static_cast<std::size_t>(out - row.data()));
    }
}

char* LogTable::WriteChannel(char* out, std::int32_t code) const
{
    *out++ = ',';
    out = std::to_chars(out, out + 11, code).ptr;
    *out++ = ',';
    const MicrovoltText& microvolts = Microvolts(code);
    std::memcpy(out, microvolts.Text, microvolts.Length);
    return out + microvolts.Length;
}

const LogTable::MicrovoltText& LogTable::Microvolts(std::int32_t code) const
{
    MicrovoltText& kept = microvolts_[static_cast<std::uint32_t>(code) % MicrovoltTexts];
    if (kept.Code != code) {
        const float microvolts = static_cast<float>(CodeScale::CodeToMicrovolts(code, gainDivisor_));
        const std::to_chars_result written =
            std::to_chars(kept.Text, kept.Text + sizeof kept.Text, microvolts, std::chars_format::fixed);
        kept.Code = code;
        kept.Length = static_cast<std::uint8_t>(written.ptr - kept.Text);
    }
    return kept;
}

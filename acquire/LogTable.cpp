#include "LogTable.h"

#include "CodeScale.h"
#include "MeasureSettings.h"
#include "PlainNumber.h"
#include "RunData.h"

#include <algorithm>
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

namespace {

// Howard Hinnant's days-to-civil: the proleptic Gregorian date of a day
// counted from 1970-01-01, in eras of 400 years from 0000-03-01.
void CivilDate(std::int64_t days, std::int64_t& year, int& month, int& day)
{
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const std::int64_t dayOfEra = days - era * 146097;
    const std::int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t fromMarch = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * fromMarch + 2) / 5 + 1);
    month = static_cast<int>(fromMarch < 10 ? fromMarch + 3 : fromMarch - 9);
    year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
}

char* Digits(char* out, std::int64_t value, int width)
{
    for (int place = width - 1; place >= 0; --place, value /= 10)
        out[place] = static_cast<char>('0' + value % 10);
    return out + width;
}

} // namespace

// Put together by hand: a log writes one for every read, and Qt's way
// through a QDateTime and a QString cost a tenth of a text log's time. The
// clock's nanoseconds reach from 1677 to 2262: always four digits.
std::string LogTable::WallClock(std::chrono::system_clock::time_point time)
{
    const std::int64_t milliseconds =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count();
    constexpr std::int64_t PerDay = 86400000;
    const std::int64_t days = (milliseconds >= 0 ? milliseconds : milliseconds - (PerDay - 1)) / PerDay;
    std::int64_t year = 0;
    int month = 0;
    int day = 0;
    CivilDate(days, year, month, day);
    const std::int64_t ofDay = milliseconds - days * PerDay;
    char text[24];
    char* out = Digits(text, year, 4);
    *out++ = '-';
    out = Digits(out, month, 2);
    *out++ = '-';
    out = Digits(out, day, 2);
    *out++ = 'T';
    out = Digits(out, ofDay / 3600000, 2);
    *out++ = ':';
    out = Digits(out, ofDay / 60000 % 60, 2);
    *out++ = ':';
    out = Digits(out, ofDay / 1000 % 60, 2);
    *out++ = '.';
    out = Digits(out, ofDay % 1000, 3);
    *out++ = 'Z';
    return std::string(text, static_cast<std::size_t>(out - text));
}

namespace {

// The sample numbers of a read follow one another: their text is counted
// up in place instead of written anew for every row.
class SampleNumberText {
public:
    explicit SampleNumberText(std::int32_t first) : length_(std::to_chars(digits_, digits_ + 11, first).ptr - digits_) {}

    // Copies all sixteen bytes, a copy of known length; `out` has room.
    char* Write(char* out) const
    {
        std::memcpy(out, digits_, sizeof digits_);
        return out + length_;
    }

    void CountUp()
    {
        std::ptrdiff_t place = length_ - 1;
        for (; place >= 0 && digits_[place] == '9'; --place)
            digits_[place] = '0';
        if (place >= 0) {
            ++digits_[place];
        } else {
            std::memmove(digits_ + 1, digits_, static_cast<std::size_t>(length_));
            digits_[0] = '1';
            ++length_;
        }
    }

private:
    char digits_[16] = {};
    std::ptrdiff_t length_;
};

} // namespace

// Rows are put together in a buffer on the stack, each behind the time and
// run that all of them share, and appended some hundreds at a time: at
// 125000 rows a second, every call or copy a row makes counts.
void LogTable::AppendRows(std::string& text, const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                          std::chrono::system_clock::time_point arrived) const
{
    std::string lead = WallClock(arrived);
    lead += ',';
    PlainNumber::AppendInteger(lead, runNumber);
    lead += ',';
    SampleNumberText sample(from);
    char rows[16384];
    char* const roomEnds = rows + sizeof rows - lead.size() - RowRoom;
    char* out = rows;
    for (std::int32_t i = from; i < to; ++i) {
        if (out > roomEnds) {
            text.append(rows, static_cast<std::size_t>(out - rows));
            out = rows;
        }
        out = std::copy(lead.begin(), lead.end(), out);
        out = sample.Write(out);
        sample.CountUp();
        if (ch0_)
            out = WriteChannel(out, run.Ch0Codes[i]);
        if (ch1_)
            out = WriteChannel(out, run.Ch1Codes[i]);
        *out++ = '\n';
    }
    text.append(rows, static_cast<std::size_t>(out - rows));
}

char* LogTable::WriteChannel(char* out, std::int32_t code) const
{
    const ChannelText& channel = Channel(code);
    std::memcpy(out, channel.Text, sizeof channel.Text);
    return out + channel.Length;
}

const LogTable::ChannelText& LogTable::Channel(std::int32_t code) const
{
    ChannelText& kept = channels_[static_cast<std::uint32_t>(code) % ChannelTexts];
    if (kept.Length == 0 || kept.Code != code) {
        char* const end = kept.Text + sizeof kept.Text;
        char* out = kept.Text;
        *out++ = ',';
        out = std::to_chars(out, end, code).ptr;
        *out++ = ',';
        const float microvolts = static_cast<float>(CodeScale::CodeToMicrovolts(code, gainDivisor_));
        out = std::to_chars(out, end, microvolts, std::chars_format::fixed).ptr;
        kept.Code = code;
        kept.Length = static_cast<std::uint8_t>(out - kept.Text);
    }
    return kept;
}

#include "TextLogSource.h"

#include "CodeScale.h"
#include "LogLayout.h"
#include "MeasureItems.h"

#include <QStringList>

#include <array>
#include <charconv>

namespace {

const std::string FirstLine = "# korvadex-cli log";
constexpr int LongestLine = 4096;

bool StartsWith(const std::string& text, const char* start)
{
    return text.rfind(start, 0) == 0;
}

template <typename Number>
bool ParseNumber(const char* first, const char* last, Number& value)
{
    const auto [end, error] = std::from_chars(first, last, value);
    return error == std::errc() && end == last;
}

// Where the time stands in "board lost at TIME: …" and "board back at TIME after …".
constexpr std::size_t TimeStart = 14;

// A lost or back comment holds a whole time, then `follows`, then more.
bool TimedComment(const std::string& text, const char* follows)
{
    const std::size_t after = TimeStart + LogLayout::TimeLength;
    const std::string next(follows);
    return text.size() > after + next.size() && text.compare(after, next.size(), next) == 0;
}

// A line as an error message shows it: at most 80 characters.
QString Shown(const std::string& line)
{
    return QString::fromStdString(line).left(80);
}

// The number at the start of text ("0.012 s between ..." gives 0.012).
double LeadingSeconds(const std::string& text)
{
    return QString::fromStdString(text).section(QLatin1Char(' '), 0, 0).toDouble();
}

// "10ksps, 100000, CH0 (Ain0-Ain1), Sinc5+Sinc1", as MeasureItems describes them.
bool ParseSettings(const std::string& text, MeasureSettings& settings)
{
    const QStringList words = QString::fromStdString(text).split(QStringLiteral(", "));
    if (words.size() != 4)
        return false;
    const auto rate = MeasureItems::ParseRate(words[0]);
    const auto count = MeasureItems::ParseCount(words[1]);
    const auto filter = MeasureItems::ParseFilter(words[3]);
    int channel = -1;
    for (int i = 0; i < MeasureItems::ChannelCount; ++i) {
        if (words[2] == MeasureItems::ChannelItem(i))
            channel = i;
    }
    if (!rate || !count || !filter || channel < 0)
        return false;
    settings.spsSel = *rate;
    settings.DataCountSel = *count;
    settings.CHSel = channel;
    settings.fSinc5 = *filter;
    return true;
}

std::string ExpectedHeader(std::int32_t mode)
{
    std::string header = "time,run,sample";
    if (mode != ModeCh1)
        header += ",ch0_code,ch0_uV";
    if (mode != ModeCh0)
        header += ",ch1_code,ch1_uV";
    return header;
}

// Rows [first, first + count) of a table held whole; false when they lie
// outside it.
template <typename Record>
bool CopyRows(const std::vector<Record>& rows, std::int64_t first, std::int64_t count, std::vector<Record>& out)
{
    if (first < 0 || count < 0 || first + count > static_cast<std::int64_t>(rows.size()))
        return false;
    out.assign(rows.begin() + first, rows.begin() + first + count);
    return true;
}

} // namespace

bool TextLogSource::IsTextLog(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray line = file.readLine(LongestLine);
    return line == QByteArray::fromStdString(FirstLine + '\n') || line == QByteArray::fromStdString(FirstLine + "\r\n");
}

bool TextLogSource::Fail(const QString& what)
{
    error_ = QStringLiteral("%1: %2").arg(path_, what);
    return false;
}

bool TextLogSource::FailAt(const QString& what)
{
    return Fail(QStringLiteral("line %1: %2").arg(lineNumber_).arg(what));
}

bool TextLogSource::OpenFile(const QString& path)
{
    path_ = path;
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly))
        return Fail(file_.errorString());
    if (!Scan())
        return false;
    next_ = -1;
    return true;
}

bool TextLogSource::NextLine(std::string& line)
{
    char buffer[LongestLine + 2];
    const qint64 length = file_.readLine(buffer, sizeof buffer);
    if (length <= 0)
        return false;
    ++lineNumber_;
    if (buffer[length - 1] != '\n') {
        FailAt(length > LongestLine ? QStringLiteral("longer than any line of a log")
                                    : QStringLiteral("cut short (the file ends in the middle of a line)"));
        return false;
    }
    qint64 end = length - 1;
    if (end > 0 && buffer[end - 1] == '\r')
        --end;
    line.assign(buffer, static_cast<std::size_t>(end));
    return true;
}

bool TextLogSource::Scan()
{
    std::string& line = line_;
    bool closed = false;
    while (true) {
        const qint64 start = file_.pos();
        if (!NextLine(line)) {
            if (!error_.isEmpty())
                return false;
            break;
        }
        if (lineNumber_ == 1)
            continue;  // the first line, IsTextLog's
        if (StartsWith(line, "#")) {
            const std::string text = line.size() > 2 ? line.substr(2) : std::string();
            if (!headerSeen_ && !HeadComment(text))
                return false;
            if (headerSeen_) {
                closed = closed || StartsWith(text, "ended") || StartsWith(text, "stopped")
                         || StartsWith(text, "given up");
                if (!LaterComment(text))
                    return false;
            }
            continue;
        }
        if (!headerSeen_) {
            if (!HeaderRow(line))
                return false;
            continue;
        }
        if (samples_ % CheckpointSamples == 0)
            checkpoints_.push_back(start);
        if (!TakeRow(line))
            return false;
    }
    if (!headerSeen_)
        return Fail(QStringLiteral("no header row: not a complete log"));
    FinishRuns(closed);
    return true;
}

bool TextLogSource::HeadComment(const std::string& text)
{
    if (StartsWith(text, "board: ")) {
        head_.Board = text.substr(7);
    } else if (StartsWith(text, "started: ")) {
        head_.Started = text.substr(9);
    } else if (StartsWith(text, "settings: ")) {
        head_.SettingsText = text.substr(10);
        if (!ParseSettings(head_.SettingsText, head_.Settings))
            return FailAt(QStringLiteral("settings not understood: %1").arg(QString::fromStdString(head_.SettingsText)));
        settingsSeen_ = true;
    }
    return true;
}

bool TextLogSource::HeaderRow(const std::string& line)
{
    if (!settingsSeen_)
        return FailAt(QStringLiteral("a row before the settings"));
    const std::string expected = ExpectedHeader(head_.Settings.CHSel);
    if (line != expected)
        return FailAt(QStringLiteral("the header should read %1").arg(QString::fromStdString(expected)));
    channels_ = head_.Settings.CHSel == ModeDual ? 2 : 1;
    headerSeen_ = true;
    return true;
}

bool TextLogSource::LaterComment(const std::string& text)
{
    const std::int32_t run = runs_.empty() ? 0 : runs_.back().Run;
    LogEvent event;
    event.Time = lastTime_;
    event.Run = run;
    event.Text = text;
    if (StartsWith(text, "gap: ")) {
        event.Kind = LogLayout::EventGap;
        event.Run = run + 1;
        event.Seconds = LeadingSeconds(text.substr(5));
    } else if (StartsWith(text, "board lost at ")) {
        if (!TimedComment(text, ": "))
            return FailAt(QStringLiteral("a board-lost comment without its time: %1").arg(Shown(text)));
        event.Kind = LogLayout::EventLost;
        event.Time = text.substr(TimeStart, LogLayout::TimeLength);
    } else if (StartsWith(text, "board back at ")) {
        if (!TimedComment(text, " after "))
            return FailAt(QStringLiteral("a board-back comment without its time and wait: %1").arg(Shown(text)));
        event.Kind = LogLayout::EventBack;
        event.Time = text.substr(TimeStart, LogLayout::TimeLength);
        event.Seconds = LeadingSeconds(text.substr(TimeStart + LogLayout::TimeLength + 7));
    } else if (StartsWith(text, "the board did not come back")) {
        event.Kind = LogLayout::EventGivenUp;
    } else if (StartsWith(text, "run ") && text.find(" started at ") != std::string::npos) {
        const std::size_t words = text.find(" started at ");
        const std::size_t at = words + 12;
        bool numbered = false;
        nextStartRun_ = QString::fromStdString(text.substr(4, words - 4)).toInt(&numbered);
        if (!numbered || text.size() != at + LogLayout::TimeLength)
            return FailAt(QStringLiteral("a run-start comment without its run or time: %1").arg(Shown(text)));
        nextStart_ = text.substr(at);
        return true;
    } else if (StartsWith(text, "run ") && text.find(" incomplete: ") != std::string::npos) {
        if (!runs_.empty())
            runs_.back().End = LogLayout::EndReconnect;
        return true;
    } else if (StartsWith(text, "run ") && text.find(" ended (") != std::string::npos) {
        for (const char* end : {LogLayout::EndReadError, LogLayout::EndBoardError}) {
            if (!runs_.empty() && text.find(std::string(" ended (") + end + "): ") != std::string::npos)
                runs_.back().End = end;
        }
        return true;
    } else if (StartsWith(text, "ended") || StartsWith(text, "stopped") || StartsWith(text, "given up")) {
        event.Kind = LogLayout::EventEnd;
    } else {
        return true;  // the blank "#" lines that fill a block
    }
    events_.push_back(event);
    return true;
}

bool TextLogSource::ParseRow(const std::string& line, Row& row) const
{
    // time, run, sample, then code and µV per channel: at most 7 fields.
    constexpr std::size_t MostFields = 7;
    std::array<std::pair<const char*, const char*>, MostFields> fields;
    std::size_t count = 0;
    const char* begin = line.data();
    const char* const end = line.data() + line.size();
    for (const char* p = begin;; ++p) {
        if (p == end || *p == ',') {
            if (count == MostFields)
                return false;
            fields[count++] = {begin, p};
            begin = p + 1;
            if (p == end)
                break;
        }
    }
    if (count != static_cast<std::size_t>(3 + 2 * channels_))
        return false;
    row.Time.assign(fields[0].first, fields[0].second);
    if (!ParseNumber(fields[1].first, fields[1].second, row.Run)
        || !ParseNumber(fields[2].first, fields[2].second, row.Sample))
        return false;
    for (int c = 0; c < channels_; ++c) {
        std::int32_t& code = row.Codes[c];
        const auto& field = fields[static_cast<std::size_t>(3 + 2 * c)];
        if (!ParseNumber(field.first, field.second, code) || code < 0 || code > CodeScale::FullScale)
            return false;
    }
    return true;
}

bool TextLogSource::TakeRow(const std::string& line)
{
    Row& row = row_;
    if (!ParseRow(line, row))
        return FailAt(QStringLiteral("not a row of this log: %1").arg(Shown(line)));
    const bool sameRun = !runs_.empty() && row.Run == runs_.back().Run;
    if (sameRun && row.Sample != runs_.back().Samples)
        return FailAt(QStringLiteral("sample %1 of run %2 out of order").arg(row.Sample).arg(row.Run));
    if (!sameRun) {
        if (row.Sample != 0 || (!runs_.empty() && row.Run <= runs_.back().Run) || row.Run < 1)
            return FailAt(QStringLiteral("run %1 does not start here").arg(row.Run));
        LogRun run;
        run.Run = row.Run;
        // Logs of earlier versions name no run's start: its first row's time.
        run.Start = nextStartRun_ == row.Run ? nextStart_ : row.Time;
        run.FirstSample = samples_;
        runs_.push_back(run);
    }
    ++runs_.back().Samples;
    ++samples_;
    lastTime_.assign(row.Time);
    return true;
}

void TextLogSource::FinishRuns(bool closed)
{
    const std::int64_t full = MeasureItems::CountValue(head_.Settings.DataCountSel);
    for (std::size_t i = 0; i < runs_.size(); ++i) {
        LogRun& run = runs_[i];
        if (!run.End.empty())
            continue;
        if (run.Samples == full)
            run.End = LogLayout::EndComplete;
        else if (i + 1 == runs_.size() && !closed)
            run.End = LogLayout::EndRunning;
        else
            run.End = LogLayout::EndStopped;
    }
}

bool TextLogSource::SkipTo(std::int64_t sample)
{
    const std::size_t checkpoint = static_cast<std::size_t>(sample / CheckpointSamples);
    if (next_ < 0 || sample < next_ || sample - next_ > CheckpointSamples) {
        if (checkpoint >= checkpoints_.size() || !file_.seek(checkpoints_[checkpoint]))
            return Fail(QStringLiteral("cannot read sample %1").arg(sample));
        next_ = static_cast<std::int64_t>(checkpoint) * CheckpointSamples;
    }
    std::string& line = line_;
    while (next_ < sample) {
        if (!NextLine(line))
            return Fail(QStringLiteral("the file changed since it was opened"));
        if (!StartsWith(line, "#"))
            ++next_;
    }
    return true;
}

bool TextLogSource::ReadCodes(std::int64_t first, std::int64_t count, std::int32_t* out)
{
    if (first < 0 || count < 0 || first + count > samples_)
        return Fail(QStringLiteral("samples %1 to %2 are not in the log").arg(first).arg(first + count));
    if (count == 0)
        return true;
    if (!SkipTo(first))
        return false;
    std::string& line = line_;
    Row& row = row_;
    for (std::int64_t i = 0; i < count;) {
        if (!NextLine(line) || (!StartsWith(line, "#") && !ParseRow(line, row)))
            return Fail(QStringLiteral("the file changed since it was opened"));
        if (StartsWith(line, "#"))
            continue;
        for (int c = 0; c < channels_; ++c)
            out[i * channels_ + c] = row.Codes[c];
        ++i;
        ++next_;
    }
    return true;
}

bool TextLogSource::ReadRuns(std::int64_t first, std::int64_t count, std::vector<LogRun>& out)
{
    return CopyRows(runs_, first, count, out)
        || Fail(QStringLiteral("runs %1 to %2 are not in the log").arg(first).arg(first + count));
}

bool TextLogSource::ReadEvents(std::int64_t first, std::int64_t count, std::vector<LogEvent>& out)
{
    return CopyRows(events_, first, count, out)
        || Fail(QStringLiteral("events %1 to %2 are not in the log").arg(first).arg(first + count));
}

#include "LogCore.h"

#include "LogEnvelope.h"

#include "AnalysisDicts.h"
#include "MeasureItems.h"
#include "PythonErrors.h"
#include "ReportJson.h"

namespace py = pybind11;

LogCore::LogCore(QString name, std::unique_ptr<LogSource> log)
    : name_(std::move(name))
    , log_(std::move(log))
{
}

LogSource& LogCore::Source() const
{
    if (!log_)
        throw py::value_error(name_.toStdString() + ": the log is closed");
    return *log_;
}

void LogCore::Close()
{
    const std::lock_guard<std::mutex> turn(reading_);
    log_.reset();
}

std::unique_ptr<LogCore> LogCore::Open(const QString& path)
{
    QString error;
    std::unique_ptr<LogSource> log = LogSource::Open(path, error);
    if (!log)
        PythonErrors::Raise("FileFormatError", error);
    return std::unique_ptr<LogCore>(new LogCore(path, std::move(log)));
}

py::dict LogCore::Head() const
{
    const LogHead& head = Source().Head();
    py::dict dict;
    dict["settings"] = AnalysisDicts::Settings(head.Settings);
    dict["board"] = head.Board;
    dict["board_serial"] = head.BoardSerial;
    dict["settings_text"] = head.SettingsText;
    dict["started"] = head.Started;
    dict["program_version"] = head.ProgramVersion;
    dict["gain_divisor"] = head.Settings.GainDivisor;
    return dict;
}

void LogCore::TakeTurn(const std::function<bool(LogSource&)>& read)
{
    bool closed = false;
    QString error;
    {
        py::gil_scoped_release released;
        const std::lock_guard<std::mutex> turn(reading_);
        closed = !log_;
        if (!closed && !read(*log_))
            error = log_->Error();
    }
    if (closed)
        throw py::value_error(name_.toStdString() + ": the log is closed");
    if (!error.isEmpty())
        PythonErrors::Raise("FileFormatError", error);
}

py::list LogCore::Runs(std::int64_t first, std::int64_t count)
{
    std::vector<LogRun> runs;
    TakeTurn([&](LogSource& log) { return log.ReadRuns(first, count, runs); });
    py::list rows;
    for (const LogRun& run : runs)
        rows.append(py::make_tuple(run.Run, run.Start, run.FirstSample, run.Samples, run.End));
    return rows;
}

py::list LogCore::Events(std::int64_t first, std::int64_t count)
{
    std::vector<LogEvent> events;
    TakeTurn([&](LogSource& log) { return log.ReadEvents(first, count, events); });
    py::list rows;
    for (const LogEvent& event : events)
        rows.append(py::make_tuple(event.Time, event.Kind, event.Run, event.Seconds, event.Text));
    return rows;
}

py::array LogCore::ReadCodes(std::int64_t first, std::int64_t count)
{
    if (first < 0 || count < 0 || first + count > Samples())
        throw py::index_error("samples " + std::to_string(first) + " to " + std::to_string(first + count) +
                              " are not all in a log of " + std::to_string(Samples()));
    std::vector<py::ssize_t> shape{static_cast<py::ssize_t>(count)};
    if (Channels() == 2)
        shape.push_back(2);
    py::array_t<std::int32_t> codes(shape);
    std::int32_t* out = codes.mutable_data();
    TakeTurn([&](LogSource& log) { return count == 0 || log.ReadCodes(first, count, out); });
    return std::move(codes);
}

py::array LogCore::Summary(int level)
{
    if (level < 1 || level > Source().SummaryLevels())
        throw py::value_error("level " + std::to_string(level) + ": the log holds summary levels 1 to "
                              + std::to_string(Source().SummaryLevels()));
    const std::int64_t rows = Source().SummaryRows(level);
    std::vector<BlockSummary> read;
    TakeTurn([&](LogSource& log) { return rows == 0 || log.ReadSummary(level, 0, rows, read); });
    std::vector<py::ssize_t> shape{static_cast<py::ssize_t>(rows)};
    if (Channels() == 2)
        shape.push_back(2);
    py::array_t<BlockSummary> table(shape);
    std::copy(read.begin(), read.end(), table.mutable_data());
    return std::move(table);
}

py::tuple LogCore::Envelope(std::int64_t start, std::int64_t stop, int columns)
{
    if (start < 0 || stop > Samples() || start >= stop || columns < 1)
        throw py::index_error("an envelope takes 0 <= start < stop <= " + std::to_string(Samples())
                              + " and at least one column");
    LogEnvelope envelope;
    TakeTurn([&](LogSource& log) {
        const bool read = envelope.Read(log, start, stop - 1, columns);
        return read;
    });
    const int channels = Channels();
    const int filled = envelope.Columns(0).Columns();
    std::vector<py::ssize_t> shape{static_cast<py::ssize_t>(filled)};
    if (channels == 2)
        shape.push_back(2);
    py::array_t<double> low(shape);
    py::array_t<double> high(shape);
    for (int x = 0; x < filled; ++x) {
        for (int c = 0; c < channels; ++c) {
            const ColumnExtremes& column = envelope.Columns(c);
            const std::size_t at = static_cast<std::size_t>(x * channels + c);
            low.mutable_data()[at] = column.Filled(x) ? column.Low(x) : std::nan("");
            high.mutable_data()[at] = column.Filled(x) ? column.High(x) : std::nan("");
        }
    }
    return py::make_tuple(low, high);
}

py::tuple LogCore::Report(const std::vector<const ChannelStream*>& streams) const
{
    if (streams.size() != static_cast<std::size_t>(Channels()))
        throw py::value_error("a report of this log takes " + std::to_string(Channels()) + " stream(s), one per column");
    const MeasureSettings& settings = Source().Head().Settings;
    RunAnalysis analysis;
    analysis.Name = name_;
    analysis.Settings = settings;
    analysis.SampleRate = MeasureItems::SampleRate(settings);
    const int firstChannel = Channels() == 1 && settings.CHSel == ModeCh1 ? 1 : 0;
    py::list channels;
    for (std::size_t c = 0; c < streams.size(); ++c) {
        analysis.Channels.push_back(streams[c]->Analysis(firstChannel + static_cast<int>(c), analysis.SampleRate));
        channels.append(AnalysisDicts::Channel(analysis.Channels.back()));
    }
    const QByteArray line = ReportJson::Line(analysis);
    return py::make_tuple(py::bytes(line.constData(), static_cast<std::size_t>(line.size())), channels);
}

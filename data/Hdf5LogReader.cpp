#include "Hdf5LogReader.h"

#include "CodeScale.h"
#include "ForkedProbe.h"
#include "Hdf5Attributes.h"
#include "Hdf5LogRows.h"
#include "Hdf5Signature.h"
#include "LogLayout.h"

#include <QFile>

#include <algorithm>

namespace {

// A SWMR reader reads a piece of metadata again while its checksum fails (a
// writer may be halfway through it), sleeping twice as long each time: by
// default 100 times, which on a damaged file is a wait without end. 27 tries
// wait 134 ms at most, far longer than a flush takes.
constexpr unsigned MetadataReadAttempts = 27;

// A table's size is only what its writer, or a stranger, declared: rows
// are counted a page at a time, and the table ends at the first row never
// written (HDF5's fill value, all zeros), so that memory stays one page
// whatever the file says.
constexpr hsize_t PageRows = 4096;

bool Unwritten(const LogRun& run)
{
    return run.Run == 0;
}

bool Unwritten(const LogEvent& event)
{
    return event.Kind.empty();
}

// Rows [first, first + count) of a one-dimensional table, as records.
template <typename Row, typename Record>
bool ReadRows(const Hdf5Handle& table, const Hdf5Handle& memoryType, hsize_t first, hsize_t count,
              std::vector<Record>& records)
{
    std::vector<Row> rows(count, Row{});
    const Hdf5Handle space(H5Dget_space(table.Id()), H5Sclose);
    const Hdf5Handle memory(H5Screate_simple(1, &count, nullptr), H5Sclose);
    if (!space.Valid() || H5Sselect_hyperslab(space.Id(), H5S_SELECT_SET, &first, nullptr, &count, nullptr) < 0
        || H5Dread(table.Id(), memoryType.Id(), memory.Id(), space.Id(), H5P_DEFAULT, rows.data()) < 0)
        return false;
    records.clear();
    records.reserve(count);
    for (const Row& row : rows)
        records.push_back(Hdf5LogRows::FromRow(row));
    return true;
}

// Opens a table (/runs, /events) and counts its written rows, showing each
// to `take` in order, which may refuse it (false).
template <typename Row, typename Record, typename Take>
bool CountRows(hid_t file, const char* name, Hdf5Handle& table, const Hdf5Handle& memoryType, std::int64_t& count,
               Take take)
{
    table = Hdf5Handle(H5Dopen2(file, name, H5P_DEFAULT), H5Dclose);
    if (!table.Valid())
        return false;
    const Hdf5Handle space(H5Dget_space(table.Id()), H5Sclose);
    if (!space.Valid() || H5Sget_simple_extent_ndims(space.Id()) != 1)
        return false;
    hsize_t declared = 0;
    H5Sget_simple_extent_dims(space.Id(), &declared, nullptr);
    std::vector<Record> page;
    for (hsize_t first = 0; first < declared; first += PageRows) {
        if (!ReadRows<Row>(table, memoryType, first, std::min(PageRows, declared - first), page))
            return false;
        for (const Record& record : page) {
            if (Unwritten(record))
                return true;
            if (!take(record))
                return false;
            ++count;
        }
    }
    return true;
}

} // namespace

bool Hdf5LogReader::Fail(const QString& what)
{
    error_ = QStringLiteral("%1: %2").arg(path_, what);
    return false;
}

bool Hdf5LogReader::Open(const QString& path)
{
    return OpenFile(path, H5F_ACC_RDONLY | H5F_ACC_SWMR_READ);
}

bool Hdf5LogReader::OpenForUpdate(const QString& path)
{
    return OpenFile(path, H5F_ACC_RDWR);
}

bool Hdf5LogReader::OpenFile(const QString& path, unsigned access)
{
    Hdf5Handle::SilenceErrorStack();
    *this = Hdf5LogReader();
    path_ = path;
    if (!QFile::exists(path))
        return Fail(QStringLiteral("no such file"));
    if (!Hdf5Signature::StartsWith(path))
        return Fail(QStringLiteral("not an HDF5 file"));
    const QByteArray name = Hdf5Handle::FileName(path);
    const Hdf5Handle properties(H5Pcreate(H5P_FILE_ACCESS), H5Pclose);
    H5Pset_metadata_read_attempts(properties.Id(), MetadataReadAttempts);
    file_ = Hdf5Handle(H5Fopen(name.constData(), access, properties.Id()), H5Fclose);
    if (!file_.Valid()) {
        const QString cause = Hdf5Handle::StackMessage();
        if (access == H5F_ACC_RDWR)
            return FailUpdate(cause);
        return Fail(QStringLiteral("cannot be read as HDF5 (damaged or truncated%1)")
                        .arg(cause.isEmpty() ? QString() : QStringLiteral(": ") + cause));
    }
    // The head's texts may lie in a heap the library cannot read safely
    // when it is damaged: read first by a copy of this process.
    if (!ForkedProbe::Survives([this] {
            if (CheckFormat())
                ReadHead();
        }))
        return Fail(QStringLiteral("its head cannot be read: the HDF5 library fails on it (the file is damaged)"));
    // The writer flushes a run's codes before its row, and a block's codes
    // before its summary: read in the other order, no run nor summary
    // reaches past the codes read.
    if (!(CheckFormat() && ReadHead() && OpenCodes() && CountRuns() && CountEvents()))
        return false;
    summaries_.Open(file_.Id(), channels_);
    if (!ReadExtent())
        return false;
    summaries_.CheckAgainst(samples_);
    return true;
}

bool Hdf5LogReader::Close()
{
    codes_.Reset();
    runTable_.Reset();
    eventTable_.Reset();
    summaries_ = Hdf5SummaryLevels();
    const hid_t file = file_.Release();
    return file < 0 || H5Fclose(file) >= 0;
}

bool Hdf5LogReader::FailUpdate(const QString& cause)
{
    if (cause.contains(QLatin1String("already open for write")))
        return Fail(QStringLiteral("is marked open for writing: a log still being written, or one whose writer "
                                   "was killed (once no writer runs, h5clear -s clears the mark)"));
    // A writer (or a plain reader) holds HDF5's lock on the file.
    if (cause.contains(QLatin1String("lock")) || cause.contains(QLatin1String("temporarily unavailable")))
        return Fail(QStringLiteral("is open in another program, which holds its lock (%1): a log still being written "
                                   "can be indexed once its writer ends")
                        .arg(cause));
    return Fail(QStringLiteral("cannot be opened for writing (%1)").arg(cause));
}

bool Hdf5LogReader::CheckFormat()
{
    const auto format = Hdf5Attributes::ReadString(file_.Id(), LogLayout::FormatAttribute);
    if (!format || *format != LogLayout::Format)
        return Fail(QStringLiteral("an HDF5 file, but not a KORVADEX log (no %1 attribute \"%2\")")
                        .arg(QString::fromUtf8(LogLayout::FormatAttribute), QString::fromUtf8(LogLayout::Format)));
    const auto version = Hdf5Attributes::ReadInt(file_.Id(), LogLayout::FormatVersionAttribute);
    if (!version)
        return Fail(QStringLiteral("a KORVADEX log without its %1").arg(QString::fromUtf8(LogLayout::FormatVersionAttribute)));
    if (*version > LogLayout::FormatVersion)
        return Fail(QStringLiteral("a KORVADEX log of format version %1; this program reads version %2 and older")
                        .arg(*version)
                        .arg(LogLayout::FormatVersion));
    return true;
}

bool Hdf5LogReader::ReadHead()
{
    const hid_t root = file_.Id();
    const auto rate = Hdf5Attributes::ReadInt(root, LogLayout::RateItemAttribute);
    const auto count = Hdf5Attributes::ReadInt(root, LogLayout::CountItemAttribute);
    const auto channel = Hdf5Attributes::ReadInt(root, LogLayout::ChannelModeAttribute);
    const auto filter = Hdf5Attributes::ReadInt(root, LogLayout::FilterAttribute);
    const auto gain = Hdf5Attributes::ReadInt(root, LogLayout::GainDivisorAttribute);
    if (!rate || !count || !channel || !filter || !gain || *gain == 0)
        return Fail(QStringLiteral("a KORVADEX log without its settings (%1, %2, %3, %4, %5)")
                        .arg(QString::fromUtf8(LogLayout::RateItemAttribute), QString::fromUtf8(LogLayout::CountItemAttribute),
                             QString::fromUtf8(LogLayout::ChannelModeAttribute), QString::fromUtf8(LogLayout::FilterAttribute),
                             QString::fromUtf8(LogLayout::GainDivisorAttribute)));
    head_.Settings.spsSel = *rate;
    head_.Settings.DataCountSel = *count;
    head_.Settings.CHSel = *channel;
    head_.Settings.fSinc5 = static_cast<std::uint8_t>(*filter != 0);
    head_.Settings.GainDivisor = *gain;
    head_.Board = Hdf5Attributes::ReadString(root, LogLayout::BoardAttribute).value_or(std::string());
    head_.BoardSerial = Hdf5Attributes::ReadString(root, LogLayout::BoardSerialAttribute).value_or(std::string());
    head_.SettingsText = Hdf5Attributes::ReadString(root, LogLayout::SettingsAttribute).value_or(std::string());
    head_.Started = Hdf5Attributes::ReadString(root, LogLayout::StartedAttribute).value_or(std::string());
    head_.ProgramVersion = Hdf5Attributes::ReadString(root, LogLayout::ProgramVersionAttribute).value_or(std::string());
    return true;
}

bool Hdf5LogReader::OpenCodes()
{
    const hid_t root = file_.Id();
    const QString codes = QStringLiteral("/%1").arg(QString::fromUtf8(LogLayout::Codes));
    if (H5Lexists(root, LogLayout::Codes, H5P_DEFAULT) <= 0)
        return Fail(QStringLiteral("a KORVADEX log without %1").arg(codes));
    codes_ = Hdf5Handle(H5Dopen2(root, LogLayout::Codes, H5P_DEFAULT), H5Dclose);
    if (!codes_.Valid())
        return Fail(QStringLiteral("%1 is not a dataset").arg(codes));
    const Hdf5Handle type(H5Dget_type(codes_.Id()), H5Tclose);
    if (H5Tget_class(type.Id()) != H5T_INTEGER || H5Tget_size(type.Id()) != 4 || H5Tget_sign(type.Id()) != H5T_SGN_2)
        return Fail(QStringLiteral("%1 is not of 32-bit signed integers").arg(codes));
    const Hdf5Handle space(H5Dget_space(codes_.Id()), H5Sclose);
    const int rank = H5Sget_simple_extent_ndims(space.Id());
    hsize_t dims[2] = {0, 0};
    if (rank == 2)
        H5Sget_simple_extent_dims(space.Id(), dims, nullptr);
    if (rank != 1 && !(rank == 2 && dims[1] == 2))
        return Fail(QStringLiteral("%1 has neither the shape (n) nor (n, 2)").arg(codes));
    channels_ = rank;
    chunks_ = Hdf5CodeChunks::For(codes_.Id(), channels_);
    return true;
}

bool Hdf5LogReader::ReadExtent()
{
    const Hdf5Handle space(H5Dget_space(codes_.Id()), H5Sclose);
    hsize_t dims[2] = {0, 0};
    if (!space.Valid() || H5Sget_simple_extent_dims(space.Id(), dims, nullptr) < 0)
        return Fail(QStringLiteral("the size of /codes cannot be read"));
    samples_ = static_cast<std::int64_t>(dims[0]);
    // The running run's row is rewritten only at its end; until then its
    // samples are all that /codes holds after its first.
    if (runCount_ > 0 && lastRun_.End == LogLayout::EndRunning)
        lastRun_.Samples = std::max<std::int64_t>(0, samples_ - lastRun_.FirstSample);
    return true;
}

bool Hdf5LogReader::CountRuns()
{
    QString refusal;
    const auto follows = [&](const LogRun& run) {
        const bool inOrder = runCount_ == 0 || (run.Run > lastRun_.Run && run.FirstSample >= lastRun_.FirstSample);
        if (run.Run < 1 || run.FirstSample < 0 || run.Samples < 0 || !inOrder) {
            refusal = QStringLiteral("row %1 of /runs (run %2 from sample %3) does not follow the row before")
                          .arg(runCount_)
                          .arg(run.Run)
                          .arg(run.FirstSample);
            return false;
        }
        lastRun_ = run;
        return true;
    };
    if (!CountRows<Hdf5LogRows::RunRow, LogRun>(file_.Id(), LogLayout::Runs, runTable_, Hdf5LogRows::RunType(false),
                                                 runCount_, follows))
        return Fail(refusal.isEmpty() ? QStringLiteral("the run table /runs cannot be read") : refusal);
    return true;
}

bool Hdf5LogReader::CountEvents()
{
    if (!CountRows<Hdf5LogRows::EventRow, LogEvent>(file_.Id(), LogLayout::Events, eventTable_,
                                                     Hdf5LogRows::EventType(false), eventCount_,
                                                     [](const LogEvent&) { return true; }))
        return Fail(QStringLiteral("the event list /events cannot be read"));
    return true;
}

bool Hdf5LogReader::CheckRows(const char* table, std::int64_t first, std::int64_t count, std::int64_t rows)
{
    if (first >= 0 && count >= 0 && first + count <= rows)
        return true;
    return Fail(QStringLiteral("rows %1 to %2 lie outside the %3 rows of /%4")
                    .arg(first)
                    .arg(first + count)
                    .arg(rows)
                    .arg(QString::fromUtf8(table)));
}

bool Hdf5LogReader::ReadRuns(std::int64_t first, std::int64_t count, std::vector<LogRun>& out)
{
    if (!CheckRows(LogLayout::Runs, first, count, runCount_))
        return false;
    out.clear();
    if (count == 0)
        return true;
    if (!ReadRows<Hdf5LogRows::RunRow>(runTable_, Hdf5LogRows::RunType(false), static_cast<hsize_t>(first),
                                       static_cast<hsize_t>(count), out))
        return Fail(QStringLiteral("runs %1 to %2 of /runs cannot be read").arg(first).arg(first + count));
    // The last row as it was at the open, its samples counted to the codes'
    // end then, however far its writer has got since.
    if (first + count == runCount_)
        out.back() = lastRun_;
    return true;
}

bool Hdf5LogReader::ReadEvents(std::int64_t first, std::int64_t count, std::vector<LogEvent>& out)
{
    if (!CheckRows(LogLayout::Events, first, count, eventCount_))
        return false;
    out.clear();
    if (count > 0
        && !ReadRows<Hdf5LogRows::EventRow>(eventTable_, Hdf5LogRows::EventType(false), static_cast<hsize_t>(first),
                                            static_cast<hsize_t>(count), out))
        return Fail(QStringLiteral("events %1 to %2 of /events cannot be read").arg(first).arg(first + count));
    return true;
}

bool Hdf5LogReader::ReadCodes(std::int64_t first, std::int64_t count, std::int32_t* out)
{
    if (first < 0 || count < 0 || first + count > samples_)
        return Fail(QStringLiteral("samples %1 to %2 lie outside the log's %3").arg(first).arg(first + count).arg(samples_));
    if (count == 0)
        return true;
    if (chunks_ && chunks_->Suits(count) && chunks_->Read(codes_.Id(), first, count, out))
        return CheckCodes(first, count, out);
    const Hdf5Handle space(H5Dget_space(codes_.Id()), H5Sclose);
    const hsize_t start[2] = {static_cast<hsize_t>(first), 0};
    const hsize_t size[2] = {static_cast<hsize_t>(count), static_cast<hsize_t>(channels_)};
    const Hdf5Handle memory(H5Screate_simple(channels_, size, nullptr), H5Sclose);
    if (H5Sselect_hyperslab(space.Id(), H5S_SELECT_SET, start, nullptr, size, nullptr) < 0
        || H5Dread(codes_.Id(), H5T_NATIVE_INT32, memory.Id(), space.Id(), H5P_DEFAULT, out) < 0)
        return Fail(QStringLiteral("samples %1 to %2 cannot be read (%3)")
                        .arg(first)
                        .arg(first + count)
                        .arg(Hdf5Handle::StackMessage()));
    return CheckCodes(first, count, out);
}

// A foreign writer may have put anything in /codes; what no converter gives
// is refused here, as the text log's reader refuses it, so that nothing
// downstream sizes its work by a code.
bool Hdf5LogReader::CheckCodes(std::int64_t first, std::int64_t count, const std::int32_t* codes)
{
    const std::int64_t values = count * channels_;
    const auto outside = [](std::int32_t code) { return code < 0 || code > CodeScale::FullScale; };
    const std::int32_t* bad = std::find_if(codes, codes + values, outside);
    if (bad == codes + values)
        return true;
    const std::int64_t at = bad - codes;
    return Fail(QStringLiteral("sample %1 of /codes: %2 is not a converter code (0 to %3)")
                    .arg(first + at / channels_)
                    .arg(*bad)
                    .arg(CodeScale::FullScale));
}

bool Hdf5LogReader::ReadSummary(int level, std::int64_t first, std::int64_t count, std::vector<BlockSummary>& out)
{
    const QString refusal = summaries_.Read(level, first, count, out);
    return refusal.isEmpty() || Fail(refusal);
}

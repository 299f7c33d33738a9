#include "Hdf5LogWriter.h"

#include "CodeScale.h"
#include "Hdf5Attributes.h"
#include "LogLayout.h"
#include "MeasureItems.h"
#include "MeasureSettings.h"

#include <cstring>
#include <iterator>

namespace {

// Room for the rows of about a day of runs per chunk; the tables are small
// and are not compressed, since their rows are rewritten.
constexpr hsize_t TableChunkRows = 64;

Hdf5Handle Table(hid_t file, const char* name, hid_t type)
{
    const hsize_t dims[1] = {0};
    const hsize_t maxDims[1] = {H5S_UNLIMITED};
    const hsize_t chunk[1] = {TableChunkRows};
    const Hdf5Handle space(H5Screate_simple(1, dims, maxDims), H5Sclose);
    const Hdf5Handle properties(H5Pcreate(H5P_DATASET_CREATE), H5Pclose);
    H5Pset_chunk(properties.Id(), 1, chunk);
    return Hdf5Handle(H5Dcreate2(file, name, type, space.Id(), H5P_DEFAULT, properties.Id(), H5P_DEFAULT), H5Dclose);
}

// Rows [first, first + count) of a one-dimensional table, grown to hold them.
bool WriteRows(hid_t table, hid_t memoryType, std::int64_t first, std::int64_t count, std::int64_t& rows,
               const void* data)
{
    if (first + count > rows) {
        const hsize_t size[1] = {static_cast<hsize_t>(first + count)};
        if (H5Dset_extent(table, size) < 0)
            return false;
        rows = first + count;
    }
    const hsize_t start[1] = {static_cast<hsize_t>(first)};
    const hsize_t length[1] = {static_cast<hsize_t>(count)};
    const Hdf5Handle space(H5Dget_space(table), H5Sclose);
    const Hdf5Handle memory(H5Screate_simple(1, length, nullptr), H5Sclose);
    const Hdf5Handle transfer =
        Hdf5Handle::ConvertingTransfer(static_cast<std::size_t>(count) * H5Tget_size(memoryType));
    return transfer.Id() >= 0 && H5Sselect_hyperslab(space.Id(), H5S_SELECT_SET, start, nullptr, length, nullptr) >= 0
        && H5Dwrite(table, memoryType, memory.Id(), space.Id(), transfer.Id(), data) >= 0;
}

const char* ChannelsWord(std::int32_t mode)
{
    switch (mode) {
    case ModeCh0:
        return "ch0";
    case ModeCh1:
        return "ch1";
    default:
        return "ch0,ch1";
    }
}

} // namespace

Hdf5LogWriter::~Hdf5LogWriter()
{
    if (file_.Valid())
        Close();
}

bool Hdf5LogWriter::Fail(const QString& what)
{
    const QString cause = Hdf5Handle::StackMessage();
    if (!failed_) {
        error_ = cause.isEmpty() ? what : QStringLiteral("%1 (%2)").arg(what, cause);
        if (file_.Valid())
            Hdf5Handle::CutOff(file_.Id());
    }
    failed_ = true;
    return false;
}

bool Hdf5LogWriter::Create(const QString& path)
{
    Hdf5Handle::SilenceErrorStack();
    runType_ = Hdf5LogRows::RunType(false);
    eventType_ = Hdf5LogRows::EventType(false);
    return MakeFile(Hdf5Handle::FileName(path));
}

bool Hdf5LogWriter::Begin(const LogHead& head, const char* programWord)
{
    channelMode_ = head.Settings.CHSel;
    channels_ = channelMode_ == ModeDual ? 2 : 1;
    pyramid_ = SummaryPyramid(channels_);
    if (!file_.Valid())
        return Fail(QStringLiteral("the file is not open"));
    if (!WriteAttributes(head, programWord))
        return Fail(QStringLiteral("the log's attributes cannot be written"));
    if (!MakeDatasets(MeasureItems::SampleRate(head.Settings)))
        return Fail(QStringLiteral("the log's datasets cannot be made"));
    // From here on the file only grows, and readers may open it.
    if (H5Fstart_swmr_write(file_.Id()) < 0)
        return Fail(QStringLiteral("SWMR writing cannot be started"));
    return true;
}

bool Hdf5LogWriter::MakeFile(const QByteArray& name)
{
    // SWMR needs the latest file format.
    const Hdf5Handle access(H5Pcreate(H5P_FILE_ACCESS), H5Pclose);
    H5Pset_libver_bounds(access.Id(), H5F_LIBVER_LATEST, H5F_LIBVER_LATEST);
    file_ = Hdf5Handle(H5Fcreate(name.constData(), H5F_ACC_TRUNC, H5P_DEFAULT, access.Id()), H5Fclose);
    return file_.Valid() || Fail(QStringLiteral("the file cannot be made"));
}

bool Hdf5LogWriter::WriteAttributes(const LogHead& head, const char* programWord)
{
    using namespace Hdf5Attributes;
    const hid_t root = file_.Id();
    const MeasureSettings& settings = head.Settings;
    return WriteString(root, LogLayout::FormatAttribute, LogLayout::Format)
        && WriteInt(root, LogLayout::FormatVersionAttribute, LogLayout::FormatVersion)
        && WriteString(root, LogLayout::ProgramAttribute, programWord)
        && WriteString(root, LogLayout::ProgramVersionAttribute, head.ProgramVersion)
        && WriteString(root, LogLayout::BoardAttribute, head.Board)
        && WriteString(root, LogLayout::BoardSerialAttribute, head.BoardSerial)
        && WriteString(root, LogLayout::SettingsAttribute, head.SettingsText)
        && WriteString(root, LogLayout::StartedAttribute, head.Started)
        && WriteInt(root, LogLayout::RateItemAttribute, settings.spsSel)
        && WriteInt(root, LogLayout::CountItemAttribute, settings.DataCountSel)
        && WriteInt(root, LogLayout::ChannelModeAttribute, settings.CHSel)
        && WriteInt(root, LogLayout::FilterAttribute, settings.fSinc5)
        && WriteDouble(root, LogLayout::SampleRateAttribute, MeasureItems::SampleRate(settings))
        && WriteInt(root, LogLayout::GainDivisorAttribute, settings.GainDivisor)
        && WriteInt(root, LogLayout::MidScaleAttribute, CodeScale::MidScale)
        && WriteDouble(root, LogLayout::ReferenceAttribute, CodeScale::ReferenceMicrovolts)
        && WriteInt(root, LogLayout::CodeStepsAttribute, CodeScale::CodeSteps);
}

// Measured on the virtual board's default noise, written as the log writes
// (a flush a second, on SWMR): at 125 ksps one channel takes 1.20 bytes a
// sample with chunks of 4096 or 8192, 1.18 with 16384, but 1.42 with 65536
// and 2.2 with 262144. SWMR writing never reuses file space, and a flush
// that ends inside a chunk writes that chunk compressed, to be written again
// elsewhere when it grows: the file grows by the rewrites, about 0.6 ·
// chunk / (samples a flush) bytes a sample. At 5 sps a chunk of 16384 made
// 32 MB an hour for 18000 samples (1800 bytes a sample). So the chunk is a
// sixteenth of a second's samples (rewrites under 0.05 bytes a sample), a
// power of two, at least 64; where even that takes longer than a flush to
// fill, a partial chunk is kept unfiltered (in place, its full size once),
// and compressed when complete: at 5 sps 5.5 bytes a sample instead of 14.
// Deflate level 1: level 6 saves 7 % at two to three times the CPU.
std::int64_t Hdf5LogWriter::ChunkFor(double sampleRate)
{
    std::int64_t chunk = SmallestChunk;
    while (chunk * 2 <= sampleRate / 16.0)
        chunk *= 2;
    return chunk;
}

bool Hdf5LogWriter::MakeDatasets(double sampleRate)
{
    const std::int64_t chunkSamples = ChunkFor(sampleRate);
    const hsize_t dims[2] = {0, 2};
    const hsize_t maxDims[2] = {H5S_UNLIMITED, 2};
    const hsize_t chunk[2] = {static_cast<hsize_t>(chunkSamples), 2};
    const Hdf5Handle space(H5Screate_simple(channels_, dims, maxDims), H5Sclose);
    const Hdf5Handle properties(H5Pcreate(H5P_DATASET_CREATE), H5Pclose);
    H5Pset_chunk(properties.Id(), channels_, chunk);
    H5Pset_shuffle(properties.Id());
    H5Pset_deflate(properties.Id(), DeflateLevel);
    // The log is flushed once a second: below 64 samples a second a chunk
    // never fills between two flushes.
    if (chunkSamples > sampleRate)
        H5Pset_chunk_opts(properties.Id(), H5D_CHUNK_DONT_FILTER_PARTIAL_CHUNKS);
    chunkWriter_ = std::make_unique<Hdf5ChunkWriter>(chunkSamples, channels_, DeflateLevel);
    codes_ = Hdf5Handle(H5Dcreate2(file_.Id(), LogLayout::Codes, H5T_STD_I32LE, space.Id(), H5P_DEFAULT,
                                   properties.Id(), H5P_DEFAULT),
                        H5Dclose);
    if (!codes_.Valid() || !Hdf5Attributes::WriteString(codes_.Id(), LogLayout::ChannelsAttribute, ChannelsWord(channelMode_)))
        return false;
    const Hdf5Handle runFileType = Hdf5LogRows::RunType(true);
    const Hdf5Handle eventFileType = Hdf5LogRows::EventType(true);
    runTable_ = Table(file_.Id(), LogLayout::Runs, runFileType.Id());
    eventTable_ = Table(file_.Id(), LogLayout::Events, eventFileType.Id());
    const Hdf5Handle summary(H5Gcreate2(file_.Id(), LogLayout::Summary, H5P_DEFAULT, H5P_DEFAULT, H5P_DEFAULT), H5Gclose);
    return runTable_.Valid() && eventTable_.Valid() && summary.Valid() && summaries_.Make(summary.Id(), channels_);
}

void Hdf5LogWriter::AddCodes(const std::int32_t* codes, std::int64_t count)
{
    pending_.insert(pending_.end(), codes, codes + count * channels_);
}

void Hdf5LogWriter::SetRun(const LogRun& run)
{
    runs_[run.Run] = Hdf5LogRows::ToRow(run);
}

void Hdf5LogWriter::AddEvent(const LogEvent& event)
{
    events_.push_back(Hdf5LogRows::ToRow(event));
}

bool Hdf5LogWriter::Flush()
{
    if (failed_ || !codes_.Valid())
        return false;
    // A running run's row, which counts whatever follows its first sample,
    // reaches the file before its codes; an ended run's row, which counts
    // them, after.
    if (!WriteStartedRuns() || H5Dflush(runTable_.Id()) < 0)
        return Fail(QStringLiteral("the run table cannot be written"));
    if (!WriteCodes() || H5Dflush(codes_.Id()) < 0)
        return Fail(QStringLiteral("the codes cannot be written"));
    if (!WriteSummaries())
        return Fail(QStringLiteral("the block summaries cannot be written"));
    if (!WriteEndedRuns() || !WriteEvents() || H5Fflush(file_.Id(), H5F_SCOPE_LOCAL) < 0)
        return Fail(QStringLiteral("the run table cannot be written"));
    return true;
}

bool Hdf5LogWriter::WriteCodes()
{
    if (pending_.empty())
        return true;
    const std::int64_t count = static_cast<std::int64_t>(pending_.size()) / channels_;
    const hsize_t size[2] = {static_cast<hsize_t>(written_ + count), 2};
    if (H5Dset_extent(codes_.Id(), size) < 0)
        return false;
    if (!chunkWriter_->Write(codes_.Id(), written_, pending_.data(), count))
        return false;
    written_ += count;
    pyramid_.Add(pending_.data(), count);
    pending_.clear();
    return true;
}

// After the codes: the rows of the blocks they made whole.
bool Hdf5LogWriter::WriteSummaries()
{
    if (!summaries_.Append(pyramid_))
        return false;
    pyramid_.Clear();
    return true;
}

// Before the codes: every run the file does not hold yet, as running (a
// run may have started and ended since the last flush), so that no sample
// reaches the file outside a run.
bool Hdf5LogWriter::WriteStartedRuns()
{
    for (auto it = runs_.begin(); it != runs_.end();) {
        Hdf5LogRows::RunRow row = it->second;
        const bool running = std::strncmp(row.End, LogLayout::EndRunning, sizeof row.End) == 0;
        if (!running && row.Run <= runRows_) {
            ++it;
            continue;
        }
        std::memset(row.End, 0, sizeof row.End);
        std::memcpy(row.End, LogLayout::EndRunning, std::strlen(LogLayout::EndRunning));
        if (!WriteRows(runTable_.Id(), runType_.Id(), row.Run - 1, 1, runRows_, &row))
            return false;
        it = running ? runs_.erase(it) : std::next(it);
    }
    return true;
}

// After the codes: the ended runs' rows, which count them.
bool Hdf5LogWriter::WriteEndedRuns()
{
    for (const auto& [number, row] : runs_) {
        if (!WriteRows(runTable_.Id(), runType_.Id(), number - 1, 1, runRows_, &row))
            return false;
    }
    runs_.clear();
    return true;
}

bool Hdf5LogWriter::WriteEvents()
{
    if (events_.empty())
        return true;
    if (!WriteRows(eventTable_.Id(), eventType_.Id(), eventRows_, static_cast<std::int64_t>(events_.size()),
                   eventRows_, events_.data()))
        return false;
    events_.clear();
    return true;
}

bool Hdf5LogWriter::Close()
{
    const bool flushed = Flush();
    codes_.Reset();
    runTable_.Reset();
    eventTable_.Reset();
    summaries_ = Hdf5SummaryTables();
    const hid_t file = file_.Release();
    if (file >= 0 && H5Fclose(file) < 0) {
        Hdf5Handle::MarkTeardownUnsafe();
        if (!failed_)
            return Fail(QStringLiteral("the file cannot be closed"));
    }
    return flushed;
}

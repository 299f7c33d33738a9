#include "Hdf5LogIndexer.h"

#include "Hdf5Handle.h"
#include "Hdf5LogReader.h"
#include "Hdf5SummaryTables.h"
#include "LogLayout.h"
#include "SummaryPyramid.h"

#include <QFile>

#include <algorithm>
#include <vector>

namespace {

// " (HDF5's innermost reason)", or nothing when it gives none.
QString Cause()
{
    const QString cause = Hdf5Handle::StackMessage();
    return cause.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(cause);
}

// A superblock of version 2 or 3 with 8-byte addresses: 48 bytes at the
// start of the file, the last 4 its checksum.
constexpr qint64 SuperblockBytes = 48;

QByteArray Superblock(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(SuperblockBytes) : QByteArray();
}

// HDF5 marks a file it opens for writing as such in its superblock (version
// 3, as the log writer makes) at once, and every reader but a SWMR one
// refuses a file so marked, a SWMR one too unless a SWMR writer marked it.
// The superblock as it was is put back at once: HDF5 writes it again only
// when the file is flushed, once the summaries are linked, so until then a
// failure or a kill leaves the file saying what it said before.
void PutBack(const QString& path, const QByteArray& before)
{
    const bool plain = before.size() == SuperblockBytes && (before[8] == 2 || before[8] == 3) && before[9] == 8 && before[10] == 8;
    QFile file(path);
    if (plain && Superblock(path) != before && file.open(QIODevice::ReadWrite))
        file.write(before);
}

// Every level from every slice of the log's codes, appended to `tables`;
// the reason when a slice cannot be read or its rows written.
QString Summarise(const QString& path, Hdf5LogReader& log, Hdf5SummaryTables& tables)
{
    SummaryPyramid pyramid(log.Channels());
    std::vector<std::int32_t> codes(static_cast<std::size_t>(Hdf5LogIndexer::SliceSamples * log.Channels()));
    for (std::int64_t first = 0; first < log.Samples(); first += Hdf5LogIndexer::SliceSamples) {
        const std::int64_t count = std::min(Hdf5LogIndexer::SliceSamples, log.Samples() - first);
        if (!log.ReadCodes(first, count, codes.data()))
            return log.Error();
        pyramid.Add(codes.data(), count);
        if (!tables.Append(pyramid))
            return QStringLiteral("%1: the block summaries cannot be written%2").arg(path, Cause());
        pyramid.Clear();
    }
    return QString();
}

} // namespace

bool Hdf5LogIndexer::Index(const QString& path, bool rebuild)
{
    const QByteArray superblock = Superblock(path);
    Hdf5LogReader log;
    if (!log.OpenForUpdate(path)) {
        error_ = log.Error();
        return false;
    }
    PutBack(path, superblock);
    const hid_t file = log.File();
    const bool present = H5Lexists(file, LogLayout::Summary, H5P_DEFAULT) > 0;
    if (present && !rebuild) {
        error_ = QStringLiteral("%1: has block summaries already (/%2); --force builds them anew")
                     .arg(path, QString::fromUtf8(LogLayout::Summary));
        return false;
    }
    bool built = false;
    {
        Hdf5Handle group(H5Gcreate_anon(file, H5P_DEFAULT, H5P_DEFAULT), H5Gclose);
        Hdf5SummaryTables tables;
        if (!group.Valid() || !tables.Make(group.Id(), log.Channels()))
            error_ = QStringLiteral("%1: the block summaries cannot be made%2").arg(path, Cause());
        else if ((error_ = Summarise(path, log, tables)).isEmpty())
            built = (!present || H5Ldelete(file, LogLayout::Summary, H5P_DEFAULT) >= 0)
                && H5Olink(group.Id(), file, LogLayout::Summary, H5P_DEFAULT, H5P_DEFAULT) >= 0
                && H5Fflush(file, H5F_SCOPE_LOCAL) >= 0;
        if (!built && error_.isEmpty())
            error_ = QStringLiteral("%1: the block summaries cannot be linked%2").arg(path, Cause());
    }
    // What HDF5 would still write after a failure goes nowhere: the file
    // keeps what it held before, the unlinked group unreachable.
    if (!built)
        Hdf5Handle::CutOff(file);
    if (!log.Close()) {
        Hdf5Handle::MarkTeardownUnsafe();
        if (built)
            error_ = QStringLiteral("%1: the file cannot be closed%2").arg(path, Cause());
        return false;
    }
    return built;
}

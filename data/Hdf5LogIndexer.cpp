#include "Hdf5LogIndexer.h"

#include "Hdf5Handle.h"
#include "Hdf5LogReader.h"
#include "Hdf5SummaryTables.h"
#include "LogLayout.h"
#include "SummaryPyramid.h"

#include <algorithm>
#include <vector>

namespace {

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
            return QStringLiteral("%1: the block summaries cannot be written (%2)").arg(path, Hdf5Handle::StackMessage());
        pyramid.Clear();
    }
    return QString();
}

} // namespace

bool Hdf5LogIndexer::Index(const QString& path, bool rebuild)
{
    Hdf5LogReader log;
    if (!log.OpenForUpdate(path)) {
        error_ = log.Error();
        return false;
    }
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
            error_ = QStringLiteral("%1: the block summaries cannot be made (%2)").arg(path, Hdf5Handle::StackMessage());
        else if ((error_ = Summarise(path, log, tables)).isEmpty())
            built = (!present || H5Ldelete(file, LogLayout::Summary, H5P_DEFAULT) >= 0)
                && H5Olink(group.Id(), file, LogLayout::Summary, H5P_DEFAULT, H5P_DEFAULT) >= 0
                && H5Fflush(file, H5F_SCOPE_LOCAL) >= 0;
        if (!built && error_.isEmpty())
            error_ = QStringLiteral("%1: the block summaries cannot be linked (%2)").arg(path, Hdf5Handle::StackMessage());
    }
    // What HDF5 would still write after a failure goes nowhere: the file
    // keeps what it held before, the unlinked group unreachable.
    if (!built)
        Hdf5Handle::CutOff(file);
    if (!log.Close()) {
        Hdf5Handle::MarkTeardownUnsafe();
        if (built)
            error_ = QStringLiteral("%1: the file cannot be closed (%2)").arg(path, Hdf5Handle::StackMessage());
        return false;
    }
    return built;
}

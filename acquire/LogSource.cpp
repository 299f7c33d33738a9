#include "LogSource.h"

#include "Hdf5Module.h"
#include "Hdf5Signature.h"
#include "TextLogSource.h"

#include <algorithm>

bool LogSource::IsLog(const QString& path)
{
    return Hdf5Signature::StartsWith(path) || TextLogSource::IsTextLog(path);
}

std::unique_ptr<LogSource> LogSource::Open(const QString& path, QString& error)
{
    std::unique_ptr<LogSource> source;
    if (Hdf5Signature::StartsWith(path)) {
        const Hdf5ModuleEntries* hdf5 = Hdf5Module::Load(error);
        if (hdf5 == nullptr) {
            error = QStringLiteral("%1: %2").arg(path, error);
            return nullptr;
        }
        source = hdf5->NewSource();
    } else {
        source = std::make_unique<TextLogSource>();
    }
    if (source->OpenFile(path))
        return source;
    error = source->Error();
    return nullptr;
}

bool LogSource::ForEachRun(const std::function<void(const LogRun&)>& visit)
{
    std::vector<LogRun> page;
    for (std::int64_t first = 0; first < RunCount(); first += PageRows) {
        if (!ReadRuns(first, std::min(PageRows, RunCount() - first), page))
            return false;
        for (const LogRun& run : page)
            visit(run);
    }
    return true;
}

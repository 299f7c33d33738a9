#include "LogSource.h"

#include "Hdf5LogSource.h"
#include "Hdf5LogReader.h"
#include "TextLogSource.h"

#include <algorithm>

bool LogSource::IsLog(const QString& path)
{
    return Hdf5LogReader::IsHdf5(path) || TextLogSource::IsTextLog(path);
}

std::unique_ptr<LogSource> LogSource::Open(const QString& path, QString& error)
{
    std::unique_ptr<LogSource> source;
    if (Hdf5LogReader::IsHdf5(path))
        source = std::make_unique<Hdf5LogSource>();
    else
        source = std::make_unique<TextLogSource>();
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

#pragma once

#include "Hdf5LogReader.h"
#include "LogSource.h"

// An HDF5 log through its reader.
class Hdf5LogSource : public LogSource {
public:
    const LogHead& Head() const override { return reader_.Head(); }
    int Channels() const override { return reader_.Channels(); }
    std::int64_t Samples() const override { return reader_.Samples(); }
    std::int64_t RunCount() const override { return reader_.RunCount(); }
    bool ReadRuns(std::int64_t first, std::int64_t count, std::vector<LogRun>& out) override
    {
        return reader_.ReadRuns(first, count, out);
    }
    std::int64_t EventCount() const override { return reader_.EventCount(); }
    bool ReadEvents(std::int64_t first, std::int64_t count, std::vector<LogEvent>& out) override
    {
        return reader_.ReadEvents(first, count, out);
    }
    bool ReadCodes(std::int64_t first, std::int64_t count, std::int32_t* out) override
    {
        return reader_.ReadCodes(first, count, out);
    }
    int SummaryLevels() const override { return reader_.SummaryLevels(); }
    std::int64_t SummaryRows(int level) const override { return reader_.SummaryRows(level); }
    bool ReadSummary(int level, std::int64_t first, std::int64_t count, std::vector<BlockSummary>& out) override
    {
        return reader_.ReadSummary(level, first, count, out);
    }
    QString Error() const override { return reader_.Error(); }

protected:
    bool OpenFile(const QString& path) override { return reader_.Open(path); }

private:
    Hdf5LogReader reader_;
};

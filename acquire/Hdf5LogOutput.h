#pragma once

#include "Hdf5LogWriter.h"
#include "LogOutput.h"

#include <chrono>
#include <vector>

// The HDF5 form of a long-term log (Hdf5LogWriter): the head as the root's
// attributes, the codes appended to /codes, a run's row written as it starts
// and again as it ends, each event a row of /events.
class Hdf5LogOutput : public LogOutput {
public:
    bool Open(const QString& path) override;
    QString Error() const override { return writer_.Error(); }
    bool Head(const LogHead& head) override;
    void RunStarted(const LogRun& run) override { writer_.SetRun(run); }
    void Samples(const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                 std::chrono::system_clock::time_point arrived) override;
    void RunEnded(const LogRun& run, const std::string&) override { writer_.SetRun(run); }
    void Event(const LogEvent& event) override { writer_.AddEvent(event); }
    bool FlushIfDue() override;
    bool Flush() override;
    bool Close() override { return writer_.Close(); }

private:
    using Clock = std::chrono::steady_clock;

    Hdf5LogWriter writer_;
    Clock::time_point flushed_;
    std::vector<std::int32_t> pairs_;  // CH0 and CH1 side by side, kept for its capacity
};

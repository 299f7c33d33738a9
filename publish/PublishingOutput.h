#pragma once

#include "LogOutput.h"
#include "PublishTarget.h"
#include "SecondFigures.h"

#include <memory>
#include <optional>

// A log's output that also publishes as it goes: everything is written to
// the file output as before, and the file's samples are gathered into
// per-second summaries, which, with the events, go to the publisher. The
// log's closing comment gains the count of what was never delivered.
class PublishingOutput : public LogOutput {
public:
    PublishingOutput(std::unique_ptr<LogOutput> file, PublishTarget target, QString fileName);

    bool Open(const QString& path) override { return file_->Open(path); }
    QString Error() const override { return file_->Error(); }
    bool Head(const LogHead& head) override;
    void RunStarted(const LogRun& run) override;
    void Samples(const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                 std::chrono::system_clock::time_point arrived) override;
    void RunEnded(const LogRun& run, const std::string& note) override { file_->RunEnded(run, note); }
    void Event(const LogEvent& event) override;
    bool FlushIfDue() override { return file_->FlushIfDue(); }
    bool Flush() override { return file_->Flush(); }
    bool Close() override { return file_->Close(); }

private:
    std::unique_ptr<LogOutput> file_;
    PublishTarget target_;
    QString fileName_;
    std::unique_ptr<Publisher> publisher_;
    std::optional<SecondFigures> seconds_;
    int reconnects_ = 0;
};

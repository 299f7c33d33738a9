#include "PublishingOutput.h"

#include "LogLayout.h"

PublishingOutput::PublishingOutput(std::unique_ptr<LogOutput> file, PublishTarget target, QString fileName)
    : file_(std::move(file))
    , target_(std::move(target))
    , fileName_(std::move(fileName))
{
}

bool PublishingOutput::Head(const LogHead& head)
{
    publisher_ = target_.Make(head, fileName_);
    if (!publisher_)
        return false;
    seconds_.emplace(head.Settings, [this](const SecondSummary& second) { publisher_->Summary(second, reconnects_); });
    return file_->Head(head);
}

void PublishingOutput::RunStarted(const LogRun& run)
{
    seconds_->RunStarted(run.Start);
    file_->RunStarted(run);
}

void PublishingOutput::Samples(const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                               std::chrono::system_clock::time_point arrived)
{
    file_->Samples(run, runNumber, from, to, arrived);
    seconds_->Samples(run, from, to);
}

void PublishingOutput::Event(const LogEvent& event)
{
    if (event.Kind == LogLayout::EventBack)
        ++reconnects_;
    if (event.Kind != LogLayout::EventEnd) {
        publisher_->Event(event);
        file_->Event(event);
        return;
    }
    seconds_->Finish();
    publisher_->Event(event);
    const std::int64_t undelivered = publisher_->Close();
    LogEvent closing = event;
    if (undelivered > 0) {
        const QString problem = publisher_->Problem();
        closing.Text += "; " + std::to_string(undelivered) + " live messages not delivered";
        if (!problem.isEmpty())
            closing.Text += " (" + problem.toStdString() + ")";
    }
    file_->Event(closing);
}

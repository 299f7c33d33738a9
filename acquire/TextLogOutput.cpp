#include "TextLogOutput.h"

bool TextLogOutput::Open(const QString& path)
{
    return file_.Open(path);
}

bool TextLogOutput::Head(const LogHead& head)
{
    table_.emplace(head.Settings);
    file_.Comment(Program);
    file_.Comment("board: " + head.Board);
    file_.Comment("settings: " + head.SettingsText);
    file_.Comment("started: " + head.Started);
    file_.Add(table_->Header());
    return true;
}

// A run's time starts when the session started it, a little before its
// first row arrives; the reader takes it from here, so that a text log and
// an HDF5 log put a sample at the same time.
void TextLogOutput::RunStarted(const LogRun& run)
{
    file_.Comment("run " + std::to_string(run.Run) + " started at " + run.Start);
}

void TextLogOutput::Samples(const RunData& run, int runNumber, std::int32_t from, std::int32_t to,
                            std::chrono::system_clock::time_point arrived)
{
    rows_.clear();
    table_->AppendRows(rows_, run, runNumber, from, to, arrived);
    file_.Add(rows_);
}

void TextLogOutput::RunEnded(const LogRun&, const std::string& note)
{
    if (!note.empty())
        file_.Comment(note);
}

void TextLogOutput::Event(const LogEvent& event)
{
    file_.Comment(event.Text);
}

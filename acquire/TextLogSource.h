#pragma once

#include "LogSource.h"

#include <QFile>

#include <string>

// A text log (the rows of LogTable, the "#" lines of LogSession) read as it
// lies on disk. Opening reads it through once: the head from the comments
// before the header row, the runs from the run column and the "started at"
// and "incomplete" comments, the events from the gap, lost, back and closing comments, and
// where every CheckpointSamples-th sample starts, so that a read anywhere
// starts near it. Memory grows by 8 bytes per CheckpointSamples samples,
// and by a run's and an event's record for each in the file (a text file
// has no table to read them from later).
// A row out of its place (a run's samples not counting up from 0 by one, a
// missing column, a code that is no number), a header that does not fit the
// settings, or a last line cut short refuse the file with its line number.
class TextLogSource : public LogSource {
public:
    static constexpr std::int64_t CheckpointSamples = 65536;

    // The first line is "# korvadex-cli log".
    static bool IsTextLog(const QString& path);

    const LogHead& Head() const override { return head_; }
    int Channels() const override { return channels_; }
    std::int64_t Samples() const override { return samples_; }
    std::int64_t RunCount() const override { return static_cast<std::int64_t>(runs_.size()); }
    bool ReadRuns(std::int64_t first, std::int64_t count, std::vector<LogRun>& out) override;
    std::int64_t EventCount() const override { return static_cast<std::int64_t>(events_.size()); }
    bool ReadEvents(std::int64_t first, std::int64_t count, std::vector<LogEvent>& out) override;
    bool ReadCodes(std::int64_t first, std::int64_t count, std::int32_t* out) override;
    QString Error() const override { return error_; }

protected:
    bool OpenFile(const QString& path) override;

private:
    struct Row {
        std::string Time;
        std::int32_t Run = 0;
        std::int64_t Sample = 0;
        std::int32_t Codes[2] = {0, 0};
    };

    bool Fail(const QString& what);
    bool FailAt(const QString& what);
    bool Scan();
    // The next line, without its end; false at the end of the file or for a
    // last line cut short (with the error set).
    bool NextLine(std::string& line);
    bool HeadComment(const std::string& text);
    bool HeaderRow(const std::string& line);
    bool LaterComment(const std::string& text);
    bool TakeRow(const std::string& line);
    bool ParseRow(const std::string& line, Row& row) const;
    void FinishRuns(bool closed);
    bool SkipTo(std::int64_t sample);

    QString path_;
    QString error_;
    QFile file_;
    std::int64_t lineNumber_ = 0;
    LogHead head_;
    bool headerSeen_ = false;
    bool settingsSeen_ = false;
    int channels_ = 0;
    std::int64_t samples_ = 0;
    std::string lastTime_;
    // What the last "run N started at TIME" comment gave.
    std::int32_t nextStartRun_ = 0;
    std::string nextStart_;
    std::vector<LogRun> runs_;
    std::vector<LogEvent> events_;
    std::vector<qint64> checkpoints_;
    std::int64_t next_ = 0;  // the sample the file stands at
    // Kept between rows, so that their room is made once.
    std::string line_;
    Row row_;
};

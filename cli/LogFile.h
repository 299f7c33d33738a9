#pragma once

#include <QFile>
#include <QString>

#include <chrono>
#include <string>

// A long-term log that is whole whenever it is looked at: lines are
// gathered in memory and appended to the file in one write of whole lines
// at least once a second (FlushIfDue) and at every Flush, so a program that
// is killed loses at most the last second and never leaves half a line
// (the kernel copies one write into the file before a kill takes effect,
// except in the instant of the copy itself). Nothing is buffered below.
class LogFile {
public:
    static constexpr std::chrono::milliseconds FlushInterval{1000};

    // Makes the file anew, replacing one of the same name.
    bool Open(const QString& path);
    QString Error() const { return file_.errorString(); }

    // "# text" on a line of its own.
    void Comment(const std::string& text);
    // Whole lines, each ended by '\n'.
    std::string& Pending() { return pending_; }

    // Flushes when a second has passed since the last flush. False when the
    // file could not be written.
    bool FlushIfDue();
    bool Flush();

private:
    using Clock = std::chrono::steady_clock;

    QFile file_;
    std::string pending_;
    Clock::time_point flushed_;
};

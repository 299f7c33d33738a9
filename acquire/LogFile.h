#pragma once

#include <QFile>
#include <QString>

#include <chrono>
#include <cstddef>
#include <string>

// A long-term log that is whole whenever it is looked at, even after the
// program was killed: lines are gathered in memory and written at least once
// a second (FlushIfDue), as soon as WriteAhead bytes of whole blocks have
// gathered, and at every Flush, and no line ever straddles a boundary of
// the file's 4096-byte blocks. A line that would is moved to the
// next block, the rest of the block filled with a comment line of blanks
// ("#    "). A flush writes the rest of the block the file ends in by a
// write of its own, then everything after it by one more: the kernel
// copies a write a page at a time and looks for a fatal signal only between
// pages, which are the blocks here, so a killed program loses at most the
// last second and leaves no half line.
class LogFile {
public:
    static constexpr std::chrono::milliseconds FlushInterval{1000};
    static constexpr std::size_t BlockSize = 4096;
    static constexpr std::size_t WriteAhead = 64 * BlockSize;

    // Makes the file anew, replacing one of the same name.
    bool Open(const QString& path);
    QString Error() const { return file_.errorString(); }

    // "# text" on a line of its own.
    void Comment(const std::string& text);
    // Whole lines, each ended by '\n'.
    void Add(const std::string& lines);

    // Flushes when a second has passed since the last flush. False when the
    // file could not be written.
    bool FlushIfDue();
    bool Flush();
    // Flushes and closes; false when either failed.
    bool Close();

private:
    using Clock = std::chrono::steady_clock;

    // Ends the block with a comment of spaces, so that the next line begins
    // a block of its own.
    void Pad(std::size_t room);
    // Writes the first `bytes` of what is pending, which end a block or
    // everything pending.
    bool WritePending(std::size_t bytes);

    QFile file_;
    std::string pending_;
    std::size_t written_ = 0;  // bytes in the file
    std::size_t end_ = 0;      // bytes in the file and pending
    Clock::time_point flushed_;
};

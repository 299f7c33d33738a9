#include "LogFile.h"

#include <algorithm>
#include <cstring>
#include <string_view>

bool LogFile::Open(const QString& path)
{
    file_.setFileName(path);
    flushed_ = Clock::now();
    return file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

void LogFile::Comment(const std::string& text)
{
    Add("# " + text + '\n');
}

// A line that would cross into the next block (and is not longer than a
// block) begins that block; the lines between two paddings are appended
// together. Lines that end two bytes or more before the block does need
// nothing and are passed over at once: only the last line or two of each
// block are looked at one by one.
void LogFile::Add(const std::string& lines)
{
    const char* const text = lines.data();
    std::size_t start = 0;
    std::size_t unwritten = 0;
    while (start < lines.size()) {
        const std::size_t roomNow = BlockSize - end_ % BlockSize;
        if (roomNow > 2) {
            const std::size_t reach = std::min(lines.size() - start, roomNow - 2);
            const std::size_t last = std::string_view(text + start, reach).rfind('\n');
            if (last != std::string_view::npos) {
                end_ += last + 1;
                start += last + 1;
                continue;
            }
        }
        const auto* newline = static_cast<const char*>(std::memchr(text + start, '\n', lines.size() - start));
        const std::size_t end = newline == nullptr ? lines.size() : static_cast<std::size_t>(newline - text) + 1;
        const std::size_t length = end - start;
        const std::size_t room = BlockSize - end_ % BlockSize;
        // A single byte left could only hold an empty line: move on before that.
        if (length <= BlockSize && (length > room || length + 1 == room)) {
            pending_.append(text + unwritten, start - unwritten);
            unwritten = start;
            Pad(room);
        }
        end_ += length;
        start = end;
    }
    pending_.append(text + unwritten, lines.size() - unwritten);
}

void LogFile::Pad(std::size_t room)
{
    if (room >= 2) {
        pending_ += '#';
        pending_.append(room - 2, ' ');
    }
    pending_ += '\n';
    end_ += room;
}

// Between the flushes, whole blocks go out as soon as there are enough of
// them: written while they are still in the processor's cache, their copy
// into the system's cache costs a third of that of a second's worth at once.
// A quarter of a megabyte a write: the kernel spent nearly twice as long
// on the same rows written 64 KiB at a time.
bool LogFile::FlushIfDue()
{
    if (Clock::now() - flushed_ >= FlushInterval)
        return Flush();
    if (pending_.size() < WriteAhead)
        return true;
    const std::size_t head = (BlockSize - written_ % BlockSize) % BlockSize;
    return WritePending(head + (pending_.size() - head) / BlockSize * BlockSize);
}

bool LogFile::Close()
{
    const bool flushed = Flush();
    file_.unsetError();
    file_.close();
    return flushed && file_.error() == QFileDevice::NoError;
}

bool LogFile::Flush()
{
    flushed_ = Clock::now();
    return WritePending(pending_.size());
}

// The rest of the block the file ends in, then everything else at once:
// from a block's start, a write can only stop between blocks.
bool LogFile::WritePending(std::size_t bytes)
{
    bool written = true;
    for (std::size_t at = 0; written && at < bytes;) {
        const std::size_t piece =
            written_ % BlockSize == 0 ? bytes - at : std::min(bytes - at, BlockSize - written_ % BlockSize);
        written = file_.write(pending_.data() + at, static_cast<qint64>(piece)) == static_cast<qint64>(piece);
        at += piece;
        written_ += piece;
    }
    pending_.erase(0, bytes);
    if (!written) {
        pending_.clear();
        end_ = written_;
    }
    return written;
}

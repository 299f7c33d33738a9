#include "LogFile.h"

#include <algorithm>

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

void LogFile::Add(const std::string& lines)
{
    std::size_t start = 0;
    while (start < lines.size()) {
        const std::size_t newline = lines.find('\n', start);
        const std::size_t end = newline == std::string::npos ? lines.size() : newline + 1;
        Place(lines.data() + start, end - start);
        start = end;
    }
}

void LogFile::Place(const char* line, std::size_t length)
{
    const std::size_t room = BlockSize - end_ % BlockSize;
    // A single byte left could only hold an empty line: move on before that.
    if (length <= BlockSize && (length > room || length + 1 == room))
        Pad(room);
    pending_.append(line, length);
    end_ += length;
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

bool LogFile::FlushIfDue()
{
    if (Clock::now() - flushed_ < FlushInterval)
        return true;
    return Flush();
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
    bool written = true;
    for (std::size_t at = 0; written && at < pending_.size();) {
        const std::size_t piece = std::min(pending_.size() - at, BlockSize - written_ % BlockSize);
        written = file_.write(pending_.data() + at, static_cast<qint64>(piece)) == static_cast<qint64>(piece);
        at += piece;
        written_ += piece;
    }
    pending_.clear();
    end_ = written_;
    return written;
}

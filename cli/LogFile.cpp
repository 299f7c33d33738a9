#include "LogFile.h"

bool LogFile::Open(const QString& path)
{
    file_.setFileName(path);
    flushed_ = Clock::now();
    return file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
}

void LogFile::Comment(const std::string& text)
{
    pending_ += "# ";
    pending_ += text;
    pending_ += '\n';
}

bool LogFile::FlushIfDue()
{
    if (Clock::now() - flushed_ < FlushInterval)
        return true;
    return Flush();
}

bool LogFile::Flush()
{
    flushed_ = Clock::now();
    if (pending_.empty())
        return true;
    const qint64 size = static_cast<qint64>(pending_.size());
    const bool written = file_.write(pending_.data(), size) == size;
    pending_.clear();
    return written;
}

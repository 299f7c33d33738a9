#include "LineWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <charconv>
#include <cstring>

bool LineWriter::Open(const QString& fileName)
{
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        file_ = std::make_unique<QFile>(fileName);
    } else {
        auto saveFile = std::make_unique<QSaveFile>(fileName);
        // In a folder the user may not create files in, a file the user may
        // write is written in place rather than refused.
        saveFile->setDirectWriteFallback(true);
        file_ = std::move(saveFile);
    }
    return file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void LineWriter::Put(std::string_view text)
{
    while (!text.empty()) {
        if (used_ == BufferBytes)
            Flush();
        const std::size_t part = std::min(text.size(), BufferBytes - used_);
        std::memcpy(buffer_.get() + used_, text.data(), part);
        used_ += part;
        text.remove_prefix(part);
    }
}

void LineWriter::PutChar(char c)
{
    if (used_ == BufferBytes)
        Flush();
    buffer_[used_++] = c;
}

void LineWriter::PutInteger(std::int32_t value)
{
    if (BufferBytes - used_ < IntegerBytes)
        Flush();
    char* const end = buffer_.get() + BufferBytes;
    used_ = static_cast<std::size_t>(std::to_chars(buffer_.get() + used_, end, value).ptr - buffer_.get());
}

void LineWriter::EndLine()
{
    PutChar('\r');
    PutChar('\n');
}

void LineWriter::PutLine(std::string_view text)
{
    Put(text);
    EndLine();
}

bool LineWriter::Commit()
{
    Flush();
    if (auto* saveFile = qobject_cast<QSaveFile*>(file_.get())) {
        if (failed_)
            saveFile->cancelWriting();
        return saveFile->commit() && !failed_;
    }
    // A device is written unbuffered, so every failed write is already known.
    file_->close();
    return !failed_;
}

void LineWriter::Flush()
{
    if (!failed_ && used_ > 0) {
        const auto size = static_cast<qint64>(used_);
        failed_ = file_->write(buffer_.get(), size) != size;
    }
    used_ = 0;
}

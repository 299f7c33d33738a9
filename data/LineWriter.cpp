#include "LineWriter.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <charconv>

bool LineWriter::Open(const QString& fileName)
{
    const QFileInfo target(fileName);
    if (target.exists() && !target.isFile() && !target.isDir())
        file_ = std::make_unique<QFile>(fileName);
    else
        file_ = std::make_unique<QSaveFile>(fileName);
    buffer_.reserve(BufferBytes + 64);
    return file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
}

void LineWriter::Put(std::string_view text)
{
    buffer_.append(text);
    FlushIfFull();
}

void LineWriter::PutInteger(std::int32_t value)
{
    char digits[16];
    const auto result = std::to_chars(digits, digits + sizeof digits, value);
    Put(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void LineWriter::EndLine()
{
    Put("\r\n");
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

void LineWriter::FlushIfFull()
{
    if (buffer_.size() >= BufferBytes)
        Flush();
}

void LineWriter::Flush()
{
    if (!failed_ && !buffer_.empty()) {
        const auto size = static_cast<qint64>(buffer_.size());
        failed_ = file_->write(buffer_.data(), size) != size;
    }
    buffer_.clear();
}

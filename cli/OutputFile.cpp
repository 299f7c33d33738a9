#include "OutputFile.h"

#include "Console.h"

#include <QSaveFile>

#include <cstdio>
#include <string>

namespace {

bool WriteOut(const char* data, std::size_t size)
{
    const bool written = std::fwrite(data, 1, size, stdout) == size && std::fflush(stdout) == 0;
    if (!written)
        Console::Err(QStringLiteral("korvadex-cli: cannot write standard output"));
    return written;
}

bool WriteFile(const QString& path, const char* data, std::size_t size)
{
    QSaveFile file(path);
    const bool written = file.open(QIODevice::WriteOnly)
                         && file.write(data, static_cast<qint64>(size)) == static_cast<qint64>(size)
                         && file.commit();
    if (!written)
        Console::Err(QStringLiteral("korvadex-cli: cannot write %1: %2").arg(path, file.errorString()));
    return written;
}

bool IsStandardOutput(const QString& path)
{
    return path.isEmpty() || path == QLatin1String("-");
}

bool WriteBytes(const QString& path, const char* data, std::size_t size)
{
    if (IsStandardOutput(path))
        return WriteOut(data, size);
    return WriteFile(path, data, size);
}

} // namespace

bool OutputFile::Write(const QString& path, const QByteArray& bytes)
{
    return WriteBytes(path, bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool OutputFile::WriteText(const QString& path, const std::string& text)
{
    return WriteBytes(path, text.data(), text.size());
}

OutputFile::OutputFile(const QString& path)
    : path_(path)
{
    if (IsStandardOutput(path))
        return;
    file_ = std::make_unique<QSaveFile>(path);
    if (!file_->open(QIODevice::WriteOnly))
        Failed();
}

OutputFile::~OutputFile() = default;

bool OutputFile::Failed()
{
    if (!failed_)
        Console::Err(QStringLiteral("korvadex-cli: cannot write %1: %2").arg(path_, file_->errorString()));
    failed_ = true;
    return false;
}

bool OutputFile::Append(const std::string& text)
{
    if (failed_)
        return false;
    if (!file_) {
        failed_ = !WriteOut(text.data(), text.size());
        return !failed_;
    }
    return file_->write(text.data(), static_cast<qint64>(text.size())) == static_cast<qint64>(text.size()) || Failed();
}

bool OutputFile::Commit()
{
    if (failed_)
        return false;
    return !file_ || file_->commit() || Failed();
}

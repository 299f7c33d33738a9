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

bool WriteBytes(const QString& path, const char* data, std::size_t size)
{
    if (path.isEmpty() || path == QLatin1String("-"))
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

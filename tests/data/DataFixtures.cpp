#include "DataFixtures.h"

#include <QDir>

#include <fstream>
#include <iterator>

QString TempFolder::Path(const QString& name) const
{
    return dir_.filePath(name);
}

void TempFolder::Write(const QString& name, const std::string& bytes) const
{
    std::ofstream out(Path(name).toStdString(), std::ios::binary);
    out << bytes;
}

std::string TempFolder::Read(const QString& name) const
{
    std::ifstream in(Path(name).toStdString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

QStringList TempFolder::Entries() const
{
    return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

std::string WithCrLf(const std::string& text)
{
    std::string result;
    for (const char c : text) {
        if (c == '\n')
            result += '\r';
        result += c;
    }
    return result;
}

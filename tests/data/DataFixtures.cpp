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

SampleArrays::SampleArrays()
    : Codes0(SampleCapacity)
    , Codes1(SampleCapacity)
    , Microvolts0(SampleCapacity)
    , Microvolts1(SampleCapacity)
    , Ch0{0, Codes0.data(), Microvolts0.data()}
    , Ch1{0, Codes1.data(), Microvolts1.data()}
{
}

bool ScriptedPrompt::AskYesNo(const QString& caption, const QString& text)
{
    ++Asked;
    Caption = caption;
    Text = text;
    return Answer;
}

#include "BenchServices.h"

#include <cstdio>
#include <utility>

void PrintedBoxes::ShowError(const QString& caption, const QString& text)
{
    std::printf("box: %s: %s\n", caption.toUtf8().constData(), text.toUtf8().constData());
    ++count;
}

bool Yes::AskYesNo(const QString&, const QString&)
{
    return true;
}

OneFile::OneFile(QString path)
    : path_(std::move(path))
{
}

QString OneFile::ChooseSavePath(const QString&, const QString&)
{
    return path_;
}

QString OneFile::ChooseOpenPath(const QString&, const QString&)
{
    return path_;
}

#include "Console.h"

#include <QByteArray>

#include <cstdio>

namespace {

bool lineOpen = false;
qsizetype openLength = 0;

void Write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stream);
    std::fflush(stream);
}

} // namespace

void Console::Out(const QString& line)
{
    EndOpenLine();
    Write(stdout, line + QLatin1Char('\n'));
}

void Console::Err(const QString& line)
{
    EndOpenLine();
    Write(stderr, line + QLatin1Char('\n'));
}

void Console::ErrOpen(const QString& text)
{
    Write(stderr, text);
    lineOpen = true;
    openLength = text.size();
}

void Console::EndOpenLine()
{
    if (!lineOpen)
        return;
    lineOpen = false;
    Write(stderr, QStringLiteral("\n"));
}

void Console::EraseOpenLine()
{
    if (!lineOpen)
        return;
    lineOpen = false;
    Write(stderr, QLatin1Char('\r') + QString(openLength, QLatin1Char(' ')) + QLatin1Char('\r'));
}

#include "Console.h"

#include <QByteArray>

#include <cstdio>
#include <mutex>

namespace {

// Boards tested side by side write from threads of their own: a line goes
// out whole, and the open line's state changes with it.
std::recursive_mutex consoleLock;
bool lineOpen = false;
qsizetype openLength = 0;
bool outLost = false;

void Write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    const auto size = static_cast<std::size_t>(bytes.size());
    const bool written = std::fwrite(bytes.constData(), 1, size, stream) == size && std::fflush(stream) == 0;
    if (!written && stream == stdout)
        outLost = true;
}

} // namespace

void Console::Out(const QString& line)
{
    const std::lock_guard<std::recursive_mutex> hold(consoleLock);
    EndOpenLine();
    Write(stdout, line + QLatin1Char('\n'));
}

bool Console::OutLost()
{
    const std::lock_guard<std::recursive_mutex> hold(consoleLock);
    return outLost;
}

void Console::Err(const QString& line)
{
    const std::lock_guard<std::recursive_mutex> hold(consoleLock);
    EndOpenLine();
    Write(stderr, line + QLatin1Char('\n'));
}

void Console::ErrOpen(const QString& text)
{
    const std::lock_guard<std::recursive_mutex> hold(consoleLock);
    Write(stderr, text);
    lineOpen = true;
    openLength = text.size();
}

void Console::EndOpenLine()
{
    const std::lock_guard<std::recursive_mutex> hold(consoleLock);
    if (!lineOpen)
        return;
    lineOpen = false;
    Write(stderr, QStringLiteral("\n"));
}

void Console::EraseOpenLine()
{
    const std::lock_guard<std::recursive_mutex> hold(consoleLock);
    if (!lineOpen)
        return;
    lineOpen = false;
    Write(stderr, QLatin1Char('\r') + QString(openLength, QLatin1Char(' ')) + QLatin1Char('\r'));
}

#pragma once

#include <QByteArray>
#include <QString>

#include <string>

// Writes what a command made: to standard output for "" or "-", else to
// the file, which is replaced whole or not at all (a failed write leaves
// what was there). A failure is told on standard error.
class OutputFile {
public:
    static bool Write(const QString& path, const QByteArray& bytes);
    static bool WriteText(const QString& path, const std::string& text);
};

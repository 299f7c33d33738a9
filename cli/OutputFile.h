#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <string>

class QSaveFile;

// Writes what a command made: to standard output for "" or "-", else to
// the file, which is replaced whole or not at all (a failed write leaves
// what was there). A failure is told on standard error.
class OutputFile {
public:
    static bool Write(const QString& path, const QByteArray& bytes);
    static bool WriteText(const QString& path, const std::string& text);

    // The same a piece at a time, for output too long to hold: standard
    // output as it comes; a file written aside and put in place by Commit.
    explicit OutputFile(const QString& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    bool Append(const std::string& text);
    bool Commit();

private:
    bool Failed();

    QString path_;
    std::unique_ptr<QSaveFile> file_;
    bool failed_ = false;
};

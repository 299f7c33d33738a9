#pragma once

#include "GuardName.h"

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// What a second copy prints when it finds the first.
inline const char* const Notice = "notice|KORVADEX|KORVADEX はすでに起動しています";

// A copy of the program's start-up (the test harness, with boxes printed
// instead of shown) run as a process of its own against a guard folder, for
// the single-instance tests.
class Copy {
public:
    explicit Copy(const QString& folder, const QString& mode = QString());
    ~Copy();
    Copy(const Copy&) = delete;
    Copy& operator=(const Copy&) = delete;

    // Waits until the copy has printed line; false if it ended or took too long.
    bool Says(const QString& line);
    // Waits for the copy to end and returns its exit code (-1: it did not).
    int ExitCode();
    void Crash();
    QStringList Lines() const;

private:
    void Collect();
    QString OutputPath() const;

    const QTemporaryDir output_;
    QProcess process_;
    QByteArray lines_;
};

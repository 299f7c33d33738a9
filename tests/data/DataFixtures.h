#pragma once

#include "DataDoubles.h"

#include <QString>
#include <QTemporaryDir>

#include <string>

// A folder of its own for each test, removed with it; files go in and come
// out as raw bytes.
class TempFolder {
public:
    QString Path(const QString& name) const;
    void Write(const QString& name, const std::string& bytes) const;
    std::string Read(const QString& name) const;
    QStringList Entries() const;

private:
    QTemporaryDir dir_;
};

// Ends every line of text (written with "\n") with CR LF.
std::string WithCrLf(const std::string& text);

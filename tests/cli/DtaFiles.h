#pragma once

#include "ChannelData.h"
#include "MeasureSettings.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <vector>

// Data files for the tests, in a folder of their own that goes with the object.
class DtaFiles {
public:
    QString Path(const QString& name) const;
    // A file as the window writes it: header, the settings block, the data
    // lines given (one code, or "ch0,ch1") and "DEND:".
    QString Write(const QString& name, const MeasureSettings& settings, const QStringList& dataLines) const;
    // Any text, for malformed files.
    QString WriteText(const QString& name, const QByteArray& text) const;

private:
    QTemporaryDir dir_;
};

// A file read back with the data class, as the window would load it.
struct LoadedRun {
    bool Ok = false;
    MeasureSettings Settings;
    std::vector<std::int32_t> Ch0;
    std::vector<std::int32_t> Ch1;
};
LoadedRun LoadDta(const QString& path);

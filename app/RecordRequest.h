#pragma once

#include "MeasureSettings.h"

#include <QString>
#include <QStringList>

// A recording as the record dialog asks for it, and the companion's log
// command that takes it: the window records through the same log session
// as `korvadex-cli log`, in a process of its own, so that nothing of it is
// written twice and the window reads the growing file as any reader does.
struct RecordRequest {
    enum class Length { Seconds, Runs, UntilStopped };

    QString Path;               // ".h5" for HDF5, any other name for text
    MeasureSettings Settings;   // rate, channel and filter; runs are of the largest count
    Length Until = Length::UntilStopped;
    double Seconds = 3600.0;
    int Runs = 10;
    bool Reconnect = true;      // waits for the board for ever
    QString PublishUrl;         // mqtt://HOST[:PORT]/PREFIX or influx-file:PATH; empty: none
    QString MqttUser;
    QString MqttPasswordFile;
    QString BoardSerial;        // the board chosen among several; empty: the only one

    // "log --rate 16 ... -o PATH --force --stop-with-stdin ...": the file has
    // been agreed to be replaced, and the end of the companion's input stops
    // the log as Ctrl-C does.
    QStringList CompanionWords() const;
};

#pragma once

#include "RecordRequest.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QString>

// A recording from the window: the companion's log command, run in a
// process of its own with the request's words. Stop ends it as Ctrl-C ends
// the companion's, by closing its input, so the log is closed whole; a
// window that goes, or dies, stops it the same way.
class Recorder : public QObject {
    Q_OBJECT
public:
    // The companion: $KORVADEX_CLI, else korvadex-cli beside the program,
    // else the build tree's own.
    static QString Companion();

    explicit Recorder(QObject* parent = nullptr);
    // Stops a recording still going and waits for its end.
    ~Recorder() override;

    // False with the reason when the companion cannot be started.
    bool Start(const RecordRequest& request, QString& error);
    void Stop();
    bool Recording() const;
    // Waits up to `ms` for the recording to end; true when it has.
    bool WaitForEnd(int ms);
    const RecordRequest& Request() const { return request_; }
    qint64 ElapsedMs() const { return elapsed_.isValid() ? elapsed_.elapsed() : 0; }

signals:
    // `done` when the log ended by its limit or by Stop; `said` is the
    // companion's last words: its summary line, or why it failed.
    void Ended(bool done, const QString& said);

private:
    void Finished(int exitCode, QProcess::ExitStatus status);

    QProcess process_;
    RecordRequest request_;
    QElapsedTimer elapsed_;
};

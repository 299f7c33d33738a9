#pragma once

#include "RunNotices.h"

#include <QString>
#include <QStringList>

#include <utility>

// The window's error boxes and the run's remarks kept rather than shown:
// the latest box (after its subject, as the companion prints it) becomes the
// message of the exception raised in Python; nothing reaches standard error.
class KeptNotices : public RunNotices {
public:
    void ShowError(const QString& caption, const QString& text) override;
    void Tell(const QString& line) override;
    void SetSubject(const QString& subject) override { subject_ = subject; }

    QString LatestBox() const { return latestBox_; }
    // The remarks and status texts told since the last take.
    QStringList TakeRemarks() { return std::exchange(remarks_, QStringList()); }

private:
    QString subject_;
    QString latestBox_;
    QStringList remarks_;
};

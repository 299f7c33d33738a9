#pragma once

#include "ConfirmPrompt.h"
#include "FileChooser.h"
#include "MessagePresenter.h"

#include <QString>

// What a benchmarked window is given instead of a person: its boxes printed
// and counted, every question answered yes, every file dialog one path.

class PrintedBoxes : public MessagePresenter {
public:
    void ShowError(const QString& caption, const QString& text) override;
    int count = 0;
};

class Yes : public ConfirmPrompt {
public:
    bool AskYesNo(const QString& caption, const QString& text) override;
};

class OneFile : public FileChooser {
public:
    explicit OneFile(QString path);
    QString ChooseSavePath(const QString& filter, const QString& initialName) override;
    QString ChooseOpenPath(const QString& filter, const QString& initialName) override;

private:
    QString path_;
};

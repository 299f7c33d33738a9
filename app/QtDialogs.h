#pragma once

#include "BoardChooser.h"
#include "ConfirmPrompt.h"
#include "FileChooser.h"
#include "MessagePresenter.h"

#include <QStringList>

// The boxes and dialogs the program shows a person, with Qt's own widgets.
// Each waits until the operator has answered.

// An error box with no owner window, the error icon and OK only.
class QtMessageBox : public MessagePresenter {
public:
    void ShowError(const QString& caption, const QString& text) override;
};

// A question box with no owner window and the buttons "はい(&Y)" and "いいえ(&N)".
class QtConfirmBox : public ConfirmPrompt {
public:
    bool AskYesNo(const QString& caption, const QString& text) override;
};

// Qt's file dialogs over the active window. The save dialog asks nothing
// about overwriting: the data file does that itself.
class QtFileDialogs : public FileChooser {
public:
    QString ChooseSavePath(const QString& filter, const QString& initialName) override;
    QString ChooseOpenPath(const QString& filter, const QString& initialName) override;
};

// A list of the attached devices, each by its serial number and description,
// over the active window.
class QtBoardChooser : public BoardChooser {
public:
    QString ChooseBoard(const std::vector<FtdiDevice>& devices, const QString& current) override;
};

// "Data files (*.DTA)|*.DTA" as Qt writes it: one entry per pair, the pattern
// in brackets after the description unless the description already shows it.
QStringList QtNameFilters(const QString& filter);

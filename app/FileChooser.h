#pragma once

#include <QString>

// The Save and Load commands' file dialogs. A filter is written as pairs of
// description and pattern joined by "|" ("Data files (*.DTA)|*.DTA"). Each
// call returns the chosen path, or an empty text when the operator cancels.
// The program supplies the Qt dialogs; the tests a scripted choice.
class FileChooser {
public:
    virtual ~FileChooser() = default;
    virtual QString ChooseSavePath(const QString& filter, const QString& initialName) = 0;
    virtual QString ChooseOpenPath(const QString& filter, const QString& initialName) = 0;
};

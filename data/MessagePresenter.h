#pragma once

#include <QString>

// Shows one error box (no owner window, error icon, OK only) and returns when
// the operator has closed it. The window supplies the Qt one; the tests a
// recorder.
class MessagePresenter {
public:
    virtual ~MessagePresenter() = default;
    virtual void ShowError(const QString& caption, const QString& text) = 0;
};

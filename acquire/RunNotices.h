#pragma once

#include "MessagePresenter.h"

#include <QString>

// Where the window's error boxes and status texts go when there is no
// window: the companion prints them on standard error, a script's binding
// keeps them for the error it raises. The board run and the file loader
// print nothing themselves.
class RunNotices : public MessagePresenter {
public:
    // A status panel's text, or a remark such as a stalled stream.
    virtual void Tell(const QString& line) = 0;
    // The boxes that follow concern this (a file); empty for none.
    virtual void SetSubject(const QString& subject) = 0;
};

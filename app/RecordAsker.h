#pragma once

#include "RecordRequest.h"

#include <optional>

// The record dialog as the main window asks it: what to record, starting
// from `proposal` (the last request, or the window's settings); nothing
// when the operator cancels. The program supplies the dialog; the tests a
// scripted request.
class RecordAsker {
public:
    virtual ~RecordAsker() = default;
    virtual std::optional<RecordRequest> AskRecord(const RecordRequest& proposal) = 0;
};

#include "ForcePrompt.h"

ForcePrompt::ForcePrompt(bool force)
    : force_(force)
{
}

bool ForcePrompt::AskYesNo(const QString&, const QString&)
{
    declined_ = declined_ || !force_;
    return force_;
}

#include "WindowTexts.h"

WindowTexts::WindowTexts(RunNotices& notices)
    : notices_(notices)
    , messages_(notices, QStringLiteral("KORVADEX"), "KORVADEX Board")
    , status_(panels_, QStringLiteral("KORVADEX Board"), InfoPanel)
{
}

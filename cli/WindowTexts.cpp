#include "WindowTexts.h"

#include "Console.h"

WindowTexts::WindowTexts()
    : messages_(console_, QStringLiteral("KORVADEX"), "KORVADEX Board")
    , status_(panels_, QStringLiteral("KORVADEX Board"), InfoPanel)
{
}

void WindowTexts::PrintPanel(int panel) const
{
    Console::Err(Panel(panel));
}

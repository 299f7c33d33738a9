#include "SystemFonts.h"

void SystemFonts::ShowToOffscreenPlatform()
{
    // fontconfig finds the fonts by itself.
}

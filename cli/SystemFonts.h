#pragma once

// Where the off-screen platform finds the system's fonts. On Linux it asks
// fontconfig; on Windows it reads one folder only, QT_QPA_FONTDIR, so that
// must name the system's font folder before the application is made, or
// every caption of plot and report is drawn as empty boxes.
// Platform code: SystemFonts_posix.cpp, SystemFonts_win.cpp.
class SystemFonts {
public:
    // Leaves a folder the caller chose alone.
    static void ShowToOffscreenPlatform();
};

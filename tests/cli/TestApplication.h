#pragma once

// The one QApplication of a test program, made on first use: the label
// tests compare with real label widgets, the process tests need an
// application for QProcess.
void EnsureTestApplication();

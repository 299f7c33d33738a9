#pragma once

// The link's waits run Qt's event loop and timer: tests that drive the board
// through TADC call this first (it makes one application for the process).
void EnsureQtApplication();

#pragma once

class GuardedApplication;

// The program as an operator starts it: the D2XX driver loaded, the Qt
// boxes and the board chooser handed to the start-up, the guard in its
// usual folder, and the window's event loop to its end.
int RunWindowProgram(GuardedApplication& application);

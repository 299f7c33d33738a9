#pragma once

#include "D2xx.h"

#include <memory>

// The D2XX driver the program uses, never null. Tried in order: FTDI's own
// library (libftd2xx.so, then libftd2xx.so.1; FTD2XX.DLL on Windows), the
// libftdi driver when the build has it, and last a driver that finds no
// device, so a missing library looks exactly like a board that is not
// attached.
std::unique_ptr<D2xx> LoadD2xx();

// FTDI's library at `path`; null when it cannot be loaded or lacks any of the
// seven functions.
std::unique_ptr<D2xx> LoadD2xxLibrary(const char* path);

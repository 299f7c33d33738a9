#pragma once

#include "D2xx.h"

#include <functional>
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

// The loader's search, one place at a time: FTDI's library under each of its
// names, then libftdi when the build has it. `visit` gets the place's name
// ("libftd2xx.so", "libftdi") and the driver found there, null when none, and
// returns true to end the search.
using D2xxVisit = std::function<bool(const char* place, std::unique_ptr<D2xx>& driver)>;
void SearchD2xx(const D2xxVisit& visit);

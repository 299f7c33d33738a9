#pragma once

#include "D2xx.h"

#include <memory>

// What the module korvadex-ftdi hands out: the libftdi driver for machines
// without FTDI's own library. libftdi1, libusb and udev load with the
// module, when no vendor library is found and a command looks for a board.
struct FtdiModuleEntries {
    std::unique_ptr<D2xx> (*NewDriver)();
};

class FtdiModule {
public:
    // The libftdi driver; null when the build has none or its module cannot
    // be loaded.
    static std::unique_ptr<D2xx> NewDriver();
};

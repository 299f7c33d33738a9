#include "FtdiD2xx.h"
#include "FtdiModule.h"
#include "ProgramModule.h"

// The module korvadex-ftdi: the D2XX functions on libftdi1 and libusb.

namespace {

const FtdiModuleEntries entries{CreateFtdiD2xx};

} // namespace

KORVADEX_MODULE_ENTRIES(entries)

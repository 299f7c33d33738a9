#include "FtdiModule.h"

#include "ProgramModule.h"

#include <string>

std::unique_ptr<D2xx> FtdiModule::NewDriver()
{
#ifdef KORVADEX_HAVE_LIBFTDI
    std::string error;
    const auto* entries = ProgramModule::Load<FtdiModuleEntries>("ftdi", error);
    return entries == nullptr ? nullptr : entries->NewDriver();
#else
    return nullptr;
#endif
}

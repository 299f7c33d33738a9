#include "D2xxLoader.h"

#include "DetachedD2xx.h"
#include "FtdiModule.h"
#include "VendorD2xx.h"

#include <vector>

namespace {

// The names FTDI's library is installed under, in the order tried.
std::vector<const char*> D2xxLibraryNames()
{
#ifdef _WIN32
    return {"FTD2XX.DLL"};
#else
    return {"libftd2xx.so", "libftd2xx.so.1"};
#endif
}

} // namespace

std::unique_ptr<D2xx> LoadD2xxLibrary(const char* path)
{
    return VendorD2xx::Load(path);
}

void SearchD2xx(const D2xxVisit& visit)
{
    for (const char* name : D2xxLibraryNames()) {
        auto vendor = LoadD2xxLibrary(name);
        if (visit(name, vendor)) {
            return;
        }
    }
#ifdef KORVADEX_HAVE_LIBFTDI
    auto ftdi = FtdiModule::NewDriver();
    visit("libftdi", ftdi);
#endif
}

std::unique_ptr<D2xx> LoadD2xx()
{
    std::unique_ptr<D2xx> found;
    SearchD2xx([&found](const char*, std::unique_ptr<D2xx>& driver) {
        found = std::move(driver);
        return found != nullptr;
    });
    if (found == nullptr) {
        found = std::make_unique<DetachedD2xx>();
    }
    return found;
}

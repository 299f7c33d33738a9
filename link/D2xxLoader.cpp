#include "D2xxLoader.h"

#include "DetachedD2xx.h"
#include "FtdiModule.h"
#include "SharedLibrary.h"
#include "VendorD2xx.h"

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

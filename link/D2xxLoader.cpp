#include "D2xxLoader.h"

#include "DetachedD2xx.h"
#include "SharedLibrary.h"
#include "VendorD2xx.h"

#ifdef KORVADEX_HAVE_LIBFTDI
#include "ftdi/FtdiD2xx.h"
#endif

std::unique_ptr<D2xx> LoadD2xxLibrary(const char* path)
{
    return VendorD2xx::Load(path);
}

std::unique_ptr<D2xx> LoadD2xx()
{
    for (const char* name : D2xxLibraryNames()) {
        if (auto vendor = LoadD2xxLibrary(name)) {
            return vendor;
        }
    }
#ifdef KORVADEX_HAVE_LIBFTDI
    if (auto ftdi = CreateFtdiD2xx()) {
        return ftdi;
    }
#endif
    return std::make_unique<DetachedD2xx>();
}

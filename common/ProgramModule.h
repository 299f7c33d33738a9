#pragma once

#include <cstring>
#include <string>

// A module of the program's own: a part with heavy libraries behind it
// (HDF5, libmosquitto, libftdi1, Qt Gui) built as a shared library of its
// own, "korvadex-NAME.so" or "korvadex-NAME.dll", and loaded on first use.
// A command thus loads only the libraries it needs: HDF5 alone brings some
// fifty, which cost a command that never opens an HDF5 log most of its
// start-up.
//
// A program finds its modules beside itself (Windows), where the installed
// programs keep them (lib/korvadex), or in the build tree; the variable
// KORVADEX_MODULE_PATH names another folder. No run path is involved: the
// loader searches nothing more for the program's ordinary libraries.
// A module, once loaded, stays loaded to the end of the process, so that
// what it made may live as long as its owner likes.
class ProgramModule {
public:
    // The table of entries module `name` hands out, or null with the
    // reason in `error`: not found, not loadable, or of another version.
    template <class Entries>
    static const Entries* Load(const char* name, std::string& error)
    {
        return static_cast<const Entries*>(LoadEntries(name, error));
    }

private:
    static const void* LoadEntries(const char* name, std::string& error);
};

// A module's one export: its table of entries, for a program of the
// module's own version only.
#ifdef _WIN32
#define KORVADEX_MODULE_EXPORT __declspec(dllexport)
#else
#define KORVADEX_MODULE_EXPORT __attribute__((visibility("default")))
#endif
#define KORVADEX_MODULE_ENTRIES(table)                                                            \
    extern "C" KORVADEX_MODULE_EXPORT const void* korvadex_module_entries(const char* version)     \
    {                                                                                             \
        return std::strcmp(version, KORVADEX_VERSION) == 0 ? static_cast<const void*>(&(table)) : nullptr; \
    }

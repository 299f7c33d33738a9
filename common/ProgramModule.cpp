#include "ProgramModule.h"

#include "SharedLibrary.h"

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

namespace {

struct LoadedModule {
    std::unique_ptr<SharedLibrary> Library;
    const void* Entries = nullptr;
    std::string Error;
};

// Where a module may be, in order: the folder the operator names; beside
// the program (Windows, and a program copied with its modules); where the
// installed programs keep them; where the installed Python package finds
// them; the build tree's own.
std::vector<std::string> ModuleFolders()
{
    const char* named = std::getenv("KORVADEX_MODULE_PATH");
    if (named != nullptr && *named != '\0')
        return {named};
    static const char anchor = 0;
    const std::string own = SharedLibrary::FolderOf(&anchor);
    std::vector<std::string> folders;
    if (!own.empty()) {
        folders.push_back(own);
        folders.push_back(own + "/" KORVADEX_MODULE_DIR_FROM_PROGRAMS);
    }
    folders.push_back(KORVADEX_INSTALLED_MODULE_DIR);
    folders.push_back(KORVADEX_BUILD_MODULE_DIR);
    return folders;
}

bool Exists(const std::string& path)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file != nullptr)
        std::fclose(file);
    return file != nullptr;
}

LoadedModule LoadModule(const char* name)
{
    using EntriesFunction = const void* (*)(const char* version);
    LoadedModule module;
    const std::string file = std::string("korvadex-") + name + SharedLibrary::Suffix();
    std::string path;
    std::string searched;
    for (const std::string& folder : ModuleFolders()) {
        if (Exists(folder + "/" + file)) {
            path = folder + "/" + file;
            break;
        }
        searched += (searched.empty() ? "" : ", ") + folder;
    }
    if (path.empty()) {
        module.Error = "the program's module " + file + " is not in " + searched;
        return module;
    }
    std::string reason;
    module.Library = SharedLibrary::Open(path.c_str(), &reason);
    if (module.Library == nullptr) {
        module.Error = "the program's module " + path + " cannot be loaded (" + reason + ")";
        return module;
    }
    const auto entries = reinterpret_cast<EntriesFunction>(module.Library->FindByName("korvadex_module_entries"));
    module.Entries = entries == nullptr ? nullptr : entries(KORVADEX_VERSION);
    if (module.Entries == nullptr)
        module.Error = "the program's module " + path + " is not of this program's version " KORVADEX_VERSION;
    return module;
}

} // namespace

const void* ProgramModule::LoadEntries(const char* name, std::string& error)
{
    // Never freed: a module stays loaded while anything it made may live.
    static auto* modules = new std::map<std::string, LoadedModule>;
    static std::mutex mutex;
    const std::lock_guard<std::mutex> lock(mutex);
    auto [place, added] = modules->try_emplace(name);
    if (added)
        place->second = LoadModule(name);
    error = place->second.Error;
    return place->second.Entries;
}

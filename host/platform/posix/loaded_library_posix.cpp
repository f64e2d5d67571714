#include "host/loaded_library.h"

#include <dlfcn.h>
#include <link.h>

namespace vr58::host {

std::unique_ptr<LoadedLibrary> LoadedLibrary::open(const std::string& path, std::string& error) {
    dlerror();
    // RTLD_LOCAL keeps two plug-ins' symbols apart; RTLD_NOW reports missing dependencies here, not later.
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = why ? why : "cannot load the library";
        // The loader starts its message with the path, which the caller already reports.
        const std::string prefix = path + ": ";
        if (error.compare(0, prefix.size(), prefix) == 0) error.erase(0, prefix.size());
        return nullptr;
    }
    return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(handle));
}

LoadedLibrary::~LoadedLibrary() {
    dlclose(handle_);
}

void* LoadedLibrary::symbol(const char* name) const {
    void* address = dlsym(handle_, name);
    if (!address) return nullptr;
    // dlsym also searches the library's dependencies; an export such as "main" must come from this file.
    Dl_info info{};
    link_map* map = nullptr;
    if (dladdr(address, &info) == 0 || dlinfo(handle_, RTLD_DI_LINKMAP, &map) != 0 || !map) return nullptr;
    Dl_info own{};
    if (dladdr(reinterpret_cast<void*>(map->l_ld), &own) == 0 || own.dli_fbase != info.dli_fbase)
        return nullptr;
    return address;
}

} // namespace vr58::host

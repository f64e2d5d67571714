// The one operating-system seam of the host: load a shared library, look up exports, unload it.
// One implementation per platform, chosen by CMake.
#pragma once

#include <memory>
#include <string>

namespace vr58::host {

class LoadedLibrary {
public:
    // Null with error set to the system's reason when the file cannot be loaded as a library.
    static std::unique_ptr<LoadedLibrary> open(const std::string& path, std::string& error);
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    // An export of this library only (never one of the executable or of other libraries), or null.
    void* symbol(const char* name) const;

private:
    explicit LoadedLibrary(void* handle) : handle_(handle) {}
    void* handle_;
};

} // namespace vr58::host

#include "host/loaded_library.h"

#include <windows.h>

namespace vr58::host {

namespace {
std::string lastErrorText() {
    const DWORD code = GetLastError();
    char* message = nullptr;
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, code, 0, reinterpret_cast<LPSTR>(&message), 0, nullptr);
    std::string text = length ? std::string(message, length) : "Windows error " + std::to_string(code);
    if (message) LocalFree(message);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    return text;
}
} // namespace

std::unique_ptr<LoadedLibrary> LoadedLibrary::open(const std::string& path, std::string& error) {
    // No error dialog boxes for a bad binary: the caller reports the failure itself.
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
    // LoadLibraryA wants backslashes in a path; with forward slashes it may search elsewhere.
    std::string native = path;
    for (char& c : native)
        if (c == '/') c = '\\';
    HMODULE module = LoadLibraryA(native.c_str());
    if (!module) error = lastErrorText();
    SetErrorMode(previous);
    if (!module) return nullptr;
    return std::unique_ptr<LoadedLibrary>(new LoadedLibrary(module));
}

LoadedLibrary::~LoadedLibrary() {
    FreeLibrary(static_cast<HMODULE>(handle_));
}

void* LoadedLibrary::symbol(const char* name) const {
    // GetProcAddress searches this module's export table only.
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

} // namespace vr58::host

// A Windows DLL reaches the C runtime's heap through its import table: the entries for malloc, calloc,
// realloc and free of each attached plug-in are pointed at counting stand-ins that hand on to the
// runtime's functions.
#include "allocation_watch.h"

#include <windows.h>

#include <cstring>

namespace vr58::validate::allocations {
namespace {
thread_local bool tWatching = false;
thread_local long tHeapCalls = 0;

using Malloc = void*(__cdecl*)(size_t);
using Calloc = void*(__cdecl*)(size_t, size_t);
using Realloc = void*(__cdecl*)(void*, size_t);
using Free = void(__cdecl*)(void*);
// The runtime's functions as the first attached plug-in imported them (all our builds share msvcrt).
Malloc realMalloc = nullptr;
Calloc realCalloc = nullptr;
Realloc realRealloc = nullptr;
Free realFree = nullptr;

inline void count() {
    if (tWatching) ++tHeapCalls;
}
void* __cdecl countingMalloc(size_t size) {
    count();
    return realMalloc(size);
}
void* __cdecl countingCalloc(size_t n, size_t size) {
    count();
    return realCalloc(n, size);
}
void* __cdecl countingRealloc(void* p, size_t size) {
    count();
    return realRealloc(p, size);
}
void __cdecl countingFree(void* p) {
    if (p) count();
    realFree(p);
}

template <typename Fn> void* reroute(ULONG_PTR current, Fn& real, Fn replacement) {
    if (current == reinterpret_cast<ULONG_PTR>(replacement)) return nullptr; // attached before
    if (!real) real = reinterpret_cast<Fn>(current);
    return reinterpret_cast<void*>(replacement);
}

void* replacementFor(const char* name, ULONG_PTR current) {
    if (std::strcmp(name, "malloc") == 0) return reroute(current, realMalloc, &countingMalloc);
    if (std::strcmp(name, "calloc") == 0) return reroute(current, realCalloc, &countingCalloc);
    if (std::strcmp(name, "realloc") == 0) return reroute(current, realRealloc, &countingRealloc);
    if (std::strcmp(name, "free") == 0) return reroute(current, realFree, &countingFree);
    return nullptr;
}
} // namespace

bool available() {
    return true;
}

void attach(host::HostedPlugin& plugin) {
    HMODULE module = nullptr;
    if (!plugin.effect() ||
        !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(plugin.effect()->dispatcher), &module))
        return;
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
         library->Name; ++library) {
        const DWORD namesAt = library->OriginalFirstThunk ? library->OriginalFirstThunk : library->FirstThunk;
        auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + namesAt);
        auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            const auto* byName =
                reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            void* replacement =
                replacementFor(reinterpret_cast<const char*>(byName->Name), slots->u1.Function);
            if (!replacement) continue;
            DWORD protection = 0;
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &protection);
            slots->u1.Function = reinterpret_cast<ULONG_PTR>(replacement);
            VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, protection, &protection);
        }
    }
}

void begin() {
    tHeapCalls = 0;
    tWatching = true;
}

long end() {
    tWatching = false;
    return tHeapCalls;
}

} // namespace vr58::validate::allocations

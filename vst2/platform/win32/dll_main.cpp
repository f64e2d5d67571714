#include "vst2/platform/module_handle.h"

#include <windows.h>

// Called by the Windows loader on every attach and detach; the toolkit needs the handle for its window
// class and resource lookups.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD /*reason*/, LPVOID /*reserved*/) {
    vr58::moduleHandle = instance;
    return TRUE;
}

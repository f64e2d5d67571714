// Opening the editor build's DLL in a real Win32 window (under Wine: wine with a display, in a prefix
// whose LogPixels sets the screen's resolution, see tests/wine/dpi_prefix.sh): wall time from
// effEditOpen until the editor's window has handled its first WM_PAINT, for several openings in one
// process, in a per-monitor DPI-aware host (the editor takes the screen's size). Prints one line per
// opening. Usage: vr58_wine_open_timing [openings [dll]]
#include "host/hosted_plugin.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

WNDPROC editorProcedure = nullptr;
bool painted = false;

LRESULT CALLBACK watchPaint(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const LRESULT result = CallWindowProcA(editorProcedure, window, message, wParam, lParam);
    if (message == WM_PAINT) painted = true;
    return result;
}

double now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

} // namespace

int main(int argc, char** argv) {
    const int openings = argc > 1 ? std::atoi(argv[1]) : 3;
    using SetContext = BOOL(WINAPI*)(HANDLE);
    const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
    if (set) set(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4))); // PER_MONITOR_AWARE_V2

    std::string error;
    auto plugin = vr58::host::HostedPlugin::load(argc > 2 ? argv[2] : VR58G_DLL, error);
    if (!plugin) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    plugin->setSampleRate(48000.0f);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "VR58OpenTimingHost";
    RegisterClassA(&wc);
    HDC screen = GetDC(nullptr);
    std::printf("screen %d dpi\n", GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);

    for (int i = 0; i < openings; ++i) {
        ERect* rect = nullptr;
        plugin->dispatch(effEditGetRect, 0, 0, &rect);
        const int width = rect ? rect->right : 520, height = rect ? rect->bottom : 440;
        HWND parent = CreateWindowExA(0, wc.lpszClassName, "VR58-G", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                      0, 0, width, height, nullptr, nullptr, wc.hInstance, nullptr);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);

        painted = false;
        const double start = now();
        if (plugin->dispatch(effEditOpen, 0, 0, parent) != 1) {
            std::fprintf(stderr, "the editor did not open\n");
            return 1;
        }
        HWND editor = GetWindow(parent, GW_CHILD);
        editorProcedure = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watchPaint)));
        InvalidateRect(editor, nullptr, FALSE);
        while (!painted && now() - start < 10.0) {
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
            plugin->dispatch(effEditIdle);
        }
        const double elapsed = now() - start;
        std::printf("opening %d at %d x %d: %.1f ms%s\n", i + 1, width, height, elapsed * 1e3,
                    painted ? "" : " (no paint)");
        SetWindowLongPtrA(editor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(editorProcedure));
        plugin->dispatch(effEditClose);
        DestroyWindow(parent);
    }
    plugin.reset();
    return 0;
}

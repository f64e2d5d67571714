// What a Windows host gives the editor in the Wine tests: a top-level window whose client area takes the
// editor, and the message pump that keeps it answering while input arrives from another thread.
#pragma once

#include <windows.h>

#include <thread>

namespace vr58::testing {

inline const char* hostWindowClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VR58TestEditorHost";
        RegisterClassA(&wc);
        registered = true;
    }
    return "VR58TestEditorHost";
}

// A client area of width x height device pixels, its window's corner at (x, y) on the screen.
class HostWindow {
public:
    HostWindow(int width, int height, int x, int y) {
        RECT r{0, 0, width, height};
        AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, FALSE);
        hwnd = CreateWindowExA(0, hostWindowClass(), "VR58-G",
                               WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, x, y, r.right - r.left,
                               r.bottom - r.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND editorWindow() const { return GetWindow(hwnd, GW_CHILD); }
    HWND hwnd;
};

inline void pumpMessages(int rounds = 5) {
    for (int round = 0; round < rounds; ++round) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

// Pumps the window's messages until the input thread is done and its events have been handled.
inline void pumpWhile(std::thread& input) {
    bool running = true;
    std::thread waiter([&] {
        input.join();
        Sleep(200);
        running = false;
    });
    while (running) pumpMessages(1);
    waiter.join();
    pumpMessages();
}

} // namespace vr58::testing

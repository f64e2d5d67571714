// Where an editor's windows live, and so which backend serves them. A plug-in host hands the editor a
// window of the system's window server (an HWND on Windows, an X11 window id on Linux): the system's
// backend serves it. A host without a screen (a command-line tool, tests) asks for the memory backend
// instead; its host window is then a stand-in made here, which that host paints, reads, points at and
// clocks through this object. The plug-in only forwards: it never names a backend.
#pragma once

#include "vstgui/platform/platform.h"

#include <cstdint>
#include <memory>

namespace VSTGUI::soft {
struct HostWindow;
}

namespace VSTGUI::platform {

// The backend of the system's window server: Win32 on Windows, X11 on Linux.
Backend& nativeBackend();

// One editor's embedding; every call runs on the host's user-interface thread of that editor.
class Embedding {
public:
    Embedding();
    ~Embedding();
    Embedding(const Embedding&) = delete;
    Embedding& operator=(const Embedding&) = delete;

    // From now on the editor's windows are the memory backend's headless windows (asked before opening).
    void useMemoryWindows() { memory = true; }
    bool usesMemoryWindows() const { return memory; }
    // The window system of the editor's windows: what its frame is made with, and what answers the
    // questions asked before a window exists (the screen's resolution).
    Backend& backend() const;

    // The parent window for an opening in the host's window `hostWindow`, for the system's windows;
    // null for memory windows, which take memoryParent instead.
    void* systemParent(void* hostWindow) const { return memory ? nullptr : hostWindow; }
    // A new stand-in for the host's window at a screen position, of a size, replacing the last one (whose
    // frame window must be gone); null for the system's windows.
    void* memoryParent(CPoint screenOrigin, CCoord width, CCoord height);
    // The editor closed: the stand-in goes, and with it a frame window still inside it.
    void closed();

    // Memory windows only; false without an open frame window. The window paints all of itself.
    bool paint();
    // Copies what the window shows into width x height pixels (0xAARRGGBB, top row first, `width` to a
    // row), as far as the window reaches.
    bool readPixels(uint32_t* out, int32_t width, int32_t height) const;
    // The pointer rests at a position of the window, no button held.
    bool setPointer(CPoint inWindow);
    // The right button is pressed and let go at a position of the window (the face's menu opens there).
    bool rightClick(CPoint inWindow);
    // Sets the memory backend's clock (milliseconds), which the editor's timing reads.
    static void setClock(uint32_t milliseconds);

private:
    bool memory = false;
    std::unique_ptr<soft::HostWindow> host;
};

} // namespace VSTGUI::platform

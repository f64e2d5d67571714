// The Windows backend: GDI device contexts, DIB sections, msimg32's blending bound by name and user32
// windows.
#pragma once

#include "vstgui/platform/platform.h"

#include <windows.h>

#include <atomic>

namespace VSTGUI::win32 {

using AlphaBlendFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, BLENDFUNCTION);
using TransparentBltFn = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int, UINT);

// Module-wide entry points, bound anew by every frame window's creation. Atomic: frames on other threads
// draw with them meanwhile.
extern std::atomic<AlphaBlendFn> alphaBlendFunction;
extern std::atomic<TransparentBltFn> transparentBltFunction;

HINSTANCE moduleInstance();

// A 32-bit DIB section with directly writable pixels, rows bottom-up or (topDown) top row first.
HBITMAP createDib32(CCoord width, CCoord height, bool topDown, void** bits);

class Win32Image : public platform::Image {
public:
    Win32Image(const platform::Backend& owner, HBITMAP bitmap, void* bits, CCoord width, CCoord height)
        : Image(owner, width, height), bitmap(bitmap), pixelBits(static_cast<uint8_t*>(bits)) {}
    ~Win32Image() override { DeleteObject(bitmap); }
    uint8_t* bits() override { return pixelBits; }
    HBITMAP handle() const { return bitmap; }

private:
    HBITMAP bitmap;
    uint8_t* pixelBits;
};

class Win32Backend : public platform::Backend {
public:
    uint32_t tickCount() override { return GetTickCount(); }
    void sleep(uint32_t milliseconds) override { Sleep(milliseconds); }
    CPoint cursorPosition() override;
    platform::InputState inputState() override;
    bool systemSwapsButtons() override { return GetSystemMetrics(SM_SWAPBUTTON) > 0; }
    void dispatchPendingPaint() override {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&msg);
    }

    std::unique_ptr<platform::Image> createImage(CCoord width, CCoord height) override;
    std::unique_ptr<platform::Surface> createWindowSurface(void* systemContext, void* window) override;
    std::unique_ptr<platform::Surface> createOffscreen(void* window, CCoord width, CCoord height) override;
    CPoint windowScreenOrigin(void* window) override;
    // The window's monitor's DPI as the process sees it (96 in a process that is not DPI-aware, where
    // the system enlarges the window itself); the screen's for a null window.
    int32_t screenDpi(void* window) override;

    void* currentCursor() override { return GetCursor(); }
    void setCursor(int32_t cursorType, void* defaultCursor) override;

    std::unique_ptr<platform::Window> createFrameWindow(platform::WindowEvents& events, void* parent,
                                                        CCoord width, CCoord height) override;

    // Windows only, outside the portable seam. A BITMAP resource of the module; null when there is none.
    std::unique_ptr<platform::Image> loadPlainBitmap(int32_t id);
    // Late binding of msimg32's blending, held by each frame window while it lives (any thread).
    void* bindImageLibrary();
    void unbindImageLibrary(void* library);
};

Win32Backend& win32Backend();

// Window class bookkeeping, for tests: the registered class name and how many frames use it.
const char* windowClassName();
int windowClassUseCount();

} // namespace VSTGUI::win32

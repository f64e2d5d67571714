#include "vstgui/platform/win32/win32_backend.h"

#include "vstgui/platform/win32/win32_surface.h"

#include <mutex>

namespace VSTGUI::win32 {

std::atomic<AlphaBlendFn> alphaBlendFunction{nullptr};
std::atomic<TransparentBltFn> transparentBltFunction{nullptr};

HINSTANCE moduleInstance() {
    return static_cast<HINSTANCE>(platform::moduleHandle());
}

namespace {

bool keyDown(int virtualKey) {
    return (GetAsyncKeyState(virtualKey) & 0x8000) != 0;
}

} // namespace

CPoint Win32Backend::cursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return CPoint(p.x, p.y);
}

platform::InputState Win32Backend::inputState() {
    platform::InputState s;
    s.left = keyDown(VK_LBUTTON);
    s.middle = keyDown(VK_MBUTTON);
    s.right = keyDown(VK_RBUTTON);
    s.shift = keyDown(VK_SHIFT);
    s.control = keyDown(VK_CONTROL);
    s.alt = keyDown(VK_MENU);
    return s;
}

HBITMAP createDib32(CCoord width, CCoord height, bool topDown, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = topDown ? -height : height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

std::unique_ptr<platform::Image> Win32Backend::createImage(CCoord width, CCoord height) {
    if (width <= 0 || height <= 0) return nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = createDib32(width, height, false, &bits);
    if (!bitmap) return nullptr;
    return std::make_unique<Win32Image>(*this, bitmap, bits, width, height);
}

std::unique_ptr<platform::Image> Win32Backend::loadPlainBitmap(int32_t id) {
    HBITMAP bitmap = LoadBitmapA(moduleInstance(), MAKEINTRESOURCEA(id));
    if (!bitmap) return nullptr;
    BITMAP info{};
    GetObjectA(bitmap, sizeof(info), &info);
    return std::make_unique<Win32Image>(*this, bitmap, nullptr, info.bmWidth, info.bmHeight);
}

std::unique_ptr<platform::Surface> Win32Backend::createWindowSurface(void* systemContext, void* window) {
    HWND hwnd = static_cast<HWND>(window);
    if (systemContext)
        return std::make_unique<Win32Surface>(*this, static_cast<HDC>(systemContext), hwnd, false);
    if (!hwnd) return nullptr;
    HDC dc = GetDC(hwnd);
    if (!dc) return nullptr;
    return std::make_unique<Win32Surface>(*this, dc, hwnd, true);
}

std::unique_ptr<platform::Surface> Win32Backend::createOffscreen(void* window, CCoord width, CCoord height) {
    auto surface = std::make_unique<Win32Surface>(*this, static_cast<HWND>(window), width, height);
    if (!surface->valid()) return nullptr;
    return surface;
}

CPoint Win32Backend::windowScreenOrigin(void* window) {
    RECT r{};
    if (!window || !GetWindowRect(static_cast<HWND>(window), &r)) return CPoint();
    return CPoint(r.left, r.top);
}

namespace {
// Frames currently holding msimg32; when the last lets go the library may unload, so its entry points
// must not outlive it. Frames of other threads bind and let go meanwhile.
std::mutex bindingGuard;
int imageLibraryBindings = 0;
} // namespace

void* Win32Backend::bindImageLibrary() {
    const std::lock_guard<std::mutex> lock(bindingGuard);
    ++imageLibraryBindings;
    HMODULE library = LoadLibraryA("msimg32.dll");
    AlphaBlendFn alphaBlend = nullptr;
    TransparentBltFn transparentBlt = nullptr;
    if (library) {
        alphaBlend =
            reinterpret_cast<AlphaBlendFn>(reinterpret_cast<void*>(GetProcAddress(library, "AlphaBlend")));
        transparentBlt = reinterpret_cast<TransparentBltFn>(
            reinterpret_cast<void*>(GetProcAddress(library, "TransparentBlt")));
    }
    alphaBlendFunction.store(alphaBlend);
    transparentBltFunction.store(transparentBlt);
    return library;
}

void Win32Backend::unbindImageLibrary(void* library) {
    const std::lock_guard<std::mutex> lock(bindingGuard);
    if (imageLibraryBindings > 0 && --imageLibraryBindings == 0) {
        alphaBlendFunction.store(nullptr);
        transparentBltFunction.store(nullptr);
    }
    if (library) FreeLibrary(static_cast<HMODULE>(library));
}

void Win32Backend::setCursor(int32_t cursorType, void* defaultCursor) {
    LPCSTR id = nullptr;
    switch (cursorType) {
    case 1:
        id = IDC_WAIT;
        break;
    case 2:
        id = IDC_SIZEWE;
        break;
    case 3:
        id = IDC_SIZENS;
        break;
    case 4:
        id = IDC_SIZEALL;
        break;
    case 5:
        id = IDC_SIZENESW;
        break;
    case 6:
        id = IDC_SIZENWSE;
        break;
    case 8:
        id = IDC_NO;
        break;
    case 9:
        id = IDC_HAND;
        break;
    default:
        break;
    }
    SetCursor(id ? LoadCursorA(nullptr, id) : static_cast<HCURSOR>(defaultCursor));
}

Win32Backend& win32Backend() {
    static Win32Backend instance;
    return instance;
}

} // namespace VSTGUI::win32

#include "vstgui/platform/win32/win32_backend.h"
#include "vstgui/platform/win32/win32_drop_target.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>

namespace VSTGUI::win32 {

namespace {

// Frames of several instances may be made and destroyed on different threads.
std::mutex classGuard;
int classUseCount = 0;
char className[64] = {};

LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Not in every SDK's headers: the messages of Windows 8.1 and Windows 10 1703.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;

void registerWindowClass() {
    const std::lock_guard<std::mutex> lock(classGuard);
    if (classUseCount++ != 0) return;
    // One class per loaded copy of the module.
    std::snprintf(className, sizeof(className), "Plugin%p", static_cast<void*>(moduleInstance()));
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = moduleInstance();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
    platform::setSwapMouseButtons(GetSystemMetrics(SM_SWAPBUTTON) > 0);
}

void unregisterWindowClass() {
    const std::lock_guard<std::mutex> lock(classGuard);
    if (classUseCount <= 0 || --classUseCount != 0) return;
    UnregisterClassA(className, moduleInstance());
}

platform::WindowEvents* eventsOf(HWND hwnd) {
    return reinterpret_cast<platform::WindowEvents*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// Called by the system for every message of a frame window, on the thread that created it.
LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::WindowEvents* events = eventsOf(hwnd);
    if (!events) return DefWindowProcA(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        events->windowDestroyed();
        break;
    case WM_PAINT: {
        RECT update{};
        if (!GetUpdateRect(hwnd, &update, FALSE) || IsRectEmpty(&update)) break;
        PAINTSTRUCT ps{};
        HDC dc = BeginPaint(hwnd, &ps);
        if (dc)
            events->windowPaint(dc,
                                CRect(ps.rcPaint.left, ps.rcPaint.top, ps.rcPaint.right, ps.rcPaint.bottom));
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        events->windowButtonDown(CPoint(LOWORD(lParam), HIWORD(lParam)));
        return 0;
    case kDpiChanged:
        // A top-level frame window: the new DPI in the low word.
        events->windowScreenDpiChanged(LOWORD(wParam));
        break;
    case kDpiChangedAfterParent:
        // The host's window moved to a monitor of another DPI; ask what ours is now.
        events->windowScreenDpiChanged(win32Backend().screenDpi(hwnd));
        break;
    case WM_MOUSEWHEEL: {
        POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        ScreenToClient(hwnd, &p);
        const float distance = static_cast<float>(static_cast<short>(HIWORD(wParam))) / 120.0f;
        events->windowWheel(CPoint(p.x, p.y), distance);
        break;
    }
    default:
        break;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool hasCaption(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

class Win32Window : public platform::Window {
public:
    // OLE (for the drop target) is initialised on the thread that owns the window, and msimg32 is bound
    // while the window lives.
    Win32Window(platform::WindowEvents& events, HWND parent, CCoord width, CCoord height) {
        OleInitialize(nullptr);
        imageLibrary = win32Backend().bindImageLibrary();
        registerWindowClass();
        hwnd =
            CreateWindowExA(0, className, "Window", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                            0, 0, width, height, parent, nullptr, moduleInstance(), nullptr);
        if (hwnd) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&events));
            // Our own reference keeps the target alive until revocation, whatever OLE does with its own.
            dropTarget = new DropTarget;
            dropTarget->AddRef();
            RegisterDragDrop(hwnd, dropTarget);
        }
    }

    ~Win32Window() override {
        revokeDropTarget();
        if (hwnd) {
            SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
            DestroyWindow(hwnd);
        }
        // The class is counted per frame that registered it, whether or not its window survived.
        unregisterWindowClass();
        win32Backend().unbindImageLibrary(imageLibrary);
        OleUninitialize();
    }

    void* handle() const override { return hwnd; }

    CPoint screenOrigin() override {
        RECT r{};
        if (!hwnd || !GetWindowRect(hwnd, &r)) return CPoint();
        return CPoint(r.left, r.top);
    }

    void resize(CCoord width, CCoord height) override {
        if (hwnd) SetWindowPos(hwnd, HWND_TOP, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    }

    void resizeWithParents(CCoord width, CCoord height) override {
        if (!hwnd) return;
        const int frameThickness = GetSystemMetrics(SM_CYDLGFRAME);
        HWND child = hwnd;
        HWND parent = GetParent(child);
        RECT childRect{};
        GetWindowRect(child, &childRect);
        CCoord diffWidth = 0, diffHeight = 0;
        while (parent) {
            char parentClass[32] = {};
            GetClassNameA(parent, parentClass, sizeof(parentClass));
            if (lstrcmpiA(parentClass, "MDIClient") == 0) break;
            RECT parentRect{};
            GetWindowRect(parent, &parentRect);
            SetWindowPos(child, HWND_TOP, 0, 0, width + diffWidth, height + diffHeight,
                         SWP_NOMOVE | SWP_NOZORDER);
            diffWidth += std::max<CCoord>(0, (parentRect.right - parentRect.left) -
                                                 (childRect.right - childRect.left));
            diffHeight += std::max<CCoord>(0, (parentRect.bottom - parentRect.top) -
                                                  (childRect.bottom - childRect.top));
            // A parent much larger than the editor belongs to the host: stop before resizing it.
            if (diffWidth > 80 || diffHeight > 80) return;
            childRect = parentRect;
            child = parent;
            parent = GetParent(child);
            // A dialog frame's margin marks the host's frame window: it is the last one resized.
            if (diffWidth == 2 * frameThickness) break;
        }
        SetWindowPos(child, HWND_TOP, 0, 0, width + diffWidth, height + diffHeight,
                     SWP_NOMOVE | SWP_NOZORDER);
    }

    bool getPosition(CCoord& x, CCoord& y) override {
        if (!hwnd) return false;
        RECT own{};
        GetWindowRect(hwnd, &own);
        HWND window = hwnd;
        for (;;) {
            HWND parent = GetParent(window);
            if (!parent || hasCaption(window)) break;
            RECT pr{};
            GetWindowRect(parent, &pr);
            if (std::abs((pr.right - pr.left) - (own.right - own.left)) > 60 ||
                std::abs((pr.bottom - pr.top) - (own.bottom - own.top)) > 60)
                break;
            window = parent;
        }
        RECT r{};
        GetWindowRect(window, &r);
        POINT topLeft{r.left, r.top};
        HWND parent = GetParent(window);
        if (parent) ScreenToClient(parent, &topLeft);
        x = topLeft.x;
        y = topLeft.y;
        return true;
    }

    bool getSize(CRect& rect) override {
        if (!hwnd) return false;
        HWND parent = GetParent(hwnd);
        if (!parent) return false;
        RECT r{};
        GetWindowRect(parent, &r);
        POINT topLeft{r.left, r.top};
        // Measured in the client area of the parent's grandparent (the screen when there is none).
        HWND grandParent = GetParent(parent);
        HWND reference = grandParent ? GetParent(grandParent) : nullptr;
        if (reference) ScreenToClient(reference, &topLeft);
        rect = CRect(topLeft.x, topLeft.y, topLeft.x + (r.right - r.left), topLeft.y + (r.bottom - r.top));
        return true;
    }

    // Called while the system destroys the window: the handle is still valid for the revocation.
    void markDestroyed() override {
        revokeDropTarget();
        hwnd = nullptr;
    }

private:
    void revokeDropTarget() {
        if (!dropTarget) return;
        if (hwnd) RevokeDragDrop(hwnd);
        dropTarget->Release();
        dropTarget = nullptr;
    }

    HWND hwnd = nullptr;
    DropTarget* dropTarget = nullptr;
    void* imageLibrary = nullptr;
};

} // namespace

const char* windowClassName() {
    const std::lock_guard<std::mutex> lock(classGuard);
    return className;
}
int windowClassUseCount() {
    const std::lock_guard<std::mutex> lock(classGuard);
    return classUseCount;
}

std::unique_ptr<platform::Window> Win32Backend::createFrameWindow(platform::WindowEvents& events,
                                                                  void* parent, CCoord width, CCoord height) {
    if (!parent) return nullptr;
    return std::make_unique<Win32Window>(events, static_cast<HWND>(parent), width, height);
}

} // namespace VSTGUI::win32

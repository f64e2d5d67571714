// The frame in a real window under Wine (with Xvfb): window class bookkeeping, painting through the back
// buffer, posted button presses and wheel turns, the host destroying its window first, resizing and
// locating the host's windows around the frame, and cursors.
#include "controls_scene.h"
#include "frame_scene.h"
#include "test_views.h"

#include "vstgui/coffscreencontext.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_surface.h"
#include "vstgui/platform/soft/soft_window.h"
#include "vstgui/platform/win32/win32_backend.h"
#include "vstgui/platform/win32/win32_drop_target.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <shlobj.h>
#include <string>
#include <utility>

using namespace VSTGUI;
using vr58test::EventLog;
using vr58test::ProbeControl;

namespace {

// A window class with default processing only, for the windows that stand for the host's.
const char* plainWindowClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "VR58TestHost";
        RegisterClassA(&wc);
        registered = true;
    }
    return "VR58TestHost";
}

// A top-level window standing for the host's editor window.
class HostWindow {
public:
    HostWindow() {
        hwnd =
            CreateWindowExA(0, plainWindowClass(), "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN,
                            0, 0, 640, 520, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~HostWindow() {
        if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    HWND hwnd;
};

// A window of a given outer size: top-level (no border or caption) or a child of `parent`.
HWND makeBox(HWND parent, int x, int y, int width, int height, DWORD extraStyle = 0,
             const char* className = nullptr, void* createParam = nullptr) {
    // Top-level boxes stay hidden: destroying a shown one waits seconds for a window manager under Xvfb.
    const DWORD style = (parent ? WS_CHILD | WS_VISIBLE : WS_POPUP) | extraStyle;
    return CreateWindowExA(0, className ? className : plainWindowClass(), "box", style, x, y, width, height,
                           parent, nullptr, GetModuleHandleA(nullptr), createParam);
}

// Width and height of a window with its borders.
using Size = std::pair<int, int>;
Size outerSize(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return Size(r.right - r.left, r.bottom - r.top);
}

void pumpMessages() {
    for (int round = 0; round < 5; ++round) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

bool classRegistered() {
    WNDCLASSA wc{};
    return GetClassInfoA(win32::moduleInstance(), win32::windowClassName(), &wc) != 0;
}

class WineFrameTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::setModuleHandle(GetModuleHandleA(nullptr)); }
    void SetUp() override { platform::setBackend(nullptr); }
};

TEST_F(WineFrameTest, TwoFramesShareOneWindowClassUntilBothAreGone) {
    HostWindow host1, host2;
    ASSERT_TRUE(host1.hwnd && host2.hwnd);
    auto* first = new CFrame(CRect(0, 0, 100, 80), host1.hwnd, nullptr);
    EXPECT_EQ(win32::windowClassUseCount(), 1);
    EXPECT_EQ(std::string(win32::windowClassName()).rfind("Plugin", 0), 0u);
    EXPECT_TRUE(classRegistered());
    auto* second = new CFrame(CRect(0, 0, 100, 80), host2.hwnd, nullptr);
    EXPECT_EQ(win32::windowClassUseCount(), 2);

    HWND child = static_cast<HWND>(first->getWindowHandle());
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), host1.hwnd);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(child, GWL_STYLE)) & 0xFFFF0000u, 0x56000000u);
    EXPECT_EQ(GetWindowLongPtrA(child, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(first));
    RECT r{};
    GetClientRect(child, &r);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_EQ(r.bottom - r.top, 80);
    EXPECT_NE(win32::alphaBlendFunction.load(), nullptr);

    delete first;
    EXPECT_FALSE(IsWindow(child));
    EXPECT_EQ(win32::windowClassUseCount(), 1);
    EXPECT_TRUE(classRegistered());
    EXPECT_NE(win32::alphaBlendFunction.load(), nullptr); // the second window still holds msimg32
    delete second;
    EXPECT_EQ(win32::windowClassUseCount(), 0);
    EXPECT_FALSE(classRegistered());
    EXPECT_EQ(win32::alphaBlendFunction.load(), nullptr);
}

TEST_F(WineFrameTest, PaintShowsTheSameFrameAsTheMemoryBackend) {
    HostWindow host;
    const CRect area(0, 0, vr58test::kSceneWidth, vr58test::kSceneHeight);
    auto frame = std::make_unique<CFrame>(area, host.hwnd, nullptr);
    vr58test::populateScene(*frame);
    ASSERT_EQ(frame->getBackground()->getWidth(), 520) << "skin background 101 is not embedded";
    HWND child = static_cast<HWND>(frame->getWindowHandle());
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages();

    std::vector<uint32_t> shown(static_cast<size_t>(area.width()) * area.height());
    {
        CDrawContext windowContext(frame.get(), nullptr, child);
        ASSERT_TRUE(windowContext.getSurface()->readPixels(area, shown.data()));
    }

    // The same frame through the memory backend's headless window.
    platform::setBackend(&soft::softBackend());
    soft::HostWindow softHost;
    std::vector<uint32_t> expected;
    {
        CFrame softFrame(area, &softHost, nullptr);
        vr58test::populateScene(softFrame);
        softHost.child->paint(area);
        expected = softHost.child->screen().data;
        soft::writePng(VR58_WINE_OUTPUT_DIR "/frame-soft-in-wine.png", softHost.child->screen());
    }
    platform::setBackend(nullptr);

    soft::Pixels wine(area.width(), area.height());
    wine.data = shown;
    EXPECT_TRUE(soft::writePng(VR58_WINE_OUTPUT_DIR "/frame-wine.png", wine));
    size_t different = 0;
    for (size_t i = 0; i < shown.size(); ++i)
        different += (shown[i] & 0xFFFFFFu) != (expected[i] & 0xFFFFFFu);
    EXPECT_EQ(different, 0u);
}

// Knobs, switches and both meters composed over the skin: painted, then the meters moved by the feed
// alone and redrawn by an idle pass (the hold needle under the needle, the LED lit).
TEST_F(WineFrameTest, ControlsAndMetersDrawTheSameAsOnTheMemoryBackend) {
    const CRect area(0, 0, vr58test::kSceneWidth, vr58test::kSceneHeight);
    auto playMeters = [](CFrame& frame, vr58::MeterFeed& feed, const std::function<void()>& paint) {
        vr58test::populateControls(frame, feed);
        vr58test::settleMeter(feed, 0.11);
        paint();
        // Well within the hold needle's second of the system clock after the paint.
        vr58test::settleMeter(feed, 0.07, 1.5);
        frame.idle();
    };

    HostWindow host;
    vr58::MeterFeed gdiFeed;
    gdiFeed.start();
    auto frame = std::make_unique<CFrame>(area, host.hwnd, nullptr);
    HWND child = static_cast<HWND>(frame->getWindowHandle());
    playMeters(*frame, gdiFeed, [&] {
        pumpMessages();
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    });
    soft::Pixels wine(area.width(), area.height());
    {
        CDrawContext windowContext(frame.get(), nullptr, child);
        ASSERT_TRUE(windowContext.getSurface()->readPixels(area, wine.data.data()));
    }

    platform::setBackend(&soft::softBackend());
    soft::HostWindow softHost;
    vr58::MeterFeed softFeed;
    softFeed.start();
    std::vector<uint32_t> expected;
    {
        CFrame softFrame(area, &softHost, nullptr);
        playMeters(softFrame, softFeed, [&] { softHost.child->paint(area); });
        expected = softHost.child->screen().data;
        soft::writePng(VR58_WINE_OUTPUT_DIR "/controls-soft-in-wine.png", softHost.child->screen());
        // The meter face is not the bare skin: the needles and the lit LED changed it.
        CBitmap skin(101);
        const auto& image = static_cast<const soft::SoftImage&>(*skin.getImage());
        size_t fromSkin = 0;
        for (CCoord y = 62; y < 152; ++y)
            for (CCoord x = 165; x < 355; ++x)
                fromSkin += expected[y * area.width() + x] != image.pixel(x, y);
        EXPECT_GT(fromSkin, 200u);
    }
    platform::setBackend(nullptr);

    EXPECT_TRUE(soft::writePng(VR58_WINE_OUTPUT_DIR "/controls-wine.png", wine));
    size_t different = 0;
    for (size_t i = 0; i < expected.size(); ++i)
        different += (wine.data[i] & 0xFFFFFFu) != (expected[i] & 0xFFFFFFu);
    EXPECT_EQ(different, 0u);
}

TEST_F(WineFrameTest, PostedPressReachesTheTopmostEnabledViewAndWheelNotchesAreUnits) {
    HostWindow host;
    auto frame = std::make_unique<CFrame>(CRect(0, 0, 300, 200), host.hwnd, nullptr);
    EventLog log;
    auto* bottom = new ProbeControl(CRect(0, 0, 150, 150), &log, "bottom");
    auto* middle = new ProbeControl(CRect(50, 50, 120, 120), &log, "middle");
    auto* disabled = new ProbeControl(CRect(60, 60, 100, 100), &log, "disabled");
    disabled->setMouseEnabled(false);
    frame->addView(bottom);
    frame->addView(middle);
    frame->addView(disabled);
    HWND child = static_cast<HWND>(frame->getWindowHandle());

    PostMessageA(child, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(70, 80));
    pumpMessages();
    EXPECT_EQ(log, (EventLog{"middle:mouse"}));
    EXPECT_EQ(middle->lastWhere, CPoint(70, 80));

    POINT screen{20, 30};
    ClientToScreen(child, &screen);
    PostMessageA(child, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA)),
                 MAKELPARAM(screen.x, screen.y));
    pumpMessages();
    EXPECT_EQ(log.back(), "bottom:wheel");
    EXPECT_EQ(bottom->lastDistance, -1.0f);
    EXPECT_EQ(bottom->lastWhere, CPoint(20, 30));
}

TEST_F(WineFrameTest, AWaitingPaintIsDispatchedOnRequest) {
    HostWindow host;
    auto frame = std::make_unique<CFrame>(CRect(0, 0, 120, 90), host.hwnd, nullptr);
    auto* view = new ProbeControl(CRect(0, 0, 10, 10));
    frame->addView(view);
    pumpMessages();
    const int before = view->draws;
    InvalidateRect(static_cast<HWND>(frame->getWindowHandle()), nullptr, FALSE);
    win32::win32Backend().dispatchPendingPaint();
    EXPECT_EQ(view->draws, before + 1);
    win32::win32Backend().dispatchPendingPaint(); // nothing waits any more
    EXPECT_EQ(view->draws, before + 1);
}

TEST_F(WineFrameTest, HostWindowDestroyedBeforeTheFrame) {
    auto* host = new HostWindow;
    auto* frame = new CFrame(CRect(0, 0, 120, 90), host->hwnd, nullptr);
    auto* view = new ProbeControl(CRect(0, 0, 10, 10));
    frame->addView(view);
    HWND child = static_cast<HWND>(frame->getWindowHandle());
    RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    pumpMessages();
    EXPECT_EQ(view->draws, 1);

    DestroyWindow(host->hwnd);
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getSystemWindow(), nullptr);
    view->setValue(0.5f);
    frame->idle();
    EXPECT_EQ(view->draws, 1);
    delete frame;
    delete host;
    EXPECT_EQ(win32::windowClassUseCount(), 0);
    EXPECT_FALSE(classRegistered());
}

// A data object offering one clipboard format in global memory: a text, or a list of files.
class FakeDataObject : public IDataObject {
public:
    FakeDataObject(CLIPFORMAT format, std::vector<char> payload)
        : format(format), payload(std::move(payload)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* request, STGMEDIUM* medium) override {
        if (request->cfFormat != format || !(request->tymed & TYMED_HGLOBAL)) return DV_E_FORMATETC;
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, payload.size());
        std::memcpy(GlobalLock(memory), payload.data(), payload.size());
        GlobalUnlock(memory);
        medium->tymed = TYMED_HGLOBAL;
        medium->hGlobal = memory;
        medium->pUnkForRelease = nullptr;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override { return E_NOTIMPL; }

private:
    CLIPFORMAT format;
    std::vector<char> payload;
};

FakeDataObject fileList(const std::vector<std::string>& names) {
    std::vector<char> bytes(sizeof(DROPFILES));
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    std::memcpy(bytes.data(), &header, sizeof(header));
    for (const std::string& n : names) bytes.insert(bytes.end(), n.c_str(), n.c_str() + n.size() + 1);
    bytes.push_back(0);
    return FakeDataObject(CF_HDROP, bytes);
}

// The frame's window is a drop target while it lives; a drag over it shows the move effect and a drop
// takes nothing, leaving the effect as the system passed it.
TEST_F(WineFrameTest, DropTargetAnswersMoveAndTakesNothing) {
    FakeDataObject text(CF_TEXT, {'h', 'i', 0});
    FakeDataObject files = fileList({"C:\\a.wav", "C:\\b.wav", "C:\\c.wav"});
    FakeDataObject nothing(CF_BITMAP, {});
    EXPECT_EQ(win32::countDragItems(&text), 1);
    EXPECT_EQ(win32::countDragItems(&files), 3);
    EXPECT_EQ(win32::countDragItems(&nothing), 0);

    {
        HostWindow host;
        auto frame = std::make_unique<CFrame>(CRect(0, 0, 300, 200), host.hwnd, nullptr);
        auto* probe = new win32::DropTarget;
        probe->AddRef();
        EXPECT_EQ(RegisterDragDrop(static_cast<HWND>(frame->getWindowHandle()), probe),
                  DRAGDROP_E_ALREADYREGISTERED);
        probe->Release();
    }

    auto* target = new win32::DropTarget;
    target->AddRef();
    void* asked = nullptr;
    EXPECT_EQ(target->QueryInterface(IID_IDropTarget, &asked), S_OK);
    EXPECT_EQ(asked, static_cast<IDropTarget*>(target));
    target->Release();
    EXPECT_EQ(target->QueryInterface(IID_IDataObject, &asked), E_NOINTERFACE);
    EXPECT_EQ(asked, nullptr);

    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragEnter(nullptr, 0, POINTL{0, 0}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_NONE));
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragEnter(&files, 0, POINTL{10, 10}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    EXPECT_EQ(target->dragItems(), 3);
    effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->DragOver(0, POINTL{10, 10}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_MOVE));
    effect = DROPEFFECT_LINK;
    EXPECT_EQ(target->Drop(&files, 0, POINTL{10, 10}, &effect), S_OK);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_LINK));

    // After the drop nothing is in progress: further moves are not answered.
    effect = DROPEFFECT_COPY;
    target->DragOver(0, POINTL{10, 10}, &effect);
    EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
    EXPECT_EQ(target->dragItems(), -1);
    EXPECT_EQ(target->Release(), 0u);
}

// Each cursor type shows its system cursor; the others show the cursor found at the frame's first change,
// also when that was none, and the frame puts it back when it goes.
TEST_F(WineFrameTest, CursorTypesSelectTheirSystemCursors) {
    HWND host = makeBox(nullptr, 0, 0, 100, 80);
    const HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    auto* frame = new CFrame(CRect(0, 0, 100, 80), host, nullptr);
    const std::vector<std::pair<int32_t, LPCSTR>> types{{kCursorWait, IDC_WAIT},
                                                        {kCursorHSize, IDC_SIZEWE},
                                                        {kCursorVSize, IDC_SIZENS},
                                                        {kCursorSizeAll, IDC_SIZEALL},
                                                        {kCursorNESWSize, IDC_SIZENESW},
                                                        {kCursorNWSESize, IDC_SIZENWSE},
                                                        {kCursorNotAllowed, IDC_NO},
                                                        {kCursorHand, IDC_HAND},
                                                        {kCursorDefault, IDC_ARROW},
                                                        {kCursorCopy, IDC_ARROW},
                                                        {10, IDC_ARROW},
                                                        {-1, IDC_ARROW}};
    for (const auto& [type, id] : types) {
        frame->setCursor(type);
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, id)) << type;
    }
    frame->setCursor(kCursorHand);
    delete frame;
    EXPECT_EQ(GetCursor(), arrow);

    SetCursor(nullptr);
    auto* other = new CFrame(CRect(0, 0, 100, 80), host, nullptr);
    other->setCursor(kCursorWait);
    other->setCursor(kCursorDefault);
    EXPECT_EQ(GetCursor(), nullptr);
    delete other;
    DestroyWindow(host);
    SetCursor(arrow);
}

class SizingEditor : public vr58test::RecordingEditor {
public:
    bool sizeWindow(CCoord width, CCoord height) override {
        log.push_back("size" + std::to_string(width) + "x" + std::to_string(height));
        return accepts;
    }
    bool accepts = true;
};

// Without the host's help, setSize resizes the windows around the frame that belong to the editor (each
// keeps its margin over the one inside) and stops below the first that belongs to the host.
TEST_F(WineFrameTest, SetSizeResizesTheEditorsWindowsUpToTheHosts) {
    const int dialogFrame = 2 * GetSystemMetrics(SM_CYDLGFRAME);
    ASSERT_NE(dialogFrame, 4);
    ASSERT_NE(dialogFrame, 14);

    { // A host window much larger than the editor: only the frame's window changes, and it paints anew.
        HostWindow host;
        const Size hostSize = outerSize(host.hwnd);
        auto frame = std::make_unique<CFrame>(CRect(0, 0, 100, 80), host.hwnd, nullptr);
        auto* corner =
            new ProbeControl(CRect(150, 100, 200, 150), nullptr, "", nullptr, CColor{200, 0, 0, 255});
        frame->addView(corner);
        HWND child = static_cast<HWND>(frame->getWindowHandle());
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        pumpMessages();
        EXPECT_EQ(frame->getBackBuffer()->getWidth(), 100);
        EXPECT_TRUE(frame->setSize(200, 150));
        CRect r;
        EXPECT_EQ(frame->getViewSize(r), CRect(0, 0, 200, 150));
        EXPECT_EQ(outerSize(child), (Size(200, 150)));
        EXPECT_EQ(outerSize(host.hwnd), hostSize);
        EXPECT_FALSE(frame->setSize(200, 150));
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        pumpMessages();
        EXPECT_EQ(frame->getBackBuffer()->getWidth(), 200);
        uint32_t pixel = 0;
        CDrawContext windowContext(frame.get(), nullptr, child);
        ASSERT_TRUE(windowContext.getSurface()->readPixels(CRect(175, 125, 176, 126), &pixel));
        EXPECT_EQ(pixel & 0xFFFFFFu, 0xC80000u);
    }
    { // Editor-owned windows up to a top-level window: every one grows, the outermost included.
        HWND top = makeBox(nullptr, 50, 60, 100 + 14, 80 + 14);
        HWND wrapper = makeBox(top, 5, 5, 100 + 4, 80 + 4);
        auto frame = std::make_unique<CFrame>(CRect(0, 0, 100, 80), wrapper, nullptr);
        EXPECT_TRUE(frame->setSize(300, 200));
        EXPECT_EQ(outerSize(static_cast<HWND>(frame->getWindowHandle())), (Size(300, 200)));
        EXPECT_EQ(outerSize(wrapper), (Size(304, 204)));
        EXPECT_EQ(outerSize(top), (Size(314, 214)));
        RECT placed{};
        GetWindowRect(top, &placed);
        EXPECT_EQ(placed.left, 50);
        EXPECT_EQ(placed.top, 60);
        frame.reset();
        DestroyWindow(top);
    }
    { // A dialog frame's margin ends the walk at the window that has it.
        HWND top = makeBox(nullptr, 0, 0, 400, 400);
        HWND dialog = makeBox(top, 0, 0, 100 + dialogFrame, 80 + 30);
        auto frame = std::make_unique<CFrame>(CRect(0, 0, 100, 80), dialog, nullptr);
        EXPECT_TRUE(frame->setSize(120, 90));
        EXPECT_EQ(outerSize(static_cast<HWND>(frame->getWindowHandle())), (Size(120, 90)));
        EXPECT_EQ(outerSize(dialog), (Size(120 + dialogFrame, 90 + 30)));
        EXPECT_EQ(outerSize(top), (Size(400, 400)));
        frame.reset();
        DestroyWindow(top);
    }
    { // An MDI client area belongs to the host however small its margin.
        HWND top = makeBox(nullptr, 0, 0, 100 + 30, 80 + 30);
        CLIENTCREATESTRUCT mdi{};
        HWND client = makeBox(top, 0, 0, 100 + 20, 80 + 20, 0, "MDICLIENT", &mdi);
        ASSERT_NE(client, nullptr);
        HWND wrapper = makeBox(client, 0, 0, 100 + 4, 80 + 4);
        auto frame = std::make_unique<CFrame>(CRect(0, 0, 100, 80), wrapper, nullptr);
        EXPECT_TRUE(frame->setSize(150, 100));
        EXPECT_EQ(outerSize(wrapper), (Size(154, 104)));
        EXPECT_EQ(outerSize(client), (Size(120, 100)));
        EXPECT_EQ(outerSize(top), (Size(130, 110)));
        frame.reset();
        DestroyWindow(top);
    }
    { // A host that resizes its window itself: only the frame's window changes.
        HWND top = makeBox(nullptr, 0, 0, 100 + 14, 80 + 14);
        HWND wrapper = makeBox(top, 0, 0, 100 + 4, 80 + 4);
        SizingEditor editor;
        auto frame = std::make_unique<CFrame>(CRect(0, 0, 100, 80), wrapper, &editor);
        EXPECT_TRUE(frame->setSize(160, 120));
        EXPECT_EQ(editor.log, (std::vector<std::string>{"size160x120"}));
        EXPECT_EQ(outerSize(static_cast<HWND>(frame->getWindowHandle())), (Size(160, 120)));
        EXPECT_EQ(outerSize(wrapper), (Size(104, 84)));
        EXPECT_EQ(outerSize(top), (Size(114, 94)));
        frame.reset();
        DestroyWindow(top);
    }
}

// getPosition answers the top-left of the outermost window that still fits the editor (within 60 pixels
// of the frame's own size, below any window with a caption); getSize the rectangle of the frame's parent.
TEST_F(WineFrameTest, PositionAndSizeAreThoseOfTheWindowsAroundTheFrame) {
    HWND top = makeBox(nullptr, 100, 50, 100 + 100, 80 + 100);
    HWND mid = makeBox(top, 7, 9, 100 + 40, 80 + 40);
    HWND parent = makeBox(mid, 11, 13, 100 + 4, 80 + 4);
    auto frame = std::make_unique<CFrame>(CRect(0, 0, 100, 80), parent, nullptr);
    CCoord x = -1, y = -1;
    // `top` is 60 pixels larger than `mid` but 100 larger than the frame: the walk stops at `mid`.
    EXPECT_TRUE(frame->getPosition(x, y));
    EXPECT_EQ(CPoint(x, y), CPoint(7, 9));
    // Position in the client area of the parent's grandparent.
    CRect r;
    EXPECT_TRUE(frame->getSize(r));
    EXPECT_EQ(r, CRect(18, 22, 18 + 104, 22 + 84));
    frame.reset();

    // Fitting windows up to a top-level one: its place on the screen.
    SetWindowPos(top, nullptr, 0, 0, 100 + 50, 80 + 50, SWP_NOMOVE | SWP_NOZORDER);
    frame = std::make_unique<CFrame>(CRect(0, 0, 100, 80), parent, nullptr);
    EXPECT_TRUE(frame->getPosition(x, y));
    EXPECT_EQ(CPoint(x, y), CPoint(100, 50));
    frame.reset();

    // A window with a caption ends the walk although its parent would fit too.
    HWND captioned = makeBox(top, 3, 4, 100 + 30, 80 + 50, WS_CAPTION);
    frame = std::make_unique<CFrame>(CRect(0, 0, 100, 80), captioned, nullptr);
    EXPECT_TRUE(frame->getPosition(x, y));
    EXPECT_EQ(CPoint(x, y), CPoint(3, 4));

    DestroyWindow(top);
    EXPECT_FALSE(frame->getPosition(x, y));
    EXPECT_FALSE(frame->getSize(r));
}

} // namespace

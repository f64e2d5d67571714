// The toolkit's frame in real X11 windows under Xvfb: the pixels on the screen, real input through XTEST,
// several frames, closing, and failures that must not end the host.
// GoogleTest first: Xlib's macros (None, Bool) would otherwise rename parts of it.
#include <gtest/gtest.h>

#include "x11_test_display.h"

#include "../vstgui/frame_scene.h"
#include "../vstgui/test_views.h"

#include "vstgui/cframe.h"
#include "vstgui/platform/embedding.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"
#include "vstgui/platform/x11/x11_backend.h"
#include "vstgui/platform/x11/x11_window.h"

#include <X11/extensions/XShm.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace vr58test {
namespace {

using namespace VSTGUI;

constexpr CRect kFrameRect(0, 0, kSceneWidth, kSceneHeight);

TEST(X11Resources, XftDpiIsReadFromTheResourceDatabase) {
    EXPECT_EQ(x11::dpiFromResources("Xft.dpi:\t192\n"), 192);
    EXPECT_EQ(x11::dpiFromResources("Xcursor.size: 24\nXft.dpi : 144.4\nXft.hinting: 1\n"), 144);
    EXPECT_EQ(x11::dpiFromResources("Xft.dpi:\t120"), 120); // last line without its newline
    EXPECT_EQ(x11::dpiFromResources("Xft.dpix:\t192\nXft.dpi.more: 1\n"), 0);
    EXPECT_EQ(x11::dpiFromResources("*Xft.dpi:\t168\n"), 168);
    EXPECT_EQ(x11::dpiFromResources("Xft.dpi:\tlarge\n"), 0);
    EXPECT_EQ(x11::dpiFromResources("Xft.dpi:\t96000\n"), 0);
    EXPECT_EQ(x11::dpiFromResources(""), 0);
    EXPECT_EQ(x11::dpiFromResources(nullptr), 0);
}
constexpr CColor kRed{200, 30, 40, 255};
constexpr CColor kBlue{20, 60, 220, 255};

// A control that follows a drag as the knobs do (polling the buttons and the pointer until the release),
// and records wheel turns.
class DragTracker : public CControl {
public:
    explicit DragTracker(const CRect& size) : CControl(size, nullptr, 7) { setWantsFocus(true); }

    void draw(CDrawContext* context) override {
        context->setFillColor(kBlue);
        context->fillRect(CRect(size.left - 1, size.top - 1, size.right, size.bottom));
        setDirty(false);
    }
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons) override {
        pressButtons = buttons;
        pressWhere = where;
        if (!(buttons & kLButton)) return;
        beginEdit();
        do {
            getMouseLocation(context, where);
            lastWhere = where;
            ++turns;
            doIdleStuff();
        } while (context->getMouseButtons() & kLButton);
        endEdit();
    }
    bool onWheel(CDrawContext*, const CPoint&, int32_t axis, float distance) override {
        wheel.push_back((axis == kMouseWheelAxisX ? "x" : "y") + std::to_string(static_cast<int>(distance)));
        return true;
    }

    int32_t pressButtons = 0;
    CPoint pressWhere;
    CPoint lastWhere;
    int turns = 0;
    std::vector<std::string> wheel;
};

// The editor's part in a drag: idle the frame now and then, as the plug-in's editor does.
class IdlingEditor : public RecordingEditor {
public:
    void doIdleStuff() override {
        platform::backend().sleep(4);
        platform::backend().dispatchPendingPaint();
        if (frame) frame->idle();
    }
    CFrame* frame = nullptr;
};

void populateProbeScene(CFrame& frame, CColor probeColour, ProbeControl** probe = nullptr) {
    populateScene(frame);
    auto* control = new ProbeControl(CRect(200, 200, 260, 240), nullptr, "probe", nullptr, probeColour);
    frame.addView(control);
    if (probe) *probe = control;
}

// What the memory backend shows for the same views: the picture the X11 window must show.
std::vector<uint32_t> softRender(CColor probeColour) {
    platform::Backend* previous = platform::setBackend(&soft::softBackend());
    std::vector<uint32_t> rgb;
    {
        soft::HostWindow host;
        CFrame frame(kFrameRect, &host, nullptr);
        populateProbeScene(frame, probeColour);
        host.child->paint(kFrameRect);
        for (uint32_t pixel : host.child->screen().data) rgb.push_back(pixel & 0xFFFFFFu);
    }
    platform::setBackend(previous);
    return rgb;
}

size_t differingPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size()) return std::max(a.size(), b.size());
    size_t count = 0;
    for (size_t i = 0; i < a.size(); ++i) count += a[i] != b[i];
    return count;
}

// The embedding gives the editor the system's windows unless the host asks for memory ones, and then
// serves that host: the picture in the caller's block row by row (as far as both reach), the pointer at
// the stand-in's screen origin plus the position, and the close taking the frame's window with it.
TEST(Embedding, PicksTheBackendAndServesTheMemoryHost) {
    platform::Embedding embedding;
    void* const hostId = reinterpret_cast<void*>(0x1234);
    EXPECT_EQ(&embedding.backend(), &x11::x11Backend());
    EXPECT_EQ(embedding.systemParent(hostId), hostId);
    EXPECT_EQ(embedding.memoryParent(CPoint(), 10, 10), nullptr);

    embedding.useMemoryWindows();
    EXPECT_EQ(&embedding.backend(), &soft::softBackend());
    EXPECT_EQ(embedding.systemParent(hostId), nullptr);
    EXPECT_FALSE(embedding.paint());
    void* parent = embedding.memoryParent(CPoint(300, 200), kSceneWidth, kSceneHeight);
    auto frame = std::make_unique<CFrame>(kFrameRect, parent, nullptr, &embedding.backend());
    populateProbeScene(*frame, kRed);
    ASSERT_TRUE(embedding.paint());

    auto* window = static_cast<soft::HeadlessWindow*>(frame->getPlatformWindow());
    const CCoord width = kSceneWidth - 3;
    constexpr uint32_t kUntouched = 0x12345678u;
    std::vector<uint32_t> block(static_cast<size_t>(width) * (kSceneHeight + 2), kUntouched);
    ASSERT_TRUE(embedding.readPixels(block.data(), width, kSceneHeight + 2));
    size_t wrong = 0;
    for (CCoord y = 0; y < kSceneHeight + 2; ++y)
        for (CCoord x = 0; x < width; ++x) {
            const uint32_t shown = y < kSceneHeight ? window->screen().at(x, y) : kUntouched;
            wrong += block[static_cast<size_t>(y) * width + x] != shown;
        }
    EXPECT_EQ(wrong, 0u);

    EXPECT_TRUE(embedding.setPointer(CPoint(5, 7)));
    EXPECT_EQ(soft::softBackend().cursorPosition(), CPoint(305, 207));
    embedding.closed();
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getWindowHandle(), nullptr);
    EXPECT_FALSE(embedding.paint());
    EXPECT_FALSE(embedding.setPointer(CPoint(5, 7)));
    soft::softBackend().reset();
}

class X11FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.open()) << "no X display: the test command runs these tests under Xvfb";
        previous = platform::setBackend(&x11::x11Backend());
    }
    void TearDown() override { platform::setBackend(previous); }

    // Idles the frame until the host window shows `expected` in the frame's place; true when it did.
    bool idleUntilShown(CFrame& frame, Window window, const std::vector<uint32_t>& expected) {
        return idleWhile([&] { frame.idle(); },
                         [&] { return differingPixels(host.readBack(window, kFrameRect), expected) != 0; });
    }

    TestDisplay host;
    platform::Backend* previous = nullptr;
};

TEST_F(X11FrameTest, ShowsTheMemoryBackendsPixelsAfterExposureAndAfterIdleRedraws) {
    const Window window = host.createHostWindow(40, 30, kSceneWidth, kSceneHeight);
    CFrame frame(kFrameRect, reinterpret_cast<void*>(window), nullptr);
    ASSERT_NE(frame.getWindowHandle(), nullptr);
    ProbeControl* probe = nullptr;
    populateProbeScene(frame, kRed, &probe);
    // Shared memory where the server offers it; the test command also runs this without the extension.
    const x11::X11Window* own = x11::x11Backend().findWindow(frame.getWindowHandle());
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(own->usesSharedMemory(), XShmQueryExtension(host.display) != 0);

    const auto first = softRender(kRed);
    EXPECT_TRUE(idleUntilShown(frame, window, first));
    EXPECT_EQ(differingPixels(host.readBack(window, kFrameRect), first), 0u);

    // A window shown over part of the frame and taken away again: the uncovered part is painted anew.
    const Window cover = host.createHostWindow(40 + 150, 30 + 100, 200, 160);
    host.destroyWindow(cover);
    EXPECT_TRUE(idleUntilShown(frame, window, first));

    // A changed view reaches the screen through the idle pass, not through an exposure.
    probe->colour = kBlue;
    probe->setDirty(true);
    const auto second = softRender(kBlue);
    EXPECT_TRUE(idleUntilShown(frame, window, second));
    EXPECT_EQ(differingPixels(host.readBack(window, kFrameRect), second), 0u);
    host.destroyWindow(window);
}

TEST_F(X11FrameTest, RealDragAndWheelReachTheFrameAndLeaveTheKeyboardAlone) {
    const Window window = host.createHostWindow(100, 80, kSceneWidth, kSceneHeight);
    IdlingEditor editor;
    CFrame frame(kFrameRect, reinterpret_cast<void*>(window), &editor);
    editor.frame = &frame;
    auto* tracker = new DragTracker(CRect(100, 100, 180, 180));
    frame.addView(tracker);
    auto idle = [&] { frame.idle(); };
    idleWhile(
        idle, [] { return true; }, std::chrono::milliseconds(100));
    const Window keyboard = host.focusWindow();

    const CPoint centre = host.onScreen(window, CPoint(140, 140));
    InputScript drag;
    drag.moveTo(centre).wait(50).press(Button1).wait(150);
    for (int step = 1; step <= 10; ++step)
        drag.moveTo(CPoint(centre.h + 2 * step, centre.v - 5 * step)).wait(15);
    drag.wait(150).release(Button1).wait(100);
    drag.start();
    EXPECT_TRUE(idleWhile(idle, [&] { return drag.running(); }));
    idleWhile(
        idle, [] { return true; }, std::chrono::milliseconds(100));

    EXPECT_EQ(tracker->pressButtons, kLButton);
    EXPECT_EQ(tracker->pressWhere, CPoint(140, 140));
    // The loop followed the pointer while the button was held, and ended with the release.
    EXPECT_EQ(tracker->lastWhere, CPoint(160, 90));
    EXPECT_GT(tracker->turns, 5);
    EXPECT_EQ(editor.log, (std::vector<std::string>{"begin7", "end7"}));
    // The drag gave the control the frame's focus; the keyboard stayed where it was.
    EXPECT_EQ(frame.getFocusView(), tracker);
    EXPECT_EQ(host.focusWindow(), keyboard);

    InputScript turns;
    turns.moveTo(centre).wait(30).click(4).wait(30).click(5).wait(30).click(7).wait(30).click(6).wait(100);
    turns.start();
    EXPECT_TRUE(idleWhile(idle, [&] { return turns.running(); }));
    idleWhile(
        idle, [] { return true; }, std::chrono::milliseconds(100));
    EXPECT_EQ(tracker->wheel, (std::vector<std::string>{"y1", "y-1", "x1", "x-1"}));

    // A click released long before the next idle still starts as a press of the left button.
    const int turnsBefore = tracker->turns;
    tracker->pressButtons = 0;
    InputScript quick;
    quick.press(Button1).release(Button1).wait(50);
    quick.start();
    EXPECT_TRUE(idleWhile([] {}, [&] { return quick.running(); }));
    idleWhile(
        idle, [] { return true; }, std::chrono::milliseconds(50));
    EXPECT_EQ(tracker->pressButtons, kLButton);
    EXPECT_EQ(tracker->turns, turnsBefore + 1);

    // A click on the background clears the focus.
    InputScript away;
    away.moveTo(host.onScreen(window, CPoint(400, 400))).wait(30).click(Button1).wait(100);
    away.start();
    EXPECT_TRUE(idleWhile(idle, [&] { return away.running(); }));
    EXPECT_EQ(frame.getFocusView(), nullptr);
    EXPECT_EQ(host.focusWindow(), keyboard);
    host.destroyWindow(window);
}

TEST_F(X11FrameTest, ThePointerIsFoundRelativeToTheFramesWindow) {
    const Window window = host.createHostWindow(60, 50, kSceneWidth, kSceneHeight);
    CFrame frame(kFrameRect, reinterpret_cast<void*>(window), nullptr);
    ASSERT_NE(frame.getWindowHandle(), nullptr);
    for (const CPoint inside : {CPoint(17, 23), CPoint(0, 0), CPoint(kSceneWidth - 1, 5)}) {
        const CPoint screen = host.onScreen(window, inside);
        XWarpPointer(host.display, None, DefaultRootWindow(host.display), 0, 0, 0, 0, screen.h, screen.v);
        XSync(host.display, False);
        CPoint where;
        EXPECT_TRUE(frame.getCurrentLocation(where));
        EXPECT_EQ(where, inside);
    }
    // Left of and above the window the position goes negative, as the screen position minus the origin.
    const CPoint outside = host.onScreen(window, CPoint(-20, -10));
    XWarpPointer(host.display, None, DefaultRootWindow(host.display), 0, 0, 0, 0, outside.h, outside.v);
    XSync(host.display, False);
    CPoint where;
    frame.getCurrentLocation(where);
    EXPECT_EQ(where, CPoint(-20, -10));
    host.destroyWindow(window);
}

TEST_F(X11FrameTest, TwoFramesOpenAtOnceEachWithItsOwnConnection) {
    const Window left = host.createHostWindow(0, 0, kSceneWidth, kSceneHeight);
    const Window right = host.createHostWindow(kSceneWidth + 10, 0, kSceneWidth, kSceneHeight);
    IdlingEditor leftEditor, rightEditor;
    auto leftFrame = std::make_unique<CFrame>(kFrameRect, reinterpret_cast<void*>(left), &leftEditor);
    auto rightFrame = std::make_unique<CFrame>(kFrameRect, reinterpret_cast<void*>(right), &rightEditor);
    leftEditor.frame = leftFrame.get();
    rightEditor.frame = rightFrame.get();
    populateProbeScene(*leftFrame, kRed);
    ProbeControl* rightProbe = nullptr;
    populateProbeScene(*rightFrame, kBlue, &rightProbe);
    auto* tracker = new DragTracker(CRect(300, 300, 360, 360));
    rightFrame->addView(tracker);
    EXPECT_EQ(x11::x11Backend().openWindows(), 2u);

    auto idleBoth = [&] {
        leftFrame->idle();
        rightFrame->idle();
    };
    const auto leftExpected = softRender(kRed);
    EXPECT_TRUE(idleWhile(
        idleBoth, [&] { return differingPixels(host.readBack(left, kFrameRect), leftExpected) != 0; }));
    InputScript click;
    click.moveTo(host.onScreen(right, CPoint(330, 330))).wait(30).click(Button1).wait(100);
    click.start();
    EXPECT_TRUE(idleWhile(idleBoth, [&] { return click.running(); }));
    EXPECT_EQ(tracker->pressWhere, CPoint(330, 330));
    EXPECT_EQ(rightEditor.log, (std::vector<std::string>{"begin7", "end7"}));
    EXPECT_TRUE(leftEditor.log.empty());

    leftFrame.reset();
    EXPECT_EQ(x11::x11Backend().openWindows(), 1u);
    // The other frame goes on drawing.
    rightProbe->colour = kRed;
    rightProbe->setDirty(true);
    const CRect probeArea(200, 200, 260, 240);
    const std::vector<uint32_t> red(probeArea.width() * probeArea.height(), 0xC81E28u);
    EXPECT_TRUE(
        idleWhile([&] { rightFrame->idle(); }, [&] { return host.readBack(right, probeArea) != red; }));
    rightFrame.reset();
    EXPECT_EQ(x11::x11Backend().openWindows(), 0u);
    host.destroyWindow(left);
    host.destroyWindow(right);
}

unsigned int childCount(Display* display, Window window) {
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    XQueryTree(display, window, &root, &parent, &children, &count);
    if (children) XFree(children);
    return count;
}

TEST_F(X11FrameTest, ClosesAndReopensAndSurvivesTheHostDestroyingItsWindowFirst) {
    const Window window = host.createHostWindow(0, 0, kSceneWidth, kSceneHeight);
    const auto expected = softRender(kRed);
    for (int round = 0; round < 3; ++round) {
        auto frame = std::make_unique<CFrame>(kFrameRect, reinterpret_cast<void*>(window), nullptr);
        populateProbeScene(*frame, kRed);
        EXPECT_TRUE(idleUntilShown(*frame, window, expected)) << "round " << round;
        EXPECT_EQ(childCount(host.display, window), 1u);
        frame.reset();
        XSync(host.display, False);
        EXPECT_EQ(childCount(host.display, window), 0u);
    }

    // The host destroys its window under the open frame: the frame closes, and its later calls on the
    // dead window end in no error that would reach the process's handler (whose default exits).
    auto frame = std::make_unique<CFrame>(kFrameRect, reinterpret_cast<void*>(window), nullptr);
    populateProbeScene(*frame, kRed);
    EXPECT_TRUE(idleUntilShown(*frame, window, expected));
    host.destroyWindow(window);
    EXPECT_TRUE(idleWhile([&] { frame->idle(); }, [&] { return frame->isOpen(); }));
    frame->setCursor(kCursorHand);
    frame->invalidate(kFrameRect);
    frame.reset();
}

TEST_F(X11FrameTest, NoWindowWithoutADisplayOrForAnIdThatNamesNoWindow) {
    // An id of the right width that names nothing, and a heap pointer, as a confused host might pass.
    const Window unused = 0x1FFFFFF0;
    CFrame noWindow(kFrameRect, reinterpret_cast<void*>(unused), nullptr);
    EXPECT_EQ(noWindow.getWindowHandle(), nullptr);
    EXPECT_FALSE(x11::isX11Window(reinterpret_cast<void*>(unused)));
    auto heapObject = std::make_unique<int>(0);
    EXPECT_FALSE(x11::isX11Window(heapObject.get()));

    const Window window = host.createHostWindow(0, 0, 100, 100);
    EXPECT_TRUE(x11::isX11Window(reinterpret_cast<void*>(window)));
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    {
        CFrame frame(kFrameRect, reinterpret_cast<void*>(window), nullptr);
        EXPECT_EQ(frame.getWindowHandle(), nullptr);
        EXPECT_FALSE(x11::isX11Window(reinterpret_cast<void*>(window)));
        frame.idle();
    }
    setenv("DISPLAY", display.c_str(), 1);
    host.destroyWindow(window);
}

} // namespace
} // namespace vr58test

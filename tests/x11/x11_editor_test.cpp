// The editor build's .so as a Linux host sees it: effEditOpen with the host's X11 window id, effEditIdle
// on the host's GUI thread, real pointer and key input through XTEST.
// GoogleTest first: Xlib's macros (None, Bool) would otherwise rename parts of it.
#include <gtest/gtest.h>

#include "x11_test_display.h"

#include "../integration/plugin_under_test.h"
#include "editor/factory_presets.h"
#include "editor/tapedeck_face.h"
#include "vst2/soft_host_protocol.h"

#include <X11/Xatom.h>
#include <X11/keysym.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace vr58test {
namespace {

using vr58::host::HostedPlugin;
using vr58::testing::kEditorBinary;
using VSTGUI::CPoint;
using VSTGUI::CRect;

constexpr CRect kFace(0, 0, 520, 440);
constexpr int32_t kTrim = 0, kGain = 1, kNoise = 14;
// The plug-in interface's virtual key numbers, as a host passes them.
constexpr intptr_t kVirtualSpace = 7, kVirtualUp = 12;

void* idOf(Window window) {
    return reinterpret_cast<void*>(window);
}

std::unique_ptr<HostedPlugin> loadEditorBuild() {
    auto plugin = vr58::testing::loadPlugin(kEditorBinary);
    if (!plugin) return plugin;
    plugin->open();
    plugin->setSampleRate(48000);
    plugin->setBlockSize(256);
    plugin->mainsChanged(true);
    return plugin;
}

// The face the memory backend draws through the same binary, for the same (default) values.
std::vector<uint32_t> memoryBackendFace(int32_t scale = 100) {
    auto plugin = loadEditorBuild();
    const CRect area(0, 0, kFace.width() * scale / 100, kFace.height() * scale / 100);
    std::vector<uint32_t> face(static_cast<size_t>(area.width()) * area.height());
    vr58::softhost::Window parent{0, 0};
    vr58::softhost::Pixels pixels{area.width(), area.height(), face.data()};
    plugin->dispatch(effVendorSpecific, vr58::softhost::kVendorIndex, vr58::softhost::kEnable);
    plugin->dispatch(effVendorSpecific, vr58::softhost::kVendorIndex, vr58::softhost::kSetScale, &scale);
    plugin->dispatch(effEditOpen, 0, 0, &parent);
    plugin->dispatch(effVendorSpecific, vr58::softhost::kVendorIndex, vr58::softhost::kPaint);
    plugin->dispatch(effVendorSpecific, vr58::softhost::kVendorIndex, vr58::softhost::kReadPixels, &pixels);
    plugin->dispatch(effEditClose);
    for (uint32_t& pixel : face) pixel &= 0xFFFFFFu;
    return face;
}

// The edit calls the editor made, as "begin0", "automate0", "end0", "idle".
std::vector<std::string> editCalls(const HostedPlugin& plugin) {
    std::vector<std::string> calls;
    for (const auto& call : plugin.calls()) {
        const std::string index = std::to_string(call.index);
        if (call.opcode == audioMasterBeginEdit) calls.push_back("begin" + index);
        if (call.opcode == audioMasterEndEdit) calls.push_back("end" + index);
        if (call.opcode == audioMasterAutomate && (calls.empty() || calls.back() != "automate" + index))
            calls.push_back("automate" + index);
    }
    return calls;
}

class X11Editor : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.open()) << "no X display: the test command runs these under Xvfb";
        // A settings folder of the test's own: a size chosen in one test must not reach the next.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        config = std::filesystem::temp_directory_path() / (std::string("vr58-x11-config-") + info->name());
        std::filesystem::remove_all(config);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(config, ignored);
    }

    std::unique_ptr<HostedPlugin> openIn(Window window) {
        auto plugin = loadEditorBuild();
        EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, idOf(window)), 1);
        idleFor({plugin.get()}, 100);
        return plugin;
    }
    static void idleFor(std::vector<HostedPlugin*> plugins, int milliseconds) {
        idleWhile(
            [&] {
                for (auto* p : plugins) p->dispatch(effEditIdle);
            },
            [] { return true; }, std::chrono::milliseconds(milliseconds));
    }
    // Plays the input while the host idles the editor, as a host's GUI thread does meanwhile.
    static void play(InputScript& input, std::vector<HostedPlugin*> plugins) {
        input.start();
        EXPECT_TRUE(idleWhile(
            [&] {
                for (auto* p : plugins) p->dispatch(effEditIdle);
            },
            [&] { return input.running(); }, std::chrono::milliseconds(10000)));
        idleFor(plugins, 50);
    }
    unsigned int children(Window window) {
        Window root = 0, parent = 0, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(host.display, window, &root, &parent, &list, &count);
        if (list) XFree(list);
        return count;
    }

    TestDisplay host;
    std::filesystem::path config;
};

TEST_F(X11Editor, ShowsTheFaceTheMemoryBackendDraws) {
    const auto expected = memoryBackendFace();
    const Window window = host.createHostWindow(20, 20, kFace.width(), kFace.height());
    auto plugin = loadEditorBuild();
    EXPECT_EQ(plugin->effect()->flags & effFlagsHasEditor, effFlagsHasEditor);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, idOf(window)), 1);
    EXPECT_TRUE(idleWhile([&] { plugin->dispatch(effEditIdle); },
                          [&] { return host.readBack(window, kFace) != expected; }));
    EXPECT_EQ(host.readBack(window, kFace), expected);
    plugin->dispatch(effEditClose);
    EXPECT_EQ(children(window), 0u);
}

// The desktop's scaling as X11 publishes it: the root window's resource database, as xrdb sets it.
class XftDpi {
public:
    XftDpi(Display* display, const std::string& resources) : display(display) {
        const Atom property = XInternAtom(display, "RESOURCE_MANAGER", False);
        XChangeProperty(display, DefaultRootWindow(display), property, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(resources.c_str()),
                        static_cast<int>(resources.size()));
        XSync(display, False);
    }
    ~XftDpi() {
        XDeleteProperty(display, DefaultRootWindow(display), XInternAtom(display, "RESOURCE_MANAGER", False));
        XSync(display, False);
    }

private:
    Display* display;
};

TEST_F(X11Editor, AtXftDpi192TheEditorIsTwiceAsLargeShowsTheTwoTimesFaceAndDragsInFacePixels) {
    const XftDpi dpi(host.display, "Xft.antialias:\t1\nXft.dpi:\t192\n");
    const CRect big(0, 0, 1040, 880);
    const auto expected = memoryBackendFace(200);
    auto plugin = loadEditorBuild();
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 1040);
    EXPECT_EQ(rect->bottom, 880);
    const Window window = host.createHostWindow(10, 10, big.width(), big.height());
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, idOf(window)), 1);
    EXPECT_TRUE(idleWhile([&] { plugin->dispatch(effEditIdle); },
                          [&] { return host.readBack(window, big) != expected; }));
    EXPECT_EQ(host.readBack(window, big), expected);

    // 80 screen pixels up and 40 right on Trim: what 40 and 20 do at 100 %.
    const CPoint trim = host.onScreen(window, CPoint(140, 214));
    InputScript drag;
    drag.moveTo(trim).wait(30).press(Button1).wait(120);
    for (int step = 1; step <= 10; ++step) drag.moveTo(CPoint(trim.h + 4 * step, trim.v - 8 * step)).wait(20);
    drag.wait(120).release(Button1).wait(50);
    play(drag, {plugin.get()});
    EXPECT_FLOAT_EQ(plugin->getParameter(kTrim), 0.8f);
    plugin->dispatch(effEditClose);
}

TEST_F(X11Editor, TheRightClickMenuResizesThroughTheHost) {
    const CRect big(0, 0, 1040, 880);
    const auto expected = memoryBackendFace(200);
    const Window window = host.createHostWindow(10, 10, big.width(), big.height());
    auto plugin = loadEditorBuild();
    plugin->setCallbackAnswer(audioMasterCanDo, 1);
    plugin->setCallbackAnswer(audioMasterSizeWindow, 1);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, idOf(window)), 1);
    idleFor({plugin.get()}, 100);
    InputScript menu;
    menu.moveTo(host.onScreen(window, CPoint(300, 200))).wait(30).click(Button3).wait(50);
    play(menu, {plugin.get()});
    // Down to the last line, 200 %, and Enter: keys come from the host.
    for (int i = 0; i < 4; ++i) plugin->dispatch(effEditKeyDown, 0, 14 /* VKEY_DOWN */);
    plugin->clearCalls();
    plugin->dispatch(effEditKeyDown, 0, 4 /* VKEY_RETURN */);
    idleFor({plugin.get()}, 50);
    bool asked = false;
    for (const auto& call : plugin->calls())
        asked |= call.opcode == audioMasterSizeWindow && call.index == 1040 && call.value == 880;
    EXPECT_TRUE(asked);
    EXPECT_TRUE(idleWhile([&] { plugin->dispatch(effEditIdle); },
                          [&] { return host.readBack(window, big) != expected; }));
    EXPECT_EQ(host.readBack(window, big), expected);
    plugin->dispatch(effEditClose);
}

TEST_F(X11Editor, TheMenuOpensAtThePointerAndAClickedFactoryPresetSetsEveryParameter) {
    const Window window = host.createHostWindow(50, 40, kFace.width(), kFace.height());
    XSelectInput(host.display, window, StructureNotifyMask | KeyPressMask);
    XSetInputFocus(host.display, window, RevertToParent, CurrentTime);
    auto plugin = openIn(window);
    // The menu's lines are 17 pixels apart below a 5-pixel margin, from where the right click was; the
    // preset list opens at the same place.
    const CPoint at(100, 60);
    const auto line = [&](int32_t index) {
        return host.onScreen(window, CPoint(at.h + 40, at.v + 13 + 17 * index));
    };
    const int32_t preset = 3;
    InputScript input;
    input.moveTo(host.onScreen(window, at)).wait(30).click(Button3).wait(50);
    input.moveTo(line(vr58::TapedeckFace::menuLine(vr58::TapedeckFace::kMenuFactory)))
        .wait(30)
        .click(Button1)
        .wait(50);
    input.moveTo(line(preset)).wait(30).click(Button1).wait(50);
    plugin->clearCalls();
    play(input, {plugin.get()});
    for (int32_t i = 0; i < vr58::kEditorParameterCount; ++i)
        EXPECT_EQ(plugin->getParameter(i), vr58::kFactoryPresets[preset].values[i]) << i;
    EXPECT_EQ(editCalls(*plugin).front(), "begin0");
    EXPECT_EQ(host.focusWindow(), window);
    plugin->dispatch(effEditClose);
}

TEST_F(X11Editor, KnobDragSwitchClickAndWheelEditTheParameters) {
    const Window window = host.createHostWindow(50, 40, kFace.width(), kFace.height());
    auto plugin = openIn(window);

    // A linear drag 40 pixels up on the Trim knob: 0.5 + 40/200, inside one edit.
    plugin->clearCalls();
    const CPoint trim = host.onScreen(window, CPoint(70, 107));
    InputScript drag;
    drag.moveTo(trim).wait(30).press(Button1).wait(120);
    for (int step = 1; step <= 10; ++step) drag.moveTo(CPoint(trim.h, trim.v - 4 * step)).wait(20);
    drag.wait(120).release(Button1).wait(50);
    play(drag, {plugin.get()});
    EXPECT_EQ(editCalls(*plugin), (std::vector<std::string>{"begin0", "automate0", "end0"}));
    EXPECT_FLOAT_EQ(plugin->getParameter(kTrim), 0.7f);

    // The Noise switch's left half turns it off.
    plugin->clearCalls();
    InputScript click;
    click.moveTo(host.onScreen(window, CPoint(445, 416))).wait(30).click(Button1);
    play(click, {plugin.get()});
    EXPECT_EQ(editCalls(*plugin), (std::vector<std::string>{"begin14", "automate14", "end14"}));
    EXPECT_EQ(plugin->getParameter(kNoise), 0.0f);

    // The wheel over the Gain knob.
    InputScript turns;
    turns.moveTo(host.onScreen(window, CPoint(450, 107))).wait(30).click(4).wait(50);
    play(turns, {plugin.get()});
    EXPECT_NEAR(plugin->getParameter(kGain), 0.6f, 1e-6);
    plugin->dispatch(effEditClose);
}

TEST_F(X11Editor, TheHostKeepsTheKeyboardAndPassesTheEditorItsArrowKeys) {
    // The host's window is wider than the editor: the pointer can rest on the host's own part.
    const Window window = host.createHostWindow(0, 0, kFace.width() + 120, kFace.height());
    XSelectInput(host.display, window, StructureNotifyMask | KeyPressMask | KeyReleaseMask);
    XSetInputFocus(host.display, window, RevertToParent, CurrentTime);
    auto plugin = openIn(window);
    const KeyCode space = XKeysymToKeycode(host.display, XK_space);

    // A switch, the VU and last a knob: none of the clicks moves the keyboard. Space typed afterwards,
    // with the pointer on the host's part and on the editor, reaches the host as the server made it.
    const CPoint noise(445, 416), vu(200, 120), gain(450, 107);
    for (const CPoint& target : {noise, vu, gain}) {
        InputScript click;
        click.moveTo(host.onScreen(window, target)).wait(30).click(Button1).wait(50);
        play(click, {plugin.get()});
        EXPECT_EQ(host.focusWindow(), window) << "after a click at " << target.h << ", " << target.v;
    }
    for (const CPoint& pointer : {CPoint(kFace.width() + 60, 200), gain}) {
        InputScript key;
        key.moveTo(host.onScreen(window, pointer)).wait(30).key(XK_space).wait(50);
        play(key, {plugin.get()});
        XSync(host.display, False);
        std::vector<XKeyEvent> presses;
        for (XEvent event; XCheckWindowEvent(host.display, window, KeyPressMask, &event);)
            presses.push_back(event.xkey);
        ASSERT_EQ(presses.size(), 1u) << "pointer at " << pointer.h << ", " << pointer.v;
        EXPECT_EQ(presses[0].keycode, space);
        EXPECT_FALSE(presses[0].send_event);
    }

    // Keys the host passes on: Up moves the knob clicked last by one step in one edit; what the editor
    // does not use (the release, space) is answered as not taken, and changes nothing.
    const float before = plugin->getParameter(kGain);
    plugin->clearCalls();
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 0, kVirtualUp), 1);
    EXPECT_EQ(plugin->dispatch(effEditKeyUp, 0, kVirtualUp), 0);
    EXPECT_EQ(editCalls(*plugin), (std::vector<std::string>{"begin1", "automate1", "end1"}));
    EXPECT_NEAR(plugin->getParameter(kGain), before + 0.1f, 1e-6);
    plugin->clearCalls();
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, ' ', kVirtualSpace), 0);
    EXPECT_EQ(plugin->dispatch(effEditKeyDown, 'a', 0), 0);
    EXPECT_TRUE(editCalls(*plugin).empty());
    plugin->dispatch(effEditClose);
}

TEST_F(X11Editor, TwoInstancesOpenAtOnceEditOnlyTheirOwnParameters) {
    const auto face = memoryBackendFace();
    const Window left = host.createHostWindow(0, 0, kFace.width(), kFace.height());
    const Window right = host.createHostWindow(kFace.width() + 20, 0, kFace.width(), kFace.height());
    auto first = openIn(left);
    auto second = openIn(right);
    // A memory-backend embedding opened meanwhile lives beside them: each frame keeps its own backend,
    // and both X11 windows go on working.
    auto third = loadEditorBuild();
    vr58::softhost::Window parent{0, 0};
    third->dispatch(effVendorSpecific, vr58::softhost::kVendorIndex, vr58::softhost::kEnable);
    ASSERT_EQ(third->dispatch(effEditOpen, 0, 0, &parent), 1);
    EXPECT_EQ(third->dispatch(effVendorSpecific, vr58::softhost::kVendorIndex, vr58::softhost::kPaint), 1);
    std::vector<uint32_t> thirdFace(static_cast<size_t>(kFace.width()) * kFace.height());
    vr58::softhost::Pixels thirdPixels{kFace.width(), kFace.height(), thirdFace.data()};
    third->dispatch(effVendorSpecific, vr58::softhost::kVendorIndex, vr58::softhost::kReadPixels,
                    &thirdPixels);
    for (uint32_t& pixel : thirdFace) pixel &= 0xFFFFFFu;
    EXPECT_EQ(thirdFace, face);

    InputScript drag;
    const CPoint trim = host.onScreen(right, CPoint(70, 107));
    drag.moveTo(trim).wait(30).press(Button1).wait(120).moveTo(CPoint(trim.h + 20, trim.v)).wait(120);
    drag.release(Button1).wait(50);
    play(drag, {first.get(), second.get()});
    EXPECT_FLOAT_EQ(second->getParameter(kTrim), 0.6f);
    EXPECT_FLOAT_EQ(first->getParameter(kTrim), 0.5f);
    EXPECT_TRUE(
        idleWhile([&] { first->dispatch(effEditIdle); }, [&] { return host.readBack(left, kFace) != face; }));
    first->dispatch(effEditClose);
    second->dispatch(effEditClose);
    third->dispatch(effEditClose);
}

// Some hosts run each instance's editor on a thread of its own: two editors opened, idled and closed on
// two threads at once, each drawing the face into its own window and reading only its own connection.
TEST_F(X11Editor, EditorsOfTwoInstancesOpenIdleAndCloseOnTwoThreads) {
    const auto face = memoryBackendFace();
    const Window left = host.createHostWindow(0, 0, kFace.width(), kFace.height());
    const Window right = host.createHostWindow(kFace.width() + 20, 0, kFace.width(), kFace.height());
    auto first = loadEditorBuild();
    auto second = loadEditorBuild();
    constexpr int kRounds = 20;
    std::atomic<int> shown{0};
    std::atomic<bool> looked{false};
    const auto gui = [&](HostedPlugin* plugin, Window window, int* opened) {
        for (int round = 0; round < kRounds; ++round) {
            if (plugin->dispatch(effEditOpen, 0, 0, idOf(window)) != 1) return;
            ++*opened;
            idleFor({plugin}, 20);
            plugin->dispatch(effEditClose);
        }
        if (plugin->dispatch(effEditOpen, 0, 0, idOf(window)) != 1) return;
        idleFor({plugin}, 100);
        shown.fetch_add(1);
        // The host's GUI thread goes on idling while the picture is looked at.
        while (!looked.load()) idleFor({plugin}, 10);
        plugin->dispatch(effEditClose);
    };
    int openedFirst = 0, openedSecond = 0;
    std::thread a(gui, first.get(), left, &openedFirst);
    std::thread b(gui, second.get(), right, &openedSecond);

    bool bothShowTheFace = false;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!bothShowTheFace && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        bothShowTheFace =
            shown.load() == 2 && host.readBack(left, kFace) == face && host.readBack(right, kFace) == face;
    }
    looked = true;
    a.join();
    b.join();
    EXPECT_TRUE(bothShowTheFace);
    EXPECT_EQ(openedFirst, kRounds);
    EXPECT_EQ(openedSecond, kRounds);
    EXPECT_EQ(children(left), 0u);
    EXPECT_EQ(children(right), 0u);
}

TEST_F(X11Editor, ClosesWhileAudioRunsAndWhenTheHostClosesTheEffectWithTheWindowOpen) {
    const Window window = host.createHostWindow(0, 0, kFace.width(), kFace.height());
    auto plugin = loadEditorBuild();
    std::atomic<bool> running{true};
    std::thread audio([&] {
        std::vector<float> left(256), right(256), outLeft(256), outRight(256);
        float* inputs[] = {left.data(), right.data()};
        float* outputs[] = {outLeft.data(), outRight.data()};
        for (uint32_t frame = 0; running; frame += 256) {
            for (size_t i = 0; i < 256; ++i) left[i] = right[i] = 0.9f * std::sin(0.05f * float(frame + i));
            plugin->processReplacing(inputs, outputs, 256);
        }
    });
    for (int round = 0; round < 20; ++round) {
        ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, idOf(window)), 1);
        idleFor({plugin.get()}, 30);
        plugin->dispatch(effEditClose);
        EXPECT_EQ(children(window), 0u);
    }
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, idOf(window)), 1);
    idleFor({plugin.get()}, 30);
    running = false;
    audio.join();
    plugin->close();
    EXPECT_EQ(children(window), 0u);
}

TEST_F(X11Editor, NoEditorOpensWithoutADisplay) {
    const Window window = host.createHostWindow(0, 0, 100, 100);
    auto plugin = loadEditorBuild();
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, idOf(window)), 0);
    plugin->dispatch(effEditIdle);
    plugin->dispatch(effEditClose);
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(children(window), 0u);
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, idOf(window)), 1);
    plugin->close();
}

} // namespace
} // namespace vr58test

// VR58G_ui.so as an LV2 host loads it, on a real X server: instantiated in the host's window, idled
// through its idle interface, driven by real pointer input (XTEST) and by port events, and cleaned up.
// GoogleTest first: Xlib's macros (None, Bool) would otherwise rename parts of it.
#include <gtest/gtest.h>

#include "../x11/x11_test_display.h"

#include <X11/Xutil.h>

#include "lv2/lv2_ports.h"

#include <lv2/atom/atom.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <dlfcn.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace vr58test {
namespace {

using vr58::kEditorBuild;
using VSTGUI::CPoint;
using VSTGUI::CRect;

constexpr int32_t kTrim = 0;
constexpr CRect kFace(0, 0, 520, 440);
constexpr CRect kTrimKnob(30, 67, 110, 147);
constexpr CRect kVuMeter(165, 62, 355, 152);

// The host's side: its features, what the UI wrote and touched, and the UI's library.
class StandInHost {
public:
    explicit StandInHost(Window parent) : parent(parent) {
        library = dlopen(VR58G_UI_BINARY, RTLD_NOW | RTLD_LOCAL);
        if (!library) return;
        auto entry =
            reinterpret_cast<const LV2UI_Descriptor* (*)(uint32_t)>(dlsym(library, "lv2ui_descriptor"));
        descriptor = entry ? entry(0) : nullptr;
        if (descriptor)
            idleInterface =
                static_cast<const LV2UI_Idle_Interface*>(descriptor->extension_data(LV2_UI__idleInterface));
    }
    ~StandInHost() {
        close();
        if (library) dlclose(library);
    }

    // scaleFactor > 0: the desktop's scale, as hosts pass it in the options feature.
    bool instantiate(float scaleFactor = 0.0f) {
        features = {{LV2_UI__parent, reinterpret_cast<void*>(parent)},
                    {LV2_UI__resize, &resize},
                    {LV2_UI__touch, &touch},
                    {LV2_UI__idleInterface, nullptr}};
        if (scaleFactor > 0.0f) {
            scale = scaleFactor;
            options[0] = {
                LV2_OPTIONS_INSTANCE,           0,     map.map(this, LV2_UI__scaleFactor), sizeof(float),
                map.map(this, LV2_ATOM__Float), &scale};
            features.push_back({LV2_URID__map, &map});
            features.push_back({LV2_OPTIONS__options, options});
        }
        featureList.clear();
        for (const LV2_Feature& f : features) featureList.push_back(&f);
        featureList.push_back(nullptr);
        handle = descriptor->instantiate(descriptor, vr58::lv2::kEditorPluginUri, "", &StandInHost::write,
                                         this, &widget, featureList.data());
        return handle != nullptr;
    }
    void close() {
        if (handle) descriptor->cleanup(handle);
        handle = nullptr;
    }
    void idle() { idleInterface->idle(handle); }
    void portEvent(uint32_t port, float value) {
        descriptor->port_event(handle, port, sizeof value, 0, &value);
    }

    Window parent;
    void* library = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    const LV2UI_Idle_Interface* idleInterface = nullptr;
    LV2UI_Handle handle = nullptr;
    LV2UI_Widget widget = nullptr;
    // "touch4+", "write4", "touch4-", "resize520x440", in order; the values written, by port.
    std::vector<std::string> calls;
    std::vector<std::pair<uint32_t, float>> written;

private:
    static void write(LV2UI_Controller controller, uint32_t port, uint32_t size, uint32_t format,
                      const void* buffer) {
        auto* self = static_cast<StandInHost*>(controller);
        const std::string call = "write" + std::to_string(port);
        if (self->calls.empty() || self->calls.back() != call) self->calls.push_back(call);
        if (size == sizeof(float) && format == 0)
            self->written.emplace_back(port, *static_cast<const float*>(buffer));
    }

    LV2UI_Resize resize{this, [](LV2UI_Feature_Handle h, int width, int height) {
                            static_cast<StandInHost*>(h)->calls.push_back("resize" + std::to_string(width) +
                                                                          "x" + std::to_string(height));
                            return 0;
                        }};
    LV2UI_Touch touch{this, [](LV2UI_Feature_Handle h, uint32_t port, bool grabbed) {
                          static_cast<StandInHost*>(h)->calls.push_back("touch" + std::to_string(port) +
                                                                        (grabbed ? "+" : "-"));
                      }};
    std::vector<std::string> uris;
    LV2_URID_Map map{this, [](LV2_URID_Map_Handle h, const char* uri) {
                         auto& known = static_cast<StandInHost*>(h)->uris;
                         for (size_t i = 0; i < known.size(); ++i)
                             if (known[i] == uri) return static_cast<LV2_URID>(i + 1);
                         known.push_back(uri);
                         return static_cast<LV2_URID>(known.size());
                     }};
    float scale = 0.0f;
    LV2_Options_Option options[2] = {};
    std::vector<LV2_Feature> features;
    std::vector<const LV2_Feature*> featureList;
};

class LV2UiOnX11 : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.open()) << "no X display: the test command runs these under Xvfb";
        // A settings folder of the test's own: no size chosen elsewhere changes what the UI opens at.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        config = std::filesystem::temp_directory_path() / (std::string("vr58-lv2-ui-config-") + info->name());
        std::filesystem::remove_all(config);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        window = display.createHostWindow(20, 20, 600, 500);
    }
    void TearDown() override {
        unsetenv("XDG_CONFIG_HOME");
        std::error_code ignored;
        std::filesystem::remove_all(config, ignored);
    }
    std::vector<Window> children() {
        Window root = 0, parent = 0, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display.display, window, &root, &parent, &list, &count);
        std::vector<Window> result(list, list + count);
        if (list) XFree(list);
        return result;
    }
    static void idleFor(StandInHost& host, int milliseconds) {
        idleWhile([&] { host.idle(); }, [] { return true; }, std::chrono::milliseconds(milliseconds));
    }
    std::vector<uint32_t> pixels(const CRect& area) { return display.readBack(window, area); }

    TestDisplay display;
    Window window = 0;
    std::filesystem::path config;
};

TEST_F(LV2UiOnX11, OpensInTheHostsWindowAtTheEditorsSizeAndLeavesNothingBehind) {
    StandInHost host(window);
    ASSERT_NE(host.descriptor, nullptr) << dlerror();
    ASSERT_NE(host.idleInterface, nullptr);
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(host.instantiate());
        EXPECT_EQ(host.calls, (std::vector<std::string>{"resize520x440"}));
        const std::vector<Window> opened = children();
        ASSERT_EQ(opened.size(), 1u);
        EXPECT_EQ(opened[0], reinterpret_cast<Window>(host.widget));
        XWindowAttributes attributes{};
        XGetWindowAttributes(display.display, opened[0], &attributes);
        EXPECT_EQ(attributes.width, kFace.width());
        EXPECT_EQ(attributes.height, kFace.height());
        // The skin, not the plain colour the window shows before its first painting.
        EXPECT_TRUE(idleWhile([&] { host.idle(); },
                              [&] {
                                  const auto face = pixels(kFace);
                                  return std::set<uint32_t>(face.begin(), face.end()).size() < 1000;
                              }));
        host.close();
        XSync(display.display, False);
        EXPECT_TRUE(children().empty());
        host.calls.clear();
    }
}

TEST_F(LV2UiOnX11, ADragOnTrimWritesItsPortInDecibelsInsideOneTouch) {
    StandInHost host(window);
    ASSERT_TRUE(host.instantiate());
    idleFor(host, 100);
    host.calls.clear();
    // 40 pixels up and 20 right from Trim's centre: the linear knob travels 0.3, from 0.5 to 0.8.
    const CPoint trim = display.onScreen(window, CPoint(70, 107));
    InputScript drag;
    drag.moveTo(trim).wait(30).press(Button1).wait(120);
    for (int step = 1; step <= 10; ++step) drag.moveTo(CPoint(trim.h + 2 * step, trim.v - 4 * step)).wait(20);
    drag.wait(120).release(Button1).wait(50);
    drag.start();
    EXPECT_TRUE(idleWhile([&] { host.idle(); }, [&] { return drag.running(); }, std::chrono::seconds(10)));
    idleFor(host, 50);
    EXPECT_EQ(host.calls, (std::vector<std::string>{"touch4+", "write4", "touch4-"}));
    ASSERT_FALSE(host.written.empty());
    EXPECT_FLOAT_EQ(host.written.back().second, 14.4f);
    host.close();
}

// The host embeds the widget it got at instantiate and sizes its container from it: a size chosen in the
// face's menu resizes that same window, larger and smaller, and the face drawn again is the same face.
TEST_F(LV2UiOnX11, ASizeChosenInTheFacesMenuResizesTheHostsWidgetBothWaysAndTellsTheHost) {
    StandInHost host(window);
    ASSERT_TRUE(host.instantiate());
    idleFor(host, 100);
    const std::vector<uint32_t> face = pixels(kFace);
    host.calls.clear();
    // A window made or destroyed in the host's window from now on would be a replaced widget.
    XSelectInput(display.display, window, SubstructureNotifyMask);
    const auto choose = [&](CPoint rightClick, CPoint line) {
        InputScript menu;
        menu.moveTo(display.onScreen(window, rightClick)).wait(30).click(Button3).wait(100);
        menu.moveTo(display.onScreen(window, line)).wait(30).click(Button1).wait(100);
        menu.start();
        EXPECT_TRUE(
            idleWhile([&] { host.idle(); }, [&] { return menu.running(); }, std::chrono::seconds(10)));
        idleFor(host, 100);
    };
    const auto widgetSize = [&] {
        const std::vector<Window> shown = children();
        EXPECT_EQ(shown, std::vector<Window>{reinterpret_cast<Window>(host.widget)});
        XWindowAttributes attributes{};
        if (!shown.empty()) XGetWindowAttributes(display.display, shown[0], &attributes);
        return std::make_pair(attributes.width, attributes.height);
    };
    // The menu opens under the right-click; its last line, 200 %, is 82 pixels below it at 100 %.
    choose(CPoint(300, 200), CPoint(330, 282));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"resize1040x880"}));
    EXPECT_EQ(widgetSize(), std::make_pair(1040, 880));
    // At 200 % the menu's first line, 100 %, lies 24 pixels below a right-click on free space.
    choose(CPoint(500, 360), CPoint(530, 384));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"resize1040x880", "resize520x440"}));
    EXPECT_EQ(widgetSize(), std::make_pair(520, 440));
    // GTK hosts size their window from these: the smaller face must not keep the larger minimum.
    XSizeHints hints{};
    long supplied = 0;
    ASSERT_TRUE(XGetWMNormalHints(display.display, reinterpret_cast<Window>(host.widget), &hints, &supplied));
    EXPECT_EQ(hints.flags & (PMinSize | PBaseSize), PMinSize | PBaseSize);
    EXPECT_EQ(std::make_pair(hints.min_width, hints.min_height), std::make_pair(520, 440));
    EXPECT_EQ(std::make_pair(hints.base_width, hints.base_height), std::make_pair(520, 440));
    EXPECT_EQ(pixels(kFace), face);
    XSync(display.display, False);
    XEvent event;
    EXPECT_FALSE(XCheckTypedWindowEvent(display.display, window, DestroyNotify, &event));
    EXPECT_FALSE(XCheckTypedWindowEvent(display.display, window, CreateNotify, &event));
    host.close();
    XSync(display.display, False);
    EXPECT_TRUE(children().empty());
}

TEST_F(LV2UiOnX11, TheHostsScaleFactorSizesTheFirstOpening) {
    StandInHost host(window);
    ASSERT_TRUE(host.instantiate(1.5f));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"resize780x660"}));
    host.close();
}

TEST_F(LV2UiOnX11, PortEventsTurnTheKnobAndMoveTheNeedle) {
    StandInHost host(window);
    ASSERT_TRUE(host.instantiate());
    idleFor(host, 100);
    const auto knob = pixels(kTrimKnob);
    const auto needle = pixels(kVuMeter);
    host.portEvent(vr58::lv2::parameterPort(kTrim), 24.0f);
    host.portEvent(vr58::lv2::meterLevelPort(kEditorBuild), 0.5f);
    EXPECT_TRUE(idleWhile([&] { host.idle(); },
                          [&] { return pixels(kTrimKnob) == knob || pixels(kVuMeter) == needle; }));
    // Back where they were, by port events alone.
    host.portEvent(vr58::lv2::parameterPort(kTrim), 0.0f);
    host.portEvent(vr58::lv2::meterLevelPort(kEditorBuild), 0.0f);
    EXPECT_TRUE(idleWhile([&] { host.idle(); },
                          [&] { return pixels(kTrimKnob) != knob || pixels(kVuMeter) != needle; }));
    EXPECT_TRUE(host.written.empty()) << "a host's change is not sent back to it";
    host.close();
}

// A host that never calls the idle interface but sends the meter ports still gets a living face.
TEST_F(LV2UiOnX11, PortEventsAloneDriveAHostThatNeverIdles) {
    StandInHost host(window);
    ASSERT_TRUE(host.instantiate());
    const auto before = pixels(kVuMeter);
    const auto start = std::chrono::steady_clock::now();
    bool moved = false;
    while (!moved && std::chrono::steady_clock::now() - start < std::chrono::seconds(5)) {
        host.portEvent(vr58::lv2::meterLevelPort(kEditorBuild), 0.5f);
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        moved = pixels(kVuMeter) != before;
    }
    EXPECT_TRUE(moved);
    host.close();
}

} // namespace
} // namespace vr58test

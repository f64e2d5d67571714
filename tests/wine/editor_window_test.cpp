// The editor build's DLL as a Windows host uses it, under Wine with a virtual display: the editor opens
// in a real top-level window and shows the same face as the editor drawn in memory at the same values;
// real pointer input from another thread drags a knob and clicks a switch, which automate the host;
// loud audio moves the needle and lights the lamp; closing, reopening and destroying the effect leave no
// window behind.
#include "editor/factory_presets.h"
#include "vst2/QuorvaneTapedeck.h"
#include "vst2/QuorvaneTapedeckGUI.h"
#include "host/hosted_plugin.h"
#include "vst2/QuorvaneTapedeckGUI.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"
#include "vstgui/vstkeycode.h"
#include "wine_host_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cmath>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace VSTGUI;
using vr58::testing::pumpMessages;
using vr58::testing::pumpWhile;

namespace {

constexpr int kWidth = 520;
constexpr int kHeight = 440;

// The host's editor window, at the face's size.
class HostWindow : public vr58::testing::HostWindow {
public:
    HostWindow() : vr58::testing::HostWindow(kWidth, kHeight, 40, 40) {}
};

std::vector<uint32_t> readWindow(HWND window) {
    std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
    CDrawContext context(nullptr, nullptr, window);
    if (!context.getSurface() ||
        !context.getSurface()->readPixels(CRect(0, 0, kWidth, kHeight), pixels.data()))
        pixels.clear();
    return pixels;
}

size_t differentPixels(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
    if (a.size() != b.size()) return a.size() + b.size();
    size_t different = 0;
    for (size_t i = 0; i < a.size(); ++i) different += (a[i] & 0xFFFFFFu) != (b[i] & 0xFFFFFFu);
    return different;
}

std::vector<uint32_t> region(const std::vector<uint32_t>& window, const CRect& r) {
    std::vector<uint32_t> pixels;
    for (CCoord y = r.top; y < r.bottom; ++y)
        for (CCoord x = r.left; x < r.right; ++x)
            pixels.push_back(window[static_cast<size_t>(y) * kWidth + x] & 0xFFFFFFu);
    return pixels;
}

// Real input, as the system delivers it from the pointing device, made by another thread while the
// window's thread handles it (the knob's drag loop polls the button state and the cursor).
void pressButton(bool down, bool right = false) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                             : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &input, sizeof(input));
}

intptr_t silentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// The face the editor shows for these parameter values, drawn in memory by this program's own copy of
// the editor and toolkit.
std::vector<uint32_t> faceInMemory(const std::vector<float>& values) {
    platform::Backend* previous = platform::setBackend(&soft::softBackend());
    std::vector<uint32_t> face;
    {
        auto* effect = new QuorvaneTapedeck(silentHost, vr58::kEditorBuild);
        auto* editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        for (size_t i = 0; i < values.size(); ++i) effect->setParameter(static_cast<int32_t>(i), values[i]);
        soft::HostWindow window;
        if (editor->open(&window) && window.child) {
            window.child->paint(CRect(0, 0, kWidth, kHeight));
            editor->idle();
            face = window.child->screen().data;
        }
        AEffect* record = effect->getAeffect();
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    }
    platform::setBackend(previous);
    return face;
}

class WineEditorWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() { platform::setModuleHandle(GetModuleHandleA(nullptr)); }
    void SetUp() override {
        platform::setBackend(nullptr);
        std::string error;
        plugin = vr58::host::HostedPlugin::load(VR58G_DLL, error);
        ASSERT_TRUE(plugin) << error;
        plugin->setSampleRate(48000.0f);
    }
    std::vector<float> parameters() {
        std::vector<float> values;
        for (int32_t i = 0; i < plugin->effect()->numParams; ++i) values.push_back(plugin->getParameter(i));
        return values;
    }

    std::unique_ptr<vr58::host::HostedPlugin> plugin;
};

TEST_F(WineEditorWindow, OpensInTheHostsWindowShowingTheFaceOfTheCurrentValues) {
    ERect* rect = nullptr;
    ASSERT_EQ(plugin->dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, kWidth);
    EXPECT_EQ(rect->bottom, kHeight);
    plugin->setParameter(0, 0.0f);
    plugin->setParameter(2, 1.0f);
    plugin->setParameter(10, 0.2f);

    HostWindow host;
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    pumpMessages();
    plugin->dispatch(effEditIdle);
    pumpMessages();
    HWND editor = host.editorWindow();
    ASSERT_NE(editor, nullptr);
    const std::vector<uint32_t> shown = readWindow(editor);
    const std::vector<uint32_t> expected = faceInMemory(parameters());
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(differentPixels(shown, expected), 0u);
}

TEST_F(WineEditorWindow, RealPointerInputDragsAKnobAndClicksASwitchAutomatingTheHost) {
    HostWindow host;
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    SetForegroundWindow(host.hwnd);
    pumpMessages();
    HWND editor = host.editorWindow();
    POINT knob{70, 107}; // Trim's knob, at its centre
    ClientToScreen(editor, &knob);
    plugin->clearCalls();

    std::thread drag([&] {
        SetCursorPos(knob.x, knob.y);
        Sleep(100);
        pressButton(true);
        for (int up = 5; up <= 40; up += 5) {
            Sleep(40);
            SetCursorPos(knob.x, knob.y - up);
        }
        Sleep(150);
        pressButton(false);
    });
    pumpWhile(drag);
    EXPECT_NEAR(plugin->getParameter(0), 0.7f, 0.03f); // 40 pixels up: a fifth of the range

    std::vector<vr58::host::HostCall> calls = plugin->calls();
    std::vector<int32_t> gesture;
    for (const auto& call : calls)
        if (call.opcode != audioMasterIdle) gesture.push_back(call.opcode);
    ASSERT_GE(gesture.size(), 3u);
    EXPECT_EQ(gesture.front(), audioMasterBeginEdit);
    EXPECT_EQ(gesture.back(), audioMasterEndEdit);
    for (size_t i = 1; i + 1 < gesture.size(); ++i) EXPECT_EQ(gesture[i], audioMasterAutomate);

    POINT noise{445, 410}; // Noise's switch, its left half: off
    ClientToScreen(editor, &noise);
    plugin->clearCalls();
    std::thread click([&] {
        SetCursorPos(noise.x, noise.y);
        Sleep(100);
        pressButton(true);
        Sleep(100);
        pressButton(false);
    });
    pumpWhile(click);
    EXPECT_EQ(plugin->getParameter(14), 0.0f);
    calls = plugin->calls();
    ASSERT_GE(calls.size(), 3u);
    EXPECT_EQ(calls.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(calls.back().opcode, audioMasterEndEdit);

    // The pointer leaves the face: a second later the read-out of the switch is gone, and the window
    // shows the face as drawn in memory.
    POINT away{-20, -20};
    ClientToScreen(editor, &away);
    SetCursorPos(away.x, away.y);
    plugin->dispatch(effEditIdle);
    Sleep(1100);
    plugin->dispatch(effEditIdle);
    pumpMessages();
    EXPECT_EQ(differentPixels(readWindow(editor), faceInMemory(parameters())), 0u);
}

TEST_F(WineEditorWindow, RightClickOpensTheMenuAtThePointerAndAClickedFactoryPresetSetsEveryParameter) {
    HostWindow host;
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    SetForegroundWindow(host.hwnd);
    SetFocus(host.hwnd);
    pumpMessages();
    HWND editor = host.editorWindow();
    // The menu's lines are 17 pixels apart below a 5-pixel margin, from where the right click was; the
    // preset list opens at the same place.
    const POINT at{100, 60};
    const auto onScreen = [&](int x, int y) {
        POINT p{x, y};
        ClientToScreen(editor, &p);
        return p;
    };
    const int32_t preset = 3;
    const int factoryLine = vr58::TapedeckFace::menuLine(vr58::TapedeckFace::kMenuFactory);
    const POINT clicks[] = {onScreen(at.x, at.y), onScreen(at.x + 40, at.y + 13 + 17 * factoryLine),
                            onScreen(at.x + 40, at.y + 13 + 17 * preset)};
    plugin->clearCalls();
    for (int i = 0; i < 3; ++i) {
        std::thread click([&] {
            SetCursorPos(clicks[i].x, clicks[i].y);
            Sleep(100);
            pressButton(true, i == 0);
            Sleep(100);
            pressButton(false, i == 0);
        });
        pumpWhile(click);
        plugin->dispatch(effEditIdle);
    }
    for (int32_t i = 0; i < vr58::kEditorParameterCount; ++i)
        EXPECT_EQ(plugin->getParameter(i), vr58::kFactoryPresets[preset].values[i]) << i;
    EXPECT_EQ(GetFocus(), host.hwnd) << "the menu took the keyboard";
}

TEST_F(WineEditorWindow, LoudAudioMovesTheNeedleAndLightsTheLampAndSilenceBringsThemBack) {
    HostWindow host;
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    pumpMessages();
    HWND editor = host.editorWindow();
    const CRect needle(165, 62, 328, 152), lamp(328, 71, 356, 99);
    plugin->dispatch(effEditIdle);
    pumpMessages();
    const std::vector<uint32_t> rest = readWindow(editor);

    const auto play = [&](float amplitude, int blocks) {
        std::vector<float> left(512), right(512);
        float* io[] = {left.data(), right.data()};
        for (int block = 0; block < blocks; ++block) {
            for (int i = 0; i < 512; ++i)
                left[i] = right[i] = amplitude * std::sin(0.05f * (block * 512 + i));
            plugin->processReplacing(io, io, 512);
        }
        plugin->dispatch(effEditIdle);
        pumpMessages();
    };
    plugin->setParameter(1, 1.0f);  // +24 dB out: every peak an over
    plugin->setParameter(14, 0.0f); // and no hiss to hold the needle off its rest in the silence
    play(0.5f, 30);
    const std::vector<uint32_t> loud = readWindow(editor);
    EXPECT_GT(differentPixels(region(loud, needle), region(rest, needle)), 200u);
    EXPECT_GT(differentPixels(region(loud, lamp), region(rest, lamp)), 100u);

    play(0.0f, 300); // over six seconds of silence at 48 kHz
    Sleep(400);      // the lamp stays lit for 300 ms after its last over
    plugin->dispatch(effEditIdle);
    pumpMessages();
    const std::vector<uint32_t> quiet = readWindow(editor);
    EXPECT_EQ(differentPixels(region(quiet, needle), region(rest, needle)), 0u);
    EXPECT_EQ(differentPixels(region(quiet, lamp), region(rest, lamp)), 0u);
}

TEST_F(WineEditorWindow, ReopeningAndDestroyingTheEffectLeaveNoWindowBehind) {
    HostWindow host;
    EXPECT_EQ(plugin->dispatch(effEditOpen, 0, 0, nullptr), 0);
    EXPECT_EQ(host.editorWindow(), nullptr);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1); // no close in between
    HWND editor = host.editorWindow();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(GetWindow(editor, GW_HWNDNEXT), nullptr); // one editor window only
    plugin->dispatch(effEditClose);
    EXPECT_FALSE(IsWindow(editor));
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    editor = host.editorWindow();
    EXPECT_EQ(plugin->close(), 1); // effClose with the window open
    EXPECT_FALSE(IsWindow(editor));
    EXPECT_EQ(host.editorWindow(), nullptr);
}

// The host closes the editor from inside a callback of a gesture made with real input: the drag of the
// Trim knob, a wheel step over it and an arrow key; the host receives the gesture's endEdit exactly once.
// When the host destroys the effect there instead, nothing follows the beginEdit.
enum class Gesture { Drag, Wheel, Key };
struct ClosingCase {
    Gesture gesture;
    int32_t during;
    int32_t action;
};

class WineGestureClosed : public WineEditorWindow, public ::testing::WithParamInterface<ClosingCase> {};

TEST_P(WineGestureClosed, TheHostGetsOneEndEditWhileTheEffectLives) {
    HostWindow host;
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    SetForegroundWindow(host.hwnd);
    pumpMessages();
    POINT knob{70, 107}; // Trim's knob, at its centre
    ClientToScreen(host.editorWindow(), &knob);
    if (GetParam().gesture == Gesture::Key) {
        // A click gives the knob the focus that keys go to.
        std::thread click([&] {
            SetCursorPos(knob.x, knob.y);
            Sleep(100);
            pressButton(true);
            Sleep(100);
            pressButton(false);
        });
        pumpWhile(click);
    }
    plugin->clearCalls();
    bool acted = false;
    plugin->setCallbackAction([&](int32_t opcode) {
        if (acted || opcode != GetParam().during) return;
        acted = true;
        if (GetParam().action == effClose)
            plugin->close();
        else
            plugin->dispatch(effEditClose);
    });
    switch (GetParam().gesture) {
    case Gesture::Drag: {
        std::thread drag([&] {
            SetCursorPos(knob.x, knob.y);
            Sleep(100);
            pressButton(true);
            for (int up = 5; up <= 20; up += 5) {
                Sleep(80);
                SetCursorPos(knob.x, knob.y - up);
            }
            Sleep(150);
            pressButton(false);
        });
        pumpWhile(drag);
        break;
    }
    case Gesture::Wheel: {
        std::thread wheel([&] {
            SetCursorPos(knob.x, knob.y);
            Sleep(100);
            INPUT input{};
            input.type = INPUT_MOUSE;
            input.mi.dwFlags = MOUSEEVENTF_WHEEL;
            input.mi.mouseData = WHEEL_DELTA;
            SendInput(1, &input, sizeof(input));
        });
        pumpWhile(wheel);
        break;
    }
    case Gesture::Key:
        plugin->dispatch(effEditKeyDown, 0, VKEY_UP);
        break;
    }
    plugin->setCallbackAction(nullptr);

    ASSERT_TRUE(acted);
    int begins = 0, ends = 0;
    for (const auto& call : plugin->calls()) {
        begins += call.opcode == audioMasterBeginEdit;
        ends += call.opcode == audioMasterEndEdit;
    }
    EXPECT_EQ(begins, 1);
    EXPECT_EQ(ends, GetParam().action == effEditClose ? 1 : 0);
    EXPECT_EQ(host.editorWindow(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Callbacks, WineGestureClosed,
                         ::testing::Values(ClosingCase{Gesture::Drag, audioMasterBeginEdit, effEditClose},
                                           ClosingCase{Gesture::Drag, audioMasterAutomate, effEditClose},
                                           ClosingCase{Gesture::Drag, audioMasterIdle, effEditClose},
                                           ClosingCase{Gesture::Wheel, audioMasterAutomate, effEditClose},
                                           ClosingCase{Gesture::Key, audioMasterBeginEdit, effEditClose},
                                           ClosingCase{Gesture::Key, audioMasterAutomate, effEditClose},
                                           ClosingCase{Gesture::Drag, audioMasterAutomate, effClose}));

} // namespace

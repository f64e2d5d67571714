// The editor build's DLL in a per-monitor DPI-aware Windows host on a 192-DPI screen (Wine with
// LogPixels 192, a prefix of its own): a 1040 x 880 window showing the face the memory backend draws at
// 200 %, a real drag of 80 x 40 pixels that does what 40 x 20 do at 100 %, the host's scale hint, and the
// right-click menu resizing the window through the host.
#include "vst2/QuorvaneTapedeck.h"
#include "vst2/QuorvaneTapedeckGUI.h"
#include "host/hosted_plugin.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"
#include "wine_host_window.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

using namespace VSTGUI;
using vr58::testing::pumpMessages;
using vr58::testing::pumpWhile;

namespace {

// A host window with its corner at the screen's origin.
class HostWindow : public vr58::testing::HostWindow {
public:
    HostWindow(int width, int height) : vr58::testing::HostWindow(width, height, 0, 0) {}
};

void mouseButton(DWORD flags) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(input));
}

std::vector<uint32_t> readWindow(HWND window, int width, int height) {
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    CDrawContext context(nullptr, nullptr, window);
    if (!context.getSurface() || !context.getSurface()->readPixels(CRect(0, 0, width, height), pixels.data()))
        pixels.clear();
    for (uint32_t& p : pixels) p &= 0xFFFFFFu;
    return pixels;
}

intptr_t silentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

// The face at a size for these values, drawn in memory by this program's own copy of the editor.
std::vector<uint32_t> faceInMemory(const std::vector<float>& values, int32_t scale) {
    platform::Backend* previous = platform::setBackend(&soft::softBackend());
    std::vector<uint32_t> face;
    {
        auto* effect = new QuorvaneTapedeck(silentHost, vr58::kEditorBuild);
        auto* editor = new QuorvaneTapedeckGUI(effect, effect->meterFeed());
        for (size_t i = 0; i < values.size(); ++i) effect->setParameter(static_cast<int32_t>(i), values[i]);
        editor->setNextOpeningScale(scale);
        soft::HostWindow window;
        if (editor->open(&window) && window.child) {
            window.child->paint(window.child->screen().bounds());
            editor->idle();
            face = window.child->screen().data;
        }
        AEffect* record = effect->getAeffect();
        record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f);
    }
    platform::setBackend(previous);
    for (uint32_t& p : face) p &= 0xFFFFFFu;
    return face;
}

std::filesystem::path settingsFile() {
    const wchar_t* appData = _wgetenv(L"APPDATA");
    return appData ? std::filesystem::path(appData) / "Quorvane" / "VR58" / "editor.cfg"
                   : std::filesystem::path();
}

class WineDpiEditor : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        // A per-monitor aware host: Windows leaves the scaling of its windows to it and its plug-ins.
        using SetContext = BOOL(WINAPI*)(HANDLE);
        const auto set = reinterpret_cast<SetContext>(reinterpret_cast<void*>(
            GetProcAddress(GetModuleHandleA("user32.dll"), "SetProcessDpiAwarenessContext")));
        if (set) set(reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4))); // PER_MONITOR_AWARE_V2
        platform::setModuleHandle(GetModuleHandleA(nullptr));
    }
    void SetUp() override {
        std::error_code ignored;
        std::filesystem::remove(settingsFile(), ignored);
        platform::setBackend(nullptr);
        std::string error;
        plugin = vr58::host::HostedPlugin::load(VR58G_DLL, error);
        ASSERT_TRUE(plugin) << error;
        plugin->setSampleRate(48000.0f);
    }
    void TearDown() override {
        plugin.reset();
        std::error_code ignored;
        std::filesystem::remove(settingsFile(), ignored);
    }
    std::vector<float> parameters() {
        std::vector<float> values;
        for (int32_t i = 0; i < plugin->effect()->numParams; ++i) values.push_back(plugin->getParameter(i));
        return values;
    }
    ERect size() {
        ERect* rect = nullptr;
        plugin->dispatch(effEditGetRect, 0, 0, &rect);
        return rect ? *rect : ERect{};
    }

    std::unique_ptr<vr58::host::HostedPlugin> plugin;
};

TEST_F(WineDpiEditor, TheScreenAt192DpiGivesTwiceTheFaceAndADragInFacePixels) {
    HDC screen = GetDC(nullptr);
    ASSERT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 192) << "the test's Wine prefix sets LogPixels 192";
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(size().right, 1040);
    EXPECT_EQ(size().bottom, 880);

    HostWindow host(1040, 880);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    SetForegroundWindow(host.hwnd);
    pumpMessages();
    plugin->dispatch(effEditIdle);
    pumpMessages();
    HWND editor = host.editorWindow();
    ASSERT_NE(editor, nullptr);
    RECT client{};
    GetClientRect(editor, &client);
    EXPECT_EQ(client.right, 1040);
    EXPECT_EQ(client.bottom, 880);
    const std::vector<uint32_t> expected = faceInMemory(parameters(), 200);
    ASSERT_EQ(expected.size(), 1040u * 880u);
    EXPECT_EQ(readWindow(editor, 1040, 880), expected);

    POINT knob{140, 214}; // Trim's knob, at its centre
    ClientToScreen(editor, &knob);
    std::thread drag([&] {
        SetCursorPos(knob.x, knob.y);
        Sleep(100);
        mouseButton(MOUSEEVENTF_LEFTDOWN);
        for (int step = 1; step <= 8; ++step) {
            Sleep(40);
            SetCursorPos(knob.x + 5 * step, knob.y - 10 * step);
        }
        Sleep(150);
        mouseButton(MOUSEEVENTF_LEFTUP);
    });
    pumpWhile(drag);
    EXPECT_FLOAT_EQ(plugin->getParameter(0), 0.8f);
    plugin->dispatch(effEditClose);
}

TEST_F(WineDpiEditor, TheHostsHintOutranksTheScreen) {
    EXPECT_EQ(plugin->dispatch(effVendorSpecific, 0x50726553, 0x41654373, nullptr, 1.5f), 1);
    EXPECT_EQ(size().right, 780);
    EXPECT_EQ(size().bottom, 660);
    HostWindow host(780, 660);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    pumpMessages();
    RECT client{};
    GetClientRect(host.editorWindow(), &client);
    EXPECT_EQ(client.right, 780);
    plugin->dispatch(effEditClose);
}

TEST_F(WineDpiEditor, TheRightClickMenuResizesThroughTheHost) {
    plugin->setCallbackAnswer(audioMasterCanDo, 1);
    plugin->setCallbackAnswer(audioMasterSizeWindow, 1);
    HostWindow host(1040, 880);
    ASSERT_EQ(plugin->dispatch(effEditOpen, 0, 0, host.hwnd), 1);
    SetForegroundWindow(host.hwnd);
    pumpMessages();
    POINT where{600, 400};
    ClientToScreen(host.editorWindow(), &where);
    std::thread click([&] {
        SetCursorPos(where.x, where.y);
        Sleep(100);
        mouseButton(MOUSEEVENTF_RIGHTDOWN);
        Sleep(50);
        mouseButton(MOUSEEVENTF_RIGHTUP);
    });
    pumpWhile(click);
    // Up from 200 % to 150 %, then Enter: keys come from the host.
    plugin->dispatch(effEditKeyDown, 0, 12 /* VKEY_UP */);
    plugin->dispatch(effEditKeyDown, 0, 12 /* VKEY_UP */);
    plugin->clearCalls();
    plugin->dispatch(effEditKeyDown, 0, 4 /* VKEY_RETURN */);
    plugin->dispatch(effEditIdle);
    pumpMessages();
    bool asked = false;
    for (const auto& call : plugin->calls())
        asked |= call.opcode == audioMasterSizeWindow && call.index == 780 && call.value == 660;
    EXPECT_TRUE(asked);
    EXPECT_EQ(size().right, 780);
    plugin->dispatch(effEditIdle);
    pumpMessages();
    HWND editor = host.editorWindow();
    RECT client{};
    GetClientRect(editor, &client);
    EXPECT_EQ(client.right, 780);
    EXPECT_EQ(client.bottom, 660);
    EXPECT_EQ(readWindow(editor, 780, 660), faceInMemory(parameters(), 150));
    plugin->dispatch(effEditClose);
}

} // namespace

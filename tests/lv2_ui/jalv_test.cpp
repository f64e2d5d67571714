// VR58G.lv2 in a host nobody here wrote: Debian's jalv.gtk3 (GTK 3, the UI embedded by suil) on Xvfb,
// with a JACK server of the test's own (dummy driver). A real XTEST drag turns Trim in the embedded UI;
// jalv's own "Save Preset" then writes the port values it holds, which must carry the drag in dB. Closing
// jalv's window cleans the UI up, and jalv must end cleanly.
// GoogleTest first: Xlib's macros (None, Bool) would otherwise rename parts of it.
#include <gtest/gtest.h>

#include "../x11/x11_test_display.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace vr58test {
namespace {

namespace fs = std::filesystem;
using VSTGUI::CPoint;
using namespace std::chrono_literals;

constexpr char kPluginName[] = "VR58-G Tape Recorder"; // jalv's window title
constexpr int kFaceWidth = 520, kFaceHeight = 440;

// A program of the test's own, its output in files; stopped (by its id) when the test ends.
class Child {
public:
    Child(const std::vector<std::string>& arguments, const std::vector<std::string>& environment,
          const fs::path& output) {
        std::vector<char*> argv, envp;
        for (const auto& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        for (const auto& e : environment) envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
        if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() {
        if (pid > 0 && !exited(0ms)) {
            kill(pid, SIGTERM);
            if (!exited(5s)) kill(pid, SIGKILL);
            exited(5s);
        }
    }
    bool started() const { return pid > 0; }
    // Whether it ended within the time; its wait status is then in status.
    bool exited(std::chrono::milliseconds limit) {
        if (pid <= 0) return true;
        const auto end = std::chrono::steady_clock::now() + limit;
        do {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                pid = 0;
                return true;
            }
            std::this_thread::sleep_for(20ms);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }
    int status = -1;

private:
    pid_t pid = -1;
};

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// jalv makes and destroys windows (menus, dialogs, GTK's helpers) while the test walks the window tree:
// one that vanished between being listed and being asked about is no error of the test's.
XErrorHandler xlibHandler = nullptr;
int ignoreVanishedWindows(Display* display, XErrorEvent* error) {
    if (error->error_code == BadWindow || error->error_code == BadDrawable) return 0;
    return xlibHandler ? xlibHandler(display, error) : 0;
}

class JalvHost : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.open()) << "no X display: the test command runs these under Xvfb";
        xlibHandler = XSetErrorHandler(ignoreVanishedWindows);
        dir = fs::temp_directory_path() / ("vr58-jalv-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "lv2");
        fs::create_directories(dir / "home");
        // Only the bundle under test on the path, beside nothing else of the build tree.
        fs::create_directory_symlink(VR58G_BUNDLE, dir / "lv2" / "VR58G.lv2");
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            if (entry.rfind("HOME=", 0) != 0 && entry.rfind("LV2_PATH=", 0) != 0 &&
                entry.rfind("JACK_DEFAULT_SERVER=", 0) != 0)
                environment.push_back(entry);
        }
        environment.push_back("HOME=" + (dir / "home").string());
        environment.push_back("LV2_PATH=" + (dir / "lv2").string());
        environment.push_back("JACK_DEFAULT_SERVER=vr58-test-" + std::to_string(getpid()));
        environment.push_back("JACK_NO_AUDIO_RESERVATION=1");
        environment.push_back("NO_AT_BRIDGE=1");
        // GTK's settings in memory: with dconf every change (the file dialog makes dozens) would try to
        // start a session bus, slowing jalv's GUI thread down to where the input below outruns it.
        environment.push_back("GSETTINGS_BACKEND=memory");
        jack.emplace(
            std::vector<std::string>{"jackd", "--no-realtime", "-d", "dummy", "-r", "48000", "-p", "256"},
            environment, dir / "jackd.log");
        ASSERT_TRUE(jack->started()) << "jackd (Debian's jackd2) is needed";
        Child wait({"jack_wait", "-w", "-t", "10"}, environment, dir / "jack_wait.log");
        ASSERT_TRUE(wait.exited(15s));
        ASSERT_EQ(wait.status, 0) << readFile(dir / "jackd.log");
    }
    void TearDown() override {
        jack.reset();
        XSetErrorHandler(xlibHandler);
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    std::string nameOf(Window window) {
        char* name = nullptr;
        std::string result;
        if (XFetchName(display.display, window, &name) && name) result = name;
        if (name) XFree(name);
        return result;
    }
    std::vector<Window> childrenOf(Window window) {
        Window root = 0, parent = 0, *list = nullptr;
        unsigned int count = 0;
        XQueryTree(display.display, window, &root, &parent, &list, &count);
        std::vector<Window> result(list, list + count);
        if (list) XFree(list);
        return result;
    }
    // The first top-level window with this title that is mapped, within the time.
    Window topLevel(const std::string& title, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        do {
            for (Window w : childrenOf(DefaultRootWindow(display.display))) {
                XWindowAttributes a{};
                if (nameOf(w) == title && XGetWindowAttributes(display.display, w, &a) &&
                    a.map_state == IsViewable)
                    return w;
            }
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < end);
        return 0;
    }
    // The UI's own window: a leaf of the face's size somewhere inside jalv's window.
    Window faceIn(Window window) {
        for (Window child : childrenOf(window)) {
            XWindowAttributes a{};
            XGetWindowAttributes(display.display, child, &a);
            const auto grandChildren = childrenOf(child);
            if (grandChildren.empty() && a.width == kFaceWidth && a.height == kFaceHeight) return child;
            if (Window found = faceIn(child)) return found;
        }
        return 0;
    }
    // A mapped menu (an override-redirect top level) under this point of the screen, within the time.
    Window popupAt(CPoint screen, std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        do {
            for (Window w : childrenOf(DefaultRootWindow(display.display))) {
                XWindowAttributes a{};
                if (XGetWindowAttributes(display.display, w, &a) && a.map_state == IsViewable &&
                    a.override_redirect && screen.h >= a.x && screen.h < a.x + a.width && screen.v >= a.y &&
                    screen.v < a.y + a.height)
                    return w;
            }
            std::this_thread::sleep_for(50ms);
        } while (std::chrono::steady_clock::now() < end);
        return 0;
    }
    // Waits until the window shows the same size and pixels over 100 ms: jalv has drawn it, so it has
    // handled everything before. A busy machine delays that by seconds, which a fixed sleep would not.
    bool settled(Window window, std::chrono::milliseconds limit = 10s) {
        const auto end = std::chrono::steady_clock::now() + limit;
        std::vector<uint32_t> before;
        do {
            std::this_thread::sleep_for(100ms);
            const CPoint extent = size(window);
            auto now = display.readBack(window, VSTGUI::CRect(0, 0, extent.h, extent.v));
            if (!now.empty() && now == before) return true;
            before = std::move(now);
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }
    CPoint size(Window window) {
        XWindowAttributes a{};
        XGetWindowAttributes(display.display, window, &a);
        return CPoint(a.width, a.height);
    }
    static void play(InputScript& input) {
        input.start();
        const auto end = std::chrono::steady_clock::now() + 20s;
        while (input.running() && std::chrono::steady_clock::now() < end) std::this_thread::sleep_for(20ms);
    }
    // A window manager's close button: WM_DELETE_WINDOW.
    void askToClose(Window window) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = window;
        event.xclient.message_type = XInternAtom(display.display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display.display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        XSendEvent(display.display, window, False, NoEventMask, &event);
        XFlush(display.display);
    }

    TestDisplay display;
    fs::path dir;
    std::vector<std::string> environment;
    std::optional<Child> jack;
};

TEST_F(JalvHost, ADragInTheEmbeddedUiReachesJalvsPortInDecibelsAndClosingEndsCleanly) {
    Child jalv({"jalv.gtk3", "urn:quorvane:vr58g"}, environment, dir / "jalv.log");
    ASSERT_TRUE(jalv.started()) << "jalv.gtk3 (Debian's jalv) is needed";
    const Window host = topLevel(kPluginName, 20s);
    ASSERT_NE(host, 0u) << readFile(dir / "jalv.log");
    Window face = 0;
    const auto end = std::chrono::steady_clock::now() + 10s;
    while (!(face = faceIn(host)) && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(50ms);
    ASSERT_NE(face, 0u) << "no window of the face's size in jalv's window: the UI was not embedded";
    ASSERT_TRUE(settled(face)) << "the face was never drawn";

    // 40 pixels up and 20 right from Trim's centre: from 0 dB (0.5) to 0.8 of its -24..+24 dB.
    const CPoint trim = display.onScreen(face, CPoint(70, 107));
    InputScript drag;
    drag.moveTo(trim).wait(50).press(Button1).wait(150);
    for (int step = 1; step <= 10; ++step) drag.moveTo(CPoint(trim.h + 2 * step, trim.v - 4 * step)).wait(30);
    drag.wait(150).release(Button1).wait(300);
    play(drag);

    // jalv's menu: Presets, Save Preset..., a name, Save; each step once jalv shows the last one's result.
    InputScript presets;
    presets.moveTo(display.onScreen(host, CPoint(70, 12))).wait(100).click(Button1);
    play(presets);
    const CPoint item = display.onScreen(host, CPoint(110, 37));
    const Window menu = popupAt(item, 10s);
    ASSERT_NE(menu, 0u) << "jalv's Presets menu did not open";
    ASSERT_TRUE(settled(menu));
    InputScript saveItem;
    saveItem.moveTo(item).wait(100).click(Button1);
    play(saveItem);
    const Window dialog = topLevel("Save Preset", 10s);
    ASSERT_NE(dialog, 0u) << "jalv's Save Preset dialog did not open";
    ASSERT_TRUE(settled(dialog));
    // The name replaces whatever the field holds.
    InputScript save;
    save.moveTo(display.onScreen(dialog, CPoint(300, 27))).wait(100).click(Button1).wait(200).key(XK_End);
    for (int i = 0; i < 10; ++i) save.key(XK_BackSpace);
    for (const KeySym letter : {XK_d, XK_r, XK_a, XK_g}) save.key(letter).wait(30);
    const CPoint dialogSize = size(dialog);
    save.wait(200).moveTo(display.onScreen(dialog, CPoint(dialogSize.h - 50, dialogSize.v - 24))).wait(100);
    save.click(Button1).wait(500);
    play(save);

    fs::path preset;
    for (int tries = 0; tries < 100 && preset.empty(); ++tries) {
        for (const auto& entry : fs::recursive_directory_iterator(dir / "home"))
            if (entry.path().filename() == "drag.ttl") preset = entry.path();
        if (preset.empty()) std::this_thread::sleep_for(50ms);
    }
    if (preset.empty()) {
        std::string saved;
        for (const auto& entry : fs::recursive_directory_iterator(dir / "home"))
            saved += entry.path().string() + "\n";
        FAIL() << "jalv saved no preset drag.ttl; the home folder holds\n" << saved;
    }
    const std::string text = readFile(preset);
    std::smatch value;
    ASSERT_TRUE(
        std::regex_search(text, value, std::regex("lv2:symbol \"trim\" ;\\s*pset:value ([-0-9.eE+]+)")))
        << text;
    EXPECT_FLOAT_EQ(std::stof(value[1].str()), 14.4f) << text;
    ASSERT_TRUE(
        std::regex_search(text, value, std::regex("lv2:symbol \"gain\" ;\\s*pset:value ([-0-9.eE+]+)")));
    EXPECT_FLOAT_EQ(std::stof(value[1].str()), 0.0f) << "only the dragged knob moved";

    // The window's close button: jalv frees the UI and ends.
    askToClose(host);
    ASSERT_TRUE(jalv.exited(15s)) << readFile(dir / "jalv.log");
    EXPECT_TRUE(WIFEXITED(jalv.status) && WEXITSTATUS(jalv.status) == 0)
        << (WIFSIGNALED(jalv.status) ? "killed by signal " + std::to_string(WTERMSIG(jalv.status))
                                     : "exit status " + std::to_string(WEXITSTATUS(jalv.status)))
        << "\n"
        << readFile(dir / "jalv.log");
    const std::string log = readFile(dir / "jalv.log");
    EXPECT_EQ(log.find("X Window System error"), std::string::npos) << log;
    EXPECT_EQ(log.find("CRITICAL"), std::string::npos) << log;
}

} // namespace
} // namespace vr58test

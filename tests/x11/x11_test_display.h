// A stand-in for a Linux host on a real X server: its own connection, top-level windows that editors are
// opened in, reading the screen back, and real input through the XTEST extension from a second thread
// (a knob's drag loop polls the server's button state on the GUI thread meanwhile).
#pragma once

#include "vstgui/cgeometry.h"

#include <X11/Xlib.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <thread>
#include <vector>

namespace vr58test {

class TestDisplay {
public:
    TestDisplay();
    ~TestDisplay();
    TestDisplay(const TestDisplay&) = delete;
    TestDisplay& operator=(const TestDisplay&) = delete;

    bool open() const { return display != nullptr; }
    // A mapped top-level window at (x, y) of the screen, as a host's editor window.
    Window createHostWindow(int x, int y, int width, int height);
    void destroyWindow(Window window);
    // The window's pixels as 0x00RRGGBB, top row first; empty when it cannot be read.
    std::vector<uint32_t> readBack(Window window, const VSTGUI::CRect& area);
    // A point of a window in screen coordinates.
    VSTGUI::CPoint onScreen(Window window, VSTGUI::CPoint point);
    // The window that has the keyboard.
    Window focusWindow();

    Display* display = nullptr;
};

// Input played on a connection of its own, on its own thread.
class InputScript {
public:
    InputScript& moveTo(VSTGUI::CPoint screen);
    InputScript& press(unsigned int button);
    InputScript& release(unsigned int button);
    // A click: press, hold for a while (the editor reads it at its next idle), release.
    InputScript& click(unsigned int button);
    InputScript& key(unsigned long keySym);
    InputScript& wait(int milliseconds);

    void start();
    bool running() const { return !done; }
    ~InputScript();

private:
    struct Step {
        enum Kind { MovePointer, PressButton, ReleaseButton, PressKey, ReleaseKey, Pause } kind;
        VSTGUI::CPoint point;
        unsigned long value;
    };
    void play();

    std::vector<Step> steps;
    std::thread player;
    std::atomic<bool> done{true};
};

// Calls idle every few milliseconds, as a host's GUI thread calls effEditIdle, while busy() holds or
// until the time runs out; true when busy() ended first.
bool idleWhile(const std::function<void()>& idle, const std::function<bool()>& busy,
               std::chrono::milliseconds limit = std::chrono::milliseconds(5000));

} // namespace vr58test

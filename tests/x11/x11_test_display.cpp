#include "x11_test_display.h"

#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

namespace vr58test {

TestDisplay::TestDisplay() : display(XOpenDisplay(nullptr)) {}

TestDisplay::~TestDisplay() {
    if (display) XCloseDisplay(display);
}

Window TestDisplay::createHostWindow(int x, int y, int width, int height) {
    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.background_pixel = BlackPixel(display, DefaultScreen(display));
    attributes.event_mask = StructureNotifyMask;
    Window window = XCreateWindow(display, DefaultRootWindow(display), x, y, width, height, 0, CopyFromParent,
                                  InputOutput, CopyFromParent, CWOverrideRedirect | CWBackPixel | CWEventMask,
                                  &attributes);
    XMapWindow(display, window);
    XEvent event;
    do XWindowEvent(display, window, StructureNotifyMask, &event);
    while (event.type != MapNotify);
    return window;
}

void TestDisplay::destroyWindow(Window window) {
    XDestroyWindow(display, window);
    XSync(display, False);
}

std::vector<uint32_t> TestDisplay::readBack(Window window, const VSTGUI::CRect& area) {
    std::vector<uint32_t> pixels;
    XSync(display, False);
    XImage* image =
        XGetImage(display, window, area.left, area.top, area.width(), area.height(), AllPlanes, ZPixmap);
    if (!image) return pixels;
    pixels.reserve(static_cast<size_t>(area.width()) * area.height());
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x) pixels.push_back(XGetPixel(image, x, y) & 0xFFFFFFu);
    XDestroyImage(image);
    return pixels;
}

VSTGUI::CPoint TestDisplay::onScreen(Window window, VSTGUI::CPoint point) {
    int x = 0, y = 0;
    Window child = 0;
    XTranslateCoordinates(display, window, DefaultRootWindow(display), point.h, point.v, &x, &y, &child);
    return VSTGUI::CPoint(x, y);
}

Window TestDisplay::focusWindow() {
    Window focus = 0;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    return focus;
}

InputScript& InputScript::moveTo(VSTGUI::CPoint screen) {
    steps.push_back({Step::MovePointer, screen, 0});
    return *this;
}

InputScript& InputScript::press(unsigned int button) {
    steps.push_back({Step::PressButton, {}, button});
    return *this;
}

InputScript& InputScript::release(unsigned int button) {
    steps.push_back({Step::ReleaseButton, {}, button});
    return *this;
}

InputScript& InputScript::click(unsigned int button) {
    return press(button).wait(80).release(button);
}

InputScript& InputScript::key(unsigned long keySym) {
    steps.push_back({Step::PressKey, {}, keySym});
    steps.push_back({Step::Pause, {}, 30});
    steps.push_back({Step::ReleaseKey, {}, keySym});
    return *this;
}

InputScript& InputScript::wait(int milliseconds) {
    steps.push_back({Step::Pause, {}, static_cast<unsigned long>(milliseconds)});
    return *this;
}

void InputScript::start() {
    done = false;
    player = std::thread([this] { play(); });
}

InputScript::~InputScript() {
    if (player.joinable()) player.join();
}

void InputScript::play() {
    Display* display = XOpenDisplay(nullptr);
    for (const Step& step : steps) {
        if (!display) break;
        switch (step.kind) {
        case Step::MovePointer:
            XTestFakeMotionEvent(display, DefaultScreen(display), step.point.h, step.point.v, CurrentTime);
            break;
        case Step::PressButton:
        case Step::ReleaseButton:
            XTestFakeButtonEvent(display, static_cast<unsigned int>(step.value),
                                 step.kind == Step::PressButton, CurrentTime);
            break;
        case Step::PressKey:
        case Step::ReleaseKey:
            XTestFakeKeyEvent(display, XKeysymToKeycode(display, step.value), step.kind == Step::PressKey,
                              CurrentTime);
            break;
        case Step::Pause:
            std::this_thread::sleep_for(std::chrono::milliseconds(step.value));
            break;
        }
        XSync(display, False);
    }
    if (display) XCloseDisplay(display);
    done = true;
}

bool idleWhile(const std::function<void()>& idle, const std::function<bool()>& busy,
               std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (busy()) {
        if (std::chrono::steady_clock::now() > end) return false;
        idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

} // namespace vr58test

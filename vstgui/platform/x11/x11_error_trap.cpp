#include "vstgui/platform/x11/x11_error_trap.h"

namespace VSTGUI::x11 {

namespace {
// Traps of this thread, innermost first; the error handler runs on the thread that reads the error.
thread_local ErrorTrap* innermost = nullptr;
} // namespace

int trapError(Display* display, XErrorEvent* event) {
    for (ErrorTrap* trap = innermost; trap; trap = trap->outer) {
        if (trap->display != display) continue;
        // An answer to an older request (a put on a window the host has just destroyed) is dropped.
        if (event->serial >= trap->firstRequest) trap->errorSeen = true;
        return 0;
    }
    ErrorTrap* outermost = innermost;
    while (outermost && outermost->outer) outermost = outermost->outer;
    if (outermost && outermost->previous) return outermost->previous(display, event);
    return 0;
}

ErrorTrap::ErrorTrap(Display* display)
    : display(display), firstRequest(NextRequest(display)), outer(innermost) {
    previous = XSetErrorHandler(trapError);
    innermost = this;
}

ErrorTrap::~ErrorTrap() {
    innermost = outer;
    // Inner traps put back the trap handler itself; the outermost one puts back the host's.
    XSetErrorHandler(previous);
}

bool ErrorTrap::sync() {
    XSync(display, False);
    return !errorSeen;
}

} // namespace VSTGUI::x11

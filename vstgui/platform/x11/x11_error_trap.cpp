#include "vstgui/platform/x11/x11_error_trap.h"

#include <atomic>
#include <mutex>

namespace VSTGUI::x11 {

namespace {
// Traps of this thread, innermost first; the error handler runs on the thread that reads the error.
thread_local ErrorTrap* innermost = nullptr;
// The host's handler, for errors of its own connections read on any thread while a trap is in place.
std::atomic<XErrorHandler> hostHandler{nullptr};
// Traps in place on all threads; the handler is swapped only by the first and the last of them, so one
// thread's trap ending never hands another thread's errors to the host.
std::mutex installGuard;
int trapsInPlace = 0;
} // namespace

int trapError(Display* display, XErrorEvent* event) {
    for (ErrorTrap* trap = innermost; trap; trap = trap->outer) {
        if (trap->display != display) continue;
        // An answer to an older request (a put on a window the host has just destroyed) is dropped.
        if (event->serial >= trap->firstRequest) trap->errorSeen = true;
        return 0;
    }
    const XErrorHandler host = hostHandler.load();
    return host ? host(display, event) : 0;
}

ErrorTrap::ErrorTrap(Display* display)
    : display(display), firstRequest(NextRequest(display)), outer(innermost) {
    {
        const std::lock_guard<std::mutex> lock(installGuard);
        if (trapsInPlace++ == 0) {
            const XErrorHandler previous = XSetErrorHandler(trapError);
            if (previous != trapError) hostHandler.store(previous);
        }
    }
    innermost = this;
}

ErrorTrap::~ErrorTrap() {
    innermost = outer;
    const std::lock_guard<std::mutex> lock(installGuard);
    if (--trapsInPlace == 0) XSetErrorHandler(hostHandler.load());
}

bool ErrorTrap::sync() {
    XSync(display, False);
    return !errorSeen;
}

} // namespace VSTGUI::x11

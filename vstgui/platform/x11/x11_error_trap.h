// X errors on the editor's own connections are expected: the host may destroy its window under ours at
// any moment. They must never reach the process-wide handler, whose default ends the host. Only our code
// reads our connections, so keeping a trap in place around every call on them is enough.
#pragma once

#include <X11/Xlib.h>

namespace VSTGUI::x11 {

// Catches the errors of one connection while it lives; errors of other connections go to the handler that
// was installed before (the host's). Traps nest, and traps of other threads may be in place meanwhile: the
// process-wide handler is ours from the first trap of any thread until the last one ends.
class ErrorTrap {
public:
    explicit ErrorTrap(Display* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits for the server to answer every request so far; true when none made since the trap began failed.
    bool sync();

private:
    friend int trapError(Display*, XErrorEvent*);

    Display* display;
    unsigned long firstRequest;
    bool errorSeen = false;
    ErrorTrap* outer;
};

} // namespace VSTGUI::x11

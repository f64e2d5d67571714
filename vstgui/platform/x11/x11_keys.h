// X key events as the host key codes the frame's key handlers take.
#pragma once

#include "vstgui/vstkeycode.h"

#include <X11/Xlib.h>

namespace VSTGUI::x11 {

// The key of a press or release: a virtual key for the keys that have one (arrows, Tab, ...), else the
// character it types, lower case; modifiers from the event's state.
VstKeyCode keyCodeOf(XKeyEvent& event);

} // namespace VSTGUI::x11

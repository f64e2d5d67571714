// A key event as hosts deliver it to an editor: the toolkit's own copy of the plug-in interface's key
// record, so the toolkit stands alone. The editor copies the host's record field by field.
#pragma once

#include <cstdint>

namespace VSTGUI {

struct VstKeyCode {
    int32_t character;
    uint8_t virt;     // one of VstVirtualKey, or 0 for a plain character
    uint8_t modifier; // VstModifierKey bits
};

enum VstVirtualKey : uint8_t {
    VKEY_BACK = 1,
    VKEY_TAB,
    VKEY_CLEAR,
    VKEY_RETURN,
    VKEY_PAUSE,
    VKEY_ESCAPE,
    VKEY_SPACE,
    VKEY_NEXT,
    VKEY_END,
    VKEY_HOME,
    VKEY_LEFT,
    VKEY_UP,
    VKEY_RIGHT,
    VKEY_DOWN,
    VKEY_PAGEUP,
    VKEY_PAGEDOWN,
    VKEY_SELECT,
    VKEY_PRINT,
    VKEY_ENTER,
};

enum VstModifierKey : uint8_t {
    MODIFIER_SHIFT = 1 << 0,
    MODIFIER_ALTERNATE = 1 << 1,
    MODIFIER_COMMAND = 1 << 2,
    MODIFIER_CONTROL = 1 << 3,
};

} // namespace VSTGUI

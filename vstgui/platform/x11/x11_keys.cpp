#include "vstgui/platform/x11/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cctype>

namespace VSTGUI::x11 {

namespace {

// The keys that have a virtual key of their own.
struct VirtualKey {
    KeySym sym;
    VstVirtualKey virt;
};
constexpr VirtualKey kVirtualKeys[] = {
    {XK_BackSpace, VKEY_BACK},   {XK_Tab, VKEY_TAB},
    {XK_ISO_Left_Tab, VKEY_TAB}, {XK_Clear, VKEY_CLEAR},
    {XK_Return, VKEY_RETURN},    {XK_Pause, VKEY_PAUSE},
    {XK_Escape, VKEY_ESCAPE},    {XK_space, VKEY_SPACE},
    {XK_End, VKEY_END},          {XK_Home, VKEY_HOME},
    {XK_Left, VKEY_LEFT},        {XK_Up, VKEY_UP},
    {XK_Right, VKEY_RIGHT},      {XK_Down, VKEY_DOWN},
    {XK_KP_Left, VKEY_LEFT},     {XK_KP_Up, VKEY_UP},
    {XK_KP_Right, VKEY_RIGHT},   {XK_KP_Down, VKEY_DOWN},
    {XK_Page_Up, VKEY_PAGEUP},   {XK_Page_Down, VKEY_PAGEDOWN},
};

} // namespace

VstKeyCode keyCodeOf(XKeyEvent& event) {
    VstKeyCode key{};
    char text[8] = {};
    KeySym sym = NoSymbol;
    const int length = XLookupString(&event, text, sizeof(text), &sym, nullptr);
    for (const VirtualKey& entry : kVirtualKeys)
        if (entry.sym == sym) key.virt = entry.virt;
    // The key symbol, not the text: with Ctrl held the text is a control character.
    if (key.virt == 0 && sym >= 0x20 && sym <= 0x7E)
        key.character = std::tolower(static_cast<int>(sym));
    else if (key.virt == 0 && length == 1)
        key.character = static_cast<unsigned char>(text[0]);
    if (event.state & ShiftMask) key.modifier |= MODIFIER_SHIFT;
    if (event.state & Mod1Mask) key.modifier |= MODIFIER_ALTERNATE;
    if (event.state & ControlMask) key.modifier |= MODIFIER_CONTROL;
    return key;
}

} // namespace VSTGUI::x11

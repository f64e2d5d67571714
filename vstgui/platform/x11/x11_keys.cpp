#include "vstgui/platform/x11/x11_keys.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cctype>

namespace VSTGUI::x11 {

namespace {

// The VST 2.4 virtual key numbers of the keys that have one.
struct VirtualKey {
    KeySym sym;
    unsigned char virt;
};
constexpr VirtualKey kVirtualKeys[] = {
    {XK_BackSpace, 1},  {XK_Tab, 2},       {XK_ISO_Left_Tab, 2}, {XK_Clear, 3},   {XK_Return, 4},
    {XK_Pause, 5},      {XK_Escape, 6},    {XK_space, 7},        {XK_End, 9},     {XK_Home, 10},
    {XK_Left, 11},      {XK_Up, 12},       {XK_Right, 13},       {XK_Down, 14},   {XK_Page_Up, 15},
    {XK_Page_Down, 16}, {XK_KP_Enter, 19}, {XK_Insert, 21},      {XK_Delete, 22}, {XK_KP_Left, 11},
    {XK_KP_Up, 12},     {XK_KP_Right, 13}, {XK_KP_Down, 14},     {XK_F1, 40},     {XK_F2, 41},
    {XK_F3, 42},        {XK_F4, 43},       {XK_F5, 44},          {XK_F6, 45},     {XK_F7, 46},
    {XK_F8, 47},        {XK_F9, 48},       {XK_F10, 49},         {XK_F11, 50},    {XK_F12, 51},
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

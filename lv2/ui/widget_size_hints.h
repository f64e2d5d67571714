// The size an X11 host's toolkit reads from the UI's widget. GTK hosts (suil) take the widget's minimum
// and natural sizes from its WM_NORMAL_HINTS and otherwise keep the largest size they ever saw, so a face
// made smaller would sit in a corner of a window that stays large.
#pragma once

namespace vr58::lv2 {

// Host user-interface thread: the widget (an X11 window id) is exactly width x height, no smaller and no
// larger. False when libX11 is not loaded (no window is open then) or no display is reachable.
bool publishWidgetSize(void* widget, int width, int height);

} // namespace vr58::lv2

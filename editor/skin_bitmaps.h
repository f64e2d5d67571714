// The editor's skin images, decoded once per loaded library and shared by all its editors and openings:
// decoding the ten images takes a tenth of a second or more, too long for every opening of a window.
#pragma once

#include <cstdint>

namespace VSTGUI {
class CBitmap;
}

namespace vr58 {

class SkinBitmaps {
public:
    // An editor's construction and destruction; the last editor to go frees the images.
    static void attach();
    static void detach();
    // The bitmap of a skin resource id (101..110), decoded at its first use; null for any other id. The
    // caller takes no reference of its own. Valid while an editor is attached.
    static VSTGUI::CBitmap* get(int32_t resourceId);
};

} // namespace vr58

// The editor's skin images, shared by all editors and openings of the loaded library; their frames are
// decoded (and shrunk) as editors first draw them. The 100 % images stay while an editor exists; those of
// a larger size while an open editor uses them, and after its last editor closes until an editor opens at
// another size or the last editor is destroyed.
#pragma once

#include <cstdint>

namespace VSTGUI {
class CBitmap;
}

namespace vr58 {

class SkinBitmaps {
public:
    // An editor's construction and destruction; the last editor to go frees the 100 % images.
    static void attach();
    static void detach();
    // An editor opening and closing at a size. The images of the size whose last editor closed wait for
    // the next opening; one at another size frees them.
    static void use(int32_t scalePercent);
    static void unuse(int32_t scalePercent);
    // The bitmap of a skin resource id (101..111) at a size, made at its first use; null for any other
    // id. The caller takes no reference of its own. Valid while an editor is attached (100 %) or uses
    // the size.
    static VSTGUI::CBitmap* get(int32_t resourceId, int32_t scalePercent = 100);
    // Whether any image of a size is kept now.
    static bool isDecoded(int32_t scalePercent);
};

} // namespace vr58

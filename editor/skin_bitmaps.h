// The editor's skin images, decoded once per loaded library and shared by all its editors and openings:
// decoding the images takes a tenth of a second or more, too long for every opening of a window. The
// 100 % images stay while an editor exists; those of the larger sizes only while an open editor uses them.
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
    // An editor opening and closing at a size; the last one of a size to close frees its images.
    static void use(int32_t scalePercent);
    static void unuse(int32_t scalePercent);
    // The bitmap of a skin resource id (101..111) at a size, decoded at its first use; null for any other
    // id. The caller takes no reference of its own. Valid while an editor is attached (100 %) or uses
    // the size.
    static VSTGUI::CBitmap* get(int32_t resourceId, int32_t scalePercent = 100);
    // Whether any image of a size is decoded now.
    static bool isDecoded(int32_t scalePercent);
};

} // namespace vr58

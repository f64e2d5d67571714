// A context over a memory surface of fixed size: the frame's back buffer and a container's own buffer.
// It starts wholly in its background colour, border included.
#pragma once

#include "vstgui/cdrawcontext.h"

namespace VSTGUI {

class CBitmap;

class COffscreenContext : public CDrawContext {
public:
    COffscreenContext(CFrame* frame, CCoord width, CCoord height, CColor backgroundColor = kBlackCColor);
    ~COffscreenContext() override;

    // Opaque copy of a destRect-sized block of this surface at srcOffset to dest at destRect's corner.
    void copyFrom(CDrawContext* dest, const CRect& destRect, const CPoint& srcOffset = CPoint());
    // Opaque copy of a srcRect-sized block of src at srcRect's corner into this surface at destOffset.
    void copyTo(CDrawContext* src, const CRect& srcRect, const CPoint& destOffset = CPoint());

    CCoord getWidth() const { return width; }
    CCoord getHeight() const { return height; }
    CColor getBackgroundColor() const { return backgroundColor; }

private:
    CBitmap* bitmap = nullptr;
    CCoord height;
    CCoord width;
    CColor backgroundColor;
};

} // namespace VSTGUI

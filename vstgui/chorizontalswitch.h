// A multi-position switch drawn from a vertical filmstrip and set by where it is clicked: the strip's
// width is divided into equal zones, one per position, from left to right.
#pragma once

#include "vstgui/ccontrol.h"

namespace VSTGUI {

class CHorizontalSwitch : public CControl {
public:
    CHorizontalSwitch(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
                      CCoord heightOfOneImage, int32_t maxPositions, CBitmap* background,
                      const CPoint& offset = CPoint());

    // Shows the nearest position, halves rounded up.
    void draw(CDrawContext* context) override;
    // Follows the pointer sideways until the button or modifier state changes.
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = kButtonsToBeRead) override;
    bool isTypeOf(const char* name) const override;

    // The position the current value shows, 0 to maxPositions - 1.
    int32_t position() const;
    // The value of a click at a horizontal position in the parent's coordinates.
    float valueAt(CCoord h) const;

protected:
    CPoint offset;
    int32_t subPixmaps;
    int32_t maxPositions;
    CCoord heightOfOneImage;
};

} // namespace VSTGUI

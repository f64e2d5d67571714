// A view that draws one frame of a filmstrip bitmap, as the editor's knobs and switches do.
#pragma once

#include "vstgui/cbitmap.h"
#include "vstgui/cview.h"

namespace vr58test {

class StripView : public VSTGUI::CView {
public:
    StripView(const VSTGUI::CRect& size, VSTGUI::CBitmap* strip, VSTGUI::CCoord frameTop)
        : CView(size), frameTop(frameTop) {
        setBackground(strip);
    }
    void draw(VSTGUI::CDrawContext* context) override {
        if (background) background->draw(context, size, VSTGUI::CPoint(0, frameTop));
        setDirty(false);
    }

private:
    VSTGUI::CCoord frameTop;
};

} // namespace vr58test

// A small menu of text lines over the whole frame, as its modal view: a click on a line or Enter chooses
// it, the arrows move the highlight, Escape or a click anywhere else closes the menu without a choice.
// The owner keeps a reference, removes the view from the frame when told the menu is done, and lets
// it go before the frame goes.
#pragma once

#include "vstgui/cview.h"

#include <functional>
#include <string>
#include <vector>

namespace VSTGUI {

class CGlyphFont;

class CPopupList : public CView {
public:
    // Called once: the chosen line, or -1 when the menu closed without a choice.
    using DoneFunction = std::function<void(int32_t chosen)>;

    // area: the frame's size; the box opens at `anchor` and is moved inside the area. `marked` is the
    // line shown with a mark (the current setting), or -1. A non-empty note is shown under the lines.
    CPopupList(const CRect& area, const CPoint& anchor, CGlyphFont* font, std::vector<std::string> lines,
               int32_t marked, DoneFunction done, std::string note = std::string());
    ~CPopupList() override;

    void draw(CDrawContext* context) override;
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = -1) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    using CView::onWheel;
    // Turns over the menu are taken and do nothing: nothing under it may change while it is open.
    bool onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) override;
    bool isTypeOf(const char* name) const override;

    const CRect& getBox() const { return box; }
    // The line under a logical position, or -1.
    int32_t lineAt(const CPoint& where) const;
    CRect lineRect(int32_t line) const;
    int32_t getHighlighted() const { return highlighted; }

private:
    void finish(int32_t chosen);

    CGlyphFont* font;
    std::vector<std::string> lines;
    std::string note;
    int32_t marked;
    int32_t highlighted;
    DoneFunction done;
    CRect box;
    CCoord lineHeight;
};

} // namespace VSTGUI

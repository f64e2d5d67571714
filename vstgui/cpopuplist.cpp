#include "vstgui/cpopuplist.h"

#include "vstgui/cbuttons.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cglyphfont.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

namespace {

constexpr CCoord kPadding = 5;
constexpr CCoord kMarkWidth = 14;
constexpr CCoord kLineGap = 4;
constexpr CColor kBoxColour{34, 34, 38, 255};
constexpr CColor kBorderColour{170, 170, 176, 255};
constexpr CColor kTextColour{236, 236, 236, 255};
constexpr CColor kNoteColour{168, 168, 172, 255};
constexpr CColor kHighlightColour{70, 96, 150, 255};

// fillRect spares the top row and left column: start one pixel out to fill the whole rectangle.
void fillWhole(CDrawContext* context, const CRect& r, CColor colour) {
    context->setFillColor(colour);
    context->fillRect(CRect(r.left - 1, r.top - 1, r.right, r.bottom));
}

} // namespace

CPopupList::CPopupList(const CRect& area, const CPoint& anchor, CGlyphFont* font,
                       std::vector<std::string> lines, int32_t marked, DoneFunction done, std::string note)
    : CView(area), font(font), lines(std::move(lines)), note(std::move(note)), marked(marked),
      highlighted(marked >= 0 ? marked : 0), done(std::move(done)) {
    if (font) font->retain();
    lineHeight = (font ? font->getHeight() : 12) + kLineGap;
    CCoord width = 0;
    for (const std::string& line : this->lines)
        width = std::max(width, font ? font->getStringWidth(line.c_str()) : 0);
    if (!this->note.empty() && font)
        width = std::max(width, font->getStringWidth(this->note.c_str()) - kMarkWidth);
    const CCoord boxWidth = width + kMarkWidth + 2 * kPadding;
    const CCoord count = static_cast<CCoord>(this->lines.size()) + (this->note.empty() ? 0 : 1);
    const CCoord boxHeight = count * lineHeight + 2 * kPadding;
    // Opens at the pointer, moved left or up as far as needed to stay whole inside the frame.
    const CCoord left = std::max(area.left, std::min(anchor.h, area.right - boxWidth));
    const CCoord top = std::max(area.top, std::min(anchor.v, area.bottom - boxHeight));
    box = CRect(left, top, left + boxWidth, top + boxHeight);
}

CPopupList::~CPopupList() {
    if (font) font->release();
}

bool CPopupList::isTypeOf(const char* name) const {
    return std::strcmp(name, "CPopupList") == 0 || CView::isTypeOf(name);
}

CRect CPopupList::lineRect(int32_t line) const {
    const CCoord top = box.top + kPadding + line * lineHeight;
    return CRect(box.left + 1, top, box.right - 1, top + lineHeight);
}

int32_t CPopupList::lineAt(const CPoint& where) const {
    for (int32_t i = 0; i < static_cast<int32_t>(lines.size()); ++i) {
        const CRect r = lineRect(i);
        // Right and bottom edges belong to the next line, so every point has one line at most.
        if (where.h >= r.left && where.h < r.right && where.v >= r.top && where.v < r.bottom) return i;
    }
    return -1;
}

void CPopupList::draw(CDrawContext* context) {
    if (!context) return;
    fillWhole(context, box, kBorderColour);
    fillWhole(context, CRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1), kBoxColour);
    const CCoord textLeft = box.left + kPadding + kMarkWidth;
    for (int32_t i = 0; i < static_cast<int32_t>(lines.size()); ++i) {
        const CRect r = lineRect(i);
        if (i == highlighted) fillWhole(context, r, kHighlightColour);
        if (i == marked) {
            // The current setting: a small square before its line.
            const CCoord size = 5, middle = (r.top + r.bottom) / 2;
            fillWhole(context,
                      CRect(box.left + kPadding + 2, middle - size / 2, box.left + kPadding + 2 + size,
                            middle - size / 2 + size),
                      kTextColour);
        }
        if (font)
            font->drawString(context, lines[i].c_str(),
                             CPoint(textLeft, r.top + kLineGap / 2 + font->getBaseline()), kTextColour);
    }
    if (!note.empty() && font) {
        const CRect r = lineRect(static_cast<int32_t>(lines.size()));
        font->drawString(context, note.c_str(),
                         CPoint(box.left + kPadding, r.top + kLineGap / 2 + font->getBaseline()),
                         kNoteColour);
    }
    setDirty(false);
}

void CPopupList::mouse(CDrawContext*, CPoint& where, int32_t buttons) {
    if (buttons != kButtonsToBeRead && !(buttons & (kLButton | kRButton))) return;
    const int32_t line = lineAt(where);
    if (line >= 0) {
        finish(line);
        return;
    }
    // Inside the box but on no line (its border or the note): nothing happens.
    if (!box.pointInside(where)) finish(-1);
}

int32_t CPopupList::onKeyDown(VstKeyCode& keyCode) {
    const int32_t count = static_cast<int32_t>(lines.size());
    switch (keyCode.virt) {
    case VKEY_ESCAPE:
        finish(-1);
        return 1;
    case VKEY_RETURN:
    case VKEY_ENTER:
        finish(count > 0 ? highlighted : -1);
        return 1;
    case VKEY_UP:
    case VKEY_DOWN:
        if (count > 0) {
            highlighted = std::clamp<int32_t>(highlighted + (keyCode.virt == VKEY_UP ? -1 : 1), 0, count - 1);
            setDirty(true);
        }
        return 1;
    default:
        return kKeyNotHandled;
    }
}

bool CPopupList::onWheel(CDrawContext*, const CPoint&, int32_t, float) {
    return true;
}

void CPopupList::finish(int32_t chosen) {
    // The owner removes and lets go of the menu from inside the call: it lives until this returns.
    retain();
    DoneFunction call = std::move(done);
    done = nullptr;
    if (call) call(chosen);
    release();
}

} // namespace VSTGUI

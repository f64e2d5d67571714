#include "editor/value_readout.h"

#include "vstgui/ccontrol.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cglyphfont.h"

#include <algorithm>
#include <cstring>

using namespace VSTGUI;

namespace {

constexpr CCoord kPadding = 5; // text to border, left and right
constexpr CCoord kGap = 3;     // label to control
constexpr CColor kBoxColour{34, 34, 38, 255};
constexpr CColor kBorderColour{170, 170, 176, 255};
constexpr CColor kTextColour{236, 236, 236, 255};

// Tick comparison that survives the wrap of the 32-bit millisecond count.
bool reached(uint32_t now, uint32_t deadline) {
    return static_cast<int32_t>(now - deadline) >= 0;
}

// Sharing at least one pixel (right and bottom edges are outside), unlike rectOverlap.
bool intersects(const CRect& a, const CRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

CRect unionOf(const CRect& a, const CRect& b) {
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

// fillRect spares the top row and left column: start one pixel out to fill the whole rectangle.
void fillWhole(CDrawContext* context, const CRect& r, CColor colour) {
    context->setFillColor(colour);
    context->fillRect(CRect(r.left - 1, r.top - 1, r.right, r.bottom));
}

} // namespace

ValueReadout::ValueReadout(const CRect& face, CGlyphFont* font, TextFunction text)
    : CView(CRect()), face(face), font(font), textOf(std::move(text)) {
    if (font) font->retain();
    // Clicks and wheel turns go to whatever lies under the label.
    setMouseEnabled(false);
    setMouseableArea(CRect(1, 1, 0, 0));
}

ValueReadout::~ValueReadout() {
    if (font) font->release();
}

bool ValueReadout::isTypeOf(const char* name) const {
    return std::strcmp(name, "ValueReadout") == 0 || CView::isTypeOf(name);
}

void ValueReadout::gestureBegan(CControl* control, uint32_t now) {
    if (!control) return;
    gestureOpen = true;
    show(control, now);
}

void ValueReadout::valueEdited(CControl* control, uint32_t now) {
    if (!control) return;
    show(control, now);
}

void ValueReadout::gestureEnded(CControl* /*control*/, uint32_t now) {
    // One gesture at a time: whichever control it was on, the label may go now.
    gestureOpen = false;
    hideAt = now + kLinger;
}

void ValueReadout::hide() {
    target = nullptr;
    message = false;
    gestureOpen = false;
    hoverCandidate = nullptr;
    moveTo(CRect());
}

void ValueReadout::showMessage(const std::string& line, uint32_t now) {
    target = nullptr;
    gestureOpen = false;
    message = true;
    text = line;
    hideAt = now + kLinger;
    const CCoord width = (font ? font->getStringWidth(text.c_str()) : 0) + 2 * kPadding;
    const CCoord height = (font ? font->getHeight() : 13) + 4;
    // Centred under the top row of switches, over nothing the user is working with.
    const CCoord left = (face.left + face.right - width) / 2, top = face.top + 40;
    box = CRect(left, top, left + width, top + height);
}

void ValueReadout::show(CControl* control, uint32_t now) {
    message = false;
    target = control;
    hideAt = now + kLinger;
    refresh();
}

void ValueReadout::refresh() {
    if (!target) return;
    text = textOf ? textOf(*target) : std::string();
    const CCoord width = (font ? font->getStringWidth(text.c_str()) : 0) + 2 * kPadding;
    const CCoord height = (font ? font->getHeight() : 13) + 4;
    box = place(target->getViewSize(), width, height);
}

void ValueReadout::idle(CControl* hovered, uint32_t now) {
    if (hovered != hoverCandidate) {
        // Its second starts when the pointer is seen to leave.
        if (hoverCandidate && hoverCandidate == target && !gestureOpen) hideAt = now + kLinger;
        hoverCandidate = hovered;
        hoverSince = now;
        hoverShown = false;
    }
    // A gesture keeps its label however the pointer wanders meanwhile; a message its second.
    if (!gestureOpen && hovered && !message) {
        if (!hoverShown && reached(now, hoverSince + kHoverDelay)) {
            hoverShown = true;
            show(hovered, now);
        }
        if (hovered == target) hideAt = now + kLinger;
    }
    if (message) {
        if (reached(now, hideAt)) message = false;
        moveTo(message ? box : CRect());
        return;
    }
    if (target && !gestureOpen && reached(now, hideAt)) target = nullptr;
    // Values change under the label too (the host's automation, Head moving Bump's dB): follow them.
    if (target) refresh();
    moveTo(target ? box : CRect());
}

void ValueReadout::moveTo(const CRect& newBox) {
    if (newBox == onScreen && (newBox.isEmpty() || drawnText == text)) return;
    if (!onScreen.isEmpty() && !newBox.isEmpty() && !onScreen.rectOverlap(newBox)) {
        // Far apart: a box around both would redraw much of the face, so clear the old place first.
        size = onScreen;
        onScreen = CRect();
        setDirty(true);
        return;
    }
    size = onScreen.isEmpty() ? newBox : (newBox.isEmpty() ? onScreen : unionOf(onScreen, newBox));
    onScreen = newBox;
    drawnText = text;
    setDirty(true);
}

CRect ValueReadout::place(const CRect& control, CCoord width, CCoord height) const {
    const CCoord middleH = (control.left + control.right) / 2, middleV = (control.top + control.bottom) / 2;
    const CRect candidates[] = {
        CRect(middleH - width / 2, control.top - kGap - height, 0, 0),  // above
        CRect(middleH - width / 2, control.bottom + kGap, 0, 0),        // below
        CRect(control.right + kGap, middleV - height / 2, 0, 0),        // right
        CRect(control.left - kGap - width, middleV - height / 2, 0, 0), // left
    };
    CRect fallback;
    for (int i = 0; i < 4; ++i) {
        CRect r = candidates[i];
        r.right = r.left + width;
        r.bottom = r.top + height;
        // Slid along the control's side into the face; a side without room is no place.
        const bool sideways = i < 2;
        if (sideways) {
            r.offset(std::max(face.left - r.left, std::min<CCoord>(0, face.right - r.right)), 0);
        } else {
            r.offset(0, std::max(face.top - r.top, std::min<CCoord>(0, face.bottom - r.bottom)));
        }
        if (r.left < face.left || r.right > face.right || r.top < face.top || r.bottom > face.bottom)
            continue;
        if (intersects(r, control)) continue;
        const bool hidesSomething = std::any_of(avoided.begin(), avoided.end(),
                                                [&r](const CRect& area) { return intersects(r, area); });
        if (!hidesSomething) return r;
        if (fallback.isEmpty()) fallback = r;
    }
    return fallback;
}

void ValueReadout::draw(CDrawContext* context) {
    if (context && font && !onScreen.isEmpty()) {
        fillWhole(context, onScreen, kBorderColour);
        fillWhole(context,
                  CRect(onScreen.left + 1, onScreen.top + 1, onScreen.right - 1, onScreen.bottom - 1),
                  kBoxColour);
        font->drawString(context, drawnText.c_str(),
                         CPoint(onScreen.left + kPadding, onScreen.top + 2 + font->getBaseline()),
                         kTextColour);
    }
    setDirty(false);
}

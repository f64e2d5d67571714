#include "vstgui/cknob.h"

#include "vstgui/cbitmap.h"
#include "vstgui/ccontrollistener.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VSTGUI {

namespace {
constexpr float kTwoPiF = 6.2831855f;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kPi = 3.141592653589793;
constexpr int32_t kModifierMask = kShift | kControl | kAlt | kCommandKey;
// Pixels of combined rightward and upward movement for the full range in linear mode.
constexpr float kLinearRange = 200.0f;
} // namespace

CKnob::CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
             const CPoint& offset)
    : CControl(size, listener, tag, background), offset(offset), handleBitmap(handle),
      radius(static_cast<float>(size.right - size.left) * 0.5f) {
    if (handleBitmap) handleBitmap->retain();
    // The angles are rounded to float once, from double precision.
    CKnob::setStartAngle(static_cast<float>(5.0 * kPi / 4.0));
    CKnob::setRangeAngle(static_cast<float>(-3.0 * kPi / 2.0));
    setWantsFocus(true);
}

CKnob::~CKnob() {
    if (handleBitmap) handleBitmap->release();
}

bool CKnob::isTypeOf(const char* name) const {
    return std::strcmp(name, "CKnob") == 0 || CControl::isTypeOf(name);
}

void CKnob::setStartAngle(float val) {
    startAngle = val;
    compute();
}

void CKnob::setRangeAngle(float val) {
    rangeAngle = val;
    compute();
}

void CKnob::compute() {
    aCoef = (vmax - vmin) / rangeAngle;
    bCoef = vmin - aCoef * startAngle;
    halfAngle = (kTwoPiF - std::fabs(rangeAngle)) * 0.5f;
    setDirty(true);
}

void CKnob::setHandleBitmap(CBitmap* bitmap) {
    if (bitmap) bitmap->retain();
    if (handleBitmap) handleBitmap->release();
    handleBitmap = bitmap;
    if (bitmap) inset = static_cast<int32_t>(static_cast<float>(bitmap->getWidth()) * 0.5f + 2.5f);
}

void CKnob::valueToPoint(CPoint& point) const {
    float alpha = (value - bCoef) / aCoef;
    // A zero sweep or a non-finite value has no angle: show the start.
    if (!std::isfinite(alpha)) alpha = startAngle;
    const float rim = radius - static_cast<float>(inset);
    point.h = static_cast<CCoord>(radius + std::cos(alpha) * rim + 0.5f);
    point.v = static_cast<CCoord>(radius - std::sin(alpha) * rim + 0.5f);
}

float CKnob::valueFromPoint(CPoint& point) const {
    float alpha = std::atan2(radius - static_cast<float>(point.v), static_cast<float>(point.h) - radius);
    if (alpha < 0.0f) alpha += kTwoPiF;
    float alpha2 = alpha - startAngle;
    const float sweep = rangeAngle < 0.0f ? -rangeAngle : rangeAngle;
    if (rangeAngle < 0.0f) alpha2 -= rangeAngle;
    float alpha3 = alpha2;
    if (alpha3 < 0.0f)
        alpha3 += kTwoPiF;
    else if (alpha3 > kTwoPi)
        alpha3 -= kTwoPiF;
    // In the dead zone each half gives the end it lies next to.
    if (alpha3 > halfAngle + sweep) return rangeAngle < 0.0f ? vmax : vmin;
    if (alpha3 > sweep) return rangeAngle < 0.0f ? vmin : vmax;
    if (alpha2 > halfAngle + sweep)
        alpha2 -= kTwoPiF;
    else if (alpha2 < -halfAngle)
        alpha2 += kTwoPiF;
    return aCoef * alpha2 + (rangeAngle < 0.0f ? vmax : vmin);
}

void CKnob::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
    if (!getMouseEnabled()) return;
    if (buttons == kButtonsToBeRead) buttons = CDrawContext::getMouseButtons();
    if (!(buttons & kLButton)) return;
    if (listener && (buttons & kModifierMask) &&
        listener->controlModifierClicked(context, this, buttons) != 0)
        return;
    if (checkDefaultValue(context, buttons)) return;

    float entry = value;
    const float middle = (vmax - vmin) * 0.5f;
    float coef = (vmax - vmin) / kLinearRange;
    const int32_t mode = parentFrame ? parentFrame->getKnobMode() : kCircularMode;
    // Alt swaps the two drags against the frame's mode; decided once, at the press.
    const bool alt = (buttons & kAlt) != 0;
    const bool linear = mode == kLinearMode ? !alt : alt;
    CPoint first;
    float old = 0.0f;
    if (linear) {
        if (buttons & kShift) coef = (vmax - vmin) / (kLinearRange * zoomFactor);
        first = where;
    } else {
        CPoint local(where.h - size.left, where.v - size.top);
        old = valueFromPoint(local);
    }

    CPoint lastWhere(-1, -1);
    int32_t seenButtons = buttons;
    int32_t now;
    beginEdit();
    do {
        now = CDrawContext::getMouseButtons();
        if (where != lastWhere) {
            lastWhere = where;
            if (linear) {
                const CCoord diff = (where.h - first.h) + (first.v - where.v);
                if (now != seenButtons) {
                    // A new scale from here on, with the entry moved so that the value does not jump.
                    const float range = (now & kShift) ? kLinearRange * zoomFactor : kLinearRange;
                    const float coef2 = (vmax - vmin) / range;
                    entry += (coef - coef2) * static_cast<float>(diff);
                    coef = coef2;
                    seenButtons = now;
                }
                value = static_cast<float>(diff) * coef + entry;
                bounceValue();
            } else {
                CPoint local(where.h - size.left, where.v - size.top);
                const float v = valueFromPoint(local);
                // A jump of more than half the range crossed the dead zone: stay at the end it came from.
                if (old - v > middle)
                    value = vmax;
                else if (v - old > middle)
                    value = vmin;
                else
                    value = old = v;
            }
            if (isDirty() && listener) listener->valueChanged(context, this);
        }
        getMouseLocation(context, where);
        doIdleStuff();
    } while (now & kLButton);
    endEdit();
}

bool CKnob::onWheel(CDrawContext* context, const CPoint&, float distance) {
    if (!getMouseEnabled()) return false;
    if (CDrawContext::getMouseButtons() & kShift) distance *= 0.1f;
    value += distance * wheelInc;
    bounceValue();
    if (isDirty() && listener) {
        beginEdit();
        // The host may close the editor while it hears of the gesture, which takes the listener away.
        if (listener) listener->valueChanged(context, this);
        endEdit();
    }
    return true;
}

int32_t CKnob::onKeyDown(VstKeyCode& keyCode) {
    float step;
    switch (keyCode.virt) {
    case VKEY_LEFT:
    case VKEY_DOWN:
        step = -1.0f;
        break;
    case VKEY_UP:
    case VKEY_RIGHT:
        step = 1.0f;
        break;
    default:
        return kKeyNotHandled;
    }
    if (keyCode.modifier & MODIFIER_SHIFT) step *= 0.1f;
    value += step * wheelInc;
    bounceValue();
    if (isDirty() && listener) {
        beginEdit();
        if (listener) listener->valueChanged(nullptr, this); // as for the wheel
        endEdit();
    }
    return 1;
}

void CKnob::draw(CDrawContext* context) {
    if (background) {
        if (transparencyEnabled)
            background->drawTransparent(context, size, offset);
        else
            background->draw(context, size, offset);
    }
    drawHandle(context);
    setDirty(false);
}

// A handle bitmap centred on the handle point, or a line from the centre with a shadow below it.
void CKnob::drawHandle(CDrawContext* context) {
    if (!context) return;
    CPoint handle;
    valueToPoint(handle);
    handle.offset(size.left, size.top);
    if (handleBitmap) {
        const CCoord w = handleBitmap->getWidth(), h = handleBitmap->getHeight();
        const CRect r(handle.h - w / 2, handle.v - h / 2, handle.h - w / 2 + w, handle.v - h / 2 + h);
        handleBitmap->drawTransparent(context, r);
        return;
    }
    const CPoint centre(size.left + size.width() / 2, size.top + size.height() / 2);
    context->setLineWidth(1);
    context->setFrameColor(colorShadowHandle);
    context->moveTo(CPoint(centre.h + 1, centre.v + 1));
    context->lineTo(CPoint(handle.h + 1, handle.v + 1));
    context->setFrameColor(colorHandle);
    context->moveTo(centre);
    context->lineTo(handle);
}

CAnimKnob::CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
                     CCoord heightOfOneImage, CBitmap* background, const CPoint& offset)
    : CKnob(size, listener, tag, background, nullptr, offset), subPixmaps(subPixmaps),
      heightOfOneImage(heightOfOneImage) {
    inset = 0;
}

bool CAnimKnob::isTypeOf(const char* name) const {
    return std::strcmp(name, "CAnimKnob") == 0 || CKnob::isTypeOf(name);
}

CPoint CAnimKnob::frameOffset() const {
    CPoint where;
    if (!(value >= 0.0f) || heightOfOneImage <= 0 || subPixmaps <= 1) return where;
    const CCoord total = heightOfOneImage * (subPixmaps - 1);
    const float scaled = (inverseBitmap ? 1.0f - value : value) * static_cast<float>(total);
    // Past the maximum the last frame stays, rather than an offset beyond the strip.
    CCoord y = scaled < static_cast<float>(total) ? static_cast<CCoord>(scaled) : total;
    for (CCoord realY = 0; realY <= total; realY += heightOfOneImage) {
        if (y < realY) {
            y = std::max(realY - heightOfOneImage, 0);
            break;
        }
    }
    where.v = y;
    return where;
}

void CAnimKnob::draw(CDrawContext* context) {
    if (background) {
        if (transparencyEnabled)
            background->drawTransparent(context, size, frameOffset());
        else
            background->draw(context, size, frameOffset());
    }
    valueToPoint(lastDrawnPoint);
    setDirty(false);
}

bool CAnimKnob::isDirty() const {
    if (!dirtyFlag) {
        CPoint point;
        valueToPoint(point);
        if (point == lastDrawnPoint) return false;
    }
    return CControl::isDirty();
}

} // namespace VSTGUI

// Rotary knobs. CKnob holds all knob behaviour: the dial geometry (angles counter-clockwise from the
// positive horizontal axis, vertical axis up), the circular and linear drags, fine adjustment with Shift,
// the wheel and the arrow keys. CAnimKnob draws the value as one frame of a vertical filmstrip.
#pragma once

#include "vstgui/ccolor.h"
#include "vstgui/ccontrol.h"

namespace VSTGUI {

// The frame's knob modes.
enum CKnobMode : int32_t { kCircularMode = 0, kRelativCircularMode = 1, kLinearMode = 2 };

class CKnob : public CControl {
public:
    CKnob(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background, CBitmap* handle,
          const CPoint& offset = CPoint());
    ~CKnob() override;

    void draw(CDrawContext* context) override;
    // A press in the parent's coordinates; tracks the pointer until the left button is released.
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = kButtonsToBeRead) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    using CControl::onWheel;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    bool isTypeOf(const char* name) const override;

    virtual void drawHandle(CDrawContext* context);
    virtual void setStartAngle(float val);
    virtual float getStartAngle() const { return startAngle; }
    virtual void setRangeAngle(float val);
    virtual float getRangeAngle() const { return rangeAngle; }
    // The handle point of the current value, relative to the knob's top-left corner.
    virtual void valueToPoint(CPoint& point) const;
    // The value at a point relative to the knob's top-left corner; the dead zone gives an end.
    virtual float valueFromPoint(CPoint& point) const;
    virtual void setInsetValue(int32_t val) { inset = val; }
    virtual void setColorHandle(CColor color) { colorHandle = color; }
    virtual void setColorShadowHandle(CColor color) { colorShadowHandle = color; }
    virtual void setHandleBitmap(CBitmap* bitmap);
    virtual void setZoomFactor(float val) { zoomFactor = val; }
    virtual float getZoomFactor() const { return zoomFactor; }

    int32_t getInsetValue() const { return inset; }

protected:
    void compute();

    CPoint offset;
    CColor colorHandle = kWhiteCColor;
    CColor colorShadowHandle = kGreyCColor;
    CBitmap* handleBitmap = nullptr;
    int32_t inset = 3;
    float startAngle = 0.0f;
    float rangeAngle = 0.0f;
    float halfAngle = 0.0f;
    float aCoef = 0.0f;
    float bCoef = 0.0f;
    float radius;
    float zoomFactor = 1.5f;
};

class CAnimKnob : public CKnob {
public:
    CAnimKnob(const CRect& size, CControlListener* listener, int32_t tag, int32_t subPixmaps,
              CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint());

    // Draws frame floor(value x (subPixmaps - 1)) of the strip.
    void draw(CDrawContext* context) override;
    // A change too small to move the handle point by a pixel does not count until the flag is set.
    bool isDirty() const override;
    bool isTypeOf(const char* name) const override;

    void setInverseBitmap(bool val) { inverseBitmap = val; }
    // The strip's source offset for the current value.
    CPoint frameOffset() const;

protected:
    int32_t subPixmaps;
    CCoord heightOfOneImage;
    bool inverseBitmap = false;
    CPoint lastDrawnPoint;
};

} // namespace VSTGUI

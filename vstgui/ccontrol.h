// A view with a normalised value. A changed value alone makes the control dirty (it differs from the
// value at the last clean state), so setValue costs nothing until the frame's next idle pass.
#pragma once

#include "vstgui/cview.h"

namespace VSTGUI {

class CControlListener;

class CControl : public CView {
public:
    CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background = nullptr);

    void draw(CDrawContext* context) override = 0;
    bool isDirty() const override;
    void setDirty(bool val = true) override;
    bool isTypeOf(const char* name) const override;

    virtual void doIdleStuff();
    // A plain store: no clamping, no dirty flag.
    virtual void setValue(float val) { value = val; }
    virtual float getValue() const { return value; }
    virtual void setMin(float val) { vmin = val; }
    virtual float getMin() const { return vmin; }
    virtual void setMax(float val) { vmax = val; }
    virtual float getMax() const { return vmax; }
    virtual void setOldValue(float val) { oldValue = val; }
    virtual float getOldValue() const { return oldValue; }
    virtual void setDefaultValue(float val) { defaultValue = val; }
    virtual float getDefaultValue() const { return defaultValue; }
    virtual void setTag(int32_t val) { tag = val; }
    virtual int32_t getTag() const { return tag; }
    virtual void beginEdit();
    virtual void endEdit();
    virtual void setBackOffset(const CPoint& offset) { backOffset = offset; }
    virtual void copyBackOffset() { backOffset = CPoint(size.left, size.top); }
    virtual void setWheelInc(float val) { wheelInc = val; }
    virtual float getWheelInc() const { return wheelInc; }
    virtual void bounceValue();
    // Exactly left button with Ctrl restores the default value as one edit.
    virtual bool checkDefaultValue(CDrawContext* context, int32_t button);

    CControlListener* getListener() const { return listener; }
    void setListener(CControlListener* l) { listener = l; }
    CPoint getBackOffset() const { return backOffset; }

protected:
    CControlListener* listener;
    int32_t tag;
    float oldValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float vmin = 0.0f;
    float vmax = 1.0f;
    float wheelInc = 0.1f;
    CPoint backOffset;
};

} // namespace VSTGUI

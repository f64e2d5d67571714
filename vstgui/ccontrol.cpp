#include "vstgui/ccontrol.h"

#include "vstgui/ccontrollistener.h"
#include "vstgui/cframe.h"

#include <cstring>

namespace VSTGUI {

CControl::CControl(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background)
    : CView(size), listener(listener), tag(tag) {
    setBackground(background);
    setDirty(true);
}

bool CControl::isDirty() const {
    // Compared as floats, so a NaN value always counts as changed.
    return oldValue != value || dirtyFlag;
}

void CControl::setDirty(bool val) {
    dirtyFlag = val;
    if (val)
        oldValue = value != -1.0f ? -1.0f : 0.0f;
    else
        oldValue = value;
}

bool CControl::isTypeOf(const char* name) const {
    return std::strcmp(name, "CControl") == 0 || CView::isTypeOf(name);
}

void CControl::doIdleStuff() {
    if (parentFrame) parentFrame->doIdleStuff();
}

void CControl::beginEdit() {
    if (!parentFrame) return;
    parentFrame->setFocusView(this);
    parentFrame->beginEdit(tag);
}

void CControl::endEdit() {
    if (parentFrame) parentFrame->endEdit(tag);
}

void CControl::bounceValue() {
    if (value > vmax)
        value = vmax;
    else if (value < vmin)
        value = vmin;
}

bool CControl::checkDefaultValue(CDrawContext* context, int32_t button) {
    if (button != (kLButton | kControl)) return false;
    beginEdit();
    value = getDefaultValue();
    if (isDirty() && listener) listener->valueChanged(context, this);
    endEdit();
    return true;
}

} // namespace VSTGUI

#include "vstgui/cview.h"

#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/scopedoffset.h"

#include <cstring>

namespace VSTGUI {

const char* const kMsgCheckIfViewContainer = "kMsgCheckIfViewContainer";

CView::CView(const CRect& size) : size(size), mouseableArea(size) {}

CView::~CView() {
    if (background) background->release();
}

void CView::draw(CDrawContext* context) {
    if (background) {
        if (transparencyEnabled)
            background->drawTransparent(context, size, CPoint());
        else
            background->draw(context, size, CPoint());
    }
    setDirty(false);
}

void CView::drawRect(CDrawContext* context, const CRect&) {
    draw(context);
}

void CView::mouse(CDrawContext*, CPoint&, int32_t) {}

void CView::setBackground(CBitmap* bitmap) {
    // Retain first: setting the bitmap the view already holds must not free it.
    if (bitmap) bitmap->retain();
    if (background) background->release();
    background = bitmap;
    setDirty(true);
}

int32_t CView::onKeyDown(VstKeyCode&) {
    return kKeyNotHandled;
}
int32_t CView::onKeyUp(VstKeyCode&) {
    return kKeyNotHandled;
}

bool CView::onWheel(CDrawContext* context, const CPoint& where, int32_t, float distance) {
    return onWheel(context, where, distance);
}

bool CView::onWheel(CDrawContext*, const CPoint&, float) {
    return false;
}
void CView::looseFocus(CDrawContext*) {}
void CView::takeFocus(CDrawContext*) {}

bool CView::hitTest(const CPoint& where, int32_t) {
    return mouseableArea.pointInside(where);
}

void CView::setViewSize(const CRect& rect, bool) {
    size = rect;
    setDirty(true);
}

bool CView::removed(CView*) {
    return true;
}
bool CView::attached(CView*) {
    return true;
}

void CView::getMouseLocation(CDrawContext* context, CPoint& point) {
    if (!context) return;
    if (parentView && parentView->notify(this, kMsgCheckIfViewContainer) == 1) {
        ScopedOffset shift(context, parentView->size.left, parentView->size.top);
        parentView->getMouseLocation(context, point);
        return;
    }
    context->getMouseLocation(point);
}

CPoint& CView::frameToLocal(CPoint& point) const {
    if (parentView && parentView->isTypeOf("CViewContainer")) return parentView->frameToLocal(point);
    return point;
}

CPoint& CView::localToFrame(CPoint& point) const {
    if (parentView && parentView->isTypeOf("CViewContainer")) return parentView->localToFrame(point);
    return point;
}

IFrameEditor* CView::getEditor() const {
    return parentFrame ? parentFrame->getEditor() : nullptr;
}

int32_t CView::notify(CView*, const char*) {
    return 0;
}

void CView::redrawRect(CDrawContext* context, const CRect& rect) {
    if (parentView)
        parentView->redrawRect(context, rect);
    else if (parentFrame)
        parentFrame->drawRect(context, rect);
}

bool CView::isTypeOf(const char* name) const {
    return std::strcmp(name, "CView") == 0;
}

void CView::update(CDrawContext* context) {
    if (!isDirty()) return;
    if (context)
        redrawRect(context, size);
    else if (parentFrame)
        parentFrame->draw(this);
    setDirty(false);
}

} // namespace VSTGUI

#include "vstgui/cviewcontainer.h"

#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/scopedoffset.h"

#include <cstring>

namespace VSTGUI {

namespace {

void setClipIfDifferent(CDrawContext* context, const CRect& clip) {
    CRect current;
    if (context->getClipRect(current) != clip) context->setClipRect(clip);
}

CRect translated(CRect r, const CPoint& by) {
    return r.offset(by.h, by.v);
}

} // namespace

CViewContainer::Node::Node(CView* view) : view(view) {
    view->retain();
}
CViewContainer::Node::~Node() {
    view->release();
}

CViewContainer::CViewContainer(const CRect& size) : CView(size) {
    setDirty(true);
}

CViewContainer::~CViewContainer() {
    removeAll(true);
    dropOffscreen();
}

void CViewContainer::makeOffscreen() {
    offscreenContext = new COffscreenContext(parentFrame, size.width(), size.height(), kBlackCColor);
}

void CViewContainer::dropOffscreen() {
    if (offscreenContext) offscreenContext->release();
    offscreenContext = nullptr;
}

void CViewContainer::addView(CView* view, const CRect& area, bool enabled) {
    if (!view) return;
    view->setMouseEnabled(enabled);
    view->setMouseableArea(area);
    addView(view);
}

void CViewContainer::addView(CView* view) {
    if (!view) return;
    Node* node = new Node(view);
    view->setFrame(parentFrame);
    view->setParentView(this);
    if (lastView) {
        lastView->next = node;
        node->previous = lastView;
    } else {
        firstView = node;
    }
    lastView = node;
    view->attached(this);
    view->setDirty(true);
}

void CViewContainer::unlink(Node* node) {
    (node->previous ? node->previous->next : firstView) = node->next;
    (node->next ? node->next->previous : lastView) = node->previous;
}

void CViewContainer::removeView(CView* view, bool withRelease) {
    if (parentFrame && view && parentFrame->getFocusView() == view) parentFrame->setFocusView(nullptr);
    for (Node* node = firstView; node; node = node->next) {
        if (node->view != view) continue;
        view->removed(this);
        // A view kept by its caller must not point into a tree it has left.
        view->setParentView(nullptr);
        view->setFrame(nullptr);
        if (withRelease) view->release();
        unlink(node);
        delete node;
        return;
    }
}

void CViewContainer::removeAll(bool withRelease) {
    Node* node = firstView;
    firstView = lastView = nullptr;
    while (node) {
        Node* next = node->next;
        CView* view = node->view;
        if (parentFrame && parentFrame != this && parentFrame->getFocusView() == view)
            parentFrame->setFocusView(nullptr);
        view->removed(this);
        view->setParentView(nullptr);
        view->setFrame(nullptr);
        if (withRelease) view->release();
        delete node;
        node = next;
    }
}

bool CViewContainer::isChild(CView* view) const {
    for (Node* node = firstView; node; node = node->next)
        if (node->view == view) return true;
    return false;
}

int32_t CViewContainer::getNbViews() const {
    int32_t count = 0;
    for (Node* node = firstView; node; node = node->next) ++count;
    return count;
}

CView* CViewContainer::getView(int32_t index) const {
    if (index < 0) return nullptr;
    for (Node* node = firstView; node; node = node->next, --index)
        if (index == 0) return node->view;
    return nullptr;
}

void CViewContainer::setBackgroundColor(CColor color) {
    backgroundColor = color;
    setDirty(true);
}

void CViewContainer::useOffscreen(bool val) {
    drawInOffscreen = val;
    if (!val) dropOffscreen();
}

CDrawContext* CViewContainer::prepareTarget(CDrawContext* context) {
    if (drawInOffscreen && !offscreenContext) makeOffscreen();
    if (offscreenContext && transparencyEnabled) offscreenContext->copyTo(context, size, CPoint());
    if (drawInOffscreen && offscreenContext) return offscreenContext;
    context->offset.offset(size.left, size.top);
    context->offsetScreen.offset(context->toSurface(size.left), context->toSurface(size.top));
    return context;
}

void CViewContainer::finishTarget(CDrawContext* context, const CRect& copyRect, const CPoint& destination) {
    if (drawInOffscreen && offscreenContext) {
        const CRect dest(destination.h, destination.v, destination.h + copyRect.width(),
                         destination.v + copyRect.height());
        offscreenContext->copyFrom(context, dest, copyRect.topLeft());
        return;
    }
    context->offset.offset(-size.left, -size.top);
    context->offsetScreen.offset(-context->toSurface(size.left), -context->toSurface(size.top));
}

CRect CViewContainer::localClipOf(CDrawContext* context, bool offscreen) const {
    CRect clip;
    context->getClipRect(clip);
    // An offscreen holds only this container, from its own origin.
    if (offscreen && !isTypeOf("CFrame")) return CRect(0, 0, clip.width(), clip.height());
    return translated(clip, CPoint(-context->offset.h, -context->offset.v));
}

void CViewContainer::draw(CDrawContext* context) {
    if (!context) return;
    CDrawContext* target = prepareTarget(context);
    const CRect r(0, 0, size.width(), size.height());
    const CRect localClip = localClipOf(context, target != context);
    CRect targetClip;
    target->getClipRect(targetClip);

    CRect clip(r);
    setClipIfDifferent(target, translated(clip.bound(localClip), target->offset));

    if (background) {
        if (transparencyEnabled)
            background->drawTransparent(target, r, backgroundOffset);
        else
            background->draw(target, r, backgroundOffset);
    } else if (!transparencyEnabled) {
        target->setFillColor(backgroundColor);
        target->fillRect(r);
    }

    for (Node* node = firstView; node; node = node->next) {
        CRect childClip = node->view->getViewSize();
        setClipIfDifferent(target, translated(childClip.bound(localClip), target->offset));
        node->view->draw(target);
    }

    setClipIfDifferent(target, targetClip);
    finishTarget(context, r, CPoint(size.left, size.top));
    setDirty(false);
}

void CViewContainer::drawRect(CDrawContext* context, const CRect& updateRect) {
    if (!context) return;
    CDrawContext* target = prepareTarget(context);

    CRect boundedUpdate(updateRect);
    boundedUpdate.bound(size);
    CRect clientRect = translated(boundedUpdate, CPoint(-size.left, -size.top));

    const CRect localClip = localClipOf(context, target != context);
    CRect targetClip;
    target->getClipRect(targetClip);

    CRect workingClip(clientRect);
    workingClip.bound(localClip);
    setClipIfDifferent(target, translated(workingClip, target->offset));

    drawBackgroundRect(target, clientRect);

    const bool keepPartialDirty = !isTypeOf("CScrollContainer");
    for (Node* node = firstView; node; node = node->next) {
        CView* child = node->view;
        if (!child->checkUpdate(clientRect)) continue;
        CRect childClip = child->getViewSize();
        childClip.bound(workingClip);
        if (childClip.isEmpty()) continue;
        setClipIfDifferent(target, translated(childClip, target->offset));
        const bool wasDirty = child->isDirty();
        child->drawRect(target, clientRect);
        // A child drawn only in part is completed at the next update instead of now.
        if (wasDirty && keepPartialDirty && childClip != child->getViewSize()) child->setDirty(true);
    }

    setClipIfDifferent(target, targetClip);
    finishTarget(context, clientRect, boundedUpdate.topLeft());
    setDirty(false);
}

void CViewContainer::drawBackgroundRect(CDrawContext* context, const CRect& rect) {
    if (background) {
        CRect oldClip;
        context->getClipRect(oldClip);
        CRect clip = translated(rect, context->offset);
        setClipIfDifferent(context, clip.bound(oldClip));
        const CRect whole(0, 0, background->getWidth(), background->getHeight());
        if (transparencyEnabled)
            background->drawTransparent(context, whole, backgroundOffset);
        else
            background->draw(context, whole, backgroundOffset);
        setClipIfDifferent(context, oldClip);
    } else if (!transparencyEnabled) {
        context->setFillColor(backgroundColor);
        context->fillRect(rect);
    }
}

void CViewContainer::update(CDrawContext* context) {
    const CRect local(0, 0, size.width(), size.height());
    switch (mode) {
    case kNormalUpdate:
        if (isDirty()) redrawRect(context, local);
        break;
    case kOnlyDirtyUpdate:
        if (dirtyFlag) {
            redrawRect(context, local);
            break;
        }
        for (Node* node = firstView; node; node = node->next) {
            CView* child = node->view;
            if (!child->isDirty() || !child->checkUpdate(local)) continue;
            if (child->notify(this, kMsgCheckIfViewContainer) == 1) {
                child->update(context);
            } else {
                CRect r = child->getViewSize();
                redrawRect(context, r.bound(local));
            }
        }
        break;
    default:
        return;
    }
    setDirty(false);
}

void CViewContainer::redrawRect(CDrawContext* context, const CRect& rect) {
    const CRect newRect = translated(rect, size.topLeft());
    if (transparencyEnabled) {
        if (parentView)
            parentView->redrawRect(context, newRect);
        else if (parentFrame)
            parentFrame->drawRect(context, newRect);
        return;
    }
    if (!context) return;
    CPoint origin;
    if (parentView) parentView->localToFrame(origin);
    ScopedOffset shift(context, origin.h, origin.v);
    drawRect(context, newRect);
}

bool CViewContainer::isDirty() const {
    if (dirtyFlag) return true;
    const CRect local(0, 0, size.width(), size.height());
    for (Node* node = firstView; node; node = node->next) {
        if (!node->view->isDirty()) continue;
        CRect r = node->view->getViewSize();
        if (!r.bound(local).isEmpty()) return true;
    }
    return false;
}

void CViewContainer::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
    CPoint where2(where.h - size.left, where.v - size.top);
    if (buttons == kButtonsToBeRead && context) buttons = CDrawContext::getMouseButtons();
    for (Node* node = lastView; node; node = node->previous) {
        CView* child = node->view;
        if (child->getMouseEnabled() && child->hitTest(where2, buttons)) {
            child->mouse(context, where2, buttons);
            return;
        }
    }
}

int32_t CViewContainer::onKeyDown(VstKeyCode& keyCode) {
    for (Node* node = lastView; node; node = node->previous) {
        const int32_t result = node->view->onKeyDown(keyCode);
        if (result != kKeyNotHandled) return result;
    }
    return kKeyNotHandled;
}

int32_t CViewContainer::onKeyUp(VstKeyCode& keyCode) {
    for (Node* node = lastView; node; node = node->previous) {
        const int32_t result = node->view->onKeyUp(keyCode);
        if (result != kKeyNotHandled) return result;
    }
    return kKeyNotHandled;
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) {
    CView* view = getViewAt(where, false);
    if (!view || !context) return false;
    ScopedOffset shift(context, size.left, size.top);
    return view->onWheel(context, CPoint(where.h - size.left, where.v - size.top), axis, distance);
}

bool CViewContainer::onWheel(CDrawContext* context, const CPoint& where, float distance) {
    return onWheel(context, where, kMouseWheelAxisY, distance);
}

CView* CViewContainer::getViewAt(const CPoint& where, bool deep) const {
    if (!parentFrame) return nullptr;
    const CPoint where2(where.h - size.left, where.v - size.top);
    for (Node* node = lastView; node; node = node->previous) {
        CRect area;
        if (!node->view->getMouseableArea(area).pointInside(where2)) continue;
        if (deep && node->view->isTypeOf("CViewContainer"))
            return static_cast<CViewContainer*>(node->view)->getViewAt(where2, true);
        return node->view;
    }
    return nullptr;
}

CView* CViewContainer::getCurrentView() const {
    if (!parentFrame) return nullptr;
    CPoint where;
    parentFrame->getCurrentLocation(where);
    frameToLocal(where);
    for (Node* node = lastView; node; node = node->previous) {
        CRect area;
        if (node->view->getMouseableArea(area).pointInside(where)) return node->view;
    }
    return nullptr;
}

void CViewContainer::looseFocus(CDrawContext* context) {
    for (Node* node = firstView; node; node = node->next) node->view->looseFocus(context);
}

void CViewContainer::takeFocus(CDrawContext* context) {
    for (Node* node = firstView; node; node = node->next) node->view->takeFocus(context);
}

bool CViewContainer::advanceNextFocusView(CView* oldFocus, bool reverse) {
    bool pastOld = oldFocus == nullptr;
    for (Node* node = reverse ? lastView : firstView; node; node = reverse ? node->previous : node->next) {
        CView* view = node->view;
        if (!pastOld) {
            pastOld = view == oldFocus;
            continue;
        }
        if (view->wantsFocus() && parentFrame) {
            parentFrame->setFocusView(view);
            return true;
        }
        if (view->isTypeOf("CViewContainer") &&
            static_cast<CViewContainer*>(view)->advanceNextFocusView(nullptr, reverse))
            return true;
    }
    return false;
}

void CViewContainer::setViewSize(const CRect& rect, bool) {
    size = rect;
    setDirty(true);
    if (offscreenContext && drawInOffscreen) {
        dropOffscreen();
        makeOffscreen();
    }
}

bool CViewContainer::attached(CView*) {
    if (drawInOffscreen && !offscreenContext) makeOffscreen();
    // Children added before the container joined a tree learn their frame now.
    for (Node* node = firstView; node; node = node->next) {
        node->view->setFrame(parentFrame);
        if (node->view->isTypeOf("CViewContainer")) node->view->attached(this);
    }
    return true;
}

bool CViewContainer::removed(CView*) {
    dropOffscreen();
    return true;
}

CPoint& CViewContainer::frameToLocal(CPoint& point) const {
    point.offset(-size.left, -size.top);
    if (parentView && parentView->isTypeOf("CViewContainer")) return parentView->frameToLocal(point);
    return point;
}

CPoint& CViewContainer::localToFrame(CPoint& point) const {
    point.offset(size.left, size.top);
    if (parentView && parentView->isTypeOf("CViewContainer")) return parentView->localToFrame(point);
    return point;
}

int32_t CViewContainer::notify(CView*, const char* message) {
    return message == kMsgCheckIfViewContainer ? 1 : 0;
}

bool CViewContainer::isTypeOf(const char* name) const {
    return std::strcmp(name, "CViewContainer") == 0 || CView::isTypeOf(name);
}

} // namespace VSTGUI

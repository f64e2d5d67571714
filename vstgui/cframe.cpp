#include "vstgui/cframe.h"

#include "vstgui/cdrawcontext.h"
#include "vstgui/coffscreencontext.h"
#include "vstgui/cscale.h"
#include "vstgui/iframeeditor.h"
#include "vstgui/platform/platform.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

namespace {

void setClipIfDifferent(CDrawContext* context, const CRect& clip) {
    CRect current;
    if (context->getClipRect(current) != clip) context->setClipRect(clip);
}

bool contains(const CRect& outer, const CRect& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

CRect translated(CRect r, CCoord dh, CCoord dv) {
    return r.offset(dh, dv);
}

} // namespace

CFrame::CFrame(const CRect& size, void* systemWindow, IFrameEditor* editor, platform::Backend* backend,
               int32_t scalePercent)
    : CViewContainer(size), editor(editor), system(backend ? *backend : platform::backend()),
      systemWindow(systemWindow), scalePercent(scalePercent > 0 ? scalePercent : kUnscaled) {
    parentFrame = this;
    initFrame(systemWindow);
}

bool CFrame::initFrame(void* parent) {
    if (!parent) return false;
    platform::BackendScope scope(system);
    window = system.createFrameWindow(*this, parent, toDevice(size.width(), scalePercent),
                                      toDevice(size.height(), scalePercent));
    return true;
}

CFrame::~CFrame() {
    platform::BackendScope scope(system);
    if (modalView) removeView(modalView, false);
    modalView = nullptr;
    setCursor(kCursorDefault);
    if (frameContext) frameContext->release();
    frameContext = nullptr;
    if (backBuffer) backBuffer->release();
    backBuffer = nullptr;
    window.reset();
    if (addedWindow && openFlag && systemWindow) systemWindow = nullptr;
    // Children go while the frame is still whole, so focus checks during removal stay valid.
    focusView = nullptr;
    removeAll(true);
}

void* CFrame::getWindowHandle() const {
    return window ? window->handle() : nullptr;
}

bool CFrame::isTypeOf(const char* name) const {
    return std::strcmp(name, "CFrame") == 0 || CViewContainer::isTypeOf(name);
}

bool CFrame::open(CPoint*) {
    if (!addedWindow) return false;
    if (openFlag) return false;
    if (initFrame(systemWindow)) openFlag = true;
    return openFlag;
}

bool CFrame::close() {
    if (!addedWindow || !openFlag || !systemWindow) return false;
    systemWindow = nullptr;
    return true;
}

void CFrame::doIdleStuff() {
    if (editor) editor->doIdleStuff();
}

uint32_t CFrame::getTicks() const {
    return editor ? system.tickCount() : 0;
}

int32_t CFrame::getKnobMode() const {
    return editor ? editor->getKnobMode() : 0;
}

void CFrame::beginEdit(int32_t index) {
    if (editor) editor->beginEdit(index);
}

void CFrame::endEdit(int32_t index) {
    if (editor) editor->endEdit(index);
}

bool CFrame::setPosition(CCoord, CCoord) {
    return false;
}

bool CFrame::getPosition(CCoord& x, CCoord& y) const {
    if (!openFlag || !window) return false;
    return window->getPosition(x, y);
}

bool CFrame::getSize(CRect* rect) const {
    return rect ? getSize(*rect) : false;
}

bool CFrame::getSize(CRect& rect) const {
    if (!openFlag || !window) return false;
    return window->getSize(rect);
}

bool CFrame::setSize(CCoord width, CCoord height) {
    if (!openFlag) return false;
    if (width == size.width() && height == size.height()) return false;
    if (backBuffer) backBuffer->release();
    backBuffer = nullptr;
    if (editor && editor->sizeWindow(width, height)) {
        size.right = size.left + width;
        size.bottom = size.top + height;
        if (window) window->resize(width, height);
        return true;
    }
    size.right = size.left + width;
    size.bottom = size.top + height;
    if (window) window->resizeWithParents(width, height);
    size = CRect(0, 0, width, height);
    setDirty(true);
    if (offscreenContext && drawInOffscreen) {
        dropOffscreen();
        makeOffscreen();
    }
    return true;
}

void CFrame::setScale(int32_t percent) {
    if (percent <= 0 || percent == scalePercent) return;
    scalePercent = percent;
    if (backBuffer) backBuffer->release();
    backBuffer = nullptr;
    if (window) window->resize(toDevice(size.width(), percent), toDevice(size.height(), percent));
    setDirty(true);
}

void CFrame::setViewSize(const CRect& rect, bool) {
    setSize(rect.width(), rect.height());
}

bool CFrame::getCurrentLocation(CPoint& where) {
    // The editor asks at every idle pass (the read-out's hover): one question to the system where it can.
    if (window && window->pointerPosition(where)) {
        where = toLogical(where, scalePercent);
        return true;
    }
    where = system.cursorPosition();
    if (window) {
        const CPoint origin = window->screenOrigin();
        where.offset(-origin.h, -origin.v);
    }
    where = toLogical(where, scalePercent);
    return true;
}

void CFrame::setCursor(int32_t type) {
    // The cursor found at the first change stands for the default, even when none was shown then.
    if (!defaultCursorSaved) {
        defaultCursor = system.currentCursor();
        defaultCursorSaved = true;
    }
    system.setCursor(type, defaultCursor);
}

void CFrame::invalidate(const CRect& rect) {
    for (Node* node = firstView; node; node = node->next)
        if (node->view->getViewSize().rectOverlap(rect)) node->view->setDirty(true);
}

bool CFrame::setUpdatesDisabled(bool val) {
    const bool previous = updatesDisabledFlag;
    updatesDisabledFlag = val;
    return previous;
}

CDrawContext* CFrame::createDrawContext() {
    if (frameContext) {
        frameContext->retain();
        return frameContext;
    }
    return new CDrawContext(this, nullptr, getWindowHandle());
}

COffscreenContext* CFrame::getBackBuffer() {
    if (!backBuffer) backBuffer = new COffscreenContext(this, size.width(), size.height(), kBlackCColor);
    return backBuffer;
}

void CFrame::draw(CDrawContext* context) {
    firstDraw = false;
    if (!context) context = frameContext;
    if (context) CViewContainer::draw(context);
}

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
    firstDraw = false;
    CDrawContext* own = nullptr;
    if (!context) context = own = createDrawContext();
    if (!context) return;

    CRect oldClip;
    context->getClipRect(oldClip);
    CRect clip(updateRect);
    clip.offset(context->offset.h, context->offset.v);
    setClipIfDifferent(context, clip.bound(oldClip));
    if (!updateRect.isEmpty()) {
        // Inside an update pass every redraw of the back buffer is an area the window must be shown.
        if (runningPass != 0 && context == backBuffer) {
            CRect noted(updateRect);
            noted.bound(size);
            CRect visible = translated(oldClip, -context->offset.h, -context->offset.v);
            noteChangedArea(noted.bound(visible));
        }
        CViewContainer::drawRect(context, updateRect);
    }
    setClipIfDifferent(context, oldClip);

    if (own) own->release();
}

void CFrame::draw(CView* view) {
    CView* target = view && isChild(view) ? view : this;
    CDrawContext* context = createDrawContext();
    if (!context) return;
    target->draw(context);
    context->release();
}

void CFrame::noteChangedArea(const CRect& area) {
    if (area.isEmpty()) return;
    // Areas inside one already noted are copied with it; one that holds earlier areas replaces them.
    for (const CRect& noted : changedAreas)
        if (contains(noted, area)) return;
    changedAreas.erase(std::remove_if(changedAreas.begin(), changedAreas.end(),
                                      [&](const CRect& noted) { return contains(area, noted); }),
                       changedAreas.end());
    changedAreas.push_back(area);
}

void CFrame::redrawDirtyViews(COffscreenContext* buffer) {
    // What this pass redraws is what goes to the window: the whole frame, or the areas the views redrew
    // (noted by drawRect), which may be less than a dirty view's rectangle.
    changedAreas.clear();
    if (++passCount == 0) ++passCount;
    runningPass = passCount;
    if (dirtyFlag) {
        draw(buffer);
        setDirty(false);
        changedAreas.assign(1, size);
    } else {
        CRect savedClip;
        buffer->getClipRect(savedClip);
        if (modalView && modalView->isDirty()) modalView->update(buffer);
        for (Node* node = firstView; node; node = node->next) {
            CView* child = node->view;
            // Clean views draw nothing: their clip is not worth setting.
            if (!child->isDirty()) continue;
            CRect clip = child->getViewSize();
            clip.bound(savedClip);
            setClipIfDifferent(buffer, clip);
            // A container redraws itself without the frame's drawRect: its whole area goes out.
            if (child->notify(this, kMsgCheckIfViewContainer) == 1) noteChangedArea(clip);
            child->update(buffer);
        }
        setClipIfDifferent(buffer, savedClip);
    }
    runningPass = 0;
}

void CFrame::update(CDrawContext* context) {
    if (!openFlag || updatesDisabled()) return;
    CDrawContext* savedFrameContext = frameContext;
    COffscreenContext* buffer = getBackBuffer();
    frameContext = buffer;
    redrawDirtyViews(buffer);
    if (context)
        for (const CRect& area : changedAreas) buffer->copyFrom(context, area, area.topLeft());
    frameContext = savedFrameContext;
}

void CFrame::idle() {
    platform::BackendScope scope(system);
    // Windows that are not driven by the system read their events here, paints first among them.
    if (window) window->dispatchEvents();
    if (!openFlag || firstDraw) return;
    if (!isDirty()) return;
    if (updatesDisabled()) return;
    // The window's context is made only when the pass redrew something: a pass whose views all found
    // nothing changed costs no drawing handle.
    CDrawContext* savedFrameContext = frameContext;
    COffscreenContext* buffer = getBackBuffer();
    frameContext = buffer;
    redrawDirtyViews(buffer);
    frameContext = savedFrameContext;
    if (changedAreas.empty()) return;
    CDrawContext* context = createDrawContext();
    if (context) {
        for (const CRect& area : changedAreas) buffer->copyFrom(context, area, area.topLeft());
        context->release();
    }
}

void CFrame::mouse(CDrawContext* context, CPoint& where, int32_t buttons) {
    if (!context) context = frameContext;
    if (focusView) setFocusView(nullptr);
    if (buttons == kButtonsToBeRead && context) buttons = CDrawContext::getMouseButtons();
    // A right-click anywhere on the face is the editor's (its menu), before any control sees it.
    if (!modalView && buttons != kButtonsToBeRead && (buttons & kRButton) && !(buttons & kLButton) &&
        editor && editor->openContextMenu(where))
        return;
    if (!modalView) {
        CViewContainer::mouse(context, where, buttons);
        return;
    }
    if (modalView->hitTest(where, buttons)) modalView->mouse(context, where, buttons);
}

int32_t CFrame::offerKey(VstKeyCode& keyCode, int32_t (CView::*handler)(VstKeyCode&)) {
    for (CView* view : {focusView, modalView}) {
        if (!view) continue;
        const int32_t result = (view->*handler)(keyCode);
        if (result != kKeyNotHandled) return result;
    }
    return kKeyNotHandled;
}

int32_t CFrame::onKeyDown(VstKeyCode& keyCode) {
    const int32_t result = offerKey(keyCode, &CView::onKeyDown);
    if (result != kKeyNotHandled) return result;
    if (keyCode.virt == VKEY_TAB)
        return advanceNextFocusView(focusView, (keyCode.modifier & MODIFIER_SHIFT) != 0) ? 1 : kKeyNotHandled;
    return kKeyNotHandled;
}

int32_t CFrame::onKeyUp(VstKeyCode& keyCode) {
    return offerKey(keyCode, &CView::onKeyUp);
}

bool CFrame::onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) {
    // A modal view alone takes wheel turns, as it alone takes clicks.
    if (modalView) {
        CRect area;
        if (!modalView->getMouseableArea(area).pointInside(where) || !context) return false;
        return modalView->onWheel(context, where, axis, distance);
    }
    return CViewContainer::onWheel(context, where, axis, distance);
}

CView* CFrame::getCurrentView() const {
    if (modalView) return modalView;
    return CViewContainer::getCurrentView();
}

void CFrame::setFocusView(CView* view) {
    CView* old = focusView;
    focusView = view;
    if (view && view->wantsFocus()) view->setDirty(true);
    if (old) {
        old->looseFocus(nullptr);
        if (old->wantsFocus()) old->setDirty(true);
    }
}

bool CFrame::advanceNextFocusView(CView* oldFocus, bool reverse) {
    if (modalView) return false;
    if (!oldFocus) {
        if (!focusView) return CViewContainer::advanceNextFocusView(nullptr, reverse);
        oldFocus = focusView;
    }
    if (isChild(oldFocus)) {
        if (CViewContainer::advanceNextFocusView(oldFocus, reverse)) return true;
        setFocusView(nullptr);
        return false;
    }
    CView* current = oldFocus;
    CView* parent = oldFocus->getParentView();
    while (parent && parent != this && parent->isTypeOf("CViewContainer")) {
        if (static_cast<CViewContainer*>(parent)->advanceNextFocusView(current, reverse)) return true;
        current = parent;
        parent = parent->getParentView();
    }
    return CViewContainer::advanceNextFocusView(current, reverse);
}

int32_t CFrame::setModalView(CView* view) {
    if (view && modalView) return 0;
    if (modalView) removeView(modalView, false);
    modalView = view;
    if (view) addView(view);
    return 1;
}

void CFrame::windowPaint(void* paintContext, const CRect& updateRect) {
    platform::BackendScope scope(system);
    retain();
    COffscreenContext* buffer = getBackBuffer();
    if (buffer && buffer->getSurface()) {
        const CRect area = coveringLogical(updateRect, scalePercent);
        drawRect(buffer, area);
        CDrawContext screen(this, paintContext, getWindowHandle());
        buffer->copyFrom(&screen, area, area.topLeft());
    } else {
        CDrawContext* direct = new CDrawContext(this, paintContext, getWindowHandle());
        drawRect(direct, coveringLogical(updateRect, scalePercent));
        direct->release();
    }
    release();
}

void CFrame::windowButtonDown(const CPoint& where, int32_t buttons) {
    platform::BackendScope scope(system);
    retain();
    CDrawContext* context = new CDrawContext(this, nullptr, getWindowHandle());
    CPoint p = toLogical(where, scalePercent);
    mouse(context, p, buttons);
    context->release();
    release(); // may destroy the frame: nothing after this
}

bool CFrame::windowWheel(const CPoint& where, float distance, int32_t axis) {
    platform::BackendScope scope(system);
    retain();
    CDrawContext* context = new CDrawContext(this, nullptr, getWindowHandle());
    const bool result = onWheel(context, toLogical(where, scalePercent), axis, distance);
    context->release();
    release();
    return result;
}

void CFrame::windowScreenDpiChanged(int32_t dpi) {
    if (editor && dpi > 0) editor->screenDpiChanged(dpi);
}

void CFrame::windowDestroyed() {
    setOpenFlag(false);
    systemWindow = nullptr;
    if (window) window->markDestroyed();
}

} // namespace VSTGUI

// A node of the view tree: a rectangle in its parent's coordinates, a dirty flag, an optional background
// bitmap (one counted reference) and the event entry points that containers route to it.
#pragma once

#include "vstgui/cbuttons.h"
#include "vstgui/cgeometry.h"
#include "vstgui/creferencecounter.h"
#include "vstgui/vstkeycode.h"

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;
class IFrameEditor;

// The one message views exchange; recognised by the identity of this pointer, not by its characters.
extern const char* const kMsgCheckIfViewContainer;

class CView : public CReferenceCounter {
public:
    explicit CView(const CRect& size);
    ~CView() override;

    virtual void draw(CDrawContext* context);
    virtual void drawRect(CDrawContext* context, const CRect& updateRect);
    virtual bool checkUpdate(const CRect& updateRect) const { return updateRect.rectOverlap(size); }
    virtual void mouse(CDrawContext* context, CPoint& where, int32_t buttons = kButtonsToBeRead);
    virtual void setBackground(CBitmap* background);
    virtual CBitmap* getBackground() const { return background; }
    virtual int32_t onKeyDown(VstKeyCode& keyCode);
    virtual int32_t onKeyUp(VstKeyCode& keyCode);
    // The axis form drops the axis and asks the plain form, which controls implement.
    virtual bool onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance);
    virtual bool onWheel(CDrawContext* context, const CPoint& where, float distance);
    virtual void looseFocus(CDrawContext* context);
    virtual void takeFocus(CDrawContext* context);
    virtual bool isDirty() const { return dirtyFlag; }
    virtual void setDirty(bool val = true) { dirtyFlag = val; }
    virtual void setMouseEnabled(bool enable = true) { mouseEnabled = enable; }
    virtual bool getMouseEnabled() const { return mouseEnabled; }
    virtual void setMouseableArea(const CRect& rect) { mouseableArea = rect; }
    virtual CRect& getMouseableArea(CRect& rect) const {
        rect = mouseableArea;
        return rect;
    }
    virtual bool hitTest(const CPoint& where, int32_t buttons = kButtonsToBeRead);
    virtual void setTransparency(bool val) { transparencyEnabled = val; }
    virtual bool getTransparency() const { return transparencyEnabled; }
    virtual void setViewSize(const CRect& rect, bool invalid = true);
    virtual CRect& getViewSize(CRect& rect) const {
        rect = size;
        return rect;
    }
    virtual bool removed(CView* parent);
    virtual bool attached(CView* parent);
    virtual void getMouseLocation(CDrawContext* context, CPoint& point);
    virtual CPoint& frameToLocal(CPoint& point) const;
    virtual CPoint& localToFrame(CPoint& point) const;
    virtual IFrameEditor* getEditor() const;
    virtual int32_t notify(CView* sender, const char* message);
    virtual void redrawRect(CDrawContext* context, const CRect& rect);
    virtual bool wantsFocus() const { return wantsFocusFlag; }
    virtual void setWantsFocus(bool val) { wantsFocusFlag = val; }
    virtual bool isTypeOf(const char* name) const;
    virtual void update(CDrawContext* context);

    // Set by the container that takes the view in.
    void setParentView(CView* parent) { parentView = parent; }
    CView* getParentView() const { return parentView; }
    void setFrame(CFrame* frame) { parentFrame = frame; }
    CFrame* getFrame() const { return parentFrame; }
    const CRect& getViewSize() const { return size; }
    bool getDirtyFlag() const { return dirtyFlag; }

protected:
    CRect size;
    CRect mouseableArea;
    CFrame* parentFrame = nullptr;
    CView* parentView = nullptr;
    bool dirtyFlag = false;
    bool mouseEnabled = true;
    bool transparencyEnabled = false;
    bool wantsFocusFlag = false;
    CBitmap* background = nullptr;
};

} // namespace VSTGUI

// A view that owns other views: a list in drawing order (first = bottom-most), clipped drawing, hit tests
// from the topmost child down, routing of mouse, wheel, key and drag events, and focus traversal.
#pragma once

#include "vstgui/ccolor.h"
#include "vstgui/cview.h"

namespace VSTGUI {

class COffscreenContext;

enum CUpdateMode : int32_t { kNormalUpdate = 0, kOnlyDirtyUpdate = 1 };

class CViewContainer : public CView {
public:
    explicit CViewContainer(const CRect& size);
    ~CViewContainer() override;

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = kButtonsToBeRead) override;
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
    bool onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) override;
    bool onWheel(CDrawContext* context, const CPoint& where, float distance) override;
    void looseFocus(CDrawContext* context) override;
    void takeFocus(CDrawContext* context) override;
    bool isDirty() const override;
    void setViewSize(const CRect& rect, bool invalid = true) override;
    bool removed(CView* parent) override;
    bool attached(CView* parent) override;
    CPoint& frameToLocal(CPoint& point) const override;
    CPoint& localToFrame(CPoint& point) const override;
    int32_t notify(CView* sender, const char* message) override;
    void redrawRect(CDrawContext* context, const CRect& rect) override;
    bool isTypeOf(const char* name) const override;
    void update(CDrawContext* context) override;

    virtual void addView(CView* view, const CRect& mouseableArea, bool mouseEnabled = true);
    virtual void addView(CView* view);
    virtual void removeView(CView* view, bool withRelease = true);
    virtual void removeAll(bool withRelease = true);
    virtual bool isChild(CView* view) const;
    virtual int32_t getNbViews() const;
    virtual CView* getView(int32_t index) const;
    virtual void setBackgroundColor(CColor color);
    virtual CColor getBackgroundColor() const { return backgroundColor; }
    virtual void setBackgroundOffset(const CPoint& p) { backgroundOffset = p; }
    virtual CPoint getBackgroundOffset() const { return backgroundOffset; }
    virtual void drawBackgroundRect(CDrawContext* context, const CRect& rect);
    virtual void setMode(int32_t val) { mode = val; }
    virtual int32_t getMode() const { return mode; }
    virtual void useOffscreen(bool val);
    virtual CView* getCurrentView() const;
    virtual CView* getViewAt(const CPoint& where, bool deep = false) const;
    virtual bool advanceNextFocusView(CView* oldFocus, bool reverse = false);

    COffscreenContext* getOffscreen() const { return offscreenContext; }

protected:
    struct Node {
        explicit Node(CView* view);
        ~Node();
        CView* view;
        Node* next = nullptr;
        Node* previous = nullptr;
    };

    // Offscreen creation and, for transparent containers, capture of what lies beneath.
    CDrawContext* prepareTarget(CDrawContext* context);
    void finishTarget(CDrawContext* context, const CRect& copyRect, const CPoint& destination);
    // The context's clip in this container's local coordinates.
    CRect localClipOf(CDrawContext* context, bool offscreen) const;
    void unlink(Node* node);
    void makeOffscreen();
    void dropOffscreen();

    Node* firstView = nullptr;
    Node* lastView = nullptr;
    int32_t mode = kOnlyDirtyUpdate;
    COffscreenContext* offscreenContext = nullptr;
    CColor backgroundColor = kBlackCColor;
    CPoint backgroundOffset;
    bool drawInOffscreen = false;
};

} // namespace VSTGUI

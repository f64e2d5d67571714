// The root of the view tree. It owns the editor's child window (through the platform backend), paints
// the tree through a back buffer, redraws dirty views on idle, and owns keyboard focus and the modal view.
#pragma once

#include "vstgui/ccursor.h"
#include "vstgui/cviewcontainer.h"
#include "vstgui/platform/window_events.h"

#include <memory>
#include <vector>

namespace VSTGUI {

class IFrameEditor;
namespace platform {
class Backend;
class Window;
} // namespace platform

// The events interface is the first base, so the pointer a window keeps to report to is the frame's own
// address (what a Win32 frame window's user data has always held).
class CFrame : public platform::WindowEvents, public CViewContainer {
public:
    // The host's GUI thread, which then owns the frame. systemWindow is the host's window that the frame's
    // own window is made in (null: no window), by `system`, the window system of that parent (null: the
    // thread's or the process's backend). The frame and everything drawn for it keep to that backend. The
    // size is logical; the window has `scalePercent` device pixels for every 100 of them.
    CFrame(const CRect& size, void* systemWindow, IFrameEditor* editor, platform::Backend* system = nullptr,
           int32_t scalePercent = 100);
    ~CFrame() override;

    void draw(CDrawContext* context) override;
    void drawRect(CDrawContext* context, const CRect& updateRect) override;
    void mouse(CDrawContext* context, CPoint& where, int32_t buttons = kButtonsToBeRead) override;
    // Host key events, passed on by the editor on the GUI thread.
    int32_t onKeyDown(VstKeyCode& keyCode) override;
    int32_t onKeyUp(VstKeyCode& keyCode) override;
    using CViewContainer::onWheel;
    bool onWheel(CDrawContext* context, const CPoint& where, int32_t axis, float distance) override;
    void setViewSize(const CRect& rect, bool invalid = true) override;
    IFrameEditor* getEditor() const override { return editor; }
    // The editor leaving a frame that still handles an event (closed from inside a drag loop) hands it
    // a stand-in, so the rest of the loop never reaches the editor.
    void setEditor(IFrameEditor* newEditor) { editor = newEditor; }
    bool isTypeOf(const char* name) const override;
    void update(CDrawContext* context) override;
    CView* getCurrentView() const override;
    bool advanceNextFocusView(CView* oldFocus, bool reverse = false) override;

    virtual bool open(CPoint* where = nullptr);
    virtual bool close();
    virtual bool isOpen() const { return openFlag; }
    // Called from the editor's idle (the host idling its editor) on the GUI thread: redraws dirty views.
    virtual void idle();
    virtual void doIdleStuff();
    virtual uint32_t getTicks() const;
    virtual int32_t getKnobMode() const;
    virtual bool setPosition(CCoord x, CCoord y);
    virtual bool getPosition(CCoord& x, CCoord& y) const;
    virtual bool setSize(CCoord width, CCoord height);
    virtual bool getSize(CRect* rect) const;
    virtual bool getSize(CRect& rect) const;
    virtual int32_t setModalView(CView* view);
    virtual CView* getModalView() const { return modalView; }
    virtual void beginEdit(int32_t index);
    virtual void endEdit(int32_t index);
    virtual bool getCurrentLocation(CPoint& where);
    virtual void setCursor(int32_t type);
    virtual void setFocusView(CView* view);
    virtual CView* getFocusView() const { return focusView; }
    virtual void setOpenFlag(bool val) { openFlag = val; }
    virtual bool getOpenFlag() const { return openFlag; }
    virtual void invalidate(const CRect& rect);
    virtual bool setUpdatesDisabled(bool val);
    virtual bool updatesDisabled() const { return updatesDisabledFlag; }
    virtual void draw(CView* view);

    // Device pixels per 100 logical pixels. A new scale resizes the window and redraws everything;
    // views keep their logical sizes, so control behaviour is the same at every scale.
    int32_t getScale() const { return scalePercent; }
    void setScale(int32_t percent);

    // A context for the frame's window, or the running pass's context with an extra reference.
    CDrawContext* createDrawContext();
    COffscreenContext* getBackBuffer();
    void* getSystemWindow() const { return systemWindow; }
    void* getWindowHandle() const;
    platform::Window* getPlatformWindow() const { return window.get(); }
    platform::Backend& getBackend() const { return system; }

    // What the frame's window reports, on the frame's GUI thread (see WindowEvents), each run under the
    // frame's backend. The calls that reach views hold a reference while they run: an owner that lets
    // the frame go meanwhile (a host closing the editor from inside a drag loop) destroys it only when
    // the call has returned. Device pixels in, logical pixels to the views.
    void windowPaint(void* paintContext, const CRect& updateRect) override;
    void windowButtonDown(const CPoint& where, int32_t buttons = kButtonsToBeRead) override;
    bool windowWheel(const CPoint& where, float distance, int32_t axis = kMouseWheelAxisY) override;
    void windowDestroyed() override;
    void windowScreenDpiChanged(int32_t dpi) override;

    // The logical areas the last update pass copied to the window.
    const std::vector<CRect>& lastUpdatedAreas() const { return changedAreas; }
    // The number of the update pass running now, 0 outside one. Views that decide once per pass what
    // they show (the meters) tell by it whether a drawing belongs to a pass they already decided.
    uint32_t runningUpdatePass() const { return runningPass; }

protected:
    bool initFrame(void* systemWindow);
    // Redraws the dirty views into the back buffer and notes the areas redrawn in changedAreas.
    void redrawDirtyViews(COffscreenContext* buffer);
    void noteChangedArea(const CRect& area);
    // The focus view, then the modal view: the first answer other than "not handled".
    int32_t offerKey(VstKeyCode& keyCode, int32_t (CView::*handler)(VstKeyCode&));

    IFrameEditor* editor;
    platform::Backend& system;
    void* systemWindow;
    CView* modalView = nullptr;
    CView* focusView = nullptr;
    bool firstDraw = true;
    bool openFlag = true;
    bool updatesDisabledFlag = false;
    std::unique_ptr<platform::Window> window;
    COffscreenContext* backBuffer = nullptr;
    CDrawContext* frameContext = nullptr;
    bool addedWindow = false;
    void* defaultCursor = nullptr;
    bool defaultCursorSaved = false;
    int32_t scalePercent;
    // The logical areas the last update pass redrew and copied to the window.
    std::vector<CRect> changedAreas;
    uint32_t passCount = 0;
    uint32_t runningPass = 0;
};

} // namespace VSTGUI

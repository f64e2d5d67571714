// The memory backend: surfaces in memory, an injectable clock and a scripted pointer, so the toolkit's
// drawing, modal drag loops and timing run natively and deterministically.
#pragma once

#include "vstgui/platform/platform.h"

#include <deque>

namespace VSTGUI::soft {

// One state of the scripted pointer: where it is and what is held.
struct PointerStep {
    CPoint position;
    platform::InputState state;
};

class SoftBackend : public platform::Backend {
public:
    uint32_t tickCount() override { return ticks; }
    // Sleeping advances the clock, so polling loops make progress without real time passing.
    void sleep(uint32_t milliseconds) override { ticks += milliseconds; }
    CPoint cursorPosition() override { return pointer; }
    // Each read takes the next scripted step, if any; otherwise the state stays as last set.
    platform::InputState inputState() override;
    bool systemSwapsButtons() override { return swapButtons; }
    // Headless windows paint when a test asks them to: nothing ever waits.
    void dispatchPendingPaint() override {}

    std::unique_ptr<platform::Image> createImage(CCoord width, CCoord height) override;
    std::unique_ptr<platform::Image> loadPlainBitmap(int32_t) override { return nullptr; }
    // systemContext is a soft::Pixels to draw into; window is a headless window whose screen is used.
    std::unique_ptr<platform::Surface> createWindowSurface(void* systemContext, void* window) override;
    std::unique_ptr<platform::Surface> createOffscreen(void* window, CCoord width, CCoord height) override;
    CPoint windowScreenOrigin(void* window) override;
    int32_t screenDpi(void*) override { return dpi; }

    void* bindImageLibrary() override;
    void unbindImageLibrary(void* library) override;
    void oleInitialize() override { ++oleDepth; }
    void oleUninitialize() override { --oleDepth; }
    void* currentCursor() override { return shownCursor; }
    void setCursor(int32_t cursorType, void* defaultCursor) override;

    // parent is a soft::HostWindow.
    std::unique_ptr<platform::Window> createFrameWindow(CFrame& frame, void* parent, CCoord width,
                                                        CCoord height) override;

    // Test controls.
    void setTicks(uint32_t t) { ticks = t; }
    void setPointer(CPoint globalPosition) { pointer = globalPosition; }
    void setInput(const platform::InputState& s) { state = s; }
    void setSwapButtons(bool swapped) { swapButtons = swapped; }
    // The screen resolution every window reports; 0, the default, for a system that does not say.
    void setScreenDpi(int32_t dotsPerInch) { dpi = dotsPerInch; }
    void script(std::deque<PointerStep> steps) { pending = std::move(steps); }
    size_t pendingSteps() const { return pending.size(); }
    // Stands for the host showing a cursor of its own.
    void showCursor(void* cursor) { shownCursor = cursor; }
    // The stand-in for the system cursor of a type; null for the types that show the default.
    static void* systemCursor(int32_t cursorType);
    int imageLibraryBindings() const { return boundLibraries; }
    int oleInitialisations() const { return oleDepth; }
    void reset();

private:
    uint32_t ticks = 0;
    CPoint pointer;
    platform::InputState state;
    std::deque<PointerStep> pending;
    bool swapButtons = false;
    int32_t dpi = 0;
    void* shownCursor = nullptr;
    int boundLibraries = 0;
    int oleDepth = 0;
};

// The process-wide memory backend (the default one on systems without a native backend).
SoftBackend& softBackend();

} // namespace VSTGUI::soft

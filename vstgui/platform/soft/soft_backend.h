// The memory backend: surfaces in memory, an injectable clock and a scripted pointer, so the toolkit's
// drawing, modal drag loops and timing run natively and deterministically. One instance serves every
// editor of the process, whatever thread each runs on: its state is atomic or under its lock.
#pragma once

#include "vstgui/platform/platform.h"

#include <atomic>
#include <deque>
#include <mutex>

namespace VSTGUI::soft {

// One state of the scripted pointer: where it is and what is held.
struct PointerStep {
    CPoint position;
    platform::InputState state;
};

class SoftBackend : public platform::Backend {
public:
    uint32_t tickCount() override { return ticks.load(std::memory_order_relaxed); }
    // Sleeping advances the clock, so polling loops make progress without real time passing.
    void sleep(uint32_t milliseconds) override { ticks.fetch_add(milliseconds, std::memory_order_relaxed); }
    CPoint cursorPosition() override;
    // Each read takes the next scripted step, if any; otherwise the state stays as last set.
    platform::InputState inputState() override;
    bool systemSwapsButtons() override { return swapButtons.load(std::memory_order_relaxed); }
    // Headless windows paint when a test asks them to: nothing ever waits.
    void dispatchPendingPaint() override {}

    std::unique_ptr<platform::Image> createImage(CCoord width, CCoord height) override;
    // systemContext is a soft::Pixels to draw into; window is a headless window whose screen is used.
    std::unique_ptr<platform::Surface> createWindowSurface(void* systemContext, void* window) override;
    std::unique_ptr<platform::Surface> createOffscreen(void* window, CCoord width, CCoord height) override;
    CPoint windowScreenOrigin(void* window) override;
    int32_t screenDpi(void*) override { return dpi.load(std::memory_order_relaxed); }

    void* currentCursor() override { return shownCursor.load(std::memory_order_relaxed); }
    void setCursor(int32_t cursorType, void* defaultCursor) override;

    // parent is a soft::HostWindow.
    std::unique_ptr<platform::Window> createFrameWindow(platform::WindowEvents& events, void* parent,
                                                        CCoord width, CCoord height) override;

    // Test controls.
    void setTicks(uint32_t t) { ticks.store(t, std::memory_order_relaxed); }
    void setPointer(CPoint globalPosition);
    void setInput(const platform::InputState& s);
    void setSwapButtons(bool swapped) { swapButtons.store(swapped, std::memory_order_relaxed); }
    // The screen resolution every window reports; 0, the default, for a system that does not say.
    void setScreenDpi(int32_t dotsPerInch) { dpi.store(dotsPerInch, std::memory_order_relaxed); }
    void script(std::deque<PointerStep> steps);
    size_t pendingSteps() const;
    // Stands for the host showing a cursor of its own.
    void showCursor(void* cursor) { shownCursor.store(cursor, std::memory_order_relaxed); }
    // The stand-in for the system cursor of a type; null for the types that show the default.
    static void* systemCursor(int32_t cursorType);
    void reset();

private:
    std::atomic<uint32_t> ticks{0};
    // The scripted pointer, read by drag loops on any editor's thread.
    mutable std::mutex pointerGuard;
    CPoint pointer;
    platform::InputState state;
    std::deque<PointerStep> pending;
    std::atomic<bool> swapButtons{false};
    std::atomic<int32_t> dpi{0};
    std::atomic<void*> shownCursor{nullptr};
};

// The process-wide memory backend (the default one on systems without a native backend).
SoftBackend& softBackend();

} // namespace VSTGUI::soft

#include "vstgui/platform/soft/soft_backend.h"

#include "vstgui/platform/soft/soft_surface.h"
#include "vstgui/platform/soft/soft_window.h"

namespace VSTGUI::soft {

CPoint SoftBackend::cursorPosition() {
    const std::lock_guard<std::mutex> lock(pointerGuard);
    return pointer;
}

platform::InputState SoftBackend::inputState() {
    const std::lock_guard<std::mutex> lock(pointerGuard);
    if (!pending.empty()) {
        pointer = pending.front().position;
        state = pending.front().state;
        pending.pop_front();
    }
    return state;
}

std::unique_ptr<platform::Image> SoftBackend::createImage(CCoord width, CCoord height) {
    if (width <= 0 || height <= 0) return nullptr;
    return std::make_unique<SoftImage>(*this, width, height);
}

std::unique_ptr<platform::Surface> SoftBackend::createWindowSurface(void* systemContext, void* window) {
    if (systemContext) return std::make_unique<SoftSurface>(*this, *static_cast<Pixels*>(systemContext));
    Pixels* screen = window ? static_cast<WindowBase*>(window)->screenPixels() : nullptr;
    if (screen) return std::make_unique<SoftSurface>(*this, *screen);
    return nullptr;
}

std::unique_ptr<platform::Surface> SoftBackend::createOffscreen(void*, CCoord width, CCoord height) {
    return std::make_unique<SoftSurface>(*this, width, height);
}

CPoint SoftBackend::windowScreenOrigin(void* window) {
    return window ? static_cast<WindowBase*>(window)->origin() : CPoint();
}

void SoftBackend::setPointer(CPoint globalPosition) {
    const std::lock_guard<std::mutex> lock(pointerGuard);
    pointer = globalPosition;
}

void SoftBackend::setInput(const platform::InputState& s) {
    const std::lock_guard<std::mutex> lock(pointerGuard);
    state = s;
}

void SoftBackend::script(std::deque<PointerStep> steps) {
    const std::lock_guard<std::mutex> lock(pointerGuard);
    pending = std::move(steps);
}

size_t SoftBackend::pendingSteps() const {
    const std::lock_guard<std::mutex> lock(pointerGuard);
    return pending.size();
}

void* SoftBackend::systemCursor(int32_t cursorType) {
    // Wait, the four sizing cursors, "no" and hand, as the system backend selects them.
    static char cursors[10];
    if (cursorType < 1 || cursorType > 9 || cursorType == 7) return nullptr;
    return &cursors[cursorType];
}

void SoftBackend::setCursor(int32_t cursorType, void* defaultCursor) {
    void* system = systemCursor(cursorType);
    shownCursor.store(system ? system : defaultCursor, std::memory_order_relaxed);
}

std::unique_ptr<platform::Window> SoftBackend::createFrameWindow(platform::WindowEvents& events, void* parent,
                                                                 CCoord width, CCoord height) {
    auto* host = parent ? dynamic_cast<HostWindow*>(static_cast<WindowBase*>(parent)) : nullptr;
    if (!host) return nullptr;
    // The swap setting is read when a frame window is made, as the system backend does.
    platform::setSwapMouseButtons(systemSwapsButtons());
    return std::make_unique<HeadlessWindow>(events, *host, width, height);
}

void SoftBackend::reset() {
    ticks.store(0);
    {
        const std::lock_guard<std::mutex> lock(pointerGuard);
        pointer = CPoint();
        state = platform::InputState();
        pending.clear();
    }
    swapButtons.store(false);
    dpi.store(0);
    shownCursor.store(nullptr);
}

SoftBackend& softBackend() {
    static SoftBackend instance;
    return instance;
}

} // namespace VSTGUI::soft

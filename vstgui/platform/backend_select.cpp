#include "vstgui/platform/platform.h"

#include <atomic>

namespace VSTGUI::platform {

namespace {
std::atomic<Backend*> activeBackend{nullptr};
std::atomic<void*> module{nullptr};
// Written by every frame window's creation, read by any editor's drag on its own thread.
std::atomic<bool> swapMouseButtons{false};
// Each GUI thread works for one frame at a time; a frame's backend holds only while it works.
thread_local Backend* threadBackend = nullptr;
} // namespace

Backend& backend() {
    if (threadBackend) return *threadBackend;
    Backend* active = activeBackend.load(std::memory_order_acquire);
    return active ? *active : defaultBackend();
}

Backend* setBackend(Backend* b) {
    return activeBackend.exchange(b, std::memory_order_acq_rel);
}

BackendScope::BackendScope(Backend& b) : previous(threadBackend) {
    threadBackend = &b;
}

BackendScope::~BackendScope() {
    threadBackend = previous;
}

void setSwapMouseButtons(bool swapped) {
    swapMouseButtons.store(swapped, std::memory_order_relaxed);
}

bool swapsMouseButtons() {
    return swapMouseButtons.load(std::memory_order_relaxed);
}

void setModuleHandle(void* handle) {
    module.store(handle, std::memory_order_release);
}

void* moduleHandle() {
    return module.load(std::memory_order_acquire);
}

} // namespace VSTGUI::platform

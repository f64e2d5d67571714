#include "vstgui/platform/embedding.h"

#include "vstgui/platform/soft/soft_backend.h"
#include "vstgui/platform/soft/soft_window.h"

#include <algorithm>

namespace VSTGUI::platform {

Embedding::Embedding() = default;

Embedding::~Embedding() = default;

Backend& Embedding::backend() const {
    return memory ? static_cast<Backend&>(soft::softBackend()) : nativeBackend();
}

void* Embedding::memoryParent(CPoint screenOrigin, CCoord width, CCoord height) {
    if (!memory) return nullptr;
    host = std::make_unique<soft::HostWindow>();
    host->screenOrigin = screenOrigin;
    host->width = width;
    host->height = height;
    return static_cast<soft::WindowBase*>(host.get());
}

void Embedding::closed() {
    host.reset();
}

bool Embedding::paint() {
    soft::HeadlessWindow* window = host ? host->child : nullptr;
    return window && window->paint(window->screen().bounds());
}

bool Embedding::readPixels(uint32_t* out, int32_t width, int32_t height) const {
    soft::HeadlessWindow* window = host ? host->child : nullptr;
    if (!window || !out || width <= 0 || height <= 0) return false;
    const soft::Pixels& screen = window->screen();
    const int32_t columns = std::min(width, screen.width);
    const int32_t rows = std::min(height, screen.height);
    for (int32_t y = 0; y < rows; ++y)
        std::copy_n(&screen.data[static_cast<size_t>(y) * screen.width], columns,
                    &out[static_cast<size_t>(y) * width]);
    return true;
}

bool Embedding::setPointer(CPoint inWindow) {
    if (!memory || !host) return false;
    soft::softBackend().setPointer(
        CPoint(host->screenOrigin.h + inWindow.h, host->screenOrigin.v + inWindow.v));
    return true;
}

bool Embedding::rightClick(CPoint inWindow) {
    soft::HeadlessWindow* window = host ? host->child : nullptr;
    if (!memory || !window) return false;
    setPointer(inWindow);
    platform::InputState right;
    right.right = true;
    soft::softBackend().setInput(right);
    window->press(inWindow);
    soft::softBackend().setInput(platform::InputState());
    return true;
}

void Embedding::setClock(uint32_t milliseconds) {
    soft::softBackend().setTicks(milliseconds);
}

} // namespace VSTGUI::platform

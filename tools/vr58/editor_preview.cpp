#include "editor_preview.h"

#include "engine/cli_error.h"
#include "vst2/soft_host_protocol.h"
#include "vstgui/platform/soft/soft_window.h"

// The encoder is built into the toolkit's memory backend; here only its declarations.
#include <stb/stb_image_write.h>

namespace vr58::tool {

namespace {

intptr_t request(host::HostedPlugin& plugin, softhost::Request what, void* ptr = nullptr) {
    return plugin.dispatch(effVendorSpecific, softhost::kVendorIndex, what, ptr);
}

} // namespace

EditorWindow::EditorWindow(host::HostedPlugin& plugin, int32_t scalePercent)
    : plugin_(plugin), scalePercent_(scalePercent) {
    ERect* rect = nullptr;
    if (request(plugin, softhost::kEnable) != 1 || request(plugin, softhost::kSetScale, &scalePercent) != 1 ||
        plugin.dispatch(effEditGetRect, 0, 0, &rect) != 1 || !rect)
        throw CliError(plugin.path(), "offers no editor that vr58 can open");
    width_ = rect->right - rect->left;
    height_ = rect->bottom - rect->top;
    softhost::Window parent{0, 0};
    if (width_ <= 0 || height_ <= 0 || plugin.dispatch(effEditOpen, 0, 0, &parent) != 1)
        throw CliError(plugin.path(), "could not open its editor");
    // The system's first paint of a new window; idle passes draw only after it.
    request(plugin, softhost::kPaint);
    idle(0);
}

EditorWindow::~EditorWindow() {
    plugin_.dispatch(effEditClose);
}

void EditorWindow::idle(uint32_t milliseconds) {
    request(plugin_, softhost::kSetClock, &milliseconds);
    plugin_.dispatch(effEditIdle);
}

void EditorWindow::pointAt(int32_t x, int32_t y) {
    softhost::Point at{x * scalePercent_ / 100, y * scalePercent_ / 100};
    if (request(plugin_, softhost::kSetPointer, &at) != 1)
        throw CliError(plugin_.path(), "could not place the pointer on its editor");
}

void EditorWindow::rightClickAt(int32_t x, int32_t y) {
    softhost::Point at{x * scalePercent_ / 100, y * scalePercent_ / 100};
    if (request(plugin_, softhost::kRightClick, &at) != 1)
        throw CliError(plugin_.path(), "could not click on its editor");
}

EditorPicture EditorWindow::picture() {
    EditorPicture picture{width_, height_, std::vector<uint32_t>(static_cast<size_t>(width_) * height_)};
    softhost::Pixels screen{width_, height_, picture.pixels.data()};
    if (request(plugin_, softhost::kReadPixels, &screen) != 1)
        throw CliError(plugin_.path(), "could not read its editor's window");
    return picture;
}

std::vector<uint8_t> encodePicture(const EditorPicture& picture) {
    std::vector<uint8_t> rgba(picture.pixels.size() * 4);
    for (size_t i = 0; i < picture.pixels.size(); ++i) {
        const uint32_t p = picture.pixels[i];
        rgba[i * 4 + 0] = static_cast<uint8_t>(p >> 16);
        rgba[i * 4 + 1] = static_cast<uint8_t>(p >> 8);
        rgba[i * 4 + 2] = static_cast<uint8_t>(p);
        rgba[i * 4 + 3] = 255; // the screen is opaque whatever the surface kept in its alpha bytes
    }
    std::vector<uint8_t> png;
    const auto append = [](void* context, void* data, int size) {
        auto& out = *static_cast<std::vector<uint8_t>*>(context);
        out.insert(out.end(), static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
    };
    if (!stbi_write_png_to_func(append, &png, picture.width, picture.height, 4, rgba.data(),
                                picture.width * 4))
        png.clear();
    return png;
}

} // namespace vr58::tool

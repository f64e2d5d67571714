#include "test_png.h"

#include <stb_image_write.h>

namespace vr58test {

namespace {
void append(void* context, void* data, int size) {
    auto* out = static_cast<std::vector<uint8_t>*>(context);
    const auto* bytes = static_cast<const uint8_t*>(data);
    out->insert(out->end(), bytes, bytes + size);
}
} // namespace

std::vector<uint8_t> encodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels) {
    std::vector<uint8_t> out;
    stbi_write_png_to_func(append, &out, width, height, channels, pixels.data(), width * channels);
    return out;
}

TestResources::TestResources() {
    VSTGUI::platform::registerResourceTable(&table);
}

TestResources::~TestResources() {
    VSTGUI::platform::unregisterResourceTable(&table);
}

void TestResources::add(int32_t id, std::vector<uint8_t> bytes) {
    blobs.push_back(std::move(bytes));
    entries.push_back({"PNG", id, blobs.back().data(), blobs.back().size()});
    rebuild();
}

void TestResources::addPng(int32_t id, int width, int height, int channels,
                           const std::vector<uint8_t>& pixels) {
    add(id, encodePng(width, height, channels, pixels));
}

void TestResources::rebuild() {
    table.entries = entries.data();
    table.count = entries.size();
}

} // namespace vr58test

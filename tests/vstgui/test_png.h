// Small PNG files made at test time, registered as resources of type "PNG" for the duration of a test.
#pragma once

#include "vstgui/platform/resources.h"

#include <cstdint>
#include <list>
#include <vector>

namespace vr58test {

// Pixels given as RGBA (channels 4) or RGB (channels 3), top row first.
std::vector<uint8_t> encodePng(int width, int height, int channels, const std::vector<uint8_t>& pixels);

// Registers PNG resources by id and unregisters them when it goes.
class TestResources {
public:
    TestResources();
    ~TestResources();
    TestResources(const TestResources&) = delete;
    TestResources& operator=(const TestResources&) = delete;

    void add(int32_t id, std::vector<uint8_t> bytes);
    void addPng(int32_t id, int width, int height, int channels, const std::vector<uint8_t>& pixels);

private:
    void rebuild();

    std::list<std::vector<uint8_t>> blobs;
    std::vector<VSTGUI::platform::ResourceEntry> entries;
    VSTGUI::platform::ResourceTable table{nullptr, 0, nullptr};
};

} // namespace vr58test

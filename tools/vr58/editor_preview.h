// The editor of a loaded VR58-G plug-in, opened in a window of the memory backend through the plug-in's
// embedding requests, and the window's picture read back as a screen would show it.
#pragma once

#include "host/hosted_plugin.h"

#include <cstdint>
#include <vector>

namespace vr58::tool {

struct EditorPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels; // 0xAARRGGBB, top row first
};

class EditorWindow {
public:
    // Asks for the embedding, opens the editor and lets the window paint; throws CliError naming the
    // plug-in when it offers no editor this way.
    // scalePercent: the editor's size, 100 to 200.
    explicit EditorWindow(host::HostedPlugin& plugin, int32_t scalePercent = 100);
    ~EditorWindow();
    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    // One host idle pass at this moment, in milliseconds of the editor's clock (the audio's time).
    void idle(uint32_t milliseconds);
    // Rests the pointer on a logical position of the face (the editor shows it at its next idle).
    void pointAt(int32_t x, int32_t y);
    // A right click on a logical position of the face: its menu opens there.
    void rightClickAt(int32_t x, int32_t y);
    EditorPicture picture();

private:
    host::HostedPlugin& plugin_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t scalePercent_ = 100;
};

// The picture as the bytes of a PNG file; empty when it cannot be encoded.
std::vector<uint8_t> encodePicture(const EditorPicture& picture);

} // namespace vr58::tool

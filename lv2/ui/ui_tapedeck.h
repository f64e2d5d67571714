// The editor's effect inside the LV2 UI: the same QuorvaneTapedeck the VST 2.4 editor talks to, but it
// processes no audio. It turns the editor's host requests into the LV2 host's port writes, touch gestures
// and window size, and takes the host's port events as parameter changes and meter levels.
//
// The meters read output ports rather than the DSP instance (instance access): ports reach the UI of a
// host that runs the DSP in another process or thread with its own buffering, and need no shared memory
// between the two libraries.
#pragma once

#include "vst2/QuorvaneTapedeck.h"

#include <lv2/ui/ui.h>

#include <cstdint>

namespace vr58::lv2 {

// What the LV2 host offered the UI; write is required, touch and resize may be null.
struct UiHost {
    LV2UI_Write_Function write = nullptr;
    LV2UI_Controller controller = nullptr;
    const LV2UI_Touch* touch = nullptr;
    const LV2UI_Resize* resize = nullptr;
};

class UiTapedeck final : public QuorvaneTapedeck {
public:
    explicit UiTapedeck(const UiHost& host);

    // Host user-interface thread (port_event). A control input's value in its unit becomes the stored
    // parameter, shown at the next idle and never sent back to the host; the meter ports feed the meters.
    // Anything but a float of a known port is ignored.
    void portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer);
    // Host user-interface thread, whenever the editor's window may have a new size: tells the host's
    // resize feature the size it has not heard yet.
    void reportWindowSize(int width, int height);

private:
    // The editor's requests, on the host's user-interface thread.
    static intptr_t editorRequest(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt);
    intptr_t answer(int32_t opcode, int32_t index, intptr_t value, void* ptr);

    UiHost host;
    double meterLevel = 0.0;
    int reportedWidth = 0;
    int reportedHeight = 0;
};

} // namespace vr58::lv2

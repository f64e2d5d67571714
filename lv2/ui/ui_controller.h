// The face's edit controller in an LV2 host: edits become port writes in the ports' units inside the
// host's touch gestures, the host's port events become the values the face shows, and the meter ports
// feed the meters. No DSP runs here; the plug-in instance is the host's.
//
// The meters read output ports rather than the DSP instance (instance access): ports reach the UI of a
// host that runs the DSP in another process or thread with its own buffering, and need no shared memory
// between the two libraries.
#pragma once

#include "editor/edit_controller.h"
#include "engine/build_config.h"
#include "tape/meter_feed.h"

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

class UiController final : public EditController {
public:
    explicit UiController(const UiHost& host);

    // Host user-interface thread (port_event). A control input's value in its unit becomes the value
    // shown, never sent back to the host; the meter ports feed the meters. Anything but a float of a known
    // port is ignored. Answers the parameter whose value changed, -1 for none.
    int32_t portEvent(uint32_t port, uint32_t bufferSize, uint32_t format, const void* buffer);
    // Host user-interface thread, whenever the face's window may have a new size: tells the host's
    // resize feature the size it has not heard yet.
    void reportWindowSize(int width, int height);

    // The face, on the host's user-interface thread.
    void beginEdit(int32_t index) override;
    // Writes the clamped value, in the port's unit, as the plug-in instance will receive it.
    void performEdit(int32_t index, float value) override;
    void endEdit(int32_t index) override;
    float parameterValue(int32_t index) override;
    MeterFeed& meterFeed() override { return feed; }
    bool canResizeWindow() override;
    // The face takes the size at once; the host hears of it from reportWindowSize once the window has it
    // (hosts size their container from the window they find there).
    bool resizeWindow(int32_t width, int32_t height) override;

private:
    bool isParameter(int32_t index) const { return index >= 0 && index < kEditorParameterCount; }
    void touch(int32_t index, bool grabbed);

    UiHost host;
    float values[kEditorParameterCount];
    MeterFeed feed;
    double meterLevel = 0.0;
    int reportedWidth = 0;
    int reportedHeight = 0;
};

} // namespace vr58::lv2

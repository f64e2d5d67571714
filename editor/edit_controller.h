// What the face asks of the plug-in format it is shown in: edits of parameters as gestures, the values it
// shows, the meter levels, and the host's window size. A format (VST 2.4, LV2) implements it; the face
// knows no other way to the host. A change the host makes reaches the face through
// TapedeckFace::hostChanged and is never sent back.
#pragma once

#include <cstdint>

namespace vr58 {

class MeterFeed;

// Every call comes from the face on its user-interface thread. A call that reaches the host may close
// or destroy the face before it returns (a host closing the editor from inside its callback); the face
// checks for that after each one.
class EditController {
public:
    // A user gesture on a parameter starts; performs follow, then one endEdit.
    virtual void beginEdit(int32_t index) = 0;
    // The user set the parameter to `value` (normalised 0..1, perhaps beyond while dragging).
    virtual void performEdit(int32_t index, float value) = 0;
    virtual void endEdit(int32_t index) = 0;
    // The current normalised value, as the format stores it (clamped).
    virtual float parameterValue(int32_t index) = 0;
    // The levels the meters read while the face is open.
    virtual MeterFeed& meterFeed() = 0;
    // Whether the host can resize its window to a new face size; asking moves nothing.
    virtual bool canResizeWindow() = 0;
    // Asks the host to make its window width x height device pixels; true when the face may take that
    // size now.
    virtual bool resizeWindow(int32_t width, int32_t height) = 0;
    // Inside a control's drag loop, which holds the thread: lets the host do its own idle work.
    virtual void idleHost() {}

protected:
    ~EditController() = default;
};

} // namespace vr58

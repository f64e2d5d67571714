// What the frame needs of the editor that owns it. The plug-in's GUI editor implements this, so the
// toolkit does not depend on the editor's classes. The frame calls it only on its own GUI thread.
#pragma once

#include "vstgui/cgeometry.h"

#include <cstdint>

namespace VSTGUI {

class IFrameEditor {
public:
    // The frame's GUI thread: the start of an automation gesture on the parameter `index`.
    virtual void beginEdit(int32_t index) = 0;
    // The frame's GUI thread: the end of that gesture.
    virtual void endEdit(int32_t index) = 0;
    // The frame's GUI thread, inside controls' modal mouse loops: keeps the window and the host alive.
    virtual void doIdleStuff() = 0;
    // The frame's GUI thread: the process-wide knob mode (0 circular, 1 relative circular, 2 linear),
    // which editors on other threads may change meanwhile.
    virtual int32_t getKnobMode() const = 0;
    // The frame's GUI thread: asks the host to resize its window; true when the host did it.
    virtual bool sizeWindow(CCoord /*width*/, CCoord /*height*/) { return false; }

protected:
    ~IFrameEditor() = default;
};

} // namespace VSTGUI

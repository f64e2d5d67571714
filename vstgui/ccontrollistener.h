// Receives the edits a control reports. The editor implements valueChanged.
#pragma once

#include <cstdint>

namespace VSTGUI {

class CControl;
class CDrawContext;

class CControlListener {
public:
    virtual ~CControlListener() = default;
    virtual void valueChanged(CDrawContext* context, CControl* control) = 0;
    // Offered clicks with a modifier held; non-zero means the listener took the click.
    virtual int32_t controlModifierClicked(CDrawContext* /*context*/, CControl* /*control*/,
                                           int32_t /*button*/) {
        return 0;
    }
};

} // namespace VSTGUI

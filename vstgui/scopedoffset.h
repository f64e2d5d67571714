// Moves both offsets of a context by a container's origin for one scope, so views below it draw and
// measure in their own parent's coordinates.
#pragma once

#include "vstgui/cdrawcontext.h"

namespace VSTGUI {

class ScopedOffset {
public:
    ScopedOffset(CDrawContext* context, CCoord h, CCoord v) : context(context), h(h), v(v) { shift(h, v); }
    ~ScopedOffset() { shift(-h, -v); }
    ScopedOffset(const ScopedOffset&) = delete;
    ScopedOffset& operator=(const ScopedOffset&) = delete;

private:
    void shift(CCoord dh, CCoord dv) {
        if (!context) return;
        context->offset.offset(dh, dv);
        context->offsetScreen.offset(context->toSurface(dh), context->toSurface(dv));
    }

    CDrawContext* context;
    CCoord h;
    CCoord v;
};

} // namespace VSTGUI

#include "engine/platform/tick_count.h"

#include <windows.h>

namespace vr58 {
uint32_t systemTickCount() {
    return GetTickCount();
}
} // namespace vr58

// Milliseconds since system start, wrapping at 2^32 like the Windows tick count.
#pragma once

#include <cstdint>

namespace vr58 {
uint32_t systemTickCount();
}

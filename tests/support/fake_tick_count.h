// Unit tests link this clock and seed instead of the system's, so the noise seed of a new effect is the
// tick count set here.
#pragma once

#include <cstdint>

namespace vr58::testing {
void setFakeTickCount(uint32_t ticks);
}

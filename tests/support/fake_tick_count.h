// Unit tests link this clock instead of the system's, so the noise seed of a new effect is known.
#pragma once

#include <cstdint>

namespace vr58::testing {
void setFakeTickCount(uint32_t ticks);
}

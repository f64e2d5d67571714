// Fixed-width texts handed to hosts.
#pragma once

#include <cstdint>

namespace vr58 {

// Copies at most `limit` characters, zero-fills up to `limit` and writes the terminating zero at
// text[limit]: exactly limit + 1 bytes, whatever the source length.
void copyText(char* text, const char* source, int32_t limit);

// The display text of a normalised value: one integer digit, '.', six fractional digits cut off (not
// rounded) from the exact value of the float; `limit` caps the characters written before the zero.
void formatNormalisedValue(float value, char* text, int32_t limit);

} // namespace vr58

#include "vst2/text_copy.h"

#include <cmath>

namespace vr58 {

void copyText(char* text, const char* source, int32_t limit) {
    int32_t i = 0;
    for (; i < limit && source[i] != '\0'; ++i) text[i] = source[i];
    for (; i <= limit; ++i) text[i] = '\0';
}

void formatNormalisedValue(float value, char* text, int32_t limit) {
    const double v = value;
    char digits[9];
    digits[0] = static_cast<char>('0' + static_cast<int>(std::floor(v)) % 10);
    digits[1] = '.';
    double m = std::fmod(v, 1.0) * 1e6;
    for (int position = 7; position >= 2; --position) {
        if (m <= 0.0) {
            digits[position] = '0';
        } else {
            digits[position] = static_cast<char>('0' + static_cast<int>(std::fmod(m, 10.0)));
            m /= 10.0;
        }
    }
    digits[8] = '\0';
    copyText(text, digits, limit < 8 ? limit : 8);
}

} // namespace vr58

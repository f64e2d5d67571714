// Text widths of the glyph font: ASCII by code, the minus sign U+2212 from its own cell, and everything
// else as '?', byte by byte.
#include "vstgui/cglyphfont.h"

#include <gtest/gtest.h>

#include <vector>

using namespace VSTGUI;

namespace {

// Every cell a different power of two wide, so a sum of widths names the cells that made it.
struct Face {
    Face() {
        for (int i = 0; i < 96; ++i) advances.push_back(static_cast<float>(1 << (i % 20)));
    }
    CGlyphFont font(int32_t minusCell) {
        return CGlyphFont(nullptr, GlyphMetrics{32, 96, 14, 13, 11, 2, advances.data(), minusCell});
    }
    float of(char c) const { return advances[c - 32]; }
    std::vector<float> advances;
};

TEST(GlyphFont, MinusSignHasItsCellAndOtherBytesReadAsQuestionMarks) {
    Face face;
    CGlyphFont withMinus = face.font(95);
    const float minus = face.advances[95];
    EXPECT_EQ(withMinus.getStringWidth("a-b"), face.of('a') + face.of('-') + face.of('b'));
    EXPECT_EQ(withMinus.getStringWidth("\xE2\x88\x92"
                                       "6"),
              minus + face.of('6'));
    // Code 127 is no character of the face, though its cell number is the minus's.
    EXPECT_EQ(withMinus.getStringWidth("\x7F"), face.of('?'));
    EXPECT_EQ(withMinus.getStringWidth("\xC3\xA9"), 2 * face.of('?')); // another character beyond ASCII
    EXPECT_EQ(withMinus.getStringWidth("\xE2\x88"), 2 * face.of('?')); // a cut-off minus
    EXPECT_EQ(withMinus.getStringWidth(""), 0);

    CGlyphFont withoutMinus = face.font(-1);
    EXPECT_EQ(withoutMinus.getStringWidth("\xE2\x88\x92"), 3 * face.of('?'));
}

} // namespace

#include "vstgui/cglyphfont.h"

#include "vstgui/cbitmap.h"

#include <cmath>
#include <cstring>

namespace VSTGUI {

CGlyphFont::CGlyphFont(CBitmap* atlas, const GlyphMetrics& metrics) : atlas(atlas), metrics(metrics) {
    if (atlas) atlas->retain();
}

CGlyphFont::~CGlyphFont() {
    for (Tint& t : tints) t.bitmap->release();
    if (atlas) atlas->release();
}

int32_t CGlyphFont::nextCell(const char*& c) const {
    if (metrics.minusCell >= 0 && metrics.minusCell < metrics.count &&
        std::strncmp(c, "\xE2\x88\x92", 3) == 0) {
        c += 3;
        return metrics.minusCell;
    }
    // The cells by character code end where the extra ones (the minus) begin.
    const int32_t coded = metrics.minusCell >= 0 ? metrics.minusCell : metrics.count;
    const int32_t code = static_cast<unsigned char>(*c++);
    if (code >= metrics.first && code - metrics.first < coded) return code - metrics.first;
    const int32_t fallback = '?' - metrics.first;
    return fallback >= 0 && fallback < metrics.count ? fallback : 0;
}

CCoord CGlyphFont::getStringWidth(const char* text) const {
    float pen = 0;
    for (const char* c = text; c && *c;) pen += metrics.advances[nextCell(c)];
    return static_cast<CCoord>(std::ceil(pen));
}

CBitmap* CGlyphFont::tinted(CColor colour) {
    for (const Tint& t : tints)
        if (t.colour == colour) return t.bitmap;
    CBitmap* bitmap = atlas ? atlas->createTinted(colour) : nullptr;
    if (bitmap) tints.push_back({colour, bitmap});
    return bitmap;
}

void CGlyphFont::drawString(CDrawContext* context, const char* text, const CPoint& where, CColor colour) {
    if (!context || !text || metrics.count <= 0) return;
    CBitmap* glyphs = tinted(colour);
    if (!glyphs) return;
    // Fractional advances accumulate; each glyph lands on the nearest whole pixel of the pen.
    float pen = 0;
    for (const char* c = text; *c;) {
        const bool space = *c == ' ';
        const int32_t cell = nextCell(c);
        if (!space) {
            const CCoord left = where.h + static_cast<CCoord>(std::lround(pen)) - metrics.originX;
            const CCoord top = where.v - metrics.baseline;
            glyphs->draw(context, CRect(left, top, left + metrics.cellWidth, top + metrics.cellHeight),
                         CPoint(0, cell * metrics.cellHeight));
        }
        pen += metrics.advances[cell];
    }
}

} // namespace VSTGUI

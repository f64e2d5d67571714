// Text from a glyph atlas: printable characters drawn once by the skin generator, at 1x and 2x, one
// glyph a cell with the cells stacked like filmstrip frames. Every backend draws the same pixels, and
// the in-between sizes shrink each glyph from the 2x cells like the rest of the face.
#pragma once

#include "vstgui/ccolor.h"
#include "vstgui/cgeometry.h"
#include "vstgui/creferencecounter.h"

#include <vector>

namespace VSTGUI {

class CBitmap;
class CDrawContext;

// Where the glyphs sit in their cells, in logical pixels.
struct GlyphMetrics {
    int32_t first; // character code of cell 0
    int32_t count; // number of cells
    CCoord cellWidth;
    CCoord cellHeight;
    CCoord baseline;        // from the cell's top
    CCoord originX;         // pen position inside the cell
    const float* advances;  // one a cell: how far the pen moves after the glyph
    int32_t minusCell = -1; // the cell of the minus sign U+2212 (UTF-8 E2 88 92), -1 for none
};

class CGlyphFont : public CReferenceCounter {
public:
    // atlas: white glyphs, alpha their coverage; one reference is taken.
    CGlyphFont(CBitmap* atlas, const GlyphMetrics& metrics);
    ~CGlyphFont() override;
    CGlyphFont(const CGlyphFont&) = delete;
    CGlyphFont& operator=(const CGlyphFont&) = delete;

    CCoord getHeight() const { return metrics.cellHeight; }
    CCoord getBaseline() const { return metrics.baseline; }
    // Width of a line of UTF-8 text in logical pixels; characters outside the atlas count as '?', each byte
    // of a character beyond ASCII as one.
    CCoord getStringWidth(const char* text) const;
    // Draws one line with the left end of its baseline at `where`, within the context's clip.
    void drawString(CDrawContext* context, const char* text, const CPoint& where, CColor colour);

private:
    // The cell of the character at `c`, which moves past it.
    int32_t nextCell(const char*& c) const;
    CBitmap* tinted(CColor colour);

    CBitmap* atlas;
    GlyphMetrics metrics;
    struct Tint {
        CColor colour;
        CBitmap* bitmap;
    };
    // Made on first use of each colour; a menu or a read-out uses two or three.
    std::vector<Tint> tints;
};

} // namespace VSTGUI

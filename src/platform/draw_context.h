// A GDI-style drawing context on an 8-bit surface: pens, brushes, fonts, text and shapes.
// Colours are 0x00BBGGRR and are mapped to the nearest entry of the current palette.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/geometry.h"
#include "platform/surface.h"

namespace dw {

struct Pen {
    int width = 1;
    ColorRef colour = 0;
};

struct Brush {
    bool hollow = false;  // the "none" brush: shapes are not filled
    ColorRef colour = 0;
};

class FontFace;  // a FreeType face at one logical size (font.h)

struct FontSpec {
    int height = 0;  // cell height in pixels
    int width = 0;   // average character width in pixels (0: natural)
    int weight = 400;
    bool italic = false;
    std::string face;
};

// A created font: the spec and the face that renders it (nullptr when no font file
// could be found; text is then skipped).
class Font {
public:
    static std::unique_ptr<Font> Create(const FontSpec& spec);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    const FontSpec& Spec() const { return spec_; }
    FontFace* Face() const { return face_.get(); }

private:
    explicit Font(const FontSpec& spec);
    FontSpec spec_;
    std::unique_ptr<FontFace> face_;
};

class DrawContext {
public:
    // Draws into target using palette for colour mapping.
    DrawContext(Surface& target, const ColorTable& palette);

    // Each Select returns what was selected before (nullptr for the stock object).
    const Pen* SelectPen(const Pen* pen);
    const Brush* SelectBrush(const Brush* brush);
    const Font* SelectFont(const Font* font);

    ColorRef SetTextColor(ColorRef colour);
    ColorRef TextColor() const { return textColour_; }
    // Opaque (the default, as in GDI) fills each text's cell white before drawing it.
    void SetTransparentBackground(bool transparent) { transparent_ = transparent; }

    // One line of UTF-8 text with its cell's top-left corner at (x, y).
    void TextOut(int x, int y, std::string_view utf8);

    // Fills r (right and bottom exclusive) with the given brush; a hollow brush does nothing.
    void FillRect(const Rect& r, const Brush& brush);
    // Outline with the current pen centred on the outermost pixels, inside filled with the
    // current brush. With nothing selected: a black 1-pixel pen and a white brush.
    void Rectangle(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    // A line with the current pen from the current position to (x, y), end point excluded
    // (wide pens draw round dots along the line, which cover it).
    void LineTo(int x, int y);

    // Palette index a colour maps to (the last few answers are remembered).
    uint8_t Index(ColorRef colour) const;

private:
    // A line with the current pen; the end point only when withEnd.
    void Line(int x0, int y0, int x1, int y1, bool withEnd);
    // One pen dot: a pixel, or a filled round dot of diameter width centred on (x, y).
    void PlotPen(int x, int y, uint8_t index, int width);

    struct CachedColour {
        ColorRef colour;
        uint8_t index;
    };

    Surface& target_;
    const ColorTable& palette_;
    const Pen* pen_ = nullptr;
    const Brush* brush_ = nullptr;
    const Font* font_ = nullptr;
    ColorRef textColour_ = 0x000000;
    bool transparent_ = false;
    int curX_ = 0;
    int curY_ = 0;
    mutable std::array<CachedColour, 4> colourCache_{};
    mutable size_t colourCacheSize_ = 0;
    mutable size_t colourCacheNext_ = 0;
};

}  // namespace dw

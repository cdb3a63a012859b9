// Text through FreeType: monochrome glyphs, synthetic italic, GDI-like cell metrics.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "platform/surface.h"

namespace dw {

struct FontSpec;

// Path of the font file for a face name through fontconfig ("ＭＳ 明朝" and other Mincho
// names resolve to IPAMincho, anything else falls back to a serif face). Empty if none.
std::string FindFontFile(std::string_view faceName);

class FontFace {
public:
    // nullptr when the file cannot be opened as a font.
    static std::unique_ptr<FontFace> Open(const std::string& path, const FontSpec& spec);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    // Draws UTF-8 text with the top of its cell at y, starting at x, in palette index
    // colour. Returns the advance in pixels.
    int Draw(Surface& target, int x, int y, std::string_view utf8, uint8_t colour);
    // The advance Draw would return.
    int Measure(std::string_view utf8);
    int Ascent() const { return ascent_; }
    int CellHeight() const { return cellHeight_; }

private:
    FontFace() = default;
    int Layout(Surface* target, int x, int y, std::string_view utf8, uint8_t colour);
    struct Impl;
    std::unique_ptr<Impl> impl_;
    int ascent_ = 0;
    int cellHeight_ = 0;
};

}  // namespace dw

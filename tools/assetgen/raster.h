// Small raster toolkit for the generated pictures: shapes filled with a per-pixel colour
// (so parts can shade themselves and draw their own rim), ordered dithering along the
// palette ramps, and a stroked block font for titles and emblems.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

#include "assetgen.h"
#include "palette_ramps.h"

namespace assetgen {

struct Pt {
    double x = 0;
    double y = 0;
};

// A filled shape: an axis-aligned ellipse, a capsule (a thick segment with round ends)
// or a polygon of up to eight corners.
struct Shape {
    enum class Kind : uint8_t { Ellipse, Capsule, Polygon } kind = Kind::Ellipse;
    Pt a, b;                // ellipse centre in a; capsule ends a and b
    double rx = 0, ry = 0;  // ellipse radii; capsule radius in rx
    std::array<Pt, 8> corners{};
    int count = 0;

    static Shape Ellipse(Pt centre, double rx, double ry);
    static Shape Circle(Pt centre, double r) { return Ellipse(centre, r, r); }
    static Shape Capsule(Pt a, Pt b, double r);
    static Shape Polygon(std::initializer_list<Pt> corners);

    bool Inside(double x, double y) const;
    void Bounds(double& x0, double& y0, double& x1, double& y1) const;
};

// Colour of pixel (x, y) of a shape; rim is true on its one-pixel border.
using PixelInk = std::function<uint8_t(int x, int y, bool rim)>;

// Colour of pixel (x, y) of a union of shapes; `shape` is the first one holding it.
using UnionInk = std::function<uint8_t(int x, int y, bool rim, int shape)>;

// Paints every pixel whose centre lies inside any of the shapes; the rim is that of the union.
void PaintUnion(Image& image, std::span<const Shape> shapes, const UnionInk& ink);
inline void PaintUnion(Image& image, std::span<const Shape> shapes, const PixelInk& ink) {
    PaintUnion(image, shapes, UnionInk([&](int x, int y, bool rim, int) { return ink(x, y, rim); }));
}
inline void Paint(Image& image, const Shape& shape, const PixelInk& ink) {
    PaintUnion(image, std::span<const Shape>(&shape, 1), ink);
}
// One flat colour with a rim colour.
void Fill(Image& image, const Shape& shape, uint8_t colour, uint8_t rim);
inline void Fill(Image& image, const Shape& shape, uint8_t colour) { Fill(image, shape, colour, colour); }
void FillRect(Image& image, int left, int top, int right, int bottom, uint8_t colour);

// Ordered 4 x 4 dither threshold in [0, 1).
double Bayer(int x, int y);
// A ramp shade for a fractional level, dithered at (x, y).
inline uint8_t Dither(Ramp ramp, double level, int x, int y) { return Shade(ramp, int(level + Bayer(x, y))); }

// A small fixed-seed generator, so every build makes the same pictures.
struct Rng {
    uint32_t state;
    uint32_t Next() {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    }
    double Unit() { return (Next() >> 8) / double(1u << 24); }  // [0, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Unit(); }
};

// Pixels of colour `from` that touch (4-neighbour) a pixel other than `from` become `edge`.
void OutlineAround(Image& image, uint8_t from, uint8_t edge);

// Block letters from chamfered strokes on a 4 x 6 grid; known: A D E K N O R S U V W Z 2 -
// and space. `size` is the letter height; strokes are `size` / 6 * `weight` thick.
double TextWidth(std::string_view text, double size);
void DrawText(Image& image, std::string_view text, Pt topLeft, double size, double weight, const PixelInk& ink);

}  // namespace assetgen

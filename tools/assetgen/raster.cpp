#include "raster.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen {

Shape Shape::Ellipse(Pt centre, double rx, double ry) {
    Shape s;
    s.kind = Kind::Ellipse;
    s.a = centre;
    s.rx = rx;
    s.ry = ry;
    return s;
}

Shape Shape::Capsule(Pt a, Pt b, double r) {
    Shape s;
    s.kind = Kind::Capsule;
    s.a = a;
    s.b = b;
    s.rx = r;
    return s;
}

Shape Shape::Polygon(std::initializer_list<Pt> corners) {
    Shape s;
    s.kind = Kind::Polygon;
    for (const Pt& p : corners) {
        if (s.count < int(s.corners.size())) s.corners[size_t(s.count++)] = p;
    }
    return s;
}

bool Shape::Inside(double x, double y) const {
    switch (kind) {
    case Kind::Ellipse: {
        if (rx <= 0 || ry <= 0) return false;
        const double dx = (x - a.x) / rx, dy = (y - a.y) / ry;
        return dx * dx + dy * dy <= 1.0;
    }
    case Kind::Capsule: {
        const double vx = b.x - a.x, vy = b.y - a.y;
        const double len2 = vx * vx + vy * vy;
        double t = len2 > 0 ? ((x - a.x) * vx + (y - a.y) * vy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double dx = x - (a.x + t * vx), dy = y - (a.y + t * vy);
        return dx * dx + dy * dy <= rx * rx;
    }
    case Kind::Polygon: {
        bool in = false;
        for (int i = 0, j = count - 1; i < count; j = i++) {
            const Pt& p = corners[size_t(i)];
            const Pt& q = corners[size_t(j)];
            if ((p.y > y) != (q.y > y) && x < (q.x - p.x) * (y - p.y) / (q.y - p.y) + p.x) in = !in;
        }
        return in;
    }
    }
    return false;
}

void Shape::Bounds(double& x0, double& y0, double& x1, double& y1) const {
    switch (kind) {
    case Kind::Ellipse:
        x0 = a.x - rx;
        x1 = a.x + rx;
        y0 = a.y - ry;
        y1 = a.y + ry;
        return;
    case Kind::Capsule:
        x0 = std::min(a.x, b.x) - rx;
        x1 = std::max(a.x, b.x) + rx;
        y0 = std::min(a.y, b.y) - rx;
        y1 = std::max(a.y, b.y) + rx;
        return;
    case Kind::Polygon:
        x0 = y0 = 1e9;
        x1 = y1 = -1e9;
        for (int i = 0; i < count; ++i) {
            x0 = std::min(x0, corners[size_t(i)].x);
            x1 = std::max(x1, corners[size_t(i)].x);
            y0 = std::min(y0, corners[size_t(i)].y);
            y1 = std::max(y1, corners[size_t(i)].y);
        }
        return;
    }
}

void PaintUnion(Image& image, std::span<const Shape> shapes, const UnionInk& ink) {
    if (shapes.empty() || shapes.size() > 250) return;
    struct Box {
        double x0, y0, x1, y1;
    };
    std::vector<Box> boxes(shapes.size());
    double fx0 = 1e9, fy0 = 1e9, fx1 = -1e9, fy1 = -1e9;
    for (size_t i = 0; i < shapes.size(); ++i) {
        Box& b = boxes[i];
        shapes[i].Bounds(b.x0, b.y0, b.x1, b.y1);
        fx0 = std::min(fx0, b.x0);
        fy0 = std::min(fy0, b.y0);
        fx1 = std::max(fx1, b.x1);
        fy1 = std::max(fy1, b.y1);
    }
    // One pixel of margin on every side so rim tests never leave the mask.
    const int x0 = std::max(int(std::floor(fx0)) - 1, -1), y0 = std::max(int(std::floor(fy0)) - 1, -1);
    const int x1 = std::min(int(std::ceil(fx1)) + 1, image.width), y1 = std::min(int(std::ceil(fy1)) + 1, image.height);
    if (x0 >= x1 || y0 >= y1) return;
    const int w = x1 - x0 + 1, h = y1 - y0 + 1;
    std::vector<uint8_t> mask(size_t(w) * size_t(h), 0);  // index + 1 of the first shape holding it
    for (int y = y0; y <= y1; ++y) {
        const double cy = y + 0.5;
        for (int x = x0; x <= x1; ++x) {
            const double cx = x + 0.5;
            for (size_t i = 0; i < shapes.size(); ++i) {
                const Box& b = boxes[i];
                if (cx < b.x0 || cx > b.x1 || cy < b.y0 || cy > b.y1 || !shapes[i].Inside(cx, cy)) continue;
                mask[size_t(y - y0) * size_t(w) + size_t(x - x0)] = uint8_t(i + 1);
                break;
            }
        }
    }
    auto at = [&](int x, int y) { return mask[size_t(y - y0) * size_t(w) + size_t(x - x0)]; };
    for (int y = std::max(y0 + 1, 0); y < std::min(y1, image.height); ++y) {
        for (int x = std::max(x0 + 1, 0); x < std::min(x1, image.width); ++x) {
            const uint8_t shape = at(x, y);
            if (shape == 0) continue;
            const bool rim = !at(x - 1, y) || !at(x + 1, y) || !at(x, y - 1) || !at(x, y + 1);
            image.Set(x, y, ink(x, y, rim, shape - 1));
        }
    }
}

void Fill(Image& image, const Shape& shape, uint8_t colour, uint8_t rim) {
    Paint(image, shape, [&](int, int, bool onRim) { return onRim ? rim : colour; });
}

void FillRect(Image& image, int left, int top, int right, int bottom, uint8_t colour) {
    for (int y = std::max(top, 0); y < std::min(bottom, image.height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, image.width); ++x) image.Set(x, y, colour);
}

double Bayer(int x, int y) {
    static constexpr uint8_t kMatrix[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
    return (kMatrix[y & 3][x & 3] + 0.5) / 16.0;
}

void OutlineAround(Image& image, uint8_t from, uint8_t edge) {
    const Image before = image;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (before.Get(x, y) != from) continue;
            auto other = [&](int px, int py) {
                return px >= 0 && py >= 0 && px < image.width && py < image.height && before.Get(px, py) != from;
            };
            if (other(x - 1, y) || other(x + 1, y) || other(x, y - 1) || other(x, y + 1)) image.Set(x, y, edge);
        }
    }
}

namespace {

// Strokes on a 4 x 6 grid; each glyph is a string of points, '|' starts a new stroke.
struct Glyph {
    char c;
    std::string_view strokes;
};
constexpr Glyph kGlyphs[] = {
    {'A', "060110304146|0444"},
    {'D', "00304145360600"},
    {'E', "40000646|0333"},
    {'K', "0006|401303|1346"},
    {'N', "06004640"},
    {'O', "103041453616050110"},
    {'R', "06003041423303|2346"},
    {'S', "40100102133344453606"},
    {'U', "000516364540"},
    {'V', "0003264340"},
    {'W', "0006244640"},
    {'Z', "00400646"},
    {'2', "01103041420646"},
    {'-', "1333"},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& g : kGlyphs)
        if (g.c == c) return &g;
    return nullptr;
}

constexpr double kAdvance = 5.6;  // grid units per letter, including the gap

}  // namespace

double TextWidth(std::string_view text, double size) {
    if (text.empty()) return 0;
    return (double(text.size()) * kAdvance - (kAdvance - 4.0)) * size / 6.0;
}

void DrawText(Image& image, std::string_view text, Pt topLeft, double size, double weight, const PixelInk& ink) {
    const double unit = size / 6.0;
    const double r = unit * weight / 2.0;
    std::vector<Shape> shapes;
    for (size_t i = 0; i < text.size(); ++i) {
        const Glyph* g = FindGlyph(text[i]);
        if (!g) continue;
        const double ox = topLeft.x + double(i) * kAdvance * unit;
        bool havePrev = false;
        Pt prev;
        for (size_t k = 0; k < g->strokes.size(); ++k) {
            if (g->strokes[k] == '|') {
                havePrev = false;
                continue;
            }
            if (k + 1 >= g->strokes.size()) break;
            const Pt p{ox + (g->strokes[k] - '0') * unit, topLeft.y + (g->strokes[k + 1] - '0') * unit};
            ++k;
            if (havePrev) shapes.push_back(Shape::Capsule(prev, p, r));
            prev = p;
            havePrev = true;
        }
    }
    PaintUnion(image, shapes, ink);
}

}  // namespace assetgen

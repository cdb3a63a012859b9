#include "platform/draw_context.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "platform/font.h"

namespace dw {

namespace {

// What a context draws with when nothing is selected, as GDI's stock objects.
constexpr Pen kStockPen{1, Rgb(0, 0, 0)};
constexpr Brush kStockBrush{false, Rgb(255, 255, 255)};
constexpr ColorRef kBackgroundColour = Rgb(255, 255, 255);
constexpr int kMaxPenWidth = 64;

__extension__ typedef __int128 Wide;

}  // namespace

DrawContext::DrawContext(Surface& target, const ColorTable& palette) : target_(target), palette_(palette) {}

const Pen* DrawContext::SelectPen(const Pen* pen) { return std::exchange(pen_, pen); }
const Brush* DrawContext::SelectBrush(const Brush* brush) { return std::exchange(brush_, brush); }
const Font* DrawContext::SelectFont(const Font* font) { return std::exchange(font_, font); }
ColorRef DrawContext::SetTextColor(ColorRef colour) { return std::exchange(textColour_, colour); }

uint8_t DrawContext::Index(ColorRef colour) const {
    for (size_t i = 0; i < colourCacheSize_; ++i)
        if (colourCache_[i].colour == colour) return colourCache_[i].index;
    const uint8_t index = NearestIndex(palette_, colour);
    colourCache_[colourCacheNext_] = {colour, index};
    colourCacheNext_ = (colourCacheNext_ + 1) % colourCache_.size();
    colourCacheSize_ = std::min(colourCacheSize_ + 1, colourCache_.size());
    return index;
}

void DrawContext::TextOut(int x, int y, std::string_view utf8) {
    FontFace* face = font_ != nullptr ? font_->Face() : nullptr;
    if (face == nullptr) return;
    if (!transparent_) {
        const int64_t right = std::min<int64_t>(int64_t(x) + face->Measure(utf8), INT32_MAX);
        const int64_t bottom = std::min<int64_t>(int64_t(y) + face->CellHeight(), INT32_MAX);
        FillRect(Rect{x, y, int(right), int(bottom)}, Brush{false, kBackgroundColour});
    }
    face->Draw(target_, x, y, utf8, Index(textColour_));
}

void DrawContext::FillRect(const Rect& r, const Brush& brush) {
    if (brush.hollow) return;
    const Rect clipped = Intersect(r, target_.Bounds());
    if (clipped.Empty()) return;
    const uint8_t index = Index(brush.colour);
    for (int y = clipped.top; y < clipped.bottom; ++y)
        std::memset(target_.Row(y) + clipped.left, index, size_t(clipped.Width()));
}

void DrawContext::Rectangle(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    if (left == right || top == bottom) return;
    FillRect(Rect{left + 1, top + 1, right - 1, bottom - 1}, brush_ != nullptr ? *brush_ : kStockBrush);
    // The pen runs along the outermost pixels of the rectangle.
    const int r = right - 1;
    const int b = bottom - 1;
    Line(left, top, r, top, true);
    Line(r, top, r, b, true);
    Line(r, b, left, b, true);
    Line(left, b, left, top, true);
}

void DrawContext::MoveTo(int x, int y) {
    curX_ = x;
    curY_ = y;
}

void DrawContext::LineTo(int x, int y) {
    const Pen& pen = pen_ != nullptr ? *pen_ : kStockPen;
    // Wide pens have round ends that cover the end point too.
    Line(curX_, curY_, x, y, pen.width > 1);
    MoveTo(x, y);
}

void DrawContext::Line(int x0, int y0, int x1, int y1, bool withEnd) {
    const Pen& pen = pen_ != nullptr ? *pen_ : kStockPen;
    const int width = std::clamp(pen.width, 1, kMaxPenWidth);
    const uint8_t index = Index(pen.colour);

    const int64_t dx = int64_t(x1) - x0;
    const int64_t dy = int64_t(y1) - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const int64_t major = xMajor ? std::abs(dx) : std::abs(dy);
    const int64_t minor = xMajor ? std::abs(dy) : std::abs(dx);
    const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const int64_t m0 = xMajor ? x0 : y0;
    const int64_t n0 = xMajor ? y0 : x0;

    // Only the steps whose major coordinate can touch the surface.
    const int64_t limit = xMajor ? target_.Width() : target_.Height();
    const int64_t lo = majorStep > 0 ? -width - m0 : m0 - limit - width + 1;
    const int64_t hi = majorStep > 0 ? limit + width - m0 : m0 + width + 1;
    const int64_t first = std::max<int64_t>(0, lo);
    const int64_t last = std::min<int64_t>(major + (withEnd ? 1 : 0), hi);
    // A wide pen is a round dot at both ends and, between them, a span across the line at
    // every step: the same pixels as a dot at every step, at a fraction of the cost.
    if (width > 1) {
        PlotPen(x0, y0, index, width);
        PlotPen(x1, y1, index, width);
    }
    for (int64_t i = first; i < last; ++i) {
        const int64_t m = m0 + majorStep * i;
        const int64_t n = major == 0 ? n0 : n0 + minorStep * int64_t((Wide(2) * i * minor + major) / (Wide(2) * major));
        if (width <= 1) {
            PlotPen(int(xMajor ? m : n), int(xMajor ? n : m), index, width);
        } else {
            const int64_t from = std::max<int64_t>(n - width / 2, 0);
            const int64_t to = std::min<int64_t>(n - width / 2 + width, xMajor ? target_.Height() : target_.Width());
            if (m < 0 || m >= (xMajor ? target_.Width() : target_.Height())) continue;
            if (xMajor)
                for (int64_t k = from; k < to; ++k) target_.Row(int(k))[m] = index;
            else if (from < to)
                std::memset(target_.Row(int(m)) + from, index, size_t(to - from));
        }
    }
}

void DrawContext::PlotPen(int x, int y, uint8_t index, int width) {
    if (width <= 1) {
        target_.Set(x, y, index);
        return;
    }
    // Row j of the dot spans the columns i with (2i - (w-1))^2 + (2j - (w-1))^2 <= w^2.
    const int64_t left = int64_t(x) - width / 2;
    const int64_t top = int64_t(y) - width / 2;
    for (int j = 0; j < width; ++j) {
        const int64_t row = top + j;
        if (row < 0 || row >= target_.Height()) continue;
        const int e = 2 * j - (width - 1);
        const int k = int(std::sqrt(double(width * width - e * e)));
        const int64_t from = std::max<int64_t>(left + (width - k) / 2, 0);
        const int64_t to = std::min<int64_t>(left + (width - 1 + k) / 2 + 1, target_.Width());
        if (from < to) std::memset(target_.Row(int(row)) + from, index, size_t(to - from));
    }
}

}  // namespace dw

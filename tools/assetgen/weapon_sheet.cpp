// The "WEAPON" sheet: every shot sprite at the rectangle the weapons name. Sprites of
// headings 5..7 are drawn mirrored and heading 4 reuses heading 0's cell, so the bullets
// and shells are symmetric along their flight line.
#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "picture_set.h"
#include "platform/geometry.h"
#include "weapon_cells.h"

namespace assetgen {
namespace {

constexpr int kSheetWidth = 256;
constexpr int kSheetHeight = 192;

Pt Direction(int heading) {
    constexpr double k = 0.70710678;
    switch (heading) {
    case 1: return {k, -k};
    case 2: return {1, 0};
    case 3: return {k, k};
    case 4: return {0, 1};
    default: return {0, -1};
    }
}

// A glowing streak through the cell centre: white-hot core inside a coloured glow.
// Only the outermost layer of a sprite gets a darker rim.
void Streak(Image& img, Pt c, Pt d, double halfLength, double radius, Ramp glow, bool outer = true) {
    const Pt a{c.x - d.x * halfLength, c.y - d.y * halfLength}, b{c.x + d.x * halfLength, c.y + d.y * halfLength};
    Paint(img, Shape::Capsule(a, b, radius), [&](int x, int y, bool rim) {
        const double vx = b.x - a.x, vy = b.y - a.y;
        const double len2 = vx * vx + vy * vy;
        const double t = len2 > 0 ? std::clamp(((x + 0.5 - a.x) * vx + (y + 0.5 - a.y) * vy) / len2, 0.0, 1.0) : 0.5;
        const double dist = std::hypot(x + 0.5 - (a.x + t * vx), y + 0.5 - (a.y + t * vy)) / radius;
        const double along = std::fabs(t - 0.5) * 2;  // brighter in the middle
        const double falloff = outer ? 8 : 3;
        return Shade(glow, int(15.5 - falloff * dist - 3 * along * along) - (rim && outer ? 2 : 0));
    });
}

// A fire ball with a ragged edge; `step` 0..3 grows from a flash into a smoky blast.
void Burst(Image& img, int step) {
    const Pt c{img.width / 2.0, img.height / 2.0};
    const double r = std::min(img.width, img.height) / 2.0 - 0.5;
    const int lobes = 5 + step;
    const double smoke = 0.55 + 0.1 * step;  // where the fire turns to smoke
    for (int y = 0; y < img.height; ++y) {
        for (int x = 0; x < img.width; ++x) {
            const double dx = x + 0.5 - c.x, dy = y + 0.5 - c.y;
            const double a = std::atan2(dy, dx);
            const double edge =
                r * (0.82 + 0.1 * std::sin(a * lobes + step) + 0.08 * std::sin(a * (2 * lobes + 1) - step * 2));
            const double t = std::hypot(dx, dy) / edge;
            if (t > 1) continue;
            if (t > smoke + 0.25 && step >= 2) {
                img.Set(x, y, Dither(Ramp::Steel, 3 + 3 * (1 - t), x, y));
            } else {
                const double heat = 1 - t / (smoke + 0.25);
                img.Set(x, y, Dither(Ramp::Fire, 5 + 10.5 * heat, x, y));
            }
        }
    }
    // Bright flecks thrown out by the blast.
    for (int k = 0; k < 4 + step * 2; ++k) {
        const double a = k * 2.39996 + step;
        const double dist = r * (0.45 + 0.12 * (k % 4));
        img.Set(int(c.x + std::cos(a) * dist), int(c.y + std::sin(a) * dist), Shade(Ramp::Gold, 15));
    }
}

void DrawSprite(Image& img, Sprite kind, int heading) {
    const Pt c{img.width / 2.0, img.height / 2.0};
    const Pt d = Direction(heading);
    switch (kind) {
    case Sprite::Bullet: Streak(img, c, d, 2.6, 1.9, Ramp::Gold); return;
    case Sprite::Tracer: Streak(img, c, d, 6.5, 2.6, Ramp::Fire); return;
    case Sprite::Shell:
        Streak(img, c, d, 6, 6.5, Ramp::Fire);
        Streak(img, c, d, 3.5, 3.5, Ramp::Gold, false);
        return;
    case Sprite::BigShell:
        Streak(img, c, d, 8, 10, Ramp::Red);
        Streak(img, c, d, 6.5, 7, Ramp::Fire, false);
        Streak(img, c, d, 4, 4, Ramp::Gold, false);
        return;
    case Sprite::Orb: {
        const Pt o{5, 5};  // centred in the left 10 x 10, a spark trailing to the right
        Paint(img, Shape::Circle(o, 4.6), [&](int x, int y, bool rim) {
            const double t = std::hypot(x + 0.5 - o.x + 1, y + 0.5 - o.y + 1) / 5.5;
            return Shade(rim ? Ramp::Red : Ramp::Fire, int(15.5 - 9 * t) - (rim ? 2 : 0));
        });
        img.Set(10, 4, Shade(Ramp::Fire, 12));
        img.Set(10, 5, Shade(Ramp::Fire, 12));
        img.Set(11, 5, Shade(Ramp::Fire, 9));
        return;
    }
    case Sprite::Firefly: {
        // Glowing tail behind, dark head ahead, wings across.
        const Pt tail{c.x - d.x * 2.5, c.y - d.y * 2.5}, head{c.x + d.x * 4, c.y + d.y * 4};
        const Pt across{-d.y, d.x};
        for (int s = -1; s <= 1; s += 2) {
            const Pt w{c.x + across.x * 3.8 * s + d.x * 0.5, c.y + across.y * 3.8 * s + d.y * 0.5};
            Fill(img, Shape::Capsule(c, w, 1.9), Shade(Ramp::Teal, 14), Shade(Ramp::Teal, 9));
        }
        Paint(img, Shape::Circle(tail, 3.8), [&](int x, int y, bool rim) {
            const double t = std::hypot(x + 0.5 - tail.x, y + 0.5 - tail.y) / 3.8;
            return Shade(Ramp::Green, int(15.5 - 6 * t) - (rim ? 3 : 0));
        });
        Fill(img, Shape::Circle(head, 1.8), Shade(Ramp::Olive, 4), Shade(Ramp::Olive, 1));
        return;
    }
    case Sprite::Mine: {
        for (int k = 0; k < 8; ++k) {
            const double a = k * 3.14159265 / 4 + 0.39;
            Fill(img, Shape::Capsule(c, {c.x + std::cos(a) * 9, c.y + std::sin(a) * 9}, 0.9), Shade(Ramp::Steel, 9),
                 Shade(Ramp::Steel, 3));
        }
        Paint(img, Shape::Circle(c, 6.2), [&](int x, int y, bool rim) {
            if (rim) return Shade(Ramp::Steel, 1);
            const double t = std::hypot(x + 0.5 - c.x + 2, y + 0.5 - c.y + 2) / 7;
            return Shade(Ramp::Steel, int(11 - 8 * t));
        });
        Fill(img, Shape::Circle(c, 2.0), Shade(Ramp::Red, 13), Shade(Ramp::Red, 8));
        return;
    }
    case Sprite::Burst: Burst(img, heading); return;
    }
}

}  // namespace

Image MakeWeaponSheet() {
    Image sheet(kSheetWidth, kSheetHeight, kMagentaIndex);
    for (const SpriteCell& s : kSprites) {
        Image cell(s.rect.Width(), s.rect.Height(), kMagentaIndex);
        DrawSprite(cell, s.kind, s.heading);
        // Some cells share a corner with a neighbour: only drawn pixels are copied, and
        // no sprite may draw into another's.
        for (int y = 0; y < cell.height; ++y) {
            for (int x = 0; x < cell.width; ++x) {
                const uint8_t c = cell.Get(x, y);
                if (c == kMagentaIndex) continue;
                if (sheet.Get(s.rect.left + x, s.rect.top + y) != kMagentaIndex)
                    throw std::runtime_error("weapon sprites overlap");
                sheet.Set(s.rect.left + x, s.rect.top + y, c);
            }
        }
    }
    return sheet;
}

}  // namespace assetgen

// The title picture, the desert ground tile and the robot emblems.
#include <algorithm>
#include <cmath>
#include <vector>

#include "frames/roster_cells.h"
#include "picture_set.h"

namespace assetgen {
namespace {

constexpr double kPi = 3.14159265358979323846;

uint32_t Hash(int x, int y, uint32_t seed) {
    uint32_t h = uint32_t(x) * 374761393u + uint32_t(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return h ^ (h >> 16);
}

// Smooth value noise in [-1, 1] on a lattice that repeats every `period` cells.
double TileNoise(double x, double y, int period, uint32_t seed) {
    const int ix = int(std::floor(x)), iy = int(std::floor(y));
    const double fx = x - ix, fy = y - iy;
    auto corner = [&](int cx, int cy) {
        const int wx = ((cx % period) + period) % period, wy = ((cy % period) + period) % period;
        return (Hash(wx, wy, seed) & 0xFFFF) / 32767.5 - 1.0;
    };
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double top = corner(ix, iy) + (corner(ix + 1, iy) - corner(ix, iy)) * sx;
    const double bottom = corner(ix, iy + 1) + (corner(ix + 1, iy + 1) - corner(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

// ---- the ground tile ----------------------------------------------------------------

constexpr int kTile = 200;

// A pebble with its shadow, drawn at every wrapped copy so the tile stays seamless.
void Pebble(Image& image, Pt c, double r, Ramp ramp) {
    for (int ox = -kTile; ox <= kTile; ox += kTile) {
        for (int oy = -kTile; oy <= kTile; oy += kTile) {
            const Pt at{c.x + ox, c.y + oy};
            Paint(image, Shape::Ellipse({at.x + r * 0.5, at.y + r * 0.6}, r * 1.1, r * 0.8),
                  [&](int x, int y, bool) { return Shade(Ramp::Sand, 4 + (x + y) % 2); });
            Paint(image, Shape::Ellipse(at, r, r * 0.8), [&](int x, int y, bool rim) {
                const double t = std::hypot((x + 0.5 - at.x + r * 0.4) / r, (y + 0.5 - at.y + r * 0.4) / r);
                return Shade(ramp, int(12.5 - 6 * t) - (rim ? 2 : 0));
            });
        }
    }
}

// ---- the title ----------------------------------------------------------------------

constexpr int kTitleWidth = 800, kTitleHeight = 600;
constexpr int kHorizon = 318;
constexpr Pt kSun{548, 300};
constexpr double kSunRadius = 92;

double DuneHeight(double x, double base, double amp, double phase) {
    return base - amp * (0.6 * std::sin(x * 0.009 + phase) + 0.3 * std::sin(x * 0.023 + phase * 2.1) +
                         0.1 * std::sin(x * 0.061 + phase * 0.7));
}

void DrawSky(Image& image) {
    for (int y = 0; y < kHorizon; ++y) {
        for (int x = 0; x < kTitleWidth; ++x) {
            const double glow = std::max(0.0, 1.0 - std::hypot(x - kSun.x, (y - kSun.y) * 1.6) / 520.0);
            const double level = 1.0 + 11.5 * std::pow(double(y) / kHorizon, 1.6) + 3.0 * glow * glow;
            image.Set(x, y, Dither(Ramp::Dusk, level, x, y));
        }
    }
    Rng rng{0x5eed5u};
    for (int i = 0; i < 90; ++i) {  // stars in the dark upper sky
        const int x = int(rng.Range(0, kTitleWidth)), y = int(rng.Range(0, 150) * rng.Unit());
        image.Set(x, y, rng.Unit() < 0.2 ? kWhiteIndex : Shade(Ramp::Ivory, 9));
    }
    // The setting sun, cut by bands of haze toward the horizon.
    Paint(image, Shape::Circle(kSun, kSunRadius), [&](int x, int y, bool) {
        const double t = (y + 0.5 - (kSun.y - kSunRadius)) / (2 * kSunRadius);
        const double band = (y - (kSun.y - 24)) / 12.0;
        if (band > 0 && std::fmod(band, 1.0) < 0.15 + band * 0.09) return image.Get(x, y);
        return Dither(t < 0.45 ? Ramp::Gold : Ramp::Fire, 15.4 - 5.0 * t, x, y);
    });
    // Far mesas: flat tops with a step, steep sides.
    const double mesas[][4] = {{-40, 150, 258, 40}, {120, 330, 272, 60}, {600, 700, 266, 30}, {680, 840, 252, 50}};
    for (const auto& m : mesas) {
        const double left = m[0], right = m[1], top = m[2], step = m[3];
        Fill(image,
             Shape::Polygon({{left - 14, double(kHorizon)},
                             {left, top + 6},
                             {left + step, top + 6},
                             {left + step + 6, top},
                             {right - 10, top},
                             {right + 16, double(kHorizon)}}),
             Shade(Ramp::Purple, 3), Shade(Ramp::Dusk, 9));
    }
}

void DrawDunes(Image& image) {
    struct Layer {
        double base, amp, phase;
        int dark, light;
    };
    const Layer layers[] = {{336, 10, 0.4, 2, 5}, {392, 24, 2.0, 2, 7}, {462, 30, 4.1, 3, 9}, {552, 40, 1.3, 3, 11}};
    for (int x = 0; x < kTitleWidth; ++x) {
        for (int y = kHorizon; y < kTitleHeight; ++y) {
            double level = 2.0;
            for (const Layer& l : layers) {
                const double top = DuneHeight(x, l.base, l.amp, l.phase);
                if (y < top) continue;
                // Slopes rising toward the low sun on the right catch its light; crests glow.
                const double slope = DuneHeight(x + 1, l.base, l.amp, l.phase) - top;
                const double depth = std::min(1.0, (y - top) / 70.0);
                level = l.dark + (l.light - l.dark) * std::clamp(0.45 - slope * 1.5, 0.0, 1.0) * (1 - 0.6 * depth);
                if (y - top < 2) level = l.light + 0.5;
            }
            image.Set(x, y, Dither(Ramp::Sand, level, x, y));
        }
    }
}

// A robot as a dark shape against the sunset, lit on its sun side.
void RobotSilhouette(Image& image, int robot, View view, int motion, int frame, Pt ground, double scale) {
    Image layer(kTitleWidth, kTitleHeight, kMagentaIndex);
    DrawRobot(layer, robot, view, motion, frame, ground, scale, false);
    for (int y = 0; y < kTitleHeight; ++y) {
        for (int x = 0; x < kTitleWidth; ++x) {
            const uint8_t c = layer.Get(x, y);
            if (c == kMagentaIndex) continue;
            const dw::PaletteEntry& e = MasterPalette()[c];
            const int light = (e.r + e.g + e.b) / 3;
            const bool toSun = layer.Get(x + (x < kSun.x ? 2 : -2), y - 1) == kMagentaIndex;
            const bool glowing = e.r > 230 && e.g > 150;  // eyes and lamps keep their light
            image.Set(x, y, glowing ? c : toSun ? Shade(Ramp::Fire, 8 + light / 40) : Shade(Ramp::Purple, light / 60));
        }
    }
}

void DrawTitleText(Image& image) {
    constexpr std::string_view kName = "DUSKWARDEN";
    const double size = 78;
    const Pt at{(kTitleWidth - TextWidth(kName, size)) / 2, 104};
    DrawText(image, kName, {at.x + 6, at.y + 7}, size, 1.35, [](int, int, bool) { return Shade(Ramp::Dusk, 0); });
    DrawText(image, kName, at, size, 1.35, [&](int x, int y, bool rim) {
        if (rim) return Shade(Ramp::Purple, 1);
        const double t = (y - at.y) / size;  // gold at the top, burning orange below
        return t < 0.12 ? Shade(Ramp::Gold, 15) : Dither(Ramp::Fire, 14.5 - 6.0 * t, x, y);
    });
}

// ---- emblems ------------------------------------------------------------------------

constexpr const char* kEmblemCodes[kRobotCount] = {"ZVR", "RZD", "ZZ",  "DZE", "DZ", "DV",
                                                   "ZR",  "DO",  "D2E", "DR",  "VV"};

void DrawEmblem(Image& image, int robot, const dw::Rect& cell) {
    const Ramp body = RobotBodyRamp(robot), trim = RobotTrimRamp(robot);
    const Pt c{cell.left + cell.Width() / 2.0, cell.top + cell.Height() / 2.0};
    const double half = 62;
    // Bevelled plate: light top-left edge, dark bottom-right edge, a dark field inside.
    Paint(image,
          Shape::Polygon({{c.x - half + 10, c.y - half},
                          {c.x + half, c.y - half},
                          {c.x + half, c.y + half - 10},
                          {c.x + half - 10, c.y + half},
                          {c.x - half, c.y + half},
                          {c.x - half, c.y - half + 10}}),
          [&](int x, int y, bool rim) {
              if (rim) return Shade(trim, 15);
              const double u = (x - c.x) + (y - c.y);
              return Shade(trim, u < 0 ? 12 : 6);
          });
    const double in = half - 7;
    Paint(image,
          Shape::Polygon({{c.x - in + 8, c.y - in},
                          {c.x + in, c.y - in},
                          {c.x + in, c.y + in - 8},
                          {c.x + in - 8, c.y + in},
                          {c.x - in, c.y + in},
                          {c.x - in, c.y - in + 8}}),
          [&](int x, int y, bool rim) {
              if (rim) return Shade(trim, 2);
              const double t = std::hypot(x - c.x, y - c.y + 20) / (in * 1.6);
              return Dither(body, 7.5 - 6 * t, x, y);
          });
    // A motif of its own: rays, rings or chevrons in the trim colour.
    const int motif = robot % 3;
    const uint8_t mark = Shade(trim, 11), markRim = Shade(trim, 4);
    const Pt m{c.x, c.y - 12};
    if (motif == 0) {
        for (int k = 0; k < 6; ++k) {
            const double a = k * kPi / 3 + robot * 0.3;
            Fill(image,
                 Shape::Capsule({m.x + std::cos(a) * 12, m.y + std::sin(a) * 12},
                                {m.x + std::cos(a) * 34, m.y + std::sin(a) * 34}, 4),
                 mark, markRim);
        }
        Fill(image, Shape::Circle(m, 9), mark, markRim);
    } else if (motif == 1) {
        Fill(image, Shape::Circle(m, 32), mark, markRim);
        Fill(image, Shape::Circle(m, 24), Shade(body, 3), markRim);
        Fill(image, Shape::Polygon({{m.x, m.y - 18}, {m.x + 16, m.y + 10}, {m.x - 16, m.y + 10}}), mark, markRim);
    } else {
        for (int k = 0; k < 3; ++k) {
            const double y = m.y - 22 + k * 14;
            Fill(
                image,
                Shape::Polygon(
                    {{m.x - 32, y}, {m.x, y + 16}, {m.x + 32, y}, {m.x + 32, y + 8}, {m.x, y + 24}, {m.x - 32, y + 8}}),
                mark, markRim);
        }
    }
    const std::string_view code = kEmblemCodes[robot];
    const double size = 22;
    const Pt at{c.x - TextWidth(code, size) / 2, c.y + half - 36};
    DrawText(image, code, at, size, 1.2,
             [&](int, int, bool rim) { return rim ? kBlackIndex : Shade(Ramp::Ivory, 15); });
}

}  // namespace

Image MakeGroundTile() {
    Image image(kTile, kTile, kBlackIndex);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            // Broad patches, fine grain, and wind ripples; every term repeats every 200 px.
            const double broad = TileNoise(x / 25.0, y / 25.0, 8, 1) * 0.7 + TileNoise(x / 50.0, y / 50.0, 4, 2) * 0.5;
            const double grain = TileNoise(x / 5.0, y / 5.0, 40, 3) * 0.35;
            const double warp = TileNoise(x / 40.0, y / 40.0, 5, 4) * 1.6;
            const double ripple = std::sin(2 * kPi * (2 * x + 9 * y) / kTile + warp);
            const double crest = std::max(0.0, ripple) * std::max(0.0, ripple);
            const double level = 8.0 + broad * 1.6 + grain + ripple * 0.7 + crest * 1.2;
            image.Set(x, y, Dither(Ramp::Sand, level, x, y));
        }
    }
    Rng rng{0xd0e5u};
    for (int i = 0; i < 18; ++i) {
        const Pt c{rng.Range(0, kTile), rng.Range(0, kTile)};
        const double r = i < 4 ? rng.Range(2.5, 4.0) : rng.Range(1.0, 2.2);
        Pebble(image, c, r, i % 3 == 0 ? Ramp::Ivory : Ramp::Brown);
    }
    for (int i = 0; i < 260; ++i) {  // loose dark grains
        const int x = int(rng.Range(0, kTile)), y = int(rng.Range(0, kTile));
        image.Set(x, y, Shade(i % 2 ? Ramp::Brown : Ramp::Sand, 4 + i % 3));
    }
    return image;
}

Image MakeTitlePicture() {
    Image image(kTitleWidth, kTitleHeight, kBlackIndex);
    DrawSky(image);
    DrawDunes(image);
    RobotSilhouette(image, 9, View::FrontSide, 0, 0, {640, 452}, 3.0);
    RobotSilhouette(image, 8, View::Side, 1, 3, {150, 556}, 6.2);
    DrawTitleText(image);
    return image;
}

Image MakeEmblemSheet() {
    Image image(dw::kRosterSheetWidth, dw::kRosterSheetHeight, kBlackIndex);
    for (int robot = 0; robot < kRobotCount; ++robot) DrawEmblem(image, robot, dw::RosterCell(robot));
    return image;
}

}  // namespace assetgen

// The colour ramps of the master palette: each hue in kRampLength shades, dark to light,
// so pictures can shade and dither by ramp level instead of searching colours.
#pragma once

#include <array>
#include <cstdint>

namespace assetgen {

struct RampColor {
    uint8_t r, g, b;
};
struct RampSpec {
    RampColor dark, mid, light;
};

enum class Ramp : uint8_t { Sand, Rust, Red, Gold, Olive, Green, Teal, Blue, Steel, Purple, Dusk, Fire, Brown, Ivory };

constexpr int kRampLength = 16;
constexpr int kRampBase = 19;  // after black and the exact interface colours
constexpr std::array<RampSpec, 14> kRamps{{
    {{60, 38, 20}, {198, 156, 98}, {252, 236, 196}},   // sand
    {{50, 18, 8}, {214, 100, 30}, {255, 214, 150}},    // rust, orange
    {{40, 4, 8}, {200, 32, 30}, {255, 176, 164}},      // red
    {{56, 40, 0}, {232, 190, 40}, {255, 250, 206}},    // gold
    {{22, 28, 10}, {112, 132, 52}, {222, 238, 164}},   // olive
    {{4, 30, 14}, {40, 170, 72}, {194, 255, 204}},     // green
    {{4, 26, 32}, {30, 150, 160}, {194, 250, 250}},    // teal
    {{8, 12, 48}, {52, 92, 212}, {194, 218, 255}},     // blue
    {{18, 22, 30}, {112, 124, 142}, {228, 234, 244}},  // steel
    {{22, 8, 40}, {122, 62, 172}, {228, 204, 252}},    // purple
    {{14, 8, 38}, {132, 60, 122}, {255, 176, 112}},    // dusk sky: indigo, plum, glow
    {{64, 0, 0}, {242, 112, 12}, {255, 255, 224}},     // fire
    {{26, 16, 10}, {122, 86, 58}, {212, 190, 164}},    // brown, stone
    {{40, 36, 30}, {192, 182, 162}, {255, 252, 242}},  // ivory
}};

constexpr RampColor RampShade(const RampSpec& s, int level) {
    auto lerp = [](uint8_t a, uint8_t b, int num, int den) { return uint8_t(a + ((int(b) - int(a)) * num) / den); };
    auto mix = [&](RampColor a, RampColor b, int num, int den) {
        return RampColor{lerp(a.r, b.r, num, den), lerp(a.g, b.g, num, den), lerp(a.b, b.b, num, den)};
    };
    constexpr int kMidLevel = 9;
    return level <= kMidLevel ? mix(s.dark, s.mid, level, kMidLevel)
                              : mix(s.mid, s.light, level - kMidLevel, kRampLength - 1 - kMidLevel);
}

constexpr uint8_t kWhiteIndex = 1;
constexpr int kGreyBase = kRampBase + int(kRamps.size()) * kRampLength;  // a fine grey ramp
constexpr int kGreyCount = 255 - kGreyBase;

// Palette index of a ramp shade; the level is clamped to the ramp.
constexpr uint8_t Shade(Ramp ramp, int level) {
    level = level < 0 ? 0 : (level >= kRampLength ? kRampLength - 1 : level);
    return uint8_t(kRampBase + int(ramp) * kRampLength + level);
}

}  // namespace assetgen

// Durade-Revov's "SHOT-GUN", "3WAY-CANON" and "6WAY-ROCKET".
#include <algorithm>

#include "robots/durade/durade.h"
#include "robots/weapon_families.h"

namespace {

// Every node of every column under heading h takes the picture of node (h, 0, 0).
void SpriteInEveryNode(ShotTable& t) {
    for (auto& heading : t.Node) {
        const int32_t* src = heading[0][0].SrcRect;
        for (auto& column : heading)
            for (ShotNode& n : column) std::copy(src, src + 4, n.SrcRect);
    }
}

}  // namespace

void Bahao_Weapon1(WeaponData& w, ShotTable& t) {
    constexpr int kPellets = kShotGunPellets;
    SetHeader(w, {210, kNoEnergyCost, 1, 1, 3, kPellets, "ATTACK1", "HITTED4"});
    SetLaunchAlong(w, 60, 50, kPellets);
    static constexpr SpriteRect kPellet{43, 0, 53, 10};
    // move, step, duration, hit, half-size, reach, sprite, stun, knock-back, next
    static constexpr ShotRow kRows[] = {
        {kMoveStraight, Along(15, 12), 2, kHitProjectile, 8, 8, 10, 10, kPellet, 18, 1, 1},  // out together
        {kMoveStraight, kStill, 24, kHitProjectile, 8, 8, 10, 10, kPellet, 18, 1, 2},        // the spread
        {kMoveStraight, kStill, 2, kHitProjectile, 8, 8, 10, 10, kPellet, 18, 1},            // a short stop
    };
    WriteChains(t, kRows, {8, 0, 0, 1}, kPellets);
    ShotGunSpread(t);
    SpriteInEveryNode(t);
}

void Bahao_Weapon3(WeaponData& w, ShotTable& t) {
    SetHeader(w, {48, kNoEnergyCost, 1, 1, 1, 3, "ATTACK1", "HITTED1"});
    // Three barrels side by side; on the diagonals one above the other. Heading 4 column 2
    // sits at (-10, 40), not the mirror of heading 0.
    // clang-format off
    static constexpr LaunchOffset kBarrels[kHeadings][3] = {
        {{10, -70}, {0, -45}, {-10, -20}},  {{60, -35}, {60, -60}, {60, -85}},
        {{70, -10}, {45, 0}, {20, 10}},     {{60, 35}, {60, 60}, {60, 85}},
        {{10, 70}, {0, 45}, {-10, 40}},     {{-60, 35}, {-60, 60}, {-60, 85}},
        {{-70, -10}, {-45, 0}, {-20, 10}},  {{-60, -35}, {-60, -60}, {-60, -85}},
    };
    // clang-format on
    SetLaunchPoints(w, kBarrels);
    // duration, damage, stun, half-size, reach, node word 14, 30-pixel cells at y 32
    StraightShot(t, {40, 36, 60, 20, 30, 1, 32, 30});
    SpriteInEveryNode(t);
}

void Bahao_Weapon4(WeaponData& w, ShotTable& t) {
    // Three pairs about the facing: outer (columns 0, 3), middle (1, 2), inner (4, 5).
    // clang-format off
    static constexpr LaunchOffset kFan[kHeadings * 6] = {
        {-10, -10}, {-6, -12}, {6, -12}, {10, -10}, {-3, -10}, {3, -10},  //
        {12, 0},    {10, -2},  {2, -10}, {0, -12},  {8, -4},   {4, -8},   //
        {10, -10},  {12, -6},  {12, 6},  {10, 10},  {10, -3},  {10, 3},   //
        {12, 0},    {10, 2},   {2, 10},  {0, 12},   {8, 4},    {4, 8},    //
        {-10, 10},  {-6, 12},  {6, 12},  {10, 10},  {-3, 10},  {3, 10},   //
        {-12, 0},   {-10, 2},  {-2, 10}, {0, 12},   {-8, 4},   {-4, 8},   //
        {-10, -10}, {-12, -6}, {-12, 6}, {-10, 10}, {-10, -3}, {-10, 3},  //
        {-12, 0},   {-10, -2}, {-2, -10}, {0, -12}, {-8, -4},  {-4, -8},
    };
    // clang-format on
    FanRockets(w, t, {90, "HITTED2", 50, 40, 40, {15, 15, 20, 25}, {20, 20, 20, 30}, kFan});
}

#include "robots/weapon_families.h"

#include <algorithm>
#include <array>

#include "robots/builders.h"

void StraightShot(ShotTable& t, const StraightValues& v) {
    const ShotRow shot[] = {
        {kMoveStraight, Along(20, 15), v.duration, kHitProjectile, v.halfSize, v.halfSize, v.reach, v.reach, kNoSprite,
         v.stun, 1},
    };
    WriteChains(t, shot, {v.damage, 0, 0, v.nodeWord14}, 8);
    auto cell = [&](int i) {
        const int32_t left = i * (v.cellSize + 1);
        return SpriteRect{left, v.cellTop, left + v.cellSize, v.cellTop + v.cellSize};
    };
    const SpriteRect byPair[4] = {cell(0), cell(2), cell(1), cell(3)};
    SetSpritesByHeading(t, 0, byPair, 8);
}

void LongRifle(WeaponData& w, ShotTable& t, const RifleValues& v) {
    SetHeader(w, {v.startAmmo, kNoEnergyCost, 1, 1, v.rows, 1, "ATTACK1", "HITTED4"});
    SetLaunchAlong(w, v.launchAxis, v.launchDiagonal);
    StraightShot(t, {50, v.damage, v.stun, v.halfSize, 20, v.nodeWord14, 11, 20});
}

const LaunchOffset kFourWayFan[kHeadings * 4] = {
    {-10, -10}, {-3, -12}, {3, -12}, {10, -10},  //
    {12, 0},    {6, -4},   {4, -6},  {0, -12},   //
    {10, -10},  {12, -3},  {12, 3},  {10, 10},   //
    {12, 0},    {4, 6},    {6, 4},   {0, 12},    //
    {-10, 10},  {-3, 12},  {3, 12},  {10, 10},   //
    {-12, 0},   {-6, 4},   {-4, 6},  {0, 12},    //
    {-10, -10}, {-12, -3}, {-12, 3}, {-10, 10},  //
    {-12, 0},   {-6, -4},  {-4, -6}, {0, -12},
};

void ShotGunSpread(ShotTable& t) {
    // clang-format off
    static constexpr LaunchOffset kSpread[kHeadings][kShotGunPellets] = {
        {{-6, -12}, {-3, -14}, {0, -15}, {3, -14}, {6, -12}},
        {{15, -6}, {14, -8}, {12, -12}, {8, -14}, {6, -15}},
        {{12, -6}, {14, -3}, {15, 0}, {14, 3}, {12, 6}},
        {{15, 6}, {14, 8}, {12, 12}, {8, 14}, {6, 15}},
        {{-6, 12}, {-3, 14}, {0, 15}, {3, 14}, {6, 12}},
        {{-15, 6}, {-14, 8}, {-12, 12}, {-8, 14}, {-6, 15}},
        {{-12, -6}, {-14, -3}, {-15, 0}, {-14, 3}, {-12, 6}},
        {{-15, -6}, {-14, -8}, {-12, -12}, {-8, -14}, {-6, -15}},
    };
    // clang-format on
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; const LaunchOffset& step : kSpread[h]) {
            ShotNode& pellet = t.Node[h][c++][1];
            pellet.Dx = step.x;
            pellet.Dy = step.y;
        }
}

void FanRockets(WeaponData& w, ShotTable& t, const RocketValues& v) {
    const int columns = int(v.fan.size()) / kHeadings;
    SetHeader(w, {v.startAmmo, kNoEnergyCost, 0, 1, 2, columns, "ATTACK5", v.hitSound, 14});
    SetLaunchAlong(w, v.launchAxis, v.launchDiagonal, columns);
    static constexpr SpriteRect kRocket{43, 0, 55, 10};
    const int32_t* half = v.halfSize;
    const int32_t* reach = v.reach;
    // move, step, duration, hit, half-size, reach, sprite, stun, knock-back, next, impact
    const ShotRow rows[] = {
        {kMoveStraight, kStill, 12, kHitProjectile, half[0], half[0], reach[0], reach[0], kRocket, 40, 1, 1, 2},
        {kMoveStraight, Along(12, 10), 45, kHitProjectile, half[1], half[1], reach[1], reach[1], kRocket, 40, 1, 2, 2},
        {kMoveStraight, kStill, 4, kHitNone, half[2], half[2], reach[2], reach[2], {0, 130, 24, 154}, 4, 1, 3},
        {kMoveStraight, kStill, 4, kHitNone, half[3], half[3], reach[3], reach[3], {30, 127, 56, 153}, 4, 1},
    };
    WriteChains(t, rows, {v.damage, 0, 0, v.nodeWord14}, columns);
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < columns; ++c) {
            const LaunchOffset step = v.fan[size_t(h * columns + c)];
            t.Node[h][c][0].Dx = step.x;
            t.Node[h][c][0].Dy = step.y;
        }
}

void Lazer(WeaponData& w, ShotTable& t, int32_t energyCost, int32_t damage, int32_t duration) {
    SetHeader(w, {256, energyCost, 0, 1, 1, 10, "BEAM", "HITTED4"});
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < kColumns; ++c) w.LaunchPoint[h][c] = AxisStep(h, 45 + 80 * c, 45 + 70 * c);
    const ShotRow segment[] = {
        {kMoveBeam, Along(20, 15), duration, kHitProjectile, 14, 14, 0, 0, kNoSprite, 80, 1},
    };
    WriteChains(t, segment, {damage, 0, 1}, kColumns);
    // The beam is drawn from the owner to 800 px out along the heading.
    for (int h = 0; h < kHeadings; ++h) {
        const LaunchOffset tip = AxisStep(h, 800, 800);
        for (int c = 0; c < kColumns; ++c) {
            t.Node[h][c][0].ReachX = tip.x;
            t.Node[h][c][0].ReachY = tip.y;
        }
    }
}

void CloseCombat(WeaponData& w, ShotTable& t, const SwingValues& v) {
    SetHeader(w, {256, 0, 0, 1, 1, 1, "ATTACK2", "HITTED2"});
    SetLaunchAlong(w, v.reach, v.reach);
    MeleeChain chain{v.stages.data(), int(v.stages.size()), v.damage, {}, 8};
    for (auto& half : chain.halfSize) half[0] = half[1] = v.halfSize;
    WriteMeleeChain(t, chain);
    // Close-combat shots are not drawn: no sprite.
    for (auto& heading : t.Node)
        for (int c = 0; c < 8; ++c)
            for (size_t n = 0; n < v.stages.size(); ++n) std::fill_n(heading[c][n].SrcRect, 4, 0);
}

void DropFromSky(WeaponData& w, ShotTable& t, const WeaponHeader& header, const DropValues& v) {
    static constexpr SpriteRect kBlast{0, 156, 30, 186};
    SetHeader(w, header);
    SetLaunchAlong(w, 0, 0, 8);
    std::array<ShotRow, kChainNodes> rows{};
    // Up off the screen, held high over the opponent, hung at the column's aim (node 2,
    // below), then a fall whose impact test changes nothing, onto the blast.
    rows[0] = {kMoveStraight, Fixed(0, -50), 12, kHitNone, 12, 12, 16, 16, v.shell, v.stun, 2, 1};
    rows[1] = {kMoveAtTarget, Fixed(0, -800), 8, kHitNone, 12, 12, 16, 16, v.shell, v.stun, 2, 2};
    rows[3] = {kMoveStraight, Fixed(0, 30), 20, kHitImpactNow, 12, 12, 16, 16, v.shell, v.stun, 2, 4};
    const int count = 4 + int(v.blast.size());
    for (int n = 4; n < count; ++n) {
        const DropBlast& b = v.blast[size_t(n - 4)];
        // clang-format off
        rows[size_t(n)] = {kMoveStraight, kStill, b.duration, kHitProjectile, b.halfSize, b.halfSize, b.reach, b.reach,
                           kBlast, v.stun, 2, int8_t(n + 1 < count ? n + 1 : -1)};
        // clang-format on
    }
    for (size_t c = 0; c < v.aim.size(); ++c) {
        const DropAim& a = v.aim[c];
        // clang-format off
        rows[2] = {kMoveAtTarget, Fixed(a.dx, a.dy), a.duration, kHitNone, a.halfHeight, a.halfWidth, 16, 16,
                   v.shell, v.stun, 2, 3};
        // clang-format on
        WriteChain(t, int(c), std::span(rows).first(size_t(count)), {v.damage, 1, 0});
    }
}

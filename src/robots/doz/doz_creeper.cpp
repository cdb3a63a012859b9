// DedaZivirEvavid's "FIRE-CREEPER": swings round the robot, runs ahead, steers at the
// opponent twice and bursts.
#include "robots/doz/doz.h"
#include "robots/shot_rows.h"

void DOZ_Weapon3(WeaponData& w, ShotTable& t) {
    SetHeader(w, {30, kNoEnergyCost, 0, 1, 2, 1, "ATTACK3", "HITTED4"});
    SetLaunchAlong(w, 0, 0);
    static constexpr SpriteRect kFire{43, 0, 55, 10};
    constexpr Step kRun = Along(15, 12);
    // move, step, duration, hit, half-size, reach, sprite, stun, knock-back, next, impact, steer
    static constexpr ShotRow kRows[] = {
        {kMoveStraight, kStill, 2, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 1, 9},  // swing
        {kMoveStraight, kStill, 2, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 2, 9},
        {kMoveStraight, kStill, 2, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 3, 9},
        {kMoveStraight, kStill, 2, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 4, 9},
        {kMoveStraight, kRun, 24, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 5, 9},
        {kMoveBranch, kStill, 4, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 6, 9, 6},
        {kMoveStraight, kRun, 30, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 7, 9},
        {kMoveBranch, kStill, 4, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 8, 9, 8},
        {kMoveStraight, kRun, 30, kHitProjectile, 10, 10, 12, 12, kFire, 28, 1, 9, 9},
        {kMoveStraight, kStill, 4, kHitProjectile, 12, 12, 16, 16, kFire, 28, 2, 10, 9},  // burst
        {kMoveStraight, kStill, 8, kHitProjectile, 16, 16, 20, 20, kFire, 28, 2, -1, 9},
    };
    WriteChains(t, kRows, {32, 0, 0}, 8);
    // The swing: from straight behind, round one side toward the heading (clockwise in
    // rows 3 and 7, counter-clockwise in the others).
    static constexpr LaunchOffset kArc[kHeadings][4] = {
        {{0, 20}, {14, 14}, {20, 0}, {14, -14}},     {{-14, 14}, {0, 20}, {14, 14}, {20, 0}},
        {{-20, 0}, {-14, 14}, {0, 20}, {14, 14}},    {{-14, -14}, {0, -20}, {14, -14}, {20, 0}},
        {{0, -20}, {-14, -14}, {-20, 0}, {-14, 14}}, {{14, -14}, {0, -20}, {-14, -14}, {-20, 0}},
        {{20, 0}, {14, -14}, {0, -20}, {-14, -14}},  {{14, 14}, {0, 20}, {-14, 14}, {-20, 0}},
    };
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < 8; ++c)
            for (int n = 0; n < 4; ++n) {
                t.Node[h][c][n].Dx = kArc[h][n].x;
                t.Node[h][c][n].Dy = kArc[h][n].y;
            }
}

// DedaZivirEvavid's "GADRING-GUN", "HEAVY-RIPPER" and "4WAY-ROCKET".
#include "robots/doz/doz.h"
#include "robots/weapon_families.h"

void DOZ_Weapon1(WeaponData& w, ShotTable& t) {
    SetHeader(w, {200, kNoEnergyCost, 1, 1, 4, 3, "ATTACK4", "HITTED4"});
    // Three barrels in a row along the heading, front barrel first.
    static constexpr LaunchOffset kBarrels[kHeadings][3] = {
        {{10, -70}, {0, -45}, {-10, -20}},  {{80, -70}, {60, -35}, {40, -20}},
        {{70, -10}, {45, 0}, {20, 10}},     {{80, 50}, {60, 35}, {40, 20}},
        {{10, 70}, {0, 45}, {-10, 40}},     {{-80, 50}, {-60, 35}, {-40, 20}},
        {{-70, -10}, {-45, 0}, {-20, 10}},  {{-80, -50}, {-60, -35}, {-40, -20}},
    };
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < 3; ++c) w.LaunchPoint[h][c] = kBarrels[h][c];
    const ShotRow bullet[] = {
        {kMoveStraight, Along(15, 10), 20, kHitProjectile, 10, 10, 0, 0, kNoSprite, 8, 1},
    };
    WriteChains(t, bullet, {12, 0, 0}, 8);
    static constexpr SpriteRect kBullet[4] = {{0, 0, 10, 10}, {22, 0, 32, 10}, {11, 0, 21, 10}, {33, 0, 43, 10}};
    SetSpritesByHeading(t, 0, kBullet, 8);
}

void DOZ_Weapon2(WeaponData& w, ShotTable& t) {
    // duration, hit kind, stun, reach
    static constexpr MeleeStage kStages[] = {
        {2, kHitMelee, 140, 50}, {2, kHitMelee, 120, 60}, {2, kHitMelee, 120, 70},
        {2, kHitMelee, 120, 80}, {2, kHitMelee, 120, 60}, {2, kHitMelee, 120, 50},
    };
    CloseCombat(w, t, {45, 160, 40, kStages});
}

void DOZ_Weapon4(WeaponData& w, ShotTable& t) {
    SetHeader(w, {60, kNoEnergyCost, 0, 1, 2, 4, "ATTACK5", "HITTED4", 14});
    SetLaunchAlong(w, 40, 35, 4);
    static constexpr SpriteRect kRocket{43, 0, 55, 10};
    // move, step, duration, hit, half-size, reach, sprite, stun, knock-back, next, impact
    static constexpr ShotRow kRows[] = {
        {kMoveStraight, kStill, 12, kHitProjectile, 12, 12, 14, 14, kRocket, 40, 1, 1, 2},  // fan
        {kMoveStraight, Along(12, 10), 45, kHitProjectile, 12, 12, 14, 14, kRocket, 40, 1, 2, 2},
        {kMoveStraight, kStill, 4, kHitNone, 20, 20, 24, 24, {0, 130, 24, 154}, 4, 1, 3},
        {kMoveStraight, kStill, 4, kHitNone, 28, 28, 32, 32, {30, 127, 56, 153}, 4, 1},
    };
    WriteChains(t, kRows, {40, 0, 0}, 4);
    // The fan by heading and column; at heading 3 the middle two cross.
    static constexpr LaunchOffset kFan[kHeadings][4] = {
        {{-10, -10}, {-3, -12}, {3, -12}, {10, -10}}, {{12, 0}, {6, -4}, {4, -6}, {0, -12}},
        {{10, -10}, {12, -3}, {12, 3}, {10, 10}},     {{12, 0}, {4, 6}, {6, 4}, {0, 12}},
        {{-10, 10}, {-3, 12}, {3, 12}, {10, 10}},     {{-12, 0}, {-6, 4}, {-4, 6}, {0, 12}},
        {{-10, -10}, {-12, -3}, {-12, 3}, {-10, 10}}, {{-12, 0}, {-6, -4}, {-4, -6}, {0, -12}},
    };
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < 4; ++c) {
            t.Node[h][c][0].Dx = kFan[h][c].x;
            t.Node[h][c][0].Dy = kFan[h][c].y;
        }
}

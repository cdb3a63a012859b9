// DariZev's weapons: "MACHINE-GUN" and "SPIKE".
#include "robots/darizev/darizev.h"
#include "robots/weapon_families.h"

void BuzzB_Weapon1(WeaponData& w, ShotTable& t) {
    SetHeader(w, {200, kNoEnergyCost, 1, 1, 3, 3, "ATTACK4", "HITTED4"});
    // Three muzzles staggered along the facing, column 0 the farthest forward. The values
    // are not quite symmetric between headings; they are kept as they are.
    // clang-format off
    static constexpr LaunchOffset kMuzzle[kHeadings][3] = {
        {{10, -70}, {0, -45}, {-10, -20}},  {{80, -70}, {60, -35}, {40, -20}},
        {{70, -10}, {45, 0}, {20, 10}},     {{80, 50}, {60, 35}, {40, 20}},
        {{10, 70}, {0, 45}, {-10, 40}},     {{-80, 50}, {-60, 35}, {-40, 20}},
        {{-70, -10}, {-45, 0}, {-20, 10}},  {{-80, -50}, {-60, -35}, {-40, -20}},
    };
    // clang-format on
    SetLaunchPoints(w, kMuzzle);
    // Every muzzle fires the same bullet: 18 px a frame (14 per axis on a diagonal) for 20 frames.
    const ShotRow bullet[] = {
        {kMoveStraight, Along(18, 14), 20, kHitProjectile, 8, 8, 10, 10, kNoSprite, 8, 1},
    };
    WriteChains(t, bullet, {8, 0, 0, 1}, 8);
    static constexpr SpriteRect kBullet[4] = {{0, 0, 10, 10}, {22, 0, 32, 10}, {11, 0, 21, 10}, {33, 0, 43, 10}};
    SetSpritesByHeading(t, 0, kBullet, 8);
}

void BuzzB_Weapon2(WeaponData& w, ShotTable& t) {
    // duration, hit kind, stun, reach: three thrusts reaching further, then no hit test
    // clang-format off
    static constexpr MeleeStage kStages[] = {
        {3, kHitMelee, 80, 40}, {3, kHitMelee, 80, 50}, {3, kHitMelee, 80, 60}, {8, kHitNone, 80, 40},
    };
    // clang-format on
    CloseCombat(w, t, {35, 32, 35, kStages});
    // The box is long along the thrust: taller facing up or down, wider facing sideways.
    for (int h : {0, 2, 4, 6})
        for (auto& column : t.Node[h])
            for (int k = 0; k < 4; ++k) {
                column[k].HitHalfHeight = h % 4 == 0 ? 40 : 30;
                column[k].HitHalfWidth = h % 4 == 0 ? 30 : 40;
            }
}

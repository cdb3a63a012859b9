// Three bullets a volley, side by side from three launch points, flying straight.
#include "robots/zeredi/guns.h"

#include "robots/builders.h"

namespace {

// Launch points by heading and column. Heading 1 column 0 and heading 4 column 2 break the
// mirror symmetry on purpose.
// clang-format off
constexpr LaunchOffset kLaunch[kHeadings][3] = {
    {{10, -70}, {0, -45}, {-10, -20}},
    {{80, -70}, {60, -35}, {40, -20}},
    {{70, -10}, {45, 0}, {20, 10}},
    {{80, 50}, {60, 35}, {40, 20}},
    {{10, 70}, {0, 45}, {-10, 40}},
    {{-80, 50}, {-60, 35}, {-40, 20}},
    {{-70, -10}, {-45, 0}, {-20, 10}},
    {{-80, -50}, {-60, -35}, {-40, -20}},
};
// clang-format on

// Left edge of the bullet's 10-pixel frame in "WEAPON", by heading.
constexpr int kSpriteLeft[kHeadings] = {0, 22, 11, 33, 0, 33, 11, 22};

void BuildGun(WeaponData& w, ShotTable& t, int duration, int halfSize) {
    SetLaunchPoints(w, kLaunch);
    w.StartAmmo = 240;
    w.VanishOnHit = 1;
    w.DisarmOnHit = 1;
    w.Rows = 5;
    w.Columns = 3;
    w.FireSound = "ATTACK4";
    w.HitSound = "HITTED4";
    w.TrailOn = 0;
    for (int c = 0; c < 8; ++c) {
        for (int h = 0; h < kHeadings; ++h) {
            ShotNode& n = t.Node[h][c][0];
            const LaunchOffset step = AxisStep(h, 18, 14);
            n.Dx = step.x;
            n.Dy = step.y;
            n.Damage = 8;
            n.Stun = 8;
            n.Duration = duration;
            n.HitKind = kHitProjectile;
            n.HitHalfHeight = n.HitHalfWidth = halfSize;
            n.SrcRect[0] = kSpriteLeft[h];
            n.SrcRect[1] = 0;
            n.SrcRect[2] = kSpriteLeft[h] + 10;
            n.SrcRect[3] = 10;
            n.NodeWord14 = 1;
            n.MoveKind = kMoveStraight;
            n.BreaksGuard = 0;
            n.KnockbackRule = 1;
            n.EndsOnOwnerHit = 0;
            n.ImpactNode = nullptr;
            n.Next = nullptr;
        }
        SetColumnLaunchLinks(t, c, 1);
    }
}

}  // namespace

void LizardT_Weapon1(WeaponData& weapon, ShotTable& table) { BuildGun(weapon, table, 20, 8); }

void Pyro_Weapon1(WeaponData& weapon, ShotTable& table) { BuildGun(weapon, table, 32, 10); }

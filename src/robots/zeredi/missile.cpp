#include "robots/zeredi/missile.h"

#include "robots/builders.h"

namespace {

constexpr int kMissileNodes = 14;
constexpr int kExplosionNode = 12;

enum class Role : int8_t { Fly, Branch, Turn };
enum class Step : int8_t { Still, Slow, Flight };
enum class Sprite : int8_t { Missile, Blast1, Blast2 };

struct ChainRow {
    Role role;
    Step step;
    int32_t duration;
    int32_t halfSize;
    int32_t reach;
    Sprite sprite;
    int32_t moveKind;
    int32_t knockback;
    int8_t next;  // node of the same chain, -1 none; a branch homes into this node of column d
};

// Turn rows: the builder writes only the shared fields, Duration 4 and the homing links.
constexpr ChainRow kChain[kMissileNodes] = {
    {Role::Fly, Step::Slow, 6, 10, 12, Sprite::Missile, kMoveStraight, 1, 1},
    {Role::Fly, Step::Flight, 24, 10, 12, Sprite::Missile, kMoveStraight, 1, 2},
    {Role::Branch, Step::Still, 1, 10, 12, Sprite::Missile, kMoveBranch, 1, 3},
    {Role::Turn, Step::Still, 4, 0, 0, Sprite::Missile, 0, 0, -1},
    {Role::Turn, Step::Still, 4, 0, 0, Sprite::Missile, 0, 0, -1},
    {Role::Turn, Step::Still, 4, 0, 0, Sprite::Missile, 0, 0, -1},
    {Role::Fly, Step::Flight, 24, 10, 12, Sprite::Missile, kMoveStraight, 1, 7},
    {Role::Branch, Step::Still, 1, 10, 12, Sprite::Missile, kMoveBranch, 1, 8},
    {Role::Turn, Step::Still, 4, 0, 0, Sprite::Missile, 0, 0, -1},
    {Role::Turn, Step::Still, 4, 0, 0, Sprite::Missile, 0, 0, -1},
    {Role::Turn, Step::Still, 4, 0, 0, Sprite::Missile, 0, 0, -1},
    {Role::Fly, Step::Flight, 24, 10, 12, Sprite::Missile, kMoveStraight, 1, 12},
    {Role::Fly, Step::Still, 5, 10, 32, Sprite::Blast1, kMoveStraight, 2, 13},
    {Role::Fly, Step::Still, 5, 20, 32, Sprite::Blast2, kMoveStraight, 2, -1},
};

// Flight step by heading; heading 0 flies at 14, the other axes at 15.
constexpr LaunchOffset kFlightStep[kHeadings] = {
    {0, -14}, {10, -10}, {15, 0}, {10, 10}, {0, 15}, {-10, 10}, {-15, 0}, {-10, -10},
};

constexpr int32_t kBlast1[4] = {0, 130, 24, 154};
constexpr int32_t kBlast2[4] = {30, 127, 56, 153};

LaunchOffset StepOf(Step s, int h) {
    switch (s) {
    case Step::Slow: return AxisStep(h, 10, 5);
    case Step::Flight: return kFlightStep[h];
    default: return {0, 0};
    }
}

}  // namespace

void BuildHomingMissile(WeaponData& w, ShotTable& t, const MissileValues& v) {
    for (int h = 0; h < kHeadings; ++h) w.LaunchPoint[h][0] = {0, 0};
    w.StartAmmo = v.startAmmo;
    w.VanishOnHit = 0;
    w.DisarmOnHit = 1;
    w.Rows = v.rows;
    w.Columns = 1;
    w.HitSound = "HITTED2";
    w.FireSound = "ATTACK5";
    w.TrailOn = 1;
    for (int32_t& s : w.TrailHalfSize) s = 10;
    w.TrailWord = 1;

    ShotNode* const explosion = &t.Node[0][0][kExplosionNode];
    for (int h = 0; h < kHeadings; ++h)
        for (int k = 0; k < 8; ++k)
            for (int i = 0; i < kMissileNodes; ++i) {
                const ChainRow& r = kChain[i];
                ShotNode& n = t.Node[h][k][i];
                n.Damage = v.damage;
                n.Stun = 80;
                n.HitKind = kHitProjectile;
                n.NodeWord14 = 0;
                n.BreaksGuard = 1;
                n.EndsOnOwnerHit = 0;
                n.ImpactNode = explosion;
                const int32_t* sprite = r.sprite == Sprite::Blast1   ? kBlast1
                                        : r.sprite == Sprite::Blast2 ? kBlast2
                                                                     : v.flightSprite;
                for (int e = 0; e < 4; ++e) n.SrcRect[e] = sprite[e];
                n.Duration = r.duration;
                if (r.role == Role::Turn) {
                    SetHomingLinks(n, [&](int) { return &t.Node[h][k][0]; });
                    continue;
                }
                const LaunchOffset step = StepOf(r.step, h);
                n.Dx = step.x;
                n.Dy = step.y;
                n.HitHalfHeight = n.HitHalfWidth = r.halfSize;
                n.ReachY = n.ReachX = r.reach;
                n.MoveKind = r.moveKind;
                n.KnockbackRule = r.knockback;
                n.Next = r.next < 0 ? nullptr : &t.Node[h][k][r.next];
                if (r.role == Role::Branch) SetHomingLinks(n, [&](int d) { return &t.Node[h][d][r.next]; });
            }
    for (int k = 0; k < 8; ++k) SetColumnLaunchLinks(t, k, kMissileNodes);
}

void LizardT_Weapon3(WeaponData& weapon, ShotTable& table) {
    BuildHomingMissile(weapon, table, MissileValues{40, 4, 40, {43, 0, 53, 10}});
}

#include "robots/shot_rows.h"

#include "robots/builders.h"

void SetHeader(WeaponData& w, const WeaponHeader& h) {
    w.StartAmmo = h.startAmmo;
    if (h.energyCost != kNoEnergyCost) w.EnergyCost = h.energyCost;
    w.VanishOnHit = h.vanishOnHit;
    w.DisarmOnHit = h.disarmOnHit;
    w.Rows = h.rows;
    w.Columns = h.columns;
    w.FireSound = h.fireSound;
    w.HitSound = h.hitSound;
    w.TrailOn = h.trailHalfSize > 0 ? 1 : 0;
    if (w.TrailOn) {
        for (int32_t& half : w.TrailHalfSize) half = h.trailHalfSize;
        w.TrailWord = 1;
    }
}

void SetLaunchAlong(WeaponData& w, int a, int b, int columns) {
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < columns; ++c) w.LaunchPoint[h][c] = AxisStep(h, a, b);
}

void WriteChain(ShotTable& t, int c, std::span<const ShotRow> rows, const ShotCommon& common) {
    const int count = int(rows.size());
    for (int h = 0; h < kHeadings; ++h) {
        ShotNode* chain = t.Node[h][c];
        auto link = [&](int8_t n) { return n >= 0 ? &chain[n] : nullptr; };
        for (int n = 0; n < count; ++n) {
            const ShotRow& r = rows[size_t(n)];
            ShotNode& node = chain[n];
            const LaunchOffset step = r.step.along ? AxisStep(h, r.step.x, r.step.y) : LaunchOffset{r.step.x, r.step.y};
            node.Dx = step.x;
            node.Dy = step.y;
            node.Damage = common.damage;
            node.Stun = r.stun;
            node.Duration = r.duration;
            node.HitKind = r.hitKind;
            node.HitHalfHeight = r.halfHeight;
            node.HitHalfWidth = r.halfWidth;
            node.ReachY = r.reachY;
            node.ReachX = r.reachX;
            node.SrcRect[0] = r.src.left;
            node.SrcRect[1] = r.src.top;
            node.SrcRect[2] = r.src.right;
            node.SrcRect[3] = r.src.bottom;
            node.NodeWord14 = common.nodeWord14;
            node.MoveKind = r.moveKind;
            node.BreaksGuard = common.breaksGuard;
            node.KnockbackRule = r.knockback;
            node.EndsOnOwnerHit = common.endsOnOwnerHit;
            node.ImpactNode = link(r.impact);
            node.Next = link(r.next);
            if (r.steer >= 0) SetHomingLinks(node, [&](int d) { return &t.Node[d][c][r.steer]; });
        }
    }
    SetColumnLaunchLinks(t, c, count);
}

void WriteChains(ShotTable& t, std::span<const ShotRow> rows, const ShotCommon& common, int columns) {
    for (int c = 0; c < columns; ++c) WriteChain(t, c, rows, common);
}

void SetSpritesByHeading(ShotTable& t, int node, const SpriteRect (&byPair)[4], int columns) {
    static constexpr int kPair[kHeadings] = {0, 1, 2, 3, 0, 3, 2, 1};
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < columns; ++c) {
            const SpriteRect& s = byPair[kPair[h]];
            int32_t* r = t.Node[h][c][node].SrcRect;
            r[0] = s.left;
            r[1] = s.top;
            r[2] = s.right;
            r[3] = s.bottom;
        }
}

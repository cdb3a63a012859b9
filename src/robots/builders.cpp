#include "robots/builders.h"

void SetColumnLaunchLinks(ShotTable& table, int column, int count) {
    for (int h = 0; h < kHeadings; ++h)
        for (int n = 0; n < count; ++n)
            for (int d = 0; d < kHeadings; ++d) LaunchLink(table.Node[h][column][n], d) = &table.Node[d][column][0];
}

void LinkChain(ShotTable& table, int heading, int column, int count, ShotNode* last) {
    ShotNode* chain = table.Node[heading][column];
    for (int n = 0; n + 1 < count; ++n) chain[n].Next = &chain[n + 1];
    if (count > 0) chain[count - 1].Next = last;
}

void WriteMeleeChain(ShotTable& table, const MeleeChain& m) {
    for (int h = 0; h < kHeadings; ++h)
        for (int c = 0; c < m.columns; ++c) {
            for (int k = 0; k < m.count; ++k) {
                const MeleeStage& s = m.stages[k];
                ShotNode& n = table.Node[h][c][k];
                n.Dx = n.Dy = 0;
                n.Damage = m.damage;
                n.Stun = s.stun;
                n.Duration = s.duration;
                n.HitKind = s.hitKind;
                n.HitHalfHeight = m.halfSize[h][0];
                n.HitHalfWidth = m.halfSize[h][1];
                n.ReachY = s.reachY;
                n.ReachX = 0;
                n.NodeWord14 = 0;
                n.MoveKind = kMoveMelee;
                n.BreaksGuard = 1;
                n.KnockbackRule = 1;
                n.EndsOnOwnerHit = 1;
                n.ImpactNode = nullptr;
            }
            LinkChain(table, h, c, m.count);
        }
    for (int c = 0; c < m.columns; ++c) SetColumnLaunchLinks(table, c, m.count);
}

// The fight seen: the ground, both robots in depth order, the shots (Draw_FS2), and over
// them beams, trails, gauges and the fight's words (Draw_FS).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "robots/builders.h"
#include "shell/form.h"

namespace {

// Which of the five sheets (front, back, fs, bs, side) shows a facing, and mirrored or not:
// 0 back, 1 back-side, 2 side, 3 front-side, 4 front; 5..7 mirror 3..1.
constexpr int kFacingSheet[8] = {1, 3, 4, 2, 0, 2, 4, 3};
constexpr bool kFacingMirror[8] = {false, false, false, false, false, true, true, true};

// The gauges: armour and energy bars of both players along the top edge.
constexpr int kGaugeWidth = 300;
constexpr int kGaugeX[2] = {20, 480};

// A filled disc of radius r (clipped to the surface).
void FillDisc(dw::Surface& s, int cx, int cy, int r, uint8_t index) {
    if (r <= 0 || r > 200) return;
    for (int dy = -r; dy <= r; ++dy) {
        const int y = cy + dy;
        if (y < 0 || y >= s.Height()) continue;
        const int half = int(std::sqrt(double(r * r - dy * dy)));
        const int x0 = std::max(cx - half, 0), x1 = std::min(cx + half + 1, s.Width());
        if (x0 < x1) std::memset(s.Row(y) + x0, index, size_t(x1 - x0));
    }
}

}  // namespace

void TForm1::Draw_FS2() {
    dw::Surface* back = BackSurface();
    if (!back) return;
    if (SheetSurface1) {
        for (const auto& column : BackGrid)
            for (const GridPoint& g : column)
                dw::Blit(*back, {g.X - 100, g.Y - 100, g.X + 100, g.Y + 100}, *SheetSurface1, SheetSurface1->Bounds());
    }

    // The robot higher on the screen stands behind the other.
    int order[2] = {0, 1};
    if (P2Fighter.PosY < P1Fighter.PosY) std::swap(order[0], order[1]);
    for (int p : order) {
        PlayerRefs pl = Player(p);
        const FighterState& f = pl.fighter;
        if (pl.hide || !f.CurrentNode) continue;
        const int facing = f.Facing & 7;
        const dw::Surface* sheet = pl.sheets[size_t(kFacingSheet[facing])].get();
        const ActionNode& n = *f.CurrentNode;
        if (!sheet || n.Motion < 0 || n.Motion >= kMotions || n.Frame < 0 || n.Frame >= kFrames) continue;
        const MotionPiece& m = pl.motion.Piece[facing][n.Motion][n.Frame];
        dw::Blit(*back, {f.PosX - m.HalfWidth, f.PosY - m.HalfHeight, f.PosX + m.HalfWidth, f.PosY + m.HalfHeight},
                 *sheet, {m.SrcLeft, m.SrcTop, m.SrcRight, m.SrcBottom},
                 dw::kBlitKeySrc | (kFacingMirror[facing] ? dw::kBlitMirror : 0u));
    }

    // Smoke puffs behind the shots that leave a trail, fading from the newest to the oldest,
    // under the shots themselves.
    const dw::ColorTable& palette = DirectDrawObj->Palette();
    const uint8_t smoke[3] = {dw::NearestIndex(palette, 0xD8D8D8), dw::NearestIndex(palette, 0xA8A8A8),
                              dw::NearestIndex(palette, 0x787878)};
    for (const auto& group : Shots.Record)
        for (const auto& row : group)
            for (const ShotRecord& r : row) {
                if (!r.Active || !r.Visible || !r.Weapon || r.Weapon->TrailOn != 1) continue;
                for (int i = 2; i >= 0; --i)
                    FillDisc(*back, r.Trail[i].X, r.Trail[i].Y, r.Weapon->TrailHalfSize[i], smoke[i]);
            }

    if (!SheetSurface2) return;
    for (const auto& group : Shots.Record)
        for (const auto& row : group)
            for (const ShotRecord& r : row) {
                if (!r.Active || !r.Visible || !r.Node || r.Node->MoveKind > kMoveHoming) continue;
                const ShotNode& n = *r.Node;
                dw::Blit(*back,
                         {r.PosX - n.HitHalfWidth, r.PosY - n.HitHalfHeight, r.PosX + n.HitHalfWidth,
                          r.PosY + n.HitHalfHeight},
                         *SheetSurface2, {n.SrcRect[0], n.SrcRect[1], n.SrcRect[2], n.SrcRect[3]},
                         dw::kBlitKeySrc | ((r.Heading & 7) >= 5 ? dw::kBlitMirror : 0u));
            }
}

void TForm1::Draw_FS() {
    dw::DrawContext& dc = *BackDC;

    // Beams as lines from their owner (the shots of one volley share one line).
    for (int g = 0; g < kShotGroups; ++g) {
        const FighterState& owner = g < 4 ? P1Fighter : P2Fighter;
        for (const auto& row : Shots.Record[g]) {
            bool beamDrawn = false;
            for (const ShotRecord& r : row) {
                if (!r.Active || !r.Visible || !r.Node) continue;
                if (r.Node->MoveKind == kMoveBeam && !beamDrawn) {
                    beamDrawn = true;
                    dc.SelectPen(Pens[g < 4 ? 0 : 1].get());
                    dc.MoveTo(owner.PosX, owner.PosY);
                    dc.LineTo(owner.PosX + r.Node->ReachX, owner.PosY + r.Node->ReachY);
                }
            }
        }
    }

    dc.SetTransparentBackground(true);
    dc.SelectFont(Fonts[2].get());
    for (int p = 0; p < 2; ++p) {
        const FighterState& f = Player(p).fighter;
        if (!f.Spec) continue;
        const int x = kGaugeX[p];
        auto bar = [&](int y, int value, int max, int brush) {
            dc.SelectPen(Pens[10].get());
            dc.SelectBrush(Brushes[0].get());
            dc.Rectangle(x, y, x + kGaugeWidth, y + 10);
            const int len = max > 0 ? int(int64_t(std::clamp(value, 0, max)) * (kGaugeWidth - 2) / max) : 0;
            if (len > 0) dc.FillRect({x + 1, y + 1, x + 1 + len, y + 9}, *Brushes[size_t(brush)]);
        };
        bar(10, f.Armour, f.Spec->MaxArmour, p == 0 ? 1 : 2);
        bar(24, f.Energy, f.Spec->MaxEnergy, 3);
        char line[64];
        std::snprintf(line, sizeof line, "%d  %d  %d  %d", f.Ammo[0], f.Ammo[1], f.Ammo[2], f.Ammo[3]);
        dc.SetTextColor(0xFFFFFF);
        dc.TextOut(x, 38, line);
    }

    dc.SelectFont(Fonts[0].get());
    dc.SetTextColor(0xFFFFFF);
    if (GameState == kStateFightIntro) {
        dc.TextOut(300, 270, "READY");
    } else if (GameState == kStateFightOver) {
        const char* text = Winner == 1 ? "1P WIN!" : Winner == 2 ? "2P WIN!" : "DRAW";
        dc.TextOut(260, 270, text);
    }
}

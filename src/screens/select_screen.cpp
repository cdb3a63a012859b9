// The robot select screen: both players' lists, rating bars, weapon panels and pictures.
#include <cstdio>
#include <cstring>

#include "shell/form.h"

namespace {

constexpr dw::ColorRef kGreen = 0x008000;
constexpr dw::ColorRef kBlue = 0xFF0000;

constexpr const char* kRowNames[2][6] = {
    {"Aps", "Zeredi vovu Ridodar", "Revidu zava Davov", "ZovaZazovo", "DedaZivirEvavid", "DariZev"},
    {"PeTS", "DeziVor", "Zo-Ra", "DivizOdir", "D-2-E", "Durade-Revov"},
};
constexpr const char* kRatingNames[6] = {"Armor", "FirePower", "Control", "Energy", "Speed", "Barance"};

// A line and its arrow heads, as point pairs.
struct Segment {
    int x0, y0, x1, y1;
};
constexpr Segment kP1Arrows[] = {{10, 300, 210, 300},  {15, 295, 10, 300},  {15, 305, 10, 300}, {205, 295, 210, 300},
                                 {205, 305, 210, 300}, {215, 10, 215, 290}, {210, 15, 215, 10}, {220, 15, 215, 10},
                                 {210, 285, 215, 290}, {220, 285, 215, 290}};
constexpr Segment kP2Arrows[] = {{590, 300, 790, 300}, {595, 295, 590, 300}, {595, 305, 590, 300}, {785, 295, 790, 300},
                                 {785, 305, 790, 300}, {585, 10, 585, 290},  {580, 15, 585, 10},   {590, 15, 585, 10},
                                 {580, 285, 585, 290}, {590, 285, 585, 290}};

// Robots outside the catalogue show the first entry rather than reading past it.
const RosterEntry& EntryOf(const std::array<RosterEntry, dw::kRosterSize>& roster, int robot) {
    const int i = RosterIndex(robot);
    return roster[size_t(i < 0 ? 0 : i)];
}

}  // namespace

void TForm1::Draw_Select() {
    dw::DrawContext& dc = *BackDC;
    dc.SelectBrush(Brushes[0].get());
    dc.FillRect({0, 0, 800, 600}, *Brushes[0]);
    dc.SetTransparentBackground(true);
    dc.SetTextColor(kGreen);
    dc.SelectFont(Fonts[2].get());
    char speed[32];
    std::snprintf(speed, sizeof speed, "GAME-SPEED = %d", 100 - FrameWait);
    dc.TextOut(300, 310, speed);
    dc.SetTextColor(kBlue);
    dc.TextOut(490, 320, "Dash-Button = SpeedDown!");
    dc.TextOut(60, 300, "Guard-Button = SpeedUp!");

    Draw_List(10, 10, 0, P1RobotId);
    Draw_List(590, 10, 1, P2RobotId);

    auto arrows = [&](const auto& segments, const dw::Pen* pen) {
        dc.SelectPen(pen);
        for (const Segment& s : segments) {
            dc.MoveTo(s.x0, s.y0);
            dc.LineTo(s.x1, s.y1);
        }
    };
    arrows(kP1Arrows, Pens[8].get());
    if (GameMode == 2) arrows(kP2Arrows, Pens[9].get());

    Draw_Equip(215, 340, EntryOf(Roster, P1RobotId), 0);
    Draw_Equip(300, 450, EntryOf(Roster, P2RobotId), 1);
}

void TForm1::Draw_List(int x, int y, int player, int robot) {
    dw::DrawContext& dc = *BackDC;
    dc.SelectPen(Pens[10].get());
    dc.SelectBrush(Brushes[0].get());
    dc.Rectangle(x, y, x + 200, y + 280);

    dc.SetTextColor(kGreen);
    dc.SelectFont(Fonts[2].get());
    const auto& names = kRowNames[robot < 10 ? 0 : 1];
    dc.TextOut(x + 5, y + 5, names[0]);
    for (int k = 1; k <= 5; ++k) dc.TextOut(x + 10, y + 10 + 40 * k, names[k]);

    dc.SelectPen(Pens[player == 0 ? 8 : 9].get());
    const int k = robot % 10;
    if ((player == 0 || GameMode == 2) && k >= 1 && k <= 5) {
        dc.MoveTo(x + 10, y + 30 + 40 * k);
        dc.LineTo(x + 160, y + 30 + 40 * k);
    }

    dc.SelectPen(Pens[10].get());
    dc.Rectangle(x, y + 350, x + 200, y + 580);
    const RosterEntry& entry = EntryOf(Roster, robot);
    for (int i = 0; i < 6; ++i) {
        dc.TextOut(x + 10, y + 360 + 30 * i, kRatingNames[i]);
        Draw_Data(x + 40, y + 375 + 30 * i, player, entry.Rating[i]);
    }
}

void TForm1::Draw_Data(int x, int y, int player, int value) {
    dw::DrawContext& dc = *BackDC;
    dc.SelectPen(Pens[10].get());
    dc.SelectBrush(Brushes[player == 0 ? 1 : 2].get());
    dc.Rectangle(x, y, x + 50 * value, y + 10);
    dc.SelectBrush(Brushes[0].get());
}

void TForm1::Draw_Equip(int x, int y, const RosterEntry& entry, int player) {
    dw::DrawContext& dc = *BackDC;
    dc.SelectPen(Pens[player == 0 ? 8 : 9].get());
    dc.SelectBrush(Brushes[0].get());
    dc.Rectangle(x, y, x + 280, y + 130);
    dc.TextOut(x, y, "Weapons");
    for (int i = 0; i < 4; ++i) {
        // Names are terminated within their 40 bytes; never read past them.
        const char* name = entry.WeaponName[i];
        dc.TextOut(x + 10, y + 10 + 15 * i, std::string_view(name, strnlen(name, sizeof entry.WeaponName[i])));
    }
}

void TForm1::Draw_Select2() {
    dw::Surface* back = BackSurface();
    if (!back) return;
    struct Blit {
        int32_t robot;
        dw::Surface* sheet;
        dw::Rect dst;
    };
    const Blit blits[4] = {{P2RobotId, SheetSurface1.get(), {435, 150, 584, 299}},
                           {P2RobotId, SheetSurface2.get(), {305, 170, 454, 319}},
                           {P1RobotId, SheetSurface1.get(), {220, 10, 369, 159}},
                           {P1RobotId, SheetSurface2.get(), {350, 30, 499, 179}}};
    for (const Blit& b : blits) {
        if (!b.sheet) continue;
        const RosterEntry& e = EntryOf(Roster, b.robot);
        dw::Blit(*back, b.dst, *b.sheet, {e.Cell[0], e.Cell[1], e.Cell[2], e.Cell[3]}, dw::kBlitKeySrc);
    }
}

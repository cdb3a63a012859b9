// The pre-fight screen: the two robots' names over a fading colour, and the run's progress.
#include <cstdio>

#include "shell/form.h"

namespace {

// The pre-fight spelling of each robot's name by id; nullptr where an id has none.
const char* PreFightName(int32_t id) {
    switch (id) {
    case 1: return "Zeredi vovu Ridodar";
    case 2: return "Revidu zava Davov";
    case 3: return "ZovaZazovo";
    case 4: return "DedaZivirEvavid";
    case 5: return "DariZev";
    case 6: return "ViveraziV";
    case 11: return "Dezi Vor";
    case 12: return "Zo-Ra";
    case 13: return "DivizOdir";
    case 14: return "D-2-E";
    case 15: return "Durade-Revov";
    case 16: return "ViveraziV";
    default: return nullptr;
    }
}

constexpr const char* kOrdinals[8] = {"First Enemy!!", "Second Enemy!!", "Third Enemy!!",   "Fourth Enemy!!",
                                      "Fifth Enemy!!", "Sixth Enemy!!",  "Seventh Enemy!!", "Last Enemy!!"};

}  // namespace

void TForm1::Draw_BS() {
    dw::DrawContext& dc = *BackDC;
    dc.SelectBrush(Brushes[0].get());
    dc.FillRect({0, 0, 800, 600}, *Brushes[0]);
    dc.SelectFont(Fonts[1].get());
    dc.SetTransparentBackground(true);

    // The texts fade from white to dark grey in steps of 50 frames. The first frame after a
    // won fight (counter 0) is drawn white as well.
    static constexpr dw::ColorRef kFade[5] = {0xFFFFFF, 0xBFBFBF, 0x7F7F7F, 0x5F5F5F, 0x3F3F3F};
    if (StateFrames == 0)
        dc.SetTextColor(kFade[0]);
    else if (StateFrames >= 1 && StateFrames <= 250)
        dc.SetTextColor(kFade[(StateFrames - 1) / 50]);

    char line[64];
    if (GameMode == 3) {
        dc.TextOut(0, 530, "Return:F1 KEY ON KEYBOARD!");
        std::snprintf(line, sizeof line, "SURVIVAL MODE :SCORE IS %d POINT!!", SurvivalScore);
        dc.TextOut(0, 550, line);
    } else if (GameMode == 4) {
        if (LimitEnemy >= 1 && LimitEnemy <= 8) dc.TextOut(0, 530, kOrdinals[LimitEnemy - 1]);
        std::snprintf(line, sizeof line, "LIMIT MODE :REST IS %d COUNT!!", LimitFrames - LimitElapsed);
        dc.TextOut(0, 550, line);
    }

    if (const char* name = PreFightName(P1RobotId)) dc.TextOut(300, 240, name);
    const char* second = PreFightName(P2RobotId);
    if (P2RobotId == 6)
        second = GameMode == 1 || GameMode == 2   ? "ViveraziV"
                 : GameMode == 3 || GameMode == 4 ? "ZAroru vave Varizoz"
                                                  : nullptr;
    if (second) dc.TextOut(360, 320, second);
    dc.TextOut(340, 290, "VS");
}

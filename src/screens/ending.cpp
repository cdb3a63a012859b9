// The ending: credit lines fading in and out at nine points over 2000 frames.
#include <algorithm>
#include <cstring>

#include "shell/form.h"

namespace {

constexpr int kEndingFrames = 2000;

constexpr int32_t kFadeStyles[3][9] = {
    {20, 20, 25, 25, 40, 25, 25, 20, 20},
    {15, 15, 20, 20, 30, 20, 20, 15, 15},
    {5, 5, 10, 10, 30, 10, 10, 5, 5},
};

constexpr dw::ColorRef kFadeColours[9] = {0x3F3F3F, 0x5F5F5F, 0x7F7F7F, 0xBFBFBF, 0xFFFFFF,
                                          0xBFBFBF, 0x7F7F7F, 0x5F5F5F, 0x3F3F3F};

constexpr int kAnchors[9][2] = {{300, 300}, {100, 150}, {550, 150}, {100, 450}, {550, 450},
                                {200, 200}, {450, 200}, {200, 400}, {450, 400}};

struct CreditSpec {
    int anchor, style, start;
    const char* text;
};

constexpr CreditSpec kCredits[24] = {
    {0, 0, 50, "Thanks for your FIGHT"},
    {5, 0, 280, "Planner/Producer"},
    {8, 0, 300, "The Dusk Planning Desk"},
    {2, 1, 530, "Design"},
    {1, 1, 540, "Robot Sketch Bench"},
    {5, 2, 545, "Emblem Workshop"},
    {0, 2, 550, "Sprite Cell Studio"},
    {8, 2, 555, "Palette Keepers"},
    {4, 2, 560, "Title Card Crew"},
    {1, 0, 720, "3D/2D ComputerGraphics"},
    {2, 0, 740, "Robot Model Works"},
    {6, 0, 750, "Dune and Sunset Painters"},
    {0, 0, 760, "Muzzle Flash Team"},
    {7, 0, 770, "Explosion Makers"},
    {1, 1, 950, "Programing"},
    {5, 0, 960, "Frame Loop Engineers"},
    {0, 1, 970, "Built with our own tools"},
    {5, 2, 1190, "Test Players and Adviser"},
    {0, 0, 1200, "Thanks to every Warden who tested"},
    {5, 2, 1450, "Produced by"},
    {0, 0, 1480, "The Duskwarden Team (DWT)"},
    {5, 0, 1720, "This Project"},
    {0, 0, 1730, "is from"},
    {8, 0, 1740, "You, the last Warden"},
};

}  // namespace

void TForm1::DecidePOS(int anchor, int x, int y) { CreditAnchors[size_t(anchor)] = {x, y}; }

void TForm1::GetPOS(int line, int x, int y) {
    CreditLines[size_t(line)].X = x;
    CreditLines[size_t(line)].Y = y;
}

void TForm1::GetIMPACT(int line, int style) {
    if (style < 0 || style > 2) return;
    std::memcpy(CreditLines[size_t(line)].FadeLength, kFadeStyles[style], sizeof kFadeStyles[style]);
}

void TForm1::GetSTART(int line, int frame) { CreditLines[size_t(line)].StartFrame = frame; }

void TForm1::SetEnd() {
    for (int a = 0; a < 9; ++a) DecidePOS(a, kAnchors[a][0], kAnchors[a][1]);
    for (int i = 0; i < 24; ++i) {
        const CreditSpec& c = kCredits[i];
        GetPOS(i, CreditAnchors[size_t(c.anchor)].X, CreditAnchors[size_t(c.anchor)].Y);
        GetIMPACT(i, c.style);
        GetSTART(i, c.start);
        // Every text is shorter than its 40 bytes; copy no further than its end.
        std::strncpy(CreditLines[size_t(i)].Text, c.text, sizeof CreditLines[size_t(i)].Text - 1);
    }
}

void TForm1::ResetCreditItem(int line) {
    CreditLine& l = CreditLines[size_t(line)];
    l.Active = 0;
    l.Ticks = 0;
    l.FadeStep = 0;
}

void TForm1::CheckCreditStart(int line, int frame) {
    if (frame == CreditLines[size_t(line)].StartFrame) CreditLines[size_t(line)].Active = 1;
}

void TForm1::StepCreditItem(int line) {
    CreditLine& l = CreditLines[size_t(line)];
    if (!l.Active) return;
    if (++l.Ticks < l.FadeLength[l.FadeStep]) return;
    l.Ticks = 0;
    if (l.FadeStep == 8) {
        l.FadeStep = 0;
        l.Active = 0;
    } else {
        ++l.FadeStep;
    }
}

void TForm1::ToEnd() {
    for (int i = 0; i < int(CreditLines.size()); ++i) ResetCreditItem(i);
    StateFrames = 0;
    PlayMusic("Ending.mid");
}

void TForm1::EndingStage() {
    ++StateFrames;
    for (int i = 0; i < int(CreditLines.size()); ++i) {
        CheckCreditStart(i, StateFrames);
        StepCreditItem(i);
    }
    if (StateFrames >= kEndingFrames) {
        StageNo = 0;
        Winner = 0;
        GameState = kStateMainMenu;
        ToStart();
    }
}

void TForm1::Draw_End() {
    dw::DrawContext& dc = *BackDC;
    dc.SelectBrush(Brushes[0].get());
    dc.FillRect({0, 0, 800, 600}, *Brushes[0]);
    dc.SelectFont(Fonts[1].get());
    dc.SetTransparentBackground(true);
    for (const CreditLine& l : CreditLines) {
        if (!l.Active) continue;
        dc.SetTextColor(kFadeColours[std::clamp(l.FadeStep, 0, 8)]);
        dc.TextOut(l.X, l.Y, std::string_view(l.Text, strnlen(l.Text, sizeof l.Text)));
    }
}

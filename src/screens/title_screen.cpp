// The title picture and the words of the title, menus and start message.
#include "shell/form.h"

namespace {

constexpr dw::ColorRef kWhite = 0xFFFFFF;
constexpr dw::ColorRef kGrey = 0x808080;

struct MenuWord {
    const char* text;
    int x, y;
    int32_t value;  // the field value that makes this word white
};

struct Menu {
    dw::Rect band;
    const MenuWord* words;
    int count;
};

constexpr MenuWord kMainWords[] = {{"1Player?", 120, 290, 1},
                                   {"2Player?", 240, 290, 2},
                                   {"Survival Mode?", 350, 290, 3},
                                   {"Limit Mode?", 550, 290, 4}};
constexpr MenuWord kLevelWords[] = {{"EASY", 0, 40, 1}, {"NORMAL", 100, 40, 2}, {"HARD", 250, 40, 3}};
constexpr MenuWord kStartWords[] = {{"OK!! Have A Nice Fight!!", 280, 290, 0}};
constexpr MenuWord kLimitWords[] = {{"EASY", 400, 540, 0}, {"NORMAL", 500, 540, 1}, {"HARD", 650, 540, 2}};

}  // namespace

void TForm1::Draw_Start2() {
    dw::Surface* back = BackSurface();
    if (!back || !SheetSurface1) return;
    const dw::Rect whole{0, 0, dw::kScreenWidth, dw::kScreenHeight};
    dw::Blit(*back, whole, *SheetSurface1, whole, dw::kBlitKeySrc);
}

void TForm1::Draw_Start() {
    dw::DrawContext& dc = *BackDC;
    dc.SetTransparentBackground(true);
    dc.SetTextColor(kWhite);
    dc.SelectFont(Fonts[1].get());

    Menu menu{};
    int32_t chosen = 0;
    switch (GameState) {
    case kStateMainMenu:
        menu = {{0, 290, 800, 310}, kMainWords, 4};
        chosen = GameMode;
        break;
    case kStateLevelMenu:
        menu = {{0, 40, 350, 60}, kLevelWords, 3};
        chosen = CpuLevel;
        break;
    case kStateStartMessage:
        menu = {{0, 290, 800, 310}, kStartWords, 1};
        chosen = 0;
        break;
    case kStateLimitMenu:
        menu = {{300, 540, 800, 560}, kLimitWords, 3};
        chosen = LimitDifficulty;
        break;
    default: return;  // the title wait shows the picture alone
    }

    if (Brushes[0]) {
        dc.SelectBrush(Brushes[0].get());
        dc.FillRect(menu.band, *Brushes[0]);
    }
    // A field outside its menu's values highlights nothing, so no word is drawn at all.
    bool known = false;
    for (int i = 0; i < menu.count; ++i) known = known || menu.words[i].value == chosen;
    if (!known) return;
    for (int i = 0; i < menu.count; ++i) {
        const MenuWord& w = menu.words[i];
        dc.SetTextColor(w.value == chosen ? kWhite : kGrey);
        dc.TextOut(w.x, w.y, w.text);
    }
}

// The title, the menus and the start message (GameState 0..5), and the return to the title.
#include <algorithm>

#include "shell/form.h"

namespace {

// Frames the start message stands before the select screen.
constexpr int kStartMessageFrames = 60;

}  // namespace

void TForm1::StartStage() {
    const PlayerControls& now = Controls[0];
    const PlayerControls& before = PrevControls[0];
    const bool decide = now.Weapon[0] && !before.Weapon[0];
    const int move = now.Horizontal != before.Horizontal ? now.Horizontal : 0;

    // Moves a menu field within [lo, hi]; a field out of range comes back in at the edge.
    auto step = [&](int32_t& field, int32_t lo, int32_t hi) {
        if (move == 0) return;
        field = int32_t(std::clamp<int64_t>(int64_t(field) + move, lo, hi));
        PlayCursorSound();
    };
    auto enter = [&](int32_t state) {
        GameState = state;
        StateFrames = 0;
        PlayCursorSound();
    };

    switch (GameState) {
    case kStateTitle:
        if (decide) enter(kStateMainMenu);
        break;
    case kStateMainMenu:
        step(GameMode, 1, 4);
        if (decide) enter(GameMode == 1 ? kStateLevelMenu : GameMode == 4 ? kStateLimitMenu : kStateStartMessage);
        break;
    case kStateLevelMenu:
        step(CpuLevel, 1, 3);
        if (decide) enter(kStateStartMessage);
        break;
    case kStateLimitMenu:
        step(LimitDifficulty, 0, 2);
        LimitFrames = LimitBudget(LimitDifficulty);
        if (decide) enter(kStateStartMessage);
        break;
    case kStateStartMessage:
        if (++StateFrames >= kStartMessageFrames) ToSelect();
        break;
    default: break;
    }
}

void TForm1::ToStart() {
    if (!LoadScreenSheets("TITLE", nullptr) || !PlayVoice("S_BEGIN")) return;
    if (!PlayMusic("Start.mid")) return;
    StateFrames = 0;
    GameState = kStateTitle;
}

bool TForm1::LoadSheet(std::unique_ptr<dw::Surface>& sheet, const char* name) {
    sheet.reset();
    sheet = dw::LoadBitmapSurface(DirectDrawObj.get(), name);
    if (!sheet) return false;
    const uint32_t key = dw::ColorToPixel(DirectDrawObj.get(), sheet.get(), 0xFF00FF);
    if (key != 0xFFFFFFFF) sheet->SetColorKey(uint8_t(key));
    return true;
}

bool TForm1::LoadScreenSheets(const char* first, const char* second) {
    SheetSurface1.reset();
    SheetSurface2.reset();
    if (LoadSheet(SheetSurface1, first) && (!second || LoadSheet(SheetSurface2, second))) return true;
    ToError(4);
    return false;
}

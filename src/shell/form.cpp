// Start-up, shut-down and the key-down event of the game object.
#include "shell/form.h"

#include <SDL.h>

#include <ctime>

#include "platform/message_box.h"

namespace {

// Brushes by index (0x00BBGGRR); index 5 is the hollow brush.
constexpr dw::Brush kBrushes[7] = {
    {false, 0x000000}, {false, 0xB40000}, {false, 0x0000B4}, {false, 0x00D200},
    {false, 0xD200D2}, {true, 0x000000},  {false, 0xC8C8C8},
};

// Pens by index: width in pixels and colour.
constexpr dw::Pen kPens[11] = {
    {6, 0xFF0000}, {6, 0x0000FF}, {6, 0x00FF00}, {6, 0xFF00FF}, {6, 0x800000}, {6, 0x000080},
    {8, 0x00FF00}, {8, 0xFF00FF}, {1, 0xFF0000}, {1, 0x0000FF}, {1, 0x007800},
};

// The three menu fonts: one italic Mincho face at three sizes.
struct FontSize {
    int height, width, weight;
};
constexpr FontSize kFonts[3] = {{40, 40, 500}, {20, 12, 400}, {14, 8, 400}};
constexpr const char* kFontFace = "ＭＳ 明朝";

}  // namespace

TForm1::TForm1() = default;

TForm1::~TForm1() {
    // Leaving without Close (an exception, a test) still releases the platform objects,
    // but writes no options.
    BackDC.reset();
    if (SoundDevice) EndDirectSound();
}

void TForm1::FormShow() {
    DirectDrawObj = std::make_unique<dw::Display>();
    if (!DirectDrawObj->Open("Duskwarden")) {
        DirectDrawObj.reset();
        DisplayFailed = true;
        ToError(4);
        // Without a display no key can reach the game, so the player is told here.
        dw::ShowMessage(nullptr, "Error", "There is a Error In Drawing.");
        Close();
        return;
    }

    SoundDevice = std::make_unique<dw::SoundDevice>();
    if (!SoundDevice->Open()) SoundDevice.reset();  // no device: the game runs silent

    ResetFighter(P1Fighter);
    ResetFighter(P2Fighter);
    for (auto& group : Shots.Record)
        for (auto& row : group)
            for (ShotRecord& r : row) ResetShot(r);
    BuildDammyWeapon();
    BuildDefaultMotions();
    GameMode = 1;

    CreateDrawingTools();

    if (SoundDevice && !CreateSoundData("S_BEGIN", VoiceBuffer)) {
        Close();
        return;
    }
    CreateHitSounds();
    if (SoundDevice) CreateSoundData("S_SELECT", CursorBuffer);
    SetEnd();

    GameState = kStateTitle;
    StateFrames = 0;
    Randomize(uint32_t(std::time(nullptr)));
    Sticks.Open();

    if (!LoadSheet(SheetSurface1, "TITLE")) {
        Close();  // unlike a screen change, start-up ends the game
        return;
    }
    if (VoiceBuffer) VoiceBuffer->Play();
    if (!PlayMusic("Start.mid")) return;

    FillRoster();
    LoadOptions();
    ReadSurvivalTable();

    App.OnIdle([this] { AppIdle(); });
    App.OnKeyDown([this](dw::Key k) { FormKeyDown(k); });
    App.OnClose([this] { Close(); });
}

void TForm1::CreateDrawingTools() {
    for (size_t i = 0; i < Brushes.size(); ++i) Brushes[i] = std::make_unique<dw::Brush>(kBrushes[i]);
    for (size_t i = 0; i < Pens.size(); ++i) Pens[i] = std::make_unique<dw::Pen>(kPens[i]);
    for (size_t i = 0; i < Fonts.size(); ++i)
        Fonts[i] = dw::Font::Create(dw::FontSpec{kFonts[i].height, kFonts[i].width, kFonts[i].weight, true, kFontFace});
}

void TForm1::FormKeyDown(dw::Key key) {
    if (key == dw::Key::Escape) {
        Close();
        return;
    }
    if (key != dw::Key::F1 || closed_ || GameState == kStateError) return;
    if (GameMode != 3) {
        GameState = kStateMainMenu;
        ToStart();
    } else if (GameState == kStatePreFight) {
        EnterSurvivalScore();  // the counter runs on: the result ends when it reaches 200
    }
}

void TForm1::Close() {
    if (closed_) return;
    closed_ = true;
    FormClose();
    App.Terminate();
}

void TForm1::FormClose() {
    BackDC.reset();
    for (auto& f : Fonts) f.reset();
    for (auto& p : Pens) p.reset();
    for (auto& b : Brushes) b.reset();
    SheetSurface1.reset();
    SheetSurface2.reset();
    for (auto& s : P1Sheets) s.reset();
    for (auto& s : P2Sheets) s.reset();
    EndDirectSound();  // the music goes with the sound device
    if (DirectDrawObj) DirectDrawObj->Close();
    DirectDrawObj.reset();
    Sticks.Close();
    SaveOptions();
}

void TForm1::ToError(int code) {
    // The error screen shows no pictures: those of the screen that failed go.
    SheetSurface1.reset();
    SheetSurface2.reset();
    ErrorCode = code;
    GameState = kStateError;
}

int TForm1::Random() {
    RandomState = RandomState * 22695477u + 1u;
    return int((RandomState >> 16) & 0x7FFF);
}

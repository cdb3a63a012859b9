// The game shell: options file, menus, title and error screens, start-up and close.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "platform/message_box.h"
#include "platform/resources.h"
#include "shell/form.h"
#include "shell/little_endian.h"
#include "shell/options.h"
#include "test_support.h"

namespace fs = std::filesystem;
using testing_support::CountIndex;
using testing_support::TempDir;
using testing_support::GameRig;
using testing_support::PushKey;
using testing_support::Tap;

namespace {

std::vector<uint8_t> OptionBytes(std::initializer_list<int32_t> fields) {
    std::vector<uint8_t> v(fields.size() * 4);
    size_t i = 0;
    for (int32_t f : fields) WriteLe32(v.data() + 4 * i++, f);
    return v;
}

bool Same(const OptionRecord& a, const OptionRecord& b) {
    return a.FrameWait == b.FrameWait && a.CpuLevel == b.CpuLevel && a.GameMode == b.GameMode &&
           a.LimitDifficulty == b.LimitDifficulty;
}

// A palette with black, white and the menu grey at fixed places.
dw::ColorTable MenuPalette() {
    dw::ColorTable t{};
    for (auto& e : t) e = {20, 120, 40};
    t[0] = {0, 0, 0};
    t[1] = {255, 255, 255};
    t[2] = {128, 128, 128};
    t[3] = {255, 0, 255};
    return t;
}

constexpr uint8_t kBlack = 0, kWhite = 1, kGrey = 2, kGround = 4;

// A form with its drawing tools but no display: screens draw into a surface of ours.
struct ScreenRig {
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    std::unique_ptr<dw::Surface> back = dw::Surface::Create(800, 600);
    dw::ColorTable palette = MenuPalette();

    ScreenRig() {
        form->CreateDrawingTools();
        back->Fill(kGround);
    }
    void Draw(void (TForm1::*draw)()) {
        form->BackDC.emplace(*back, palette);
        (form.get()->*draw)();
        form->BackDC.reset();
    }
};

}  // namespace

TEST(Options, DamagedFilesFallBackFieldByField) {
    const OptionRecord def;
    EXPECT_TRUE(Same(ParseOptions({}), def));
    // A short file keeps the fields it has.
    auto shortFile = OptionBytes({40, 3});
    OptionRecord o = ParseOptions(shortFile);
    EXPECT_EQ(o.FrameWait, 40);
    EXPECT_EQ(o.CpuLevel, 3);
    EXPECT_EQ(o.GameMode, def.GameMode);
    EXPECT_EQ(o.LimitDifficulty, def.LimitDifficulty);
    // Each field out of range on either side takes its default, the others stay.
    const int32_t good[4] = {100, 2, 4, 2};
    const int32_t bad[4][2] = {{-1, 101}, {0, 4}, {0, 5}, {-1, 3}};
    for (int f = 0; f < 4; ++f) {
        for (int32_t b : {bad[f][0], bad[f][1], INT32_MIN, INT32_MAX}) {
            int32_t v[4] = {good[0], good[1], good[2], good[3]};
            v[f] = b;
            auto bytes = OptionBytes({v[0], v[1], v[2], v[3]});
            OptionRecord r = ParseOptions(bytes);
            const int32_t got[4] = {r.FrameWait, r.CpuLevel, r.GameMode, r.LimitDifficulty};
            const int32_t want[4] = {def.FrameWait, def.CpuLevel, def.GameMode, def.LimitDifficulty};
            for (int g = 0; g < 4; ++g) EXPECT_EQ(got[g], g == f ? want[g] : good[g]) << f << " " << b;
        }
    }
}

TEST(Options, FileRoundTripAndFailures) {
    TempDir dir;
    const std::string path = (dir.Path() / "opt.ez").string();
    EXPECT_TRUE(Same(ReadOptionsFile(path), OptionRecord{}));  // missing
    const OptionRecord o{7, 3, 4, 2};
    ASSERT_TRUE(WriteOptionsFile(path, o));
    EXPECT_EQ(fs::file_size(path), 16u);
    EXPECT_TRUE(Same(ReadOptionsFile(path), o));
    std::ifstream in(path, std::ios::binary);
    std::vector<char> raw((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(raw[0], 7);   // little-endian, FrameWait first
    EXPECT_EQ(raw[12], 2);  // LimitDifficulty last
    // A directory in the file's place, or a directory that cannot be written.
    fs::create_directory(dir.Path() / "d");
    EXPECT_TRUE(Same(ReadOptionsFile((dir.Path() / "d").string()), OptionRecord{}));
    if (getuid() != 0) {
        fs::permissions(dir.Path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(WriteOptionsFile(path, o));
    }
}

TEST(Menus, WalkFromTitleToStartMessage) {
    auto owner = std::make_unique<TForm1>();
    TForm1& form = *owner;
    auto press = [&](dw::Key k) {
        form.Keys.Press(k, true);
        form.ControlHead();
        form.StartStage();
        form.Keys.Press(k, false);
        form.ControlHead();
        form.StartStage();
    };
    // Title -> main menu; a held button does not decide twice.
    form.Keys.Press(dw::Key::G, true);
    form.ControlHead();
    form.StartStage();
    EXPECT_EQ(form.GameState, kStateMainMenu);
    form.ControlHead();
    form.StartStage();
    EXPECT_EQ(form.GameState, kStateMainMenu);
    form.Keys.Press(dw::Key::G, false);

    press(dw::Key::A);  // already 1: stays at the edge
    EXPECT_EQ(form.GameMode, 1);
    for (int i = 0; i < 5; ++i) press(dw::Key::D);
    EXPECT_EQ(form.GameMode, 4);
    press(dw::Key::G);
    EXPECT_EQ(form.GameState, kStateLimitMenu);
    press(dw::Key::D);
    press(dw::Key::D);
    press(dw::Key::D);
    EXPECT_EQ(form.LimitDifficulty, 2);
    EXPECT_EQ(form.LimitFrames, 5000);
    press(dw::Key::A);
    EXPECT_EQ(form.LimitFrames, 7500);
    press(dw::Key::G);
    EXPECT_EQ(form.GameState, kStateStartMessage);
    EXPECT_EQ(form.StateFrames, 1);  // the release frame already counts

    // One player goes through the level menu; two players and Survival straight on.
    for (int mode : {1, 2, 3}) {
        form.GameState = kStateMainMenu;
        form.GameMode = mode;
        press(dw::Key::G);
        EXPECT_EQ(form.GameState, mode == 1 ? kStateLevelMenu : kStateStartMessage);
    }
    form.GameState = kStateLevelMenu;
    form.CpuLevel = 1;
    press(dw::Key::D);
    press(dw::Key::D);
    press(dw::Key::D);
    EXPECT_EQ(form.CpuLevel, 3);
    press(dw::Key::G);
    EXPECT_EQ(form.GameState, kStateStartMessage);

    // A field that came in out of range is brought back by the first move.
    form.GameState = kStateMainMenu;
    form.GameMode = 9;
    press(dw::Key::A);
    EXPECT_EQ(form.GameMode, 4);
}

TEST(Menus, ControlsFromBothPlayersKeys) {
    auto owner = std::make_unique<TForm1>();
    TForm1& form = *owner;
    form.Keys.Press(dw::Key::Left, true);
    form.Keys.Press(dw::Key::Pad5, true);
    form.Keys.Press(dw::Key::PadAdd, true);
    form.Keys.Press(dw::Key::W, true);
    form.Keys.Press(dw::Key::S, true);  // up and down together cancel
    form.Keys.Press(dw::Key::B, true);
    form.ControlHead();
    EXPECT_EQ(form.Controls[1].Horizontal, -1);
    EXPECT_EQ(form.Controls[1].Action, 10);  // dash and weapon 4
    EXPECT_EQ(form.Controls[0].Vertical, 0);
    EXPECT_EQ(form.Controls[0].Action, 5);  // guard
}

TEST(TitleScreen, MenuWordsAndBands) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    // Main menu with "2Player?" chosen: the band is cleared, the chosen word is white.
    f.GameState = kStateMainMenu;
    f.GameMode = 2;
    rig.Draw(&TForm1::Draw_Start);
    EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 290}, kGround), 800 * 290);
    EXPECT_EQ(CountIndex(*rig.back, {0, 310, 800, 600}, kGround), 800 * 290);
    EXPECT_GT(CountIndex(*rig.back, {240, 290, 340, 310}, kWhite), 20);
    EXPECT_EQ(CountIndex(*rig.back, {120, 290, 230, 310}, kWhite), 0);
    EXPECT_GT(CountIndex(*rig.back, {120, 290, 230, 310}, kGrey), 20);
    EXPECT_GT(CountIndex(*rig.back, {550, 290, 700, 310}, kGrey), 20);
    EXPECT_EQ(CountIndex(*rig.back, {0, 290, 800, 310}, kGround), 0);

    // Out-of-range fields: the band is cleared and no word drawn.
    struct Case {
        int32_t state;
        dw::Rect band;
        int32_t TForm1::*field;
        int32_t value;
    };
    const Case cases[] = {{kStateMainMenu, {0, 290, 800, 310}, &TForm1::GameMode, 0},
                          {kStateMainMenu, {0, 290, 800, 310}, &TForm1::GameMode, 5},
                          {kStateLevelMenu, {0, 40, 350, 60}, &TForm1::CpuLevel, 4},
                          {kStateLimitMenu, {300, 540, 800, 560}, &TForm1::LimitDifficulty, -1},
                          {kStateLimitMenu, {300, 540, 800, 560}, &TForm1::LimitDifficulty, 3}};
    for (const Case& c : cases) {
        rig.back->Fill(kGround);
        f.GameState = c.state;
        f.*c.field = c.value;
        rig.Draw(&TForm1::Draw_Start);
        const int area = c.band.Width() * c.band.Height();
        EXPECT_EQ(CountIndex(*rig.back, c.band, kBlack), area) << c.state << " " << c.value;
        EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 600}, kGround), 800 * 600 - area);
    }

    // Title wait and the unused state 2 draw nothing over the picture.
    for (int32_t s : {0, 2}) {
        rig.back->Fill(kGround);
        f.GameState = s;
        rig.Draw(&TForm1::Draw_Start);
        EXPECT_EQ(CountIndex(*rig.back, {0, 0, 800, 600}, kGround), 800 * 600);
    }

    // The level menu stands top left, the Limit menu bottom right.
    rig.back->Fill(kGround);
    f.GameState = kStateLevelMenu;
    f.CpuLevel = 3;
    rig.Draw(&TForm1::Draw_Start);
    EXPECT_GT(CountIndex(*rig.back, {250, 40, 350, 60}, kWhite), 20);
    EXPECT_GT(CountIndex(*rig.back, {0, 40, 90, 60}, kGrey), 20);
}

TEST(ErrorScreen, EveryCodeNamesItsFailure) {
    ScreenRig rig;
    // The same lines drawn by hand are the reference picture for each code.
    auto reference = [&](const char* what, const char* code) {
        auto ref = dw::Surface::Create(800, 600);
        dw::DrawContext dc(*ref, rig.palette);
        dc.SelectFont(rig.form->Fonts[1].get());
        dc.SetTransparentBackground(true);
        dc.SetTextColor(0xFFFFFF);
        dc.TextOut(100, 200, what);
        dc.TextOut(10, 560, code);
        dc.TextOut(140, 220, "Sorry!Once You Should Stop the Game.");
        dc.TextOut(180, 240, "Please Press Escape Key(Esc)! And Try Again!");
        return ref;
    };
    struct Case {
        int32_t code;
        const char* what;
        const char* line;
    };
    const Case cases[] = {{1, "There is a Error In Loading Character Data1.", "ErrorCode #1."},
                          {2, "There is a Error In Loading Character Data2.", "ErrorCode #2."},
                          {3, "There is a Error In Sound.", "ErrorCode #3."},
                          {4, "There is a Error In Drawing.", "ErrorCode #4."},
                          {0, "There is a Unknown Error.", "ErrorCode #5."},
                          {5, "There is a Unknown Error.", "ErrorCode #5."},
                          {-7, "There is a Unknown Error.", "ErrorCode #5."}};
    for (const Case& c : cases) {
        rig.back->Fill(kGround);
        rig.form->ErrorCode = c.code;
        rig.Draw(&TForm1::Draw_Error);
        auto ref = reference(c.what, c.line);
        EXPECT_EQ(0, std::memcmp(ref->Pixels(), rig.back->Pixels(), 800 * 600)) << c.code;
        EXPECT_GT(CountIndex(*rig.back, {10, 560, 200, 580}, kWhite), 30);
    }
}

TEST(Shell, StartsClosesTwiceAndKeepsOptions) {
    GameRig rig;
    TForm1& f = *rig.form;
    // Options from an earlier run are read at start-up.
    ASSERT_TRUE(WriteOptionsFile(rig.dir.Str() + "/opt.ez", OptionRecord{3, 2, 3, 1}));
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    EXPECT_EQ(f.GameState, kStateTitle);
    EXPECT_EQ(f.GameMode, 3);
    EXPECT_EQ(f.LimitFrames, 7500);
    ASSERT_NE(f.SheetSurface1, nullptr);
    EXPECT_EQ(f.SheetSurface1->Width(), 800);
    EXPECT_TRUE(f.SheetSurface1->ColorKey().has_value());
    EXPECT_EQ(f.DirectDrawObj->Palette(), f.SheetSurface1->Colors());  // the title's palette is the screen's

    f.AppIdle();
    f.FrameWait = 9;
    f.Close();
    f.Close();
    EXPECT_TRUE(f.Closed());
    EXPECT_EQ(f.DirectDrawObj, nullptr);
    EXPECT_EQ(f.SoundDevice, nullptr);
    EXPECT_EQ(f.Fonts[1], nullptr);
    f.AppIdle();  // a frame after the close does nothing
    EXPECT_EQ(ReadOptionsFile(rig.dir.Str() + "/opt.ez").FrameWait, 9);
}

TEST(Shell, StartUpMakesItsSoundsAndPicturesInOrder) {
    GameRig rig;
    std::vector<std::string> seen;
    dw::SetResourceObserver([&](dw::ResourceKind, std::string_view name) { seen.emplace_back(name); });
    rig.form->FormShow();
    dw::SetResourceObserver({});
    // The start voice, the hit sounds and the cursor sound, then the title picture.
    const std::vector<std::string> expected = {"S_BEGIN", "HITTED1", "HITTED2", "HITTED3", "HITTED4", "S_SELECT", "TITLE"};
    EXPECT_EQ(seen, expected);
    EXPECT_TRUE(rig.form->VoiceBuffer != nullptr);
    for (const auto& b : rig.form->HitDuplicates) EXPECT_NE(b, nullptr);
}

TEST(Shell, SilentWithoutSoundDevice) {
    testing_support::ScopedEnv env("SDL_AUDIODRIVER", "no-such-driver");
    GameRig rig;
    rig.form->FormShow();
    EXPECT_FALSE(rig.form->Closed());
    EXPECT_EQ(rig.form->SoundDevice, nullptr);
    EXPECT_EQ(rig.form->VoiceBuffer, nullptr);
    EXPECT_EQ(rig.form->CreateSoundData("BEAM", rig.form->P1ShotSounds[0]), 0);
    rig.form->HitSound1("HITTED1");
    rig.form->AppIdle();
    EXPECT_EQ(rig.form->GameState, kStateTitle);
}

TEST(Shell, BrokenWaveNamesTheStepAndTheGameGoesOn) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_NE(f.SoundDevice, nullptr);
    std::vector<std::string> messages;
    dw::SetMessageSink([&](const std::string& caption, const std::string& text) {
        messages.push_back(caption + "|" + text);
    });
    // A good file, then one broken at each of the seven read steps.
    const auto good = dw::FindResource(dw::ResourceKind::Wave, "HITTED1");
    std::vector<uint8_t> base(good.begin(), good.end());
    std::vector<std::vector<uint8_t>> broken(7);
    broken[1] = {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    broken[2] = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'W', 'A', 'V', 'E'};
    broken[3] = base;
    broken[3][20] = 9;  // not PCM
    broken[4] = base;
    WriteLe32(broken[4].data() + 16, 0x7FFF0000);  // the format chunk runs past the file
    broken[5] = std::vector<uint8_t>(base.begin(), base.begin() + 36);
    WriteLe32(broken[5].data() + 4, 28);
    broken[6] = base;
    WriteLe32(broken[6].data() + 40, 0x7FFFFFF0);  // more data than there is
    for (int step = 1; step <= 7; ++step) {
        messages.clear();
        if (!f.SoundDevice) {
            f.SoundDevice = std::make_unique<dw::SoundDevice>();
            ASSERT_TRUE(f.SoundDevice->Open());
        }
        // Step 1 is a sound that is not there at all.
        dw::OverrideResource(dw::ResourceKind::Wave, "HITTED1", broken[size_t(step - 1)]);
        std::unique_ptr<dw::SoundBuffer> buffer;
        const char* name = step == 1 ? "NO-SUCH-SOUND" : "HITTED1";
        EXPECT_EQ(f.CreateSoundData(name, buffer), 0) << step;
        EXPECT_EQ(buffer, nullptr);
        ASSERT_EQ(messages.size(), 1u) << step;
        EXPECT_NE(messages[0].find("Error|"), std::string::npos);
        EXPECT_NE(messages[0].find("step " + std::to_string(step)), std::string::npos) << messages[0];
        EXPECT_EQ(f.SoundDevice, nullptr);  // the whole device was released
        f.AppIdle();                        // and the game goes on, silent
        EXPECT_FALSE(f.Closed());
    }
    dw::OverrideResource(dw::ResourceKind::Wave, "HITTED1", {});
    dw::SetMessageSink({});
}

TEST(Shell, StepChangeIsDrawnInTheSameFrameAndF1ReturnsToTitle) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    PushKey(SDL_SCANCODE_G, true);
    f.App.Pump();
    EXPECT_EQ(f.GameState, kStateMainMenu);
    const dw::Surface& back = *f.BackSurface();
    const uint8_t black = dw::NearestIndex(f.DirectDrawObj->Palette(), 0x000000);
    const uint8_t white = dw::NearestIndex(f.DirectDrawObj->Palette(), 0xFFFFFF);
    EXPECT_GT(CountIndex(back, {0, 290, 800, 310}, black), 800 * 20 / 2);
    EXPECT_GT(CountIndex(back, {120, 290, 230, 310}, white), 20);
    PushKey(SDL_SCANCODE_G, false);
    f.App.Pump();

    PushKey(SDL_SCANCODE_F1, true);
    f.App.Pump();
    EXPECT_EQ(f.GameState, kStateTitle);
    PushKey(SDL_SCANCODE_F1, false);

    // F1 does nothing on the error screen; Esc leaves it.
    f.ToError(3);
    PushKey(SDL_SCANCODE_F1, true);
    f.App.Pump();
    EXPECT_EQ(f.GameState, kStateError);
    PushKey(SDL_SCANCODE_ESCAPE, true);
    f.App.Pump();
    EXPECT_TRUE(f.Closed());
    EXPECT_FALSE(f.App.Running());
}

TEST(EndToEnd, ChooseLimitHardThenQuit) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.App.Pump();
    Tap(f, SDL_SCANCODE_G);  // title -> main menu
    for (int i = 0; i < 3; ++i) Tap(f, SDL_SCANCODE_D);
    EXPECT_EQ(f.GameMode, 4);
    if (const char* out = std::getenv("DW_SCREENSHOT_DIR")) {
        f.GameMode = 1;
        f.App.Pump();
        testing_support::DumpBmp(*f.BackSurface(), f.DirectDrawObj->Palette(),
                                 std::string(out) + "/main_menu.bmp");
        f.GameMode = 4;
    }
    Tap(f, SDL_SCANCODE_G);  // -> Limit menu
    EXPECT_EQ(f.GameState, kStateLimitMenu);
    Tap(f, SDL_SCANCODE_D);
    Tap(f, SDL_SCANCODE_D);
    Tap(f, SDL_SCANCODE_G);  // HARD
    EXPECT_EQ(f.GameState, kStateStartMessage);
    EXPECT_EQ(f.LimitFrames, 5000);
    PushKey(SDL_SCANCODE_ESCAPE, true);
    f.App.Run();  // handles the Esc and ends
    EXPECT_TRUE(f.Closed());
    const OptionRecord saved = ReadOptionsFile(rig.dir.Str() + "/opt.ez");
    EXPECT_EQ(saved.GameMode, 4);
    EXPECT_EQ(saved.LimitDifficulty, 2);
}

TEST(EndToEnd, TwoPlayersThroughSelectToPreFight) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    ASSERT_FALSE(f.Closed());
    f.FrameWait = 0;
    Tap(f, SDL_SCANCODE_G);
    Tap(f, SDL_SCANCODE_D);
    Tap(f, SDL_SCANCODE_G);  // two players: straight to the start message
    EXPECT_EQ(f.GameState, kStateStartMessage);
    for (int i = 0; i < 70 && f.GameState != kStateSelect; ++i) f.App.Pump();
    ASSERT_EQ(f.GameState, kStateSelect);
    EXPECT_EQ(f.SheetSurface1->Width(), 750);  // "MARKS"
    EXPECT_EQ(f.SheetSurface2->Width(), 750);  // "MARKS2"

    Tap(f, SDL_SCANCODE_S);
    Tap(f, SDL_SCANCODE_S);
    Tap(f, SDL_SCANCODE_D);
    Tap(f, SDL_SCANCODE_DOWN);
    Tap(f, SDL_SCANCODE_DOWN);
    Tap(f, SDL_SCANCODE_DOWN);
    Tap(f, SDL_SCANCODE_V);
    Tap(f, SDL_SCANCODE_V);
    EXPECT_EQ(f.P1RobotId, 13);
    EXPECT_EQ(f.P2RobotId, 4);
    EXPECT_EQ(f.FrameWait, 2);
    Tap(f, SDL_SCANCODE_B);
    EXPECT_EQ(f.FrameWait, 1);
    // The robot pictures lie over the text layer: a cell's pixels from "MARKS2" show up.
    const dw::Surface& back = *f.BackSurface();
    int pictured = 0;
    for (int y = 40; y < 170; ++y)
        for (int x = 360; x < 490; ++x) pictured += back.Get(x, y) != dw::NearestIndex(f.DirectDrawObj->Palette(), 0);
    EXPECT_GT(pictured, 1000);
    if (const char* out = std::getenv("DW_SCREENSHOT_DIR"))
        testing_support::DumpBmp(back, f.DirectDrawObj->Palette(), std::string(out) + "/select.bmp");

    Tap(f, SDL_SCANCODE_G);
    Tap(f, SDL_SCANCODE_KP_1);
    for (int i = 0; i < 20 && f.GameState == kStateSelect; ++i) f.App.Pump();
    EXPECT_EQ(f.GameState, kStatePreFight);
    EXPECT_EQ(f.P1RobotId, 13);
    EXPECT_EQ(f.P2RobotId, 4);
    if (const char* out = std::getenv("DW_SCREENSHOT_DIR"))
        testing_support::DumpBmp(back, f.DirectDrawObj->Palette(), std::string(out) + "/prefight.bmp");
    // After its 240 frames the pre-fight screen gives way to the fight.
    for (int i = 0; i < 260 && f.GameState == kStatePreFight; ++i) f.App.Pump();
    EXPECT_NE(f.GameState, kStatePreFight);
}

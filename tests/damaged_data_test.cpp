// Damaged or missing game data at run time: the game ends or goes on as it should, and
// never crashes. (Game files that cannot be written: the options and best-table tests.)
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/resources.h"
#include "shell/form.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace testing_support;

// A music file or view sheet missing or cut short ends the game where it is needed, without
// an error screen; with no sound device the music is not missed.
TEST(DamagedData, MissingOrCorruptGameFilesEndTheGame) {
    enum When { StartUp, ToSelect, ToFight };
    // keep: the bytes kept before some garbage; -1: the file is removed
    const struct {
        const char* file;
        int keep;
        When when;
        bool audio = true, closes = true;
    } cases[] = {
        {"p_D2E/st_bs.bmp", -1, ToFight}, {"p_D2E/st_bs.bmp", 60, ToFight},  // cut inside the colour table
        {"Start.mid", 10, StartUp},       {"Select.mid", -1, ToSelect},     {"Start.mid", -1, StartUp, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.file << " keeping " << c.keep);
        std::optional<ScopedEnv> env;
        if (!c.audio) env.emplace("SDL_AUDIODRIVER", "no-such-driver");
        GameRig rig;
        TForm1& f = *rig.form;
        const fs::path file = rig.dir.Path() / c.file;
        if (c.when == ToFight) {  // a real copy of the linked robot directory, to damage
            const fs::path robot = file.parent_path(), from = fs::read_symlink(robot);
            fs::remove(robot), fs::copy(from, robot);
        }
        std::vector<uint8_t> bytes = ReadAll(file);
        bytes.resize(size_t(std::max(c.keep, 0)));
        bytes.insert(bytes.end(), {'g', 'a', 'r', 'b', 'a', 'g', 'e'});
        if (c.keep < 0)
            fs::remove(file);
        else
            WriteAll(file, bytes);
        f.FormShow();
        ASSERT_TRUE(c.when == StartUp || !f.Closed());
        if (c.when == ToSelect) {
            f.GameState = kStateStartMessage, f.StateFrames = 100;
            f.App.Pump();
        } else if (c.when == ToFight) {
            f.GameMode = 2, f.P1RobotId = f.P2RobotId = 14;
            f.ToBefore();
            EXPECT_NE(f.GameState, kStatePreFight);  // no fight starts
            for (const auto& sheet : f.P1Sheets) EXPECT_EQ(sheet, nullptr);
        }
        EXPECT_TRUE(f.Closed() == c.closes && f.ErrorCode == 0);
        f.AppIdle();  // the frame after does nothing
    }
}

// A built-in picture or sound replaced by the head of its own bytes: in a screen change the
// game releases the screen's pictures and shows the error screen (4 drawing, 3 sound) until
// Esc; at start-up and at the end of a fight it closes.
TEST(DamagedData, BrokenPictureOrVoiceOfAScreenChangeShowsTheErrorScreen) {
    enum When { StartUp, F1, Select, Fight, KnockOut };
    using K = dw::ResourceKind;
    const struct {
        K kind;
        const char* name;
        When when;
        int code; /* 0: the game closes */
    } cases[] = {
        {K::Bitmap, "MARKS", Select, 4},    {K::Bitmap, "MARKS2", Select, 4}, {K::Bitmap, "SABAKU", Fight, 4},
        {K::Bitmap, "WEAPON", Fight, 4},    {K::Bitmap, "TITLE", F1, 4},      {K::Wave, "S_BEGIN", F1, 3},
        {K::Wave, "S_START", Fight, 3},     {K::Bitmap, "TITLE", StartUp, 0}, {K::Wave, "S_BEGIN", StartUp, 0},
        {K::Wave, "S_FINISH", KnockOut, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.name << " at stage " << c.when);
        const auto whole = dw::FindResource(c.kind, c.name);
        ASSERT_GT(whole.size(), 30u);
        auto damage = [&] { dw::OverrideResource(c.kind, c.name, whole.first(30)); };
        GameRig rig;
        TForm1& f = *rig.form;
        if (c.when == StartUp) damage();
        f.FormShow();
        if (c.when == F1) {
            damage();
            Tap(f, SDL_SCANCODE_F1);
        } else if (c.when == Select) {
            damage();
            ToSelectScreen(f, 2);
        } else if (c.when != StartUp) {
            f.GameMode = 2, f.P1RobotId = f.P2RobotId = 14;
            f.ToBefore();
            f.StateFrames = 240;  // the pre-fight screen's last frame
            if (c.when == Fight) damage();
            f.App.Pump();
            if (c.when == KnockOut) {
                ASSERT_EQ(f.GameState, kStateFightIntro);
                f.GameState = kStateFight, f.P2Fighter.Armour = 0;
                damage();
                f.App.Pump();
            }
        }
        dw::OverrideResource(c.kind, c.name, {});
        if (c.code == 0) {
            EXPECT_TRUE(f.Closed());
            continue;
        }
        // A failed voice took the sound device with it.
        EXPECT_TRUE(f.GameState == kStateError && f.ErrorCode == c.code && !f.SheetSurface1 && !f.SheetSurface2 &&
                    (f.SoundDevice == nullptr) == (c.code == 3));
        f.App.Pump();
        Tap(f, SDL_SCANCODE_F1);
        EXPECT_TRUE(f.GameState == kStateError && !f.Closed());
        Tap(f, SDL_SCANCODE_ESCAPE);
        EXPECT_TRUE(f.Closed());
    }
}

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

// A game file damaged before the start, or a built-in resource cut to its first 30 bytes just
// before the stage that needs it. A tune or a view sheet ends the game there, and so does a
// built-in picture or voice at start-up or at the end of a fight; in any other screen change
// the game releases the screen's pictures and shows the error screen (4 drawing, 3 sound)
// until Esc. With no sound device the music is not missed.
TEST(DamagedData, TheGameEndsOrShowsTheErrorScreenWhereTheDataIsNeeded) {
    enum When { StartUp, F1, Select, Fight, KnockOut };
    using K = dw::ResourceKind;
    const struct {
        const char* file = nullptr;
        int keep = 0;  // of the file, the bytes kept before some garbage; -1: removed
        const char* resource = nullptr;
        K kind = K::Bitmap;
        When when;
        int code;  // of the error screen; 0: the game closes; -1: it goes on
        bool audio = true;
    } cases[] = {
        {.file = "p_D2E/st_bs.bmp", .keep = 60, .when = Fight, .code = 0},  // cut inside the colour table
        {.file = "Select.mid", .keep = -1, .when = Select, .code = 0},
        {.file = "Start.mid", .keep = -1, .when = StartUp, .code = -1, .audio = false},
        {.resource = "MARKS", .when = Select, .code = 4},
        {.resource = "WEAPON", .when = Fight, .code = 4},
        {.resource = "TITLE", .when = F1, .code = 4},
        {.resource = "S_BEGIN", .kind = K::Wave, .when = F1, .code = 3},
        {.resource = "S_START", .kind = K::Wave, .when = Fight, .code = 3},
        {.resource = "TITLE", .when = StartUp, .code = 0},
        {.resource = "S_BEGIN", .kind = K::Wave, .when = StartUp, .code = 0},
        {.resource = "S_FINISH", .kind = K::Wave, .when = KnockOut, .code = 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << (c.file ? c.file : c.resource) << " at stage " << c.when);
        std::optional<ScopedEnv> env;
        if (!c.audio) env.emplace("SDL_AUDIODRIVER", "no-such-driver");
        GameRig rig;
        TForm1& f = *rig.form;
        if (c.file != nullptr) {
            const fs::path file = rig.dir.Path() / c.file;
            if (c.when == Fight) {  // a real copy of the linked robot directory, to damage
                const fs::path from = fs::read_symlink(file.parent_path());
                fs::remove(file.parent_path());
                fs::copy(from, file.parent_path());
            }
            std::vector<uint8_t> bytes = ReadAll(file);
            bytes.resize(size_t(std::max(c.keep, 0)));
            bytes.insert(bytes.end(), {'g', 'a', 'r', 'b', 'a', 'g', 'e'});
            if (c.keep < 0)
                fs::remove(file);
            else
                WriteAll(file, bytes);
        }
        const auto whole = dw::FindResource(c.kind, c.resource != nullptr ? c.resource : "");
        auto damage = [&](When when) {
            if (c.resource != nullptr && c.when == when) dw::OverrideResource(c.kind, c.resource, whole.first(30));
        };
        damage(StartUp);
        f.FormShow();
        if (c.when == F1) {
            damage(F1);
            Tap(f, SDL_SCANCODE_F1);
        } else if (c.when == Select) {
            damage(Select);
            ToSelectScreen(f, 2);
        } else if (c.when >= Fight) {
            f.GameMode = 2;
            f.P1RobotId = 14;
            f.P2RobotId = 14;
            f.ToBefore();
            f.StateFrames = 240;  // the pre-fight screen's last frame
            damage(Fight);
            f.App.Pump();
            if (c.when == KnockOut) {
                ASSERT_EQ(f.GameState, kStateFightIntro);
                f.GameState = kStateFight;
                f.P2Fighter.Armour = 0;
                damage(KnockOut);
                f.App.Pump();
            }
        }
        if (c.resource != nullptr) dw::OverrideResource(c.kind, c.resource, {});
        if (c.code <= 0) {
            EXPECT_EQ(f.Closed(), c.code == 0);
            EXPECT_EQ(f.ErrorCode, 0);
            continue;
        }
        EXPECT_EQ(f.GameState, kStateError);
        EXPECT_EQ(f.ErrorCode, c.code);
        EXPECT_EQ(f.SheetSurface1, nullptr);
        EXPECT_EQ(f.SoundDevice == nullptr, c.code == 3);  // a failed voice took the sound device with it
        f.App.Pump();
        Tap(f, SDL_SCANCODE_F1);
        EXPECT_EQ(f.GameState, kStateError);
        EXPECT_FALSE(f.Closed());
        Tap(f, SDL_SCANCODE_ESCAPE);
        EXPECT_TRUE(f.Closed());
    }
}

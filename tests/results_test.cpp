// Best-table files, the result screen, the credits roll, and whole runs through the frame
// loop: Survival, and the one-player ladder with each screen's tune.
#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "robots/loading.h"
#include "shell/form.h"
#include "shell/little_endian.h"
#include "test_support.h"

namespace fs = std::filesystem;
using namespace testing_support;

namespace {

// A file's little-endian int32 fields.
std::vector<int32_t> Fields(const fs::path& path) {
    const std::vector<uint8_t> b = ReadAll(path);
    std::vector<int32_t> fields;
    EXPECT_EQ(b.size() % 4, 0u) << path << " ends inside a field";
    for (size_t i = 0; i + 4 <= b.size(); i += 4) fields.push_back(ReadLe32(b.data() + i));
    return fields;
}

// A file image with one byte changed.
std::vector<uint8_t> Flip(std::vector<uint8_t> bytes, size_t at) {
    bytes[at] ^= 0x10;
    return bytes;
}

// A form that keeps its best tables in a temporary directory.
struct FileRig {
    TempDir dir;
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    TForm1& f = *form;
    FileRig() { f.DataDir = dir.Str(); }
    fs::path File(bool limit) const { return dir.Path() / (limit ? "score2.zor" : "score.zor"); }
    void Survival(int32_t score, int32_t robot) {
        f.SurvivalScore = score;
        f.P1RobotId = robot;
        f.EnterSurvivalScore();
    }
    void Limit(int32_t difficulty, int32_t rest, int32_t robot) {
        f.LimitDifficulty = difficulty;
        f.LimitFrames = 10000;
        f.LimitElapsed = 10000 - rest;
        f.P1RobotId = robot;
        f.LimitData();
    }
};

// Runs only the last frames of a screen that ends on its counter (the counts are checked
// elsewhere).
void Finish(TForm1& f, int32_t state, int32_t counter) {
    if (f.GameState == state) f.StateFrames = counter;
    FramesWhile(f, state, 20);
}

// From the title into the pre-fight screen of a run, the robot chosen by the keys.
void StartRun(TForm1& f, int mode, const char* keys) {
    ToSelectScreen(f, mode);
    Play(f, keys);
    FramesWhile(f, kStateSelect, 30);
}

void IntoFight(TForm1& f) {
    Finish(f, kStatePreFight, 236);
    Finish(f, kStateFightIntro, 85);
    ASSERT_EQ(f.GameState, kStateFight);
}

// The fight ends the next frame; the fight-over screen runs to its end.
void KnockOut(TForm1& f, FighterState& loser) {
    loser.Armour = 0;
    FramesWhile(f, kStateFight, 5);
    Finish(f, kStateFightOver, 145);
}

// Hand-made tables whose checks hold. Survival values 10000, 1000, 100, 10, 1 of robots 1..5:
// c1 = 10000 + 2·1000 + 3·100 + 4·10 + 5·1 = 12345, c2 = 10000 − 1000 + 100 − 10 + 1 + 1 = 9092,
// c3 = 12345 mod 9092 = 3253.
const std::vector<uint8_t> kSurvivalFile = Words({10000, 1, 1000, 2, 100, 3, 10, 4, 1, 5, 12345, 0, 9092, 0, 3253, 0});
// Limit, checked over V(0,0) = 10000, V(1,1) = 1000, V(2,2) = 100, V(1,3) = 10 and V(0,4) = 1:
// c1 = 12345, c2 = 10000 − 1000 + 100 − 10 + 1 = 9091, c3 = c1 + c2 = 21436. V(2,0) is not checked.
const std::vector<uint8_t> kLimitFile = Words({
    10000, 1, 0,    0, 0,   0, 0,  0, 1, 2, 12345, 0, 9091, 0, 21436, 0,  // easy: V(0,0), V(0,4), the checks
    0,     0, 1000, 3, 0,   0, 10, 4, 0, 0, 0,     0, 0,    0, 0,     0,  // normal: V(1,1), V(1,3)
    7,     6, 0,    0, 100, 5, 0,  0, 0, 0, 0,     0, 0,    0, 0,     0,  // hard: V(2,0), V(2,2)
});

}  // namespace

TEST(BestTables, EntriesComeInOrderAndTheFilesCarryTheirChecks) {
    FileRig rig;
    // The k-th score made by robot k.
    const int32_t scores[] = {5, 9, 5, -2, 6, 7, 8, 1, 5};
    for (int32_t k = 1; k <= 9; ++k) rig.Survival(scores[k - 1], k);
    EXPECT_EQ(rig.f.ScoreFileError, 0);
    // The five best, largest first, an equal value below the older one; c1 = 9 + 2·8 + 3·7 +
    // 4·6 + 5·5 = 95, c2 = 9 − 8 + 7 − 6 + 5 + 1 = 8, c3 = 95 mod 8 = 7.
    EXPECT_EQ(Fields(rig.File(false)), (std::vector<int32_t>{9, 2, 8, 7, 7, 6, 6, 5, 5, 1, 95, 0, 8, 0, 7, 0}));
    // A Limit result is the rest of the budget, in its difficulty's row; c1 = c2 = V(0,0) = 100.
    rig.Limit(0, 100, 1);
    rig.Limit(2, 40, 7);
    rig.Limit(2, 70, 5);
    EXPECT_EQ(rig.f.ScoreFileError, 0);
    EXPECT_EQ(Fields(rig.File(true)), (std::vector<int32_t>{
                                          100, 1, 0,  0, 0, 0, 0, 0, 0, 0, 100, 0, 100, 0, 200, 0,  // easy
                                          0,   0, 0,  0, 0, 0, 0, 0, 0, 0, 0,   0, 0,   0, 0,   0,  // normal
                                          70,  5, 40, 7, 0, 0, 0, 0, 0, 0, 0,   0, 0,   0, 0,   0,  // hard
                                      }));
}

// A table whose checks fail reads empty and the player is told; a table whose checks hold,
// however odd, reads as it is.
TEST(BestTables, ADamagedTableStartsAfreshAndThePlayerIsTold) {
    // Values 0, 0, 0, 0, −1: c1 = 5·(−1) = −5 and c2 = −1 + 1 = 0, which makes c3 0, not a
    // remainder. Values INT_MIN, INT_MIN + 4, 0, −2, 0: c1 = 3·INT_MIN + 8 − 8 wraps to
    // INT_MIN and c2 = −4 + 2 + 1 = −1, a remainder no machine computes; c3 is 0 there too.
    const auto c2Zero = Words({0, 9, 0, 0, 0, 0, 0, 0, -1, 0, -5, 0, 0, 0, 0, 0});
    const auto minByMinusOne = Words({INT_MIN, 8, INT_MIN + 4, 0, 0, 0, -2, 0, 0, 0, INT_MIN, 0, -1, 0, 0, 0});
    // robot: the first entry's robot read back, 0 for an empty table
    struct Case {
        bool limit;
        std::vector<uint8_t> file;
        int32_t robot, error;
    };
    const auto cases = std::to_array<Case>({
        {.limit = false, .file = Flip(kSurvivalFile, 57), .robot = 0, .error = 1},
        {.limit = false, .file = Flip(kSurvivalFile, 4), .robot = 1 ^ 0x10, .error = 0},  // robots are not checked
        {.limit = false, .file = std::vector<uint8_t>(64), .robot = 0, .error = 0},       // all zero: a new table
        {.limit = false, .file = c2Zero, .robot = 9, .error = 0},
        {.limit = false, .file = minByMinusOne, .robot = 8, .error = 0},
        {.limit = false, .file = Flip(minByMinusOne, 56), .robot = 0, .error = 1},
        {.limit = true, .file = Flip(kLimitFile, 88), .robot = 0, .error = 1},
        {.limit = true, .file = Flip(kLimitFile, 128), .robot = 1, .error = 0},  // V(2,0)
    });
    FileRig rig;
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << &c - cases.data());
        WriteAll(rig.File(c.limit), c.file);
        if (c.limit) {
            rig.Limit(1, 30, 5);
            EXPECT_EQ(rig.f.LimitTable[0][0].RobotTypeId, c.robot);
        } else {
            rig.f.ReadSurvivalTable();
            EXPECT_EQ(rig.f.SurvivalTable[0].RobotTypeId, c.robot);
            rig.Survival(0, 5);
        }
        EXPECT_EQ(rig.f.ScoreFileError, c.error);
    }
}

TEST(BestTables, FilesThatCannotBeWritten) {
    FileRig rig;
    rig.Limit(3, 100, 1);  // a difficulty outside 0..2 is never an index
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    EXPECT_FALSE(fs::exists(rig.File(true)));
    // A directory where the new table's temporary file goes, or where the table itself is
    // (the tests may run as root, who could write into a read-only directory).
    fs::create_directory(rig.File(false) += ".tmp");
    rig.Survival(5, 1);
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    EXPECT_EQ(rig.f.GameState, kStateSurvivalResult);
    fs::create_directory(rig.File(true));
    rig.f.ScoreFileError = 0;
    rig.Limit(0, 100, 1);
    EXPECT_EQ(rig.f.ScoreFileError, 1);
}

TEST(ResultScreens, ATableItsNamesAndTheFileError) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.LimitTable[2][1] = {4321, 14};
    f.GameState = kStateLimitResult;
    f.LimitDifficulty = 2;
    rig.Draw(&TForm1::Draw_Result);
    // A red band over rows 150..449, black around it; the title at (200, 160), the rows of
    // the table 50 pixels apart from (180, 200).
    EXPECT_EQ(rig.back->Get(0, 150), rig.Index(0x0000B4));
    EXPECT_EQ(rig.back->Get(0, 450), 0);
    EXPECT_TRUE(rig.Shows(200, 160, "Fast Player's Rest Time!!(HARD)", 0));
    EXPECT_TRUE(rig.Shows(180, 250, "Second Time :  4321", 0));
    // A difficulty outside 0..2, like a damaged table, shows the file error and no table.
    f.LimitDifficulty = 3;
    rig.Draw(&TForm1::Draw_Result);
    EXPECT_TRUE(rig.Shows(250, 210, "File Error(ファイルを初期化(すべて０にする。)します。)", 0));
    EXPECT_EQ(CountIndex(*rig.back, {0, 250, 800, 450}, 0), 0);
    // Each entry's robot named beside it, at (440, 220) for the first; "----" for an id that
    // names none.
    struct Name {
        int32_t id;
        const char* name;
    };
    const auto names = std::to_array<Name>({
        {.id = 1, .name = "DURARA D"},  // each robot with a name
        {.id = 2, .name = "DOREVO V"},
        {.id = 3, .name = "VUDUDIDIZU"},
        {.id = 4, .name = "DOZ"},
        {.id = 5, .name = "DARI ZEV"},
        {.id = 6, .name = "VIVERAZIV"},
        {.id = 11, .name = "DEZIVOR"},
        {.id = 12, .name = "ZO-RA"},
        {.id = 13, .name = "DIVIZ ODIR"},
        {.id = 14, .name = "D-2-E"},
        {.id = 15, .name = "DURADEREVOV"},
        {.id = 16, .name = "VIVERAZIV"},
        {.id = 0, .name = "----"},  // no robot
    });
    f.GameState = kStateSurvivalResult;
    f.ScoreFileError = 0;
    for (const auto& n : names) {
        f.SurvivalTable[0] = {1, n.id};
        rig.Draw(&TForm1::Draw_Result);
        EXPECT_TRUE(rig.Shows(440, 220, n.name, 0)) << n.id;
    }
}

TEST(Ending, CreditsFadeInAndOutThenTheTitle) {
    ScreenRig rig;
    TForm1& f = *rig.form;
    f.SetEnd();
    f.CreditLines[0].Active = 1;  // as a roll left off by F1
    f.GetIMPACT(0, 3);            // a fade style outside 0..2 leaves the line as it was
    f.GetIMPACT(0, -1);
    f.GameState = kStateEnding;
    f.ToEnd();
    // Lines at chosen frames at their anchors: dark grey (0x3F3F3F) on the first fade step,
    // white on the fifth. Steps last 20, 20, 25, 25, 40, ... frames (the first line, from
    // frame 50: white at 139), 15, 15, 20, 20, 30, ... (the fourth, from 530: white at 599)
    // or 5, 5, 10, 10, 30, 10, ... (the sixth, from 545: 0x7F7F7F at 615).
    const struct {
        int frame;
        int x, y;
        const char* text;
        dw::ColorRef colour;
    } shots[] = {
        {.frame = 50, .x = 300, .y = 300, .text = "Thanks for your FIGHT", .colour = 0x3F3F3F},
        {.frame = 139, .x = 300, .y = 300, .text = "Thanks for your FIGHT", .colour = 0xFFFFFF},
        {.frame = 615, .x = 550, .y = 150, .text = "Design", .colour = 0xFFFFFF},
        {.frame = 615, .x = 200, .y = 200, .text = "Emblem Workshop", .colour = 0x7F7F7F},
        {.frame = 1745, .x = 450, .y = 400, .text = "You, the last Warden", .colour = 0x3F3F3F},
    };
    const auto* shot = std::begin(shots);
    for (int frame = 1; frame < 2000; ++frame) {
        f.EndingStage();
        for (; shot != std::end(shots) && shot->frame == frame; ++shot) {
            rig.Draw(&TForm1::Draw_End);
            EXPECT_TRUE(rig.Shows(shot->x, shot->y, shot->text, shot->colour)) << "frame " << frame;
        }
    }
    EXPECT_EQ(f.GameState, kStateEnding);
    f.App.Pump();  // the frame after the last is the title's: a new run
    EXPECT_EQ(f.GameState, kStateTitle);
}

// Time running out in a Limit fight shows the time-over screen for its whole 300 frames.
TEST(Runs, ALimitFightOutOfTime) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    StartRun(f, 4, "g");
    IntoFight(f);
    f.LimitElapsed = f.LimitFrames - 2;
    FramesWhile(f, kStateFight, 5);
    ASSERT_EQ(f.GameState, kStateTimeOver);
    EXPECT_EQ(FramesWhile(f, kStateTimeOver, 400), 300);
}

TEST(Runs, TheSurvivalResultOnTimeAndLate) {
    GameRig rig;
    TForm1& f = *rig.form;
    f.FormShow();
    // A won Survival fight raises the score; the lost one enters it, and the result stands
    // 200 frames.
    StartRun(f, 3, "sg");
    IntoFight(f);
    KnockOut(f, f.P2Fighter);
    EXPECT_TRUE(OnScreen(f, 0, 550, "SURVIVAL MODE :SCORE IS 1 POINT!!", 0xFFFFFF));
    IntoFight(f);
    KnockOut(f, f.P1Fighter);
    ASSERT_EQ(f.GameState, kStateSurvivalResult);
    EXPECT_TRUE(OnScreen(f, 180, 200, "First Score  : SCORE 1", 0x000000));
    EXPECT_EQ(Fields(rig.dir.Path() / "score.zor").at(1), 2);  // the robot second on the list
    EXPECT_EQ(FramesWhile(f, kStateSurvivalResult, 300), 200);
    // F1 on the pre-fight screen enters the result on the counter as it stands: it still ends
    // when the counter reaches 200, after the 2 frames of the key and 48 more from 150, or at
    // once from 230.
    StartRun(f, 3, "g");
    EXPECT_TRUE(OnScreen(f, 0, 550, "SURVIVAL MODE :SCORE IS 0 POINT!!", 0xFFFFFF));  // a new run
    f.StateFrames = 150;
    Play(f, "!");
    EXPECT_EQ(FramesWhile(f, kStateSurvivalResult, 300), 48);
    EXPECT_EQ(f.GameState, kStateTitle);
    StartRun(f, 3, "g");
    f.StateFrames = 230;
    Play(f, "!");
    EXPECT_EQ(f.GameState, kStateTitle);
}

// Each screen change loads its own tune: with only that tune in the data directory the game
// goes on with a tune playing; any other would be missing and end the game.
TEST(Runs, TheLadderThroughTheEndingWithEachScreensTune) {
    GameRig rig;
    TForm1& f = *rig.form;
    auto change = [&](const char* tune, const std::function<void()>& act) {
        const fs::path dir = rig.dir.Path() / (std::string("only ") + tune);
        fs::create_directory(dir);
        fs::copy_file(rig.dir.Path() / tune, dir / tune, fs::copy_options::skip_existing);
        f.StopMusic();
        f.DataDir = dir.string();
        act();
        EXPECT_FALSE(f.Closed()) << tune;
        EXPECT_NE(f.MusicSegment, nullptr) << tune;
    };
    change("Start.mid", [&] { f.FormShow(); });
    change("Select.mid", [&] { ToSelectScreen(f, 1); });
    Play(f, "g");
    FramesWhile(f, kStateSelect, 30);
    // Stages 0..5 against the ladder's robots in turn, the tunes of the fight alternating, then
    // the ending, then the title.
    int count = 0;
    const int32_t* ladder = LadderIds(count);
    for (int stage = 0; stage < 6 && !f.Closed(); ++stage) {
        EXPECT_EQ(f.P2RobotId, ladder[stage]);
        change(stage % 2 == 0 ? "Fighting1.mid" : "Fighting2.mid", [&] { IntoFight(f); });
        change("Fighting3.mid", [&] {
            f.P2Fighter.Armour = 1;  // a pinch
            f.App.Pump();
        });
        if (stage < 5) KnockOut(f, f.P2Fighter);
    }
    change("Ending.mid", [&] { KnockOut(f, f.P2Fighter); });
    change("Start.mid", [&] { Finish(f, kStateEnding, 1995); });
}

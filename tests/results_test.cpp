// Best-table files, the result and time-over screens, and the credits roll.
#include <SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "shell/form.h"
#include "shell/little_endian.h"
#include "shell/score_files.h"
#include "test_support.h"

namespace fs = std::filesystem;
using testing_support::TempDir;

namespace {

std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

void WriteAll(const fs::path& p, const std::vector<uint8_t>& bytes) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

int32_t At(const std::vector<uint8_t>& b, size_t offset) { return ReadLe32(b.data() + offset); }

// Check values of "score2.zor" computed straight from the file's bytes, independently of
// the game's own code: V(0,0), V(1,1), V(2,2), V(1,3), V(0,4) at offsets 0, 72, 144, 88, 32.
void ExpectValidLimitFile(const std::vector<uint8_t>& b) {
    ASSERT_EQ(b.size(), 192u);
    const int64_t v[5] = {At(b, 0), At(b, 72), At(b, 144), At(b, 88), At(b, 32)};
    const auto wrap = [](int64_t x) { return int32_t(uint32_t(uint64_t(x))); };
    const int32_t c1 = wrap(v[0] + 2 * v[1] + 3 * v[2] + 4 * v[3] + 5 * v[4]);
    const int32_t c2 = wrap(v[0] - v[1] + v[2] - v[3] + v[4]);
    EXPECT_EQ(At(b, 40), c1);
    EXPECT_EQ(At(b, 48), c2);
    EXPECT_EQ(At(b, 56), wrap(int64_t(c1) + c2));
    EXPECT_EQ(At(b, 44) | At(b, 52) | At(b, 60), 0);
}

// A form that keeps its files in a temporary directory.
struct FileRig {
    TempDir dir;
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>();
    TForm1& f = *form;
    FileRig() { f.DataDir = dir.Str(); }
    fs::path Limit() const { return dir.Path() / "score2.zor"; }
    fs::path Survival() const { return dir.Path() / "score.zor"; }
    void LimitRun(int difficulty, int32_t rest, int32_t robot) {
        f.LimitDifficulty = difficulty;
        f.LimitFrames = 10000;
        f.LimitElapsed = 10000 - rest;
        f.P1RobotId = robot;
        f.LimitData();
    }
};

}  // namespace

TEST(ScoreFiles, ChecksEnteringAndWrapping) {
    ScoreRow row{};
    EnterBest(row, 5, 1);
    EnterBest(row, 9, 2);
    EnterBest(row, 5, 3);  // equal to an older one: stays below it
    EnterBest(row, 0, 4);  // never enters a list of zeros
    EXPECT_EQ(row[0].Value, 9);
    EXPECT_EQ(row[1].RobotTypeId, 1);
    EXPECT_EQ(row[2].RobotTypeId, 3);
    EXPECT_EQ(row[3].Value, 0);
    for (int i = 0; i < 6; ++i) EnterBest(row, 100 + i, 5);
    EXPECT_EQ(row[0].Value, 105);
    EXPECT_EQ(row[4].Value, 101);

    // Survival checks: c2 has the added 1, c3 is a remainder that never traps.
    ScoreRow s{};
    s[0].Value = INT32_MIN;
    s[1].Value = 0;
    const Checks a = SurvivalChecks(s);
    EXPECT_EQ(a.c1, INT32_MIN);
    EXPECT_EQ(a.c2, INT32_MIN + 1);
    EXPECT_EQ(a.c3, -1);
    s = {};
    s[1].Value = 1;  // c2 = 0 - 1 + 1 = 0
    EXPECT_EQ(SurvivalChecks(s).c2, 0);
    EXPECT_EQ(SurvivalChecks(s).c3, 0);
    // The most negative c1 with c2 = -1: a plain remainder would trap.
    ScoreRow n{};
    n[0].Value = int32_t(uint32_t(0x80000000u - 4u) * 0xAAAAAAABu);  // 3 V0 + 4 wraps to INT32_MIN
    n[1].Value = int32_t(uint32_t(n[0].Value) + 2u);
    const Checks c = SurvivalChecks(n);
    EXPECT_EQ(c.c1, INT32_MIN);
    EXPECT_EQ(c.c2, -1);
    EXPECT_EQ(c.c3, 0);
}

TEST(LimitFile, CreatedWhenMissingAndValidAfterwards) {
    FileRig rig;
    rig.LimitRun(1, 4321, 14);
    EXPECT_EQ(rig.f.ScoreFileError, 0);
    std::vector<uint8_t> b = ReadAll(rig.Limit());
    ExpectValidLimitFile(b);
    EXPECT_EQ(At(b, 64), 4321);  // row 1, entry 0
    EXPECT_EQ(At(b, 68), 14);
    // Equal times: the earlier stays above; a time of 0 never enters.
    rig.LimitRun(1, 4321, 5);
    rig.LimitRun(1, 0, 6);
    b = ReadAll(rig.Limit());
    ExpectValidLimitFile(b);
    EXPECT_EQ(At(b, 68), 14);
    EXPECT_EQ(At(b, 76), 5);
    EXPECT_EQ(At(b, 80), 0);
}

TEST(LimitFile, DamagedShortAndUncheckedChanges) {
    FileRig rig;
    rig.LimitRun(0, 100, 1);
    rig.LimitRun(2, 200, 2);
    const std::vector<uint8_t> good = ReadAll(rig.Limit());

    // A byte changed inside a checked value, or in a check value: started afresh.
    for (size_t offset : {size_t(0), size_t(144), size_t(40), size_t(57)}) {
        std::vector<uint8_t> bad = good;
        bad[offset] ^= 0x10;
        WriteAll(rig.Limit(), bad);
        rig.LimitRun(1, 300, 3);
        EXPECT_EQ(rig.f.ScoreFileError, 1) << offset;  // the player is told the table was reset
        std::vector<uint8_t> b = ReadAll(rig.Limit());
        ExpectValidLimitFile(b);
        EXPECT_EQ(At(b, 0), 0) << offset;
        EXPECT_EQ(At(b, 64), 300);
    }
    // A change no check covers goes unnoticed.
    WriteAll(rig.Limit(), good);
    std::vector<uint8_t> unchecked = good;
    unchecked[4] = 13;  // a robot field
    WriteAll(rig.Limit(), unchecked);
    rig.LimitRun(1, 50, 3);
    EXPECT_EQ(rig.f.ScoreFileError, 0);
    EXPECT_EQ(At(ReadAll(rig.Limit()), 4), 13);

    // A short file reads as far as it goes; with its checks missing it passes only when
    // the checked values are all zero.
    WriteAll(rig.Limit(), std::vector<uint8_t>(good.begin(), good.begin() + 30));
    rig.LimitRun(0, 70, 4);
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    WriteAll(rig.Limit(), std::vector<uint8_t>(16, 0));
    rig.LimitRun(0, 70, 4);
    EXPECT_EQ(rig.f.ScoreFileError, 0);
    EXPECT_EQ(ReadAll(rig.Limit()).size(), 192u);
}

TEST(LimitFile, UnwritableDirectoryAndBadDifficulty) {
    FileRig rig;
    rig.LimitRun(7, 100, 1);  // a difficulty outside 0..2 is never an index
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    EXPECT_FALSE(fs::exists(rig.Limit()));
    if (getuid() != 0) {  // root writes anywhere
        chmod(rig.dir.Str().c_str(), 0500);
        rig.LimitRun(0, 100, 1);
        EXPECT_EQ(rig.f.ScoreFileError, 1);
        chmod(rig.dir.Str().c_str(), 0700);
    }
    // A directory where the file should be cannot be read or replaced.
    fs::create_directory(rig.Limit());
    rig.LimitRun(0, 100, 1);
    EXPECT_EQ(rig.f.ScoreFileError, 1);
    EXPECT_TRUE(fs::is_directory(rig.Limit()));
}

TEST(SurvivalFile, EntryReadBackAndDamage) {
    FileRig rig;
    TForm1& f = rig.f;
    f.SurvivalScore = 12;
    f.P1RobotId = 5;
    f.EnterSurvivalScore();
    EXPECT_EQ(f.GameState, kStateSurvivalResult);
    EXPECT_EQ(f.ScoreFileError, 0);
    std::vector<uint8_t> b = ReadAll(rig.Survival());
    ASSERT_EQ(b.size(), 64u);
    EXPECT_EQ(At(b, 0), 12);
    EXPECT_EQ(At(b, 4), 5);
    // Independent check values: c1 = 12, c2 = 13, c3 = 12 % 13.
    EXPECT_EQ(At(b, 40), 12);
    EXPECT_EQ(At(b, 48), 13);
    EXPECT_EQ(At(b, 56), 12);
    f.SurvivalTable = {};
    f.ReadSurvivalTable();
    EXPECT_EQ(f.SurvivalTable[0].Value, 12);
    EXPECT_TRUE(f.HiddenRobotUnlocked());

    b[0] = 99;  // a forged score: the table reads empty and the robot stays hidden
    WriteAll(rig.Survival(), b);
    f.ReadSurvivalTable();
    EXPECT_EQ(f.SurvivalTable[0].Value, 0);
    EXPECT_FALSE(f.HiddenRobotUnlocked());
    f.SurvivalScore = 3;
    f.EnterSurvivalScore();
    EXPECT_EQ(f.ScoreFileError, 1);
    EXPECT_EQ(At(ReadAll(rig.Survival()), 0), 3);
}

TEST(ResultScreens, EndEvenWhenEnteredLate) {
    testing_support::ScopedCwd cwd(DW_GAME_DATA_DIR);
    auto form = std::make_unique<TForm1>();
    TForm1& f = *form;
    f.DirectDrawObj = std::make_unique<dw::Display>();
    f.DirectDrawObj->Open("test", true);
    f.GameState = kStateSurvivalResult;
    f.StateFrames = 230;  // F1 in the last frames of the pre-fight screen
    f.ScoreFileError = 1;
    f.ResultStage();
    EXPECT_EQ(f.GameState, kStateTitle);
    EXPECT_EQ(f.ScoreFileError, 0);
    f.GameState = kStateTimeOver;
    f.StateFrames = 0;
    for (int i = 0; i < 299; ++i) f.LimitStage();
    EXPECT_EQ(f.GameState, kStateTimeOver);
    f.LimitStage();
    EXPECT_EQ(f.GameState, kStateTitle);
}

TEST(Credits, TimingsOfTheRoll) {
    auto form = std::make_unique<TForm1>();
    TForm1& f = *form;
    f.SetEnd();
    for (int i = 0; i < 30; ++i) f.ResetCreditItem(i);
    f.GameState = kStateEnding;
    f.StateFrames = 0;
    int first = -1, last = -1, whiteFrom = -1, whiteTo = -1, lastLine0 = -1;
    bool bothAt970 = false;
    for (int frame = 1; frame <= 1999; ++frame) {
        f.EndingStage();
        ASSERT_EQ(f.StateFrames, frame);
        bool any = false;
        for (const CreditLine& l : f.CreditLines) any = any || l.Active;
        if (any) {
            if (first < 0) first = frame;
            last = frame;
        }
        const CreditLine& l0 = f.CreditLines[0];
        if (l0.Active) {
            lastLine0 = frame;
            if (l0.FadeStep == 4 && whiteFrom < 0) whiteFrom = frame;
            if (l0.FadeStep == 4) whiteTo = frame;
        }
        if (frame == 975) bothAt970 = f.CreditLines[12].Active && f.CreditLines[16].Active;
    }
    EXPECT_EQ(first, 50);
    EXPECT_EQ(last, 1958);
    EXPECT_EQ(whiteFrom, 139);
    EXPECT_EQ(whiteTo, 178);
    EXPECT_EQ(lastLine0, 268);
    EXPECT_TRUE(bothAt970);  // line 16 stands over line 12 at the same point
    EXPECT_EQ(f.CreditLines[16].X, f.CreditLines[12].X);
    for (const CreditLine& l : f.CreditLines) EXPECT_LT(strnlen(l.Text, 40), 40u);
}

TEST(ResultScreens, TablesNamesAndFileError) {
    auto form = std::make_unique<TForm1>();
    TForm1& f = *form;
    f.CreateDrawingTools();
    auto back = dw::Surface::Create(800, 600);
    dw::ColorTable palette{};
    for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i)};
    palette[200] = {180, 0, 0};
    auto draw = [&](void (TForm1::*screen)()) {
        f.BackDC.emplace(*back, palette);
        (f.*screen)();
        f.BackDC.reset();
    };
    auto shows = [&](int x, int y, const char* text, dw::ColorRef colour) {
        return testing_support::TextShows(*back, palette, f.Fonts[1].get(), x, y, text, colour);
    };
    f.GameState = kStateLimitResult;
    f.LimitDifficulty = 2;
    f.LimitTable[2][0] = {4321, 14};
    f.LimitTable[2][1] = {99, 77};  // an id that names no robot
    draw(&TForm1::Draw_Result);
    EXPECT_TRUE(shows(200, 160, "Fast Player's Rest Time!!(HARD)", 0));
    EXPECT_TRUE(shows(180, 200, "First Time  :  4321", 0));
    EXPECT_TRUE(shows(440, 220, "D-2-E", 0));
    EXPECT_TRUE(shows(440, 270, "----", 0));
    EXPECT_TRUE(shows(180, 400, "Fifth Time  :  0", 0));
    EXPECT_EQ(back->Get(5, 300), 200);  // the dark red band

    f.GameState = kStateSurvivalResult;
    f.SurvivalTable[1] = {7, 11};
    draw(&TForm1::Draw_Result);
    EXPECT_TRUE(shows(200, 160, "Great Surviver's SCORE!!", 0));
    EXPECT_TRUE(shows(180, 250, "Second Score : SCORE 7", 0));
    EXPECT_TRUE(shows(440, 270, "DEZIVOR", 0));

    f.ScoreFileError = 1;
    draw(&TForm1::Draw_Result);
    EXPECT_TRUE(shows(250, 210, "File Error(ファイルを初期化(すべて０にする。)します。)", 0));
    EXPECT_FALSE(shows(200, 160, "Great Surviver's SCORE!!", 0));
    f.ScoreFileError = 0;
    f.GameState = kStateLimitResult;
    f.LimitDifficulty = 5;  // never an index: the file-error line instead
    draw(&TForm1::Draw_Result);
    EXPECT_TRUE(shows(250, 210, "File Error(ファイルを初期化(すべて０にする。)します。)", 0));

    back->Fill(9);
    draw(&TForm1::Draw_Limit);
    EXPECT_TRUE(shows(300, 280, "Time Over!!", 0x0000FF));
    EXPECT_EQ(back->Get(5, 200), 9);  // the fight's last picture stays around the band
}

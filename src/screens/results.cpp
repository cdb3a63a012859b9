// The end of a Survival or Limit run: the best-table files, the result and time-over
// screens (GameState 11..13).
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <vector>

#include "shell/form.h"
#include "shell/little_endian.h"
#include "shell/score_files.h"

namespace {

constexpr int kResultFrames = 200;
constexpr int kTimeOverFrames = 300;

// Reads a best-table file, creating an empty one where there is none. False when the file
// can be neither read nor created.
bool ReadOrCreate(const std::string& path, size_t size, std::vector<uint8_t>& bytes) {
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) return ReadSmallFile(path, size, bytes);
    bytes.clear();
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    std::fclose(f);
    return true;
}

// The result tables' spelling of each robot's name; "----" for an empty entry or an id
// that names no robot.
const char* ResultName(int32_t id) {
    switch (id) {
    case 1: return "DURARA D";
    case 2: return "DOREVO V";
    case 3: return "VUDUDIDIZU";
    case 4: return "DOZ";
    case 5: return "DARI ZEV";
    case 6: return "VIVERAZIV";
    case 11: return "DEZIVOR";
    case 12: return "ZO-RA";
    case 13: return "DIVIZ ODIR";
    case 14: return "D-2-E";
    case 15: return "DURADEREVOV";
    case 16: return "VIVERAZIV";
    default: return "----";
    }
}

}  // namespace

void TForm1::ReadSurvivalTable() {
    SurvivalTable = {};
    std::vector<uint8_t> bytes;
    if (ReadSmallFile(DataDir + "/" + kSurvivalFile, kSurvivalFileSize, bytes)) ReadSurvivalImage(bytes, SurvivalTable);
}

void TForm1::EnterSurvivalScore() {
    const std::string path = DataDir + "/" + kSurvivalFile;
    SurvivalTable = {};
    std::vector<uint8_t> bytes;
    if (!ReadOrCreate(path, kSurvivalFileSize, bytes)) {
        ScoreFileError = 1;
    } else {
        // A damaged table starts afresh, and the player is told so.
        ScoreFileError = ReadSurvivalImage(bytes, SurvivalTable) ? 0 : 1;
        EnterBest(SurvivalTable, SurvivalScore, P1RobotId);
        if (!WriteFileAtomically(path, WriteSurvivalImage(SurvivalTable))) ScoreFileError = 1;
    }
    StopVoice();
    GameState = kStateSurvivalResult;
}

void TForm1::LimitData() {
    const std::string path = DataDir + "/" + kLimitFile;
    LimitTable = {};
    std::vector<uint8_t> bytes;
    if (LimitDifficulty < 0 || LimitDifficulty > 2 || !ReadOrCreate(path, kLimitFileSize, bytes)) {
        ScoreFileError = 1;
        return;
    }
    ScoreFileError = ReadLimitImage(bytes, LimitTable) ? 0 : 1;
    EnterBest(LimitTable[size_t(LimitDifficulty)], LimitFrames - LimitElapsed, P1RobotId);
    if (!WriteFileAtomically(path, WriteLimitImage(LimitTable))) ScoreFileError = 1;
}

void TForm1::ResultStage() {
    // Entered from the pre-fight screen the counter may already stand at 200 or more.
    if (++StateFrames < kResultFrames) return;
    StateFrames = 0;
    GameState = kStateMainMenu;
    ScoreFileError = 0;
    ToStart();
}

void TForm1::LimitStage() {
    if (++StateFrames < kTimeOverFrames) return;
    StateFrames = 0;
    GameState = kStateMainMenu;
    ScoreFileError = 0;
    ToStart();
}

void TForm1::Draw_Result() {
    dw::DrawContext& dc = *BackDC;
    dc.SelectBrush(Brushes[0].get());
    dc.FillRect({0, 0, 800, 600}, *Brushes[0]);
    dc.FillRect({0, 150, 800, 450}, *Brushes[2]);
    dc.SetTransparentBackground(true);
    dc.SetTextColor(0x000000);
    dc.SelectFont(Fonts[1].get());

    const bool limit = GameState == kStateLimitResult;
    if (ScoreFileError == 1 || (limit && (LimitDifficulty < 0 || LimitDifficulty > 2))) {
        dc.TextOut(250, 210, "File Error(ファイルを初期化(すべて０にする。)します。)");
        return;
    }
    static constexpr const char* kScoreLines[5] = {"First Score  : SCORE %d", "Second Score : SCORE %d",
                                                   "Third Score  : SCORE %d", "Fourth Score : SCORE %d",
                                                   "Fifth Score  : SCORE %d"};
    static constexpr const char* kTimeLines[5] = {"First Time  :  %d", "Second Time :  %d", "Third Time  :  %d",
                                                  "Fourth Time :  %d", "Fifth Time  :  %d"};
    static constexpr const char* kTimeTitles[3] = {
        "Fast Player's Rest Time!!(EASY)", "Fast Player's Rest Time!!(NORMAL)", "Fast Player's Rest Time!!(HARD)"};
    const ScoreRow& row = limit ? LimitTable[size_t(LimitDifficulty)] : SurvivalTable;
    dc.TextOut(200, 160, limit ? kTimeTitles[LimitDifficulty] : "Great Surviver's SCORE!!");
    for (int i = 0; i < 5; ++i) {
        char line[64];
        std::snprintf(line, sizeof line, limit ? kTimeLines[i] : kScoreLines[i], row[size_t(i)].Value);
        dc.TextOut(180, 200 + 50 * i, line);
        dc.TextOut(440, 220 + 50 * i, ResultName(row[size_t(i)].RobotTypeId));
    }
}

void TForm1::Draw_Limit() {
    dw::DrawContext& dc = *BackDC;
    dc.FillRect({0, 260, 800, 320}, *Brushes[0]);
    dc.SetTransparentBackground(true);
    dc.SetTextColor(0x0000FF);
    dc.SelectFont(Fonts[1].get());
    dc.TextOut(300, 280, "Time Over!!");
}

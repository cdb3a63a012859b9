// TForm1: the one game object. It owns every record, counter and platform object; the
// subsystems are groups of its member functions spread over src/*/.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "fight/fight_records.h"
#include "frames/roster_cells.h"
#include "platform/application.h"
#include "platform/bitmap.h"
#include "platform/display.h"
#include "platform/draw_context.h"
#include "platform/input.h"
#include "platform/music.h"
#include "platform/sound.h"
#include "platform/surface.h"
#include "robots/records.h"
#include "shell/game_types.h"

class TForm1;

// One player's records and platform objects, so per-player code is written once.
struct PlayerRefs {
    int index;  // 0 player 1, 1 player 2
    RobotSpec& spec;
    ActionGraph& graph;
    std::array<WeaponData, 4>& weapons;
    std::array<ShotTable, 4>& shotTables;
    MotionTable& motion;
    std::array<std::unique_ptr<dw::Surface>, 5>& sheets;  // front, back, fs, bs, side
    std::array<std::unique_ptr<dw::SoundBuffer>, 4>& shotSounds;
    FighterState& fighter;
    int firstGroup;  // shot-pool group of weapon slot 1
    int32_t& robotId;
    uint8_t& hide;
};

class TForm1 {
public:
    TForm1();
    ~TForm1();
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;
    TForm1(TForm1&&) = delete;
    TForm1& operator=(TForm1&&) = delete;

    // --- life cycle (shell/form.cpp) -------------------------------------------------
    void FormShow();
    void CreateDrawingTools();  // the brushes, pens and fonts the screens select by index
    void FormKeyDown(dw::Key key);
    void Close();  // runs FormClose once; the loop ends after the current frame
    void FormClose();
    bool Closed() const { return closed_; }

    // --- frame loop (shell/frame_loop.cpp) ---------------------------------------------
    void AppIdle();
    void ControlHead();
    void StartStage();  // title, menus and start message (GameState 0..5)
    void ToStart();
    void ToSelect();
    void ToError(int code);
    // Loads a picture keyed on magenta into sheet; false when it cannot be made.
    bool LoadSheet(std::unique_ptr<dw::Surface>& sheet, const char* name);
    // A screen change's pictures into SheetSurface1 and (second may be null) SheetSurface2;
    // one that cannot be made enters the error screen.
    bool LoadScreenSheets(const char* first, const char* second);

    // --- options file (shell/options.cpp) ----------------------------------------------
    void LoadOptions();
    void SaveOptions();

    // --- random numbers ------------------------------------------------------------------
    void Randomize(uint32_t seed) { RandomState = seed; }
    int Random();  // 0..32767

    // --- audio (audio/audio.cpp) ---------------------------------------------------------
    int CreateSoundData(const char* name, std::unique_ptr<dw::SoundBuffer>& buffer);
    void EndDirectSound();
    void CreateHitSounds();
    void HitSound1(const std::string& name);  // shots of player 2
    void HitSound2(const std::string& name);  // shots of player 1
    // A screen change's voice: replaces the voice buffer and plays it. One that cannot be
    // made while the sound device works enters the error screen (false).
    bool PlayVoice(const char* name);
    void StopVoice();
    void PlayCursorSound();
    bool PlayMusic(const char* file);  // false (and the form closed) on failure
    void StopMusic();

    // --- robots, select and pre-fight (robots/, shell/select.cpp, shell/before.cpp) -------
    PlayerRefs Player(int p);
    void BuildDammyWeapon();
    void BuildDefaultMotions();
    void FillRoster();
    bool HiddenRobotUnlocked() const;
    void SelectStage();
    void ToBefore();
    void BeforeStage();
    void ChooseOpponent();
    void RunLoader(int player);                              // the loader of the player's RobotTypeId, if it has one
    void LoadRobot(int player, const struct RobotRow& row);  // the loading recipe

    // --- the fight (fight/*.cpp, view/*.cpp) ------------------------------------------------
    void ToFight();
    void FightStage();
    void FightOver();  // what follows the fight-over screen in each mode
    void ShotWeapon(int player);
    int HitShot(ShotRecord& shot, int victimPlayer);
    void MoveFighter(int player, int dx, int dy);  // with body collision and the camera's spread
    void ScrollWorld(int dx, int dy);              // fighters, shots and ground follow the camera
    void ResetBackGrid();
    void Draw_FS2();
    void Draw_FS();

    // --- results and ending (screens/results.cpp, screens/ending.cpp) ----------------------
    void ReadSurvivalTable();   // "score.zor" into SurvivalTable; a damaged file reads empty
    void EnterSurvivalScore();  // SurvivalScore into "score.zor", then the Survival result
    void LimitData();           // the run's rest time into "score2.zor"
    void ResultStage();
    void LimitStage();
    void Draw_Result();
    void Draw_Limit();
    void SetEnd();
    void DecidePOS(int anchor, int x, int y);
    void GetPOS(int line, int x, int y);
    void GetIMPACT(int line, int style);
    void GetSTART(int line, int frame);
    void ResetCreditItem(int line);
    void CheckCreditStart(int line, int frame);
    void StepCreditItem(int line);
    void ToEnd();
    void EndingStage();
    void Draw_End();

    // --- screens (screens/*.cpp) -----------------------------------------------------------
    void Draw_Start2();
    void Draw_Start();
    void Draw_Error();
    void Draw_Select();
    void Draw_List(int x, int y, int player, int robot);
    void Draw_Data(int x, int y, int player, int value);
    void Draw_Equip(int x, int y, const RosterEntry& entry, int player);
    void Draw_Select2();
    void Draw_BS();

    // --- screen and game fields ----------------------------------------------------------
    int32_t GameState = 0;
    int32_t GameMode = 1;
    int32_t CpuLevel = 1;
    int32_t LimitDifficulty = 0;
    int32_t FrameWait = 0;
    int32_t StateFrames = 0;
    int32_t P1RobotId = 1;
    int32_t P2RobotId = 1;
    int32_t SurvivalScore = 0;
    std::array<ScoreEntry, 8> SurvivalTable{};
    std::array<std::array<ScoreEntry, 8>, 3> LimitTable{};
    std::array<CreditLine, 30> CreditLines{};
    std::array<CreditAnchor, 9> CreditAnchors{};
    int32_t ScoreFileError = 0;
    int32_t ErrorCode = 0;
    int32_t LimitFrames = 10000;
    int32_t LimitElapsed = 0;
    int32_t LimitEnemy = 1;
    int32_t StageNo = 0;
    int32_t Winner = 0;
    uint32_t RandomState = 0;

    uint8_t P1Decided = 0;
    uint8_t P2Decided = 0;
    uint8_t P1Hide = 0;
    uint8_t P2Hide = 0;

    // --- robot records ---------------------------------------------------------------------
    RobotSpec P1Spec, P2Spec;
    ActionGraph P1Graph, P2Graph;
    std::array<WeaponData, 4> P1Weapons, P2Weapons;
    std::array<ShotTable, 4> P1ShotTables, P2ShotTables;
    MotionTable P1Motion, P2Motion;
    std::array<MotionTable, 11> DefaultMotions;
    WeaponData DammyWeapon;
    ShotTable DammyShotTable;
    std::array<RosterEntry, dw::kRosterSize> Roster;
    FighterState P1Fighter, P2Fighter;
    ShotPool Shots;

    struct GridPoint {
        int32_t X = 0;
        int32_t Y = 0;
    };
    GridPoint BackGrid[8][7] = {};
    bool PinchPlayed = false;

    // Each player's controls, rebuilt every frame by ControlHead, and the last frame's.
    std::array<PlayerControls, 2> Controls{};
    std::array<PlayerControls, 2> PrevControls{};

    // --- platform objects ------------------------------------------------------------------
    // The display is both the display object and the flipping primary surface.
    std::unique_ptr<dw::Display> DirectDrawObj;
    dw::Surface* BackSurface() { return DirectDrawObj ? DirectDrawObj->BackBuffer() : nullptr; }
    std::unique_ptr<dw::Surface> SheetSurface1;
    std::unique_ptr<dw::Surface> SheetSurface2;
    std::array<std::unique_ptr<dw::Surface>, 5> P1Sheets;  // front, back, fs, bs, side
    std::array<std::unique_ptr<dw::Surface>, 5> P2Sheets;
    std::optional<dw::DrawContext> BackDC;

    std::array<std::unique_ptr<dw::Brush>, 7> Brushes;
    std::array<std::unique_ptr<dw::Pen>, 11> Pens;
    std::array<std::unique_ptr<dw::Font>, 3> Fonts;

    std::unique_ptr<dw::SoundDevice> SoundDevice;
    std::unique_ptr<dw::SoundBuffer> VoiceBuffer;
    std::unique_ptr<dw::SoundBuffer> CursorBuffer;
    std::array<std::unique_ptr<dw::SoundBuffer>, 4> HitBuffers;     // "HITTED1".."HITTED4"
    std::array<std::unique_ptr<dw::SoundBuffer>, 4> HitDuplicates;  // for the other player
    std::array<std::unique_ptr<dw::SoundBuffer>, 4> P1ShotSounds;
    std::array<std::unique_ptr<dw::SoundBuffer>, 4> P2ShotSounds;
    std::unique_ptr<dw::Music> MusicSegment;  // the tune of the current screen

    dw::Keyboard Keys;
    dw::Joysticks Sticks;
    dw::Application App{Keys};

    // Where "opt.ez" and the score files live (the working directory).
    std::string DataDir = ".";

private:
    bool closed_ = false;
    bool optionsLoaded_ = false;  // a close before the options were read must not overwrite them
    bool DisplayFailed = false;   // the display never started: nothing is drawn
};

// The options file name and its fixed size.
inline constexpr const char* kOptionsFile = "opt.ez";

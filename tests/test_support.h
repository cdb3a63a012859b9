// Shared helpers of the tests: temporary game directories, environment, picture dumps.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include <SDL.h>

#include <memory>
#include <optional>
#include <vector>

#include "platform/draw_context.h"

class TForm1;

namespace testing_support {

// A fresh temporary directory, removed with everything in it at the end of the scope.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return path_; }
    std::string Str() const { return path_.string(); }

private:
    std::filesystem::path path_;
};

// The build's game directory. Kept in writable memory so that the path is stored whole in
// the binary, where a moved copy of the build can find and rewrite it.
const char* GameDataDir();

// Sets an environment variable for the scope and restores the old value.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string name_;
    std::optional<std::string> old_;
};

// Changes the working directory for the scope.
class ScopedCwd {
public:
    explicit ScopedCwd(const std::filesystem::path& dir) : old_(std::filesystem::current_path()) {
        std::filesystem::current_path(dir);
    }
    ~ScopedCwd() {
        std::error_code ec;  // nowhere to report it from a destructor
        std::filesystem::current_path(old_, ec);
    }
    ScopedCwd(const ScopedCwd&) = delete;
    ScopedCwd& operator=(const ScopedCwd&) = delete;

private:
    std::filesystem::path old_;
};

// Injects a key event into SDL's queue.
void PushKey(SDL_Scancode code, bool down);
// Taps a key over two frames of the real loop: down in one, up in the next.
void Tap(TForm1& form, SDL_Scancode code);

// Runs frames of the real loop until the state changes away from `state` or the limit passes;
// the number of frames run.
int FramesWhile(TForm1& form, int32_t state, int limit);
// From the title to the select screen in a game mode (1..4), the first level everywhere.
void ToSelectScreen(TForm1& form, int mode);
// Live shots of one shot-pool group.
int ActiveShots(const TForm1& form, int group);

// A game in a temporary working directory that holds the game's data, pacing off. The
// game is not started: tests call FormShow themselves.
struct GameRig {
    TempDir dir;
    ScopedCwd cwd{dir.Path()};
    std::unique_ptr<TForm1> form;
    GameRig();
    ~GameRig();
};

// Plays a script of keys through the real loop, one tap (a frame down, a frame up) per
// character: a letter is its own key (player 1 on w a s d, g h j k, b and v); player 2 on
// 8 2 4 6, 1 (first weapon), 0 (guard) and + (dash); ! is F1. An upper-case letter is held three frames.
void Play(TForm1& form, std::string_view script);

// Gives a form a hidden window, pacing off, its drawing tools, the stand-in weapon and the
// default motions: what the screens and the fight need of a start, without the start.
void OpenHeadless(TForm1& form);

// A form with its drawing tools, the robot catalogue and a hidden window, in the game's data
// directory, not started; its loop runs AppIdle. Screens can also draw into `back` through
// a palette of greys with red, blue and greens at 1..6.
struct ScreenRig {
    ScopedCwd cwd{DW_GAME_DATA_DIR};
    std::unique_ptr<TForm1> form;
    std::unique_ptr<dw::Surface> back;
    dw::ColorTable palette{};
    ScreenRig();
    ~ScreenRig();
    void Draw(void (TForm1::*draw)());
    bool Shows(int x, int y, const char* text, dw::ColorRef colour, int font = 1) const;
    uint8_t Index(dw::ColorRef colour) const { return dw::NearestIndex(palette, colour); }
};

// Whether text in one of the form's fonts shows at (x, y) on the form's own back buffer.
bool OnScreen(TForm1& form, int x, int y, const char* text, dw::ColorRef colour, int font = 1);

// Whole files as bytes; little-endian int32 fields as bytes.
std::vector<uint8_t> ReadAll(const std::filesystem::path& path);
void WriteAll(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> Words(std::initializer_list<int32_t> fields);

// Whether text drawn alone with this font and colour at (x, y) shows in the picture: every
// pixel the text sets is set to the same index there.
bool TextShows(const dw::Surface& picture, const dw::ColorTable& palette, const dw::Font* font, int x, int y,
               const char* text, dw::ColorRef colour);

// The surface as text, rows apart by '/', index i shown as chars[i] ('?' past the end): "12../45..".
std::string Picture(const dw::Surface& surface, std::string_view chars);

// Counts the pixels of rect equal to index.
int CountIndex(const dw::Surface& surface, const dw::Rect& rect, uint8_t index);

}  // namespace testing_support

namespace dw {
// How failed checks show rectangles and colours: "{left, top, right, bottom}", "(r, g, b)".
void PrintTo(const Rect& r, std::ostream* os);
void PrintTo(const PaletteEntry& c, std::ostream* os);
}  // namespace dw

#include "test_support.h"

#include "shell/form.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <stdexcept>

namespace testing_support {

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "duskwarden-test-XXXXXX").string();
    if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
    path_ = tmpl;
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
}

const char* GameDataDir() {
    static char dir[] = DW_GAME_DATA_DIR;
    return dir;
}

// Sets a variable, or removes it given no value.
static void PutEnv(const std::string& name, const char* value) {
    if (value)
        setenv(name.c_str(), value, 1);
    else
        unsetenv(name.c_str());
}

ScopedEnv::ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    PutEnv(name_, value);
}

ScopedEnv::~ScopedEnv() { PutEnv(name_, old_ ? old_->c_str() : nullptr); }

void PushKey(SDL_Scancode code, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.keysym.scancode = code;  // all the game reads
    SDL_PushEvent(&e);
}

void Tap(TForm1& form, SDL_Scancode code) {
    PushKey(code, true);
    form.App.Pump();
    PushKey(code, false);
    form.App.Pump();
}

int FramesWhile(TForm1& f, int32_t state, int limit) {
    int n = 0;
    for (; n < limit && f.GameState == state && !f.Closed(); ++n) f.App.Pump();
    return n;
}

void ToSelectScreen(TForm1& f, int mode) {
    Tap(f, SDL_SCANCODE_G);
    // The main menu opens on the mode of the last run (kept in the options file).
    for (int i = 0; i < 3; ++i) Tap(f, SDL_SCANCODE_A);
    for (int i = 1; i < mode; ++i) Tap(f, SDL_SCANCODE_D);
    Tap(f, SDL_SCANCODE_G);
    if (f.GameState == kStateLevelMenu || f.GameState == kStateLimitMenu) Tap(f, SDL_SCANCODE_G);
    FramesWhile(f, kStateStartMessage, 100);
}

int ActiveShots(const TForm1& f, int group) {
    int n = 0;
    for (const auto& row : f.Shots.Record[group])
        for (const ShotRecord& r : row) n += r.Active;
    return n;
}

// The working directory holds the music files and links to the robot view sheets.
GameRig::GameRig() {
    dw::Display::SetPacing(false);
    for (const auto& entry : fs::directory_iterator(GameDataDir())) {
        const fs::path name = entry.path().filename();
        if (entry.path().extension() == ".mid")
            fs::copy_file(entry.path(), dir.Path() / name);
        else if (entry.is_directory() && name.string().starts_with("p_"))
            fs::create_directory_symlink(entry.path(), dir.Path() / name);
    }
    form = std::make_unique<TForm1>();
    form->DataDir = dir.Str();
}

GameRig::~GameRig() { form->Close(); }

void Play(TForm1& f, std::string_view script) {
    struct Key {
        char c;
        SDL_Scancode code;
    };
    static constexpr auto kOthers = std::to_array<Key>({
        {.c = '8', .code = SDL_SCANCODE_UP},  // player 2
        {.c = '2', .code = SDL_SCANCODE_DOWN},
        {.c = '4', .code = SDL_SCANCODE_LEFT},
        {.c = '6', .code = SDL_SCANCODE_RIGHT},
        {.c = '1', .code = SDL_SCANCODE_KP_1},
        {.c = '0', .code = SDL_SCANCODE_KP_6},
        {.c = '+', .code = SDL_SCANCODE_KP_PLUS},
        {.c = '!', .code = SDL_SCANCODE_F1},
    });
    for (const char c : script) {
        const char lower = char(std::tolower(c));
        // A letter is the key of that letter.
        SDL_Scancode code = SDL_Scancode(SDL_SCANCODE_A + (lower - 'a'));
        if (!std::islower(lower)) {
            const auto* k = std::find_if(kOthers.begin(), kOthers.end(), [&](const Key& e) { return e.c == lower; });
            if (k == kOthers.end()) throw std::invalid_argument("no key for a script character");
            code = k->code;
        }
        PushKey(code, true);
        for (int i = 0; i < (c != lower ? 3 : 1); ++i) f.App.Pump();
        PushKey(code, false);
        f.App.Pump();
    }
}

bool OnScreen(TForm1& f, int x, int y, const char* text, dw::ColorRef colour, int font) {
    return TextShows(*f.BackSurface(), f.DirectDrawObj->Palette(), f.Fonts[size_t(font)].get(), x, y, text, colour);
}

void OpenHeadless(TForm1& f) {
    dw::Display::SetPacing(false);
    f.DirectDrawObj = std::make_unique<dw::Display>();
    f.DirectDrawObj->Open("test", true);
    f.CreateDrawingTools();
    f.BuildDammyWeapon();
    f.BuildDefaultMotions();
}

ScreenRig::ScreenRig() : form(std::make_unique<TForm1>()), back(dw::Surface::Create(800, 600)) {
    for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(i), uint8_t(i)};
    palette[1] = {.r = 255, .g = 0, .b = 0};  // red
    palette[2] = {.r = 0, .g = 0, .b = 255};  // blue
    palette[3] = {.r = 0, .g = 128, .b = 0};  // greens
    palette[4] = {.r = 0, .g = 120, .b = 0};
    palette[5] = {.r = 180, .g = 0, .b = 0};  // dark red
    palette[6] = {.r = 0, .g = 0, .b = 180};  // dark blue
    OpenHeadless(*form);
    form->DirectDrawObj->SetPalette(palette);
    form->FillRoster();
    form->App.OnIdle([this] { form->AppIdle(); });
}

ScreenRig::~ScreenRig() { form->Close(); }

void ScreenRig::Draw(void (TForm1::*draw)()) {
    back->Fill(7);
    form->BackDC.emplace(*back, palette);
    (form.get()->*draw)();
    form->BackDC.reset();
}

bool ScreenRig::Shows(int x, int y, const char* text, dw::ColorRef colour, int font) const {
    return TextShows(*back, palette, form->Fonts[size_t(font)].get(), x, y, text, colour);
}

std::vector<uint8_t> ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), {});
}

void WriteAll(const fs::path& p, const std::vector<uint8_t>& b) {
    std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

std::vector<uint8_t> Words(std::initializer_list<int32_t> fields) {
    std::vector<uint8_t> v;
    for (int32_t f : fields)
        for (int shift = 0; shift < 32; shift += 8) v.push_back(uint8_t(uint32_t(f) >> shift));
    return v;
}

bool TextShows(const dw::Surface& picture, const dw::ColorTable& palette, const dw::Font* font, int x, int y,
               const char* text, dw::ColorRef colour) {
    constexpr uint8_t kBlank = 7;
    auto ref = dw::Surface::Create(picture.Width(), picture.Height());
    ref->Fill(kBlank);
    dw::DrawContext dc(*ref, palette);
    dc.SelectFont(font);
    dc.SetTransparentBackground(true);
    dc.SetTextColor(colour);
    dc.TextOut(x, y, text);
    const uint8_t* const want = ref->Pixels();
    const uint8_t* const end = want + size_t(ref->Width()) * size_t(ref->Height());
    return std::any_of(want, end, [](uint8_t w) { return w != kBlank; }) &&
           std::equal(want, end, picture.Pixels(), [](uint8_t w, uint8_t p) { return w == kBlank || w == p; });
}

std::string Picture(const dw::Surface& s, std::string_view chars) {
    std::string text;
    for (int y = 0; y < s.Height(); ++y)
        for (int x = 0; x < s.Width(); ++x)
            text += std::string(y > 0 && x == 0, '/') + (s.Get(x, y) < chars.size() ? chars[s.Get(x, y)] : '?');
    return text;
}

int CountIndex(const dw::Surface& s, const dw::Rect& rect, uint8_t index) {
    const dw::Rect r = dw::Intersect(rect, s.Bounds());
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) n += s.Get(x, y) == index;
    return n;
}

}  // namespace testing_support

namespace dw {

void PrintTo(const Rect& r, std::ostream* os) {
    *os << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

void PrintTo(const PaletteEntry& c, std::ostream* os) {
    *os << "(" << int(c.r) << ", " << int(c.g) << ", " << int(c.b) << ")";
}

}  // namespace dw

// The generated pictures, sounds and music, read back through the game's own loaders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "frames/cell_layout.h"
#include "frames/roster_cells.h"
#include "platform/bitmap.h"
#include "platform/display.h"
#include "platform/music.h"
#include "platform/resources.h"
#include "platform/sound.h"
#include "platform/wave.h"
#include "robots/loading.h"
#include "test_support.h"

namespace dw {
namespace {

namespace fs = std::filesystem;

// Plain arrays, so that the build directory's path is stored whole in the binary.
char gAssetDir[] = DW_ASSET_DIR;
const char* const gDataDir = testing_support::GameDataDir();
constexpr uint8_t kMagenta = 255;

// The generated files of one extension.
std::vector<fs::path> Generated(const char* dir, const char* ext) {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ext) paths.push_back(entry.path());
    return paths;
}

bool HasInk(const Surface& s, const Rect& r) {
    for (int y = r.top; y < r.bottom; ++y)
        if (std::any_of(s.Row(y) + r.left, s.Row(y) + r.right, [&](uint8_t p) { return p != s.Get(r.left, r.top); }))
            return true;
    return false;
}

TEST(Assetgen, PicturesShareOnePaletteFillTheCellsTheGameReadsAndCanBeOverridden) {
    Display display;
    ASSERT_TRUE(display.Open("test", true));
    testing_support::ScopedCwd cwd(gDataDir);
    const std::unique_ptr<Surface> title = LoadBitmapSurface(&display, "title");
    ASSERT_TRUE(title);
    const ColorTable master = title->Colors();
    EXPECT_EQ(std::count(master.begin(), master.end(), PaletteEntry{255, 0, 255}), 1);
    EXPECT_EQ(master[kMagenta], (PaletteEntry{255, 0, 255}));
    auto load = [&](const std::string& name) {
        std::unique_ptr<Surface> s = LoadBitmapSurface(&display, name);
        EXPECT_TRUE(s && s->Colors() == master) << name;
        return s ? std::move(s) : Surface::Create(1, 1);
    };
    for (const fs::path& path : Generated(gAssetDir, ".bmp")) load(path.stem().string());

    // Select screen marks and portraits: a picture in every roster cell, portraits keyed round.
    const auto marks = load("MARKS"), portraits = load("MARKS2");
    for (int robot = 0; robot < kRosterSize; ++robot) {
        const Rect cell = RosterCell(robot);
        EXPECT_TRUE(HasInk(*marks, cell) && HasInk(*portraits, cell)) << robot;
        EXPECT_TRUE(portraits->Get(cell.left, cell.top) == kMagenta &&
                    portraits->Get(cell.right - 1, cell.bottom - 1) == kMagenta);
    }
    // Every view sheet of every robot: a frame in each cell, and attacks that move.
    int count = 0;
    const int32_t* ids = LadderIds(count);
    for (int i = 0; i < count; ++i) {
        for (const char* sheet : RobotRowFor(ids[i], 0, 1)->sheets) {
            const auto s = load(sheet);
            ASSERT_EQ(s->Bounds(), (Rect{0, 0, kSheetWidth, kSheetHeight})) << sheet;
            EXPECT_EQ(s->Get(0, 0), kMagenta) << sheet;
            for (int motion = 0; motion < kSheetMotions; ++motion) {
                bool moves = false;
                for (int frame = 0; frame < kSheetFrames; ++frame) {
                    const Rect cell = SheetCell(motion, frame);
                    EXPECT_TRUE(HasInk(*s, cell)) << sheet << " " << motion << "," << frame;
                    for (int y = cell.top; y < cell.bottom; ++y)
                        moves = moves || !std::equal(s->Row(y) + cell.left, s->Row(y) + cell.right, s->Row(y));
                }
                EXPECT_TRUE(moves || motion < 1 || motion > 4) << sheet << " motion " << motion;
            }
        }
    }
    // Tests may put other bytes in a resource's place, for its kind and name in any case.
    const std::span<const uint8_t> original = FindResource(ResourceKind::Bitmap, "TITLE");
    const uint8_t one[] = {1}, two[] = {2, 2};
    OverrideResource(ResourceKind::Wave, "title", one);
    OverrideResource(ResourceKind::Bitmap, "title", one);
    OverrideResource(ResourceKind::Bitmap, "Title", two);
    EXPECT_TRUE(std::ranges::equal(FindResource(ResourceKind::Bitmap, "TITLE"), two));
    OverrideResource(ResourceKind::Bitmap, "TITLE", {});
    EXPECT_TRUE(std::ranges::equal(FindResource(ResourceKind::Bitmap, "title"), original));
    EXPECT_TRUE(std::ranges::equal(FindResource(ResourceKind::Wave, "TITLE"), one));
    OverrideResource(ResourceKind::Wave, "title", {});
    EXPECT_TRUE(FindResource(ResourceKind::Wave, "TITLE").empty());
}

// Every built-in sound, found by kind and by name in any case, reads and converts for the
// mixer without a click at either end; every tune loads.
TEST(Assetgen, SoundsAndTunesLoadThroughTheGamesOwnReaders) {
    SoundDevice device;
    ASSERT_TRUE(device.Open());
    for (const fs::path& path : Generated(gAssetDir, ".wav")) {
        std::string lower = path.stem().string();
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        EXPECT_TRUE(FindResource(ResourceKind::Bitmap, lower).empty() &&
                    FindResource(ResourceKind::Wave, lower + "x").empty());
        WaveData wave;
        ASSERT_EQ(ReadWave(FindResource(ResourceKind::Wave, lower), wave), 0) << path;
        EXPECT_TRUE(SoundBuffer::Create(device, wave)) << path;
        const auto sample = [&](size_t at) { return std::abs(int16_t(wave.samples[at] | wave.samples[at + 1] << 8)); };
        EXPECT_TRUE(sample(0) < 200 && sample(wave.samples.size() - 2) < 200) << path;
    }
    for (const fs::path& path : Generated(gDataDir, ".mid"))
        EXPECT_TRUE(fs::file_size(path) < 16 * 1024 && Music::Load(device, path.string())) << path;
}

}  // namespace
}  // namespace dw

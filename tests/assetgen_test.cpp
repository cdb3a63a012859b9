// The generated pictures, sounds and music, read back through the game's own loaders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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
char gDataDir[] = DW_GAME_DATA_DIR;
constexpr uint8_t kMagenta = 255;

std::vector<uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The generated files of one extension, by their names without it.
std::vector<fs::path> Generated(const char* dir, const char* ext) {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ext) paths.push_back(entry.path());
    std::sort(paths.begin(), paths.end());
    return paths;
}

bool HasInk(const Surface& s, const Rect& r, uint8_t ground) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (s.Get(x, y) != ground) return true;
    return false;
}

TEST(Assetgen, PicturesShareOnePaletteAndFillTheCellsTheGameReads) {
    Display display;
    ASSERT_TRUE(display.Open("test", true));
    testing_support::ScopedCwd cwd(gDataDir);
    auto load = [&](const std::string& name) {
        std::unique_ptr<Surface> s = LoadBitmapSurface(&display, name);
        if (!s) ADD_FAILURE() << name << " does not load";
        return s;
    };
    // Every built-in picture is the generated file, found by its name in any case.
    const std::vector<fs::path> built = Generated(gAssetDir, ".bmp");
    ASSERT_EQ(built.size(), 5u);
    for (const fs::path& path : built) {
        const std::span<const uint8_t> bytes = FindResource(ResourceKind::Bitmap, path.stem().string());
        EXPECT_TRUE(std::ranges::equal(bytes, ReadAll(path))) << path;
        EXPECT_TRUE(FindResource(ResourceKind::Wave, path.stem().string()).empty()) << path;
    }
    const auto title = load("title");
    ASSERT_TRUE(title);
    EXPECT_EQ(title->Bounds(), (Rect{0, 0, kScreenWidth, kScreenHeight}));
    const ColorTable master = title->Colors();
    EXPECT_EQ(std::count(master.begin(), master.end(), PaletteEntry{255, 0, 255}), 1);
    EXPECT_EQ(master[kMagenta], (PaletteEntry{255, 0, 255}));

    for (const char* name : {"SABAKU", "WEAPON", "MARKS", "MARKS2"}) {
        const auto s = load(name);
        ASSERT_TRUE(s);
        EXPECT_EQ(s->Colors(), master) << name;
    }
    const auto marks = load("MARKS"), portraits = load("MARKS2");
    EXPECT_EQ(portraits->Bounds(), (Rect{0, 0, kRosterSheetWidth, kRosterSheetHeight}));
    for (int robot = 0; robot < kRosterSize; ++robot) {
        const Rect cell = RosterCell(robot);
        EXPECT_TRUE(HasInk(*marks, cell, 0)) << robot;
        EXPECT_TRUE(HasInk(*portraits, cell, kMagenta)) << robot;
        // Portraits stay inside their cells: the blit copies exactly the cell.
        EXPECT_EQ(portraits->Get(cell.left, cell.top), kMagenta) << robot;
        EXPECT_EQ(portraits->Get(cell.right - 1, cell.bottom - 1), kMagenta) << robot;
    }

    // Every view sheet of every robot: a frame in each cell, and attacks that move.
    int count = 0;
    const int32_t* ids = LadderIds(count);
    for (int i = 0; i < count; ++i) {
        for (const char* sheet : RobotRowFor(ids[i], 0, 1)->sheets) {
            SCOPED_TRACE(sheet);
            const auto s = load(sheet);
            ASSERT_TRUE(s);
            ASSERT_EQ(s->Bounds(), (Rect{0, 0, kSheetWidth, kSheetHeight}));
            EXPECT_EQ(s->Colors(), master);
            EXPECT_EQ(s->Get(0, 0), kMagenta);
            for (int motion = 0; motion < kSheetMotions; ++motion) {
                bool moves = false;
                for (int frame = 0; frame < kSheetFrames; ++frame) {
                    const Rect cell = SheetCell(motion, frame);
                    EXPECT_TRUE(HasInk(*s, cell, kMagenta)) << motion << "," << frame;
                    for (int y = 0; y < kCellSize; ++y)
                        moves = moves || !std::equal(s->Row(cell.top + y) + cell.left,
                                                     s->Row(cell.top + y) + cell.right, s->Row(cell.top + y));
                }
                EXPECT_TRUE(moves || motion < 1 || motion > 4) << "motion " << motion;
            }
        }
    }
}

TEST(Assetgen, SoundsAreShortLoudMonoPcmWithoutClicks) {
    const std::vector<fs::path> built = Generated(gAssetDir, ".wav");
    ASSERT_EQ(built.size(), 16u);
    for (const fs::path& path : built) {
        SCOPED_TRACE(path.string());
        const std::span<const uint8_t> bytes = FindResource(ResourceKind::Wave, path.stem().string());
        EXPECT_TRUE(std::ranges::equal(bytes, ReadAll(path)));
        WaveData wave;
        ASSERT_EQ(ReadWave(bytes, wave), 0);
        const WaveFormat& f = wave.format;
        EXPECT_TRUE(f.channels == 1 && f.samplesPerSec == 22050 && f.bitsPerSample == 16);
        std::vector<int> samples;
        for (size_t i = 0; i + 1 < wave.samples.size(); i += 2)
            samples.push_back(int16_t(wave.samples[i] | wave.samples[i + 1] << 8));
        EXPECT_LT(samples.size(), 22050u * 13 / 10);
        int peak = 0;
        for (int v : samples) peak = std::max(peak, std::abs(v));
        EXPECT_TRUE(peak > 32767 * 0.6 && peak < 32767 * 0.75) << peak;  // loud, never clipping
        EXPECT_LT(std::abs(samples.front()), 200);  // faded in and out
        EXPECT_LT(std::abs(samples.back()), 200);
    }
}

TEST(Assetgen, EveryTunePassesTheMidiCheckAndLoads) {
    SoundDevice device;
    ASSERT_TRUE(device.Open());
    const std::vector<fs::path> tunes = Generated(gDataDir, ".mid");
    ASSERT_EQ(tunes.size(), 6u);
    for (const fs::path& path : tunes) {
        const std::vector<uint8_t> bytes = ReadAll(path);
        EXPECT_TRUE(bytes.size() < 16 * 1024 && IsMidiFile(bytes)) << path;
        EXPECT_TRUE(Music::Load(device, path.string())) << path;
    }
}

}  // namespace
}  // namespace dw

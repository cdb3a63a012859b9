// The generated pictures, sounds and music, read back through the game's own loaders.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "frames/cell_layout.h"
#include "platform/bitmap.h"
#include "platform/display.h"
#include "platform/resources.h"
#include "platform/wave.h"
#include "robots/loading.h"
#include "test_support.h"

namespace dw {
namespace {

namespace fs = std::filesystem;

// Plain arrays, so that the build directory's path is stored whole in the binary.
char gAssetDir[] = DW_ASSET_DIR;
constexpr uint8_t kMagenta = 255;

// The generated files of one extension.
std::vector<fs::path> Generated(const char* dir, const char* ext) {
    std::vector<fs::path> paths;
    for (const auto& entry : fs::directory_iterator(dir))
        if (entry.path().extension() == ext) paths.push_back(entry.path());
    return paths;
}

TEST(Assetgen, PicturesShareOnePaletteAndSheetsFillTheCellsTheGameReads) {
    Display display;
    ASSERT_TRUE(display.Open("test", true));
    testing_support::ScopedCwd cwd(testing_support::GameDataDir());
    const std::unique_ptr<Surface> title = LoadBitmapSurface(&display, "title");
    ASSERT_TRUE(title);
    const ColorTable master = title->Colors();
    EXPECT_EQ(std::count(master.begin(), master.end(), PaletteEntry{255, 0, 255}), 1);
    EXPECT_EQ(master[kMagenta], (PaletteEntry{255, 0, 255}));
    auto load = [&](const std::string& name) {
        std::unique_ptr<Surface> s = LoadBitmapSurface(&display, name);
        if (s == nullptr) {
            ADD_FAILURE() << name << " does not load";
            return Surface::Create(1, 1);
        }
        EXPECT_EQ(s->Colors(), master) << name;
        return s;
    };
    for (const fs::path& path : Generated(gAssetDir, ".bmp")) load(path.stem().string());

    // Every view sheet of every robot: a frame in each cell, where not every pixel is the
    // cell's corner colour.
    int count = 0;
    const int32_t* ids = LadderIds(count);
    for (int i = 0; i < count; ++i) {
        for (const char* sheet : RobotRowFor(ids[i], 0, 1)->sheets) {
            const auto s = load(sheet);
            ASSERT_EQ(s->Bounds(), (Rect{0, 0, kSheetWidth, kSheetHeight})) << sheet;
            EXPECT_EQ(s->Get(0, 0), kMagenta) << sheet;
            for (int motion = 0; motion < kSheetMotions; ++motion)
                for (int frame = 0; frame < kSheetFrames; ++frame) {
                    const Rect c = SheetCell(motion, frame);
                    EXPECT_LT(testing_support::CountIndex(*s, c, s->Get(c.left, c.top)), c.Width() * c.Height())
                        << sheet << " " << motion << "," << frame;
                }
        }
    }
}

// Every built-in sound, found by kind and by name in any case, reads through the game's WAVE
// reader: a short 16-bit effect, peak-normalised to -3 dBFS, without a click at either end.
TEST(Assetgen, SoundsLoadThroughTheGamesOwnReaders) {
    for (const fs::path& path : Generated(gAssetDir, ".wav")) {
        std::string lower = path.stem().string();
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        EXPECT_TRUE(FindResource(ResourceKind::Bitmap, lower).empty()) << path;
        EXPECT_TRUE(FindResource(ResourceKind::Wave, lower + "x").empty()) << path;
        WaveData wave;
        ASSERT_EQ(ReadWave(FindResource(ResourceKind::Wave, lower), wave), 0) << path;
        ASSERT_EQ(wave.format.bitsPerSample, 16) << path;
        // Long enough to be heard as more than a click, short enough to retrigger in a fight.
        const double seconds = double(wave.samples.size()) / wave.format.avgBytesPerSec;
        EXPECT_GE(seconds, 0.05) << path;
        EXPECT_LE(seconds, 1.5) << path;
        const auto sample = [&](size_t at) { return std::abs(int16_t(wave.samples[at] | wave.samples[at + 1] << 8)); };
        int peak = 0;
        for (size_t at = 0; at < wave.samples.size(); at += 2) peak = std::max(peak, sample(at));
        // 0.708 of full scale, to within a tenth of a decibel: audible, and never clipping.
        EXPECT_NEAR(20 * std::log10(peak / 32767.0), -3.0, 0.1) << path << " peak " << peak;
        EXPECT_LT(sample(0), 200) << path;
        EXPECT_LT(sample(wave.samples.size() - 2), 200) << path;
    }
}

}  // namespace
}  // namespace dw

// The generated pictures: every file the game loads exists with its size, 8 bits a pixel,
// one shared palette with magenta at index 255, and drawn content where the game looks.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "frames/cell_layout.h"
#include "frames/roster_cells.h"

namespace {

namespace fs = std::filesystem;

constexpr uint8_t kMagenta = 255;

// Just enough of an 8-bit uncompressed bitmap reader to check the generator's output.
struct Bmp {
    int width = 0;
    int height = 0;
    std::array<uint32_t, 256> palette{};  // 0xRRGGBB
    std::vector<uint8_t> pixels;          // top-down
    uint8_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + size_t(i)];
    return v;
}

std::optional<Bmp> ReadBmp(const fs::path& path) {
    std::error_code ec;
    const auto size = fs::file_size(path, ec);
    if (ec || size > (64u << 20)) return std::nullopt;
    std::vector<uint8_t> b(size_t(size), 0);
    std::ifstream in(path, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(b.data()), std::streamsize(b.size()))) return std::nullopt;
    if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M' || Le(b, 14, 4) != 40) return std::nullopt;
    const auto width = int32_t(Le(b, 18, 4)), height = int32_t(Le(b, 22, 4));
    if (Le(b, 28, 2) != 8 || Le(b, 30, 4) != 0 || width <= 0 || height <= 0 || width > 4096 || height > 4096)
        return std::nullopt;
    const size_t offset = Le(b, 10, 4), pitch = (size_t(width) + 3) & ~size_t(3);
    if (offset < 54 + 1024 || offset + pitch * size_t(height) > b.size()) return std::nullopt;
    Bmp bmp;
    bmp.width = width;
    bmp.height = height;
    for (size_t i = 0; i < 256; ++i) bmp.palette[i] = Le(b, 54 + i * 4, 3);
    for (int y = height - 1; y >= 0; --y) {
        const auto row = b.begin() + ptrdiff_t(offset + pitch * size_t(y));
        bmp.pixels.insert(bmp.pixels.end(), row, row + width);
    }
    return bmp;
}

bool HasInk(const Bmp& bmp, const dw::Rect& r, uint8_t ground) {
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if (bmp.At(x, y) != ground) return true;
    return false;
}

bool SameCells(const Bmp& bmp, const dw::Rect& a, const dw::Rect& b) {
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (bmp.At(a.left + x, a.top + y) != bmp.At(b.left + x, b.top + y)) return false;
    return true;
}

std::vector<fs::path> ViewSheetPaths() {
    struct Set {
        const char* dir;
        const char* prefix;
        const char* ext;
    };
    const Set sets[] = {{"p_D2E", "st_", ".bmp"},      {"p_DOZ", "fm_", ".bmp"},   {"p_DariZev", "bb_", ".BMP"},
                        {"p_DeziVor", "fd_", ".bmp"},  {"p_Dirazi", "tang_", ".bmp"}, {"p_LizT", "lt_", ".bmp"},
                        {"p_LizV", "lv_", ".bmp"},     {"p_Pyro", "pp_", ".BMP"},  {"p_Viveraziv", "sc_", ".BMP"},
                        {"p_Zodov", "hb_", ".bmp"}};
    std::vector<fs::path> paths;
    for (const Set& s : sets)
        for (const char* view : {"back", "bs", "front", "fs", "side"})
            paths.push_back(fs::path(DW_GAME_DATA_DIR) / s.dir / (std::string(s.prefix) + view + s.ext));
    return paths;
}

TEST(AssetgenPictures, ResourcesShareTheMasterPalette) {
    struct Resource {
        const char* name;
        int width, height;
    };
    const Resource resources[] = {{"TITLE", 800, 600}, {"SABAKU", 200, 200}, {"MARKS", 750, 450},
                                  {"MARKS2", 750, 450}, {"WEAPON", 256, 192}};
    std::optional<Bmp> first;
    for (const Resource& r : resources) {
        SCOPED_TRACE(r.name);
        const auto bmp = ReadBmp(fs::path(DW_ASSET_DIR) / (std::string(r.name) + ".bmp"));
        ASSERT_TRUE(bmp.has_value());
        EXPECT_EQ(bmp->width, r.width);
        EXPECT_EQ(bmp->height, r.height);
        if (!first) first = bmp;
        EXPECT_EQ(bmp->palette, first->palette);
    }
    // Magenta only at 255, black at 0, and the interface colours exactly.
    for (size_t i = 0; i < 255; ++i) EXPECT_NE(first->palette[i], 0xFF00FFu) << i;
    EXPECT_EQ(first->palette[255], 0xFF00FFu);
    EXPECT_EQ(first->palette[0], 0u);
    for (uint32_t c : {0xFFFFFFu, 0x808080u, 0xBFBFBFu, 0x7F7F7Fu, 0x5F5F5Fu, 0x3F3F3Fu, 0xC8C8C8u, 0x0000FFu,
                       0xFF0000u, 0x00FF00u, 0xB40000u, 0x0000B4u, 0x008000u, 0x007800u, 0x00D200u, 0xD200D2u})
        EXPECT_NE(std::find(first->palette.begin(), first->palette.end(), c), first->palette.end()) << std::hex << c;
}

TEST(AssetgenPictures, SpritesAndRosterCellsAreDrawn) {
    const auto weapon = ReadBmp(fs::path(DW_ASSET_DIR) / "WEAPON.bmp");
    ASSERT_TRUE(weapon.has_value());
    EXPECT_EQ(weapon->At(0, 0), kMagenta);
    const dw::Rect sprites[] = {
        {0, 0, 10, 10},     {11, 0, 21, 10},    {22, 0, 32, 10},     {33, 0, 43, 10},      {43, 0, 55, 10},
        {43, 0, 53, 10},    {80, 0, 94, 14},    {95, 0, 109, 14},    {110, 0, 124, 14},    {125, 0, 139, 14},
        {141, 0, 155, 14},  {0, 11, 20, 31},    {21, 11, 41, 31},    {42, 11, 62, 31},     {63, 11, 83, 31},
        {0, 32, 30, 62},    {31, 32, 61, 62},   {62, 32, 92, 62},    {93, 32, 123, 62},    {0, 62, 40, 102},
        {41, 62, 81, 102},  {82, 62, 122, 102}, {123, 62, 163, 102}, {82, 104, 102, 124},  {0, 130, 24, 154},
        {30, 127, 56, 153}, {60, 127, 88, 155}, {0, 156, 30, 186}};
    for (const dw::Rect& r : sprites) {
        EXPECT_TRUE(HasInk(*weapon, r, kMagenta)) << r.left << "," << r.top;
        // A sprite is stretched over the shot: its edges stay see-through at the corners.
        EXPECT_EQ(weapon->At(r.left, r.top), kMagenta) << r.left << "," << r.top;
    }

    const auto marks = ReadBmp(fs::path(DW_ASSET_DIR) / "MARKS.bmp");
    const auto portraits = ReadBmp(fs::path(DW_ASSET_DIR) / "MARKS2.bmp");
    ASSERT_TRUE(marks.has_value() && portraits.has_value());
    EXPECT_EQ(portraits->At(0, 0), kMagenta);
    for (int robot = 0; robot < dw::kRosterSize; ++robot) {
        const dw::Rect cell = dw::RosterCell(robot);
        ASSERT_LE(cell.right, portraits->width);
        ASSERT_LE(cell.bottom, portraits->height);
        EXPECT_TRUE(HasInk(*marks, cell, 0)) << robot;
        EXPECT_TRUE(HasInk(*portraits, cell, kMagenta)) << robot;
        // Portraits stay inside their cells: the blit copies exactly the cell.
        EXPECT_EQ(portraits->At(cell.left, cell.top), kMagenta) << robot;
        EXPECT_EQ(portraits->At(cell.right - 1, cell.bottom - 1), kMagenta) << robot;
    }
}

TEST(AssetgenPictures, ViewSheetsFillEveryCellAndAnimateAttacks) {
    const auto paths = ViewSheetPaths();
    ASSERT_EQ(paths.size(), 50u);
    for (const fs::path& path : paths) {
        SCOPED_TRACE(path.string());
        const auto bmp = ReadBmp(path);
        ASSERT_TRUE(bmp.has_value());
        ASSERT_EQ(bmp->width, dw::kSheetWidth);
        ASSERT_EQ(bmp->height, dw::kSheetHeight);
        EXPECT_EQ(bmp->palette[kMagenta], 0xFF00FFu);
        EXPECT_EQ(bmp->At(0, 0), kMagenta);
        for (int motion = 0; motion < dw::kSheetMotions; ++motion) {
            bool moves = false;
            for (int frame = 0; frame < dw::kSheetFrames; ++frame) {
                const dw::Rect cell = dw::SheetCell(motion, frame);
                EXPECT_TRUE(HasInk(*bmp, cell, kMagenta)) << motion << "," << frame;
                if (frame > 0) moves = moves || !SameCells(*bmp, cell, dw::SheetCell(motion, 0));
            }
            if (motion >= 1 && motion <= 4) {
                EXPECT_TRUE(moves) << "motion " << motion;
            }
        }
    }
}

}  // namespace

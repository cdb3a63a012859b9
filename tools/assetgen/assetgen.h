// The game's own pictures, sounds and music, made at build time.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/geometry.h"

namespace assetgen {

namespace fs = std::filesystem;

// One palette for every picture: each bitmap load replaces the screen palette, so all
// pictures share it and their colours stay right whatever was loaded last.
constexpr uint8_t kBlackIndex = 0;
constexpr uint8_t kMagentaIndex = 255;  // 0xFF00FF, the transparent colour of every sheet
const dw::ColorTable& MasterPalette();
// Nearest master-palette index of an RGB colour.
uint8_t Ink(uint8_t r, uint8_t g, uint8_t b);

struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // top-down, pitch == width

    Image(int w, int h, uint8_t fill) : width(w), height(h), pixels(size_t(w) * size_t(h), fill) {}
    void Set(int x, int y, uint8_t c) {
        if (x >= 0 && y >= 0 && x < width && y < height) pixels[size_t(y) * size_t(width) + size_t(x)] = c;
    }
    uint8_t Get(int x, int y) const {
        return (x >= 0 && y >= 0 && x < width && y < height) ? pixels[size_t(y) * size_t(width) + size_t(x)] : 0;
    }
};

// Writes an uncompressed 8-bit bitmap with the master palette. Throws on I/O failure.
void WriteBmp(const fs::path& path, const Image& image);
// Writes bytes to a file, making its directory. Throws on I/O failure.
void WriteFile(const fs::path& path, const std::vector<uint8_t>& bytes);

// Each writes its files; throws std::runtime_error on failure.
void MakePictures(const fs::path& resourceDir, const fs::path& gameDir);  // resources + view sheets
void MakeSounds(const fs::path& resourceDir);                             // WAVE resources
void MakeMusic(const fs::path& gameDir);                                  // MIDI files

}  // namespace assetgen

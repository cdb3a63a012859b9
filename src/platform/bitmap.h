// 8-bit Windows bitmaps (uncompressed and RLE8), read with full validation.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/geometry.h"
#include "platform/surface.h"

namespace dw {

class Display;

struct DecodedBitmap {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;  // top-down rows, pitch == width
    ColorTable colors{};          // entries beyond the file's table are black
};

// Parses a whole .bmp file image (BITMAPFILEHEADER onward). Accepts 8 bits per pixel,
// BI_RGB or BI_RLE8, bottom-up or top-down. Returns false for anything malformed:
// short data, bad magic, sizes or offsets outside the data, absurd dimensions,
// RLE runs that leave the picture or the data.
bool DecodeBitmap(std::span<const uint8_t> file, DecodedBitmap& out, std::string* why = nullptr);

// Loads the bitmap called name: first from the built-in resources, else from the file of
// that name relative to the working directory. Makes a surface of its size holding the
// picture and sets its colour table as the screen palette. nullptr on any failure or
// while the display is closed.
std::unique_ptr<Surface> LoadBitmapSurface(Display* display, const std::string& name);

// The surface's pixel value for a colour 0x00BBGGRR, by the screen palette:
// 0xFFFFFFFF when the surface or display is absent.
uint32_t ColorToPixel(const Display* display, const Surface* surface, ColorRef colour);

}  // namespace dw

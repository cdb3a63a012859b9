// Bitmap loading into surfaces, and colour-to-pixel mapping.
#include "platform/bitmap.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/display.h"
#include "platform/resources.h"

namespace dw {
namespace {

constexpr uintmax_t kMaxFileBytes = uintmax_t(64) << 20;

// Reads a whole regular file of sane size; false for anything else.
bool ReadFile(const std::string& name, std::vector<uint8_t>& bytes) {
    std::error_code ec;
    const std::filesystem::path path(name);
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    const uintmax_t size = std::filesystem::file_size(path, ec);
    if (ec || size > kMaxFileBytes) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.resize(size_t(size));
    in.read(reinterpret_cast<char*>(bytes.data()), std::streamsize(bytes.size()));
    return in.gcount() == std::streamsize(bytes.size());
}

}  // namespace

std::unique_ptr<Surface> LoadBitmapSurface(Display* display, const std::string& name) {
    if (!display || !display->IsOpen() || name.empty()) return nullptr;
    std::vector<uint8_t> fileBytes;
    std::span<const uint8_t> bytes = FindResource(ResourceKind::Bitmap, name);
    if (bytes.empty()) {
        if (!ReadFile(name, fileBytes)) return nullptr;
        bytes = fileBytes;
    }
    DecodedBitmap bitmap;
    if (!DecodeBitmap(bytes, bitmap)) return nullptr;
    std::unique_ptr<Surface> surface = Surface::Create(bitmap.width, bitmap.height);
    if (!surface) return nullptr;
    std::copy(bitmap.pixels.begin(), bitmap.pixels.end(), surface->Pixels());
    surface->SetColors(bitmap.colors);
    display->SetPalette(bitmap.colors);
    return surface;
}

uint32_t ColorToPixel(const Display* display, const Surface* surface, ColorRef colour) {
    constexpr uint32_t kInvalid = 0xFFFFFFFF;
    if (!display || !surface || !display->IsOpen() || colour == kInvalid) return kInvalid;
    // Writing a colour into an 8-bit surface stores its nearest screen palette entry.
    return NearestIndex(display->Palette(), colour);
}

}  // namespace dw

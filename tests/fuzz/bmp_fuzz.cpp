// Feeds arbitrary bytes to the bitmap decoder.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/bitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    dw::DecodedBitmap out;
    if (!dw::DecodeBitmap(std::span(data, size), out)) return 0;
    // Touch every pixel the decoder claims to have, so a size mismatch shows up.
    unsigned sum = 0;
    for (size_t i = 0; i < size_t(out.width) * size_t(out.height); ++i) sum += out.pixels[i];
    for (const dw::PaletteEntry& c : out.colors) sum += c.r + c.g + c.b;
    [[maybe_unused]] volatile unsigned sink = sum;
    return 0;
}

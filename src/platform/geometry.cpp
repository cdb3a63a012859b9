#include "platform/geometry.h"

#include <cstddef>

namespace dw {

uint8_t NearestIndex(const ColorTable& table, ColorRef colour) {
    const int r = RedOf(colour);
    const int g = GreenOf(colour);
    const int b = BlueOf(colour);
    int best = 0;
    int bestDistance = 3 * 255 * 255 + 1;
    for (int i = 0; i < 256; ++i) {
        const PaletteEntry& e = table[std::size_t(i)];
        const int dr = e.r - r;
        const int dg = e.g - g;
        const int db = e.b - b;
        const int distance = dr * dr + dg * dg + db * db;
        if (distance < bestDistance) {
            best = i;
            bestDistance = distance;
            if (distance == 0) break;
        }
    }
    return uint8_t(best);
}

}  // namespace dw

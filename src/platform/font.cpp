#include "platform/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <strings.h>
#include <algorithm>
#include <climits>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/draw_context.h"

namespace dw {

namespace {

constexpr char32_t kReplacement = 0xFFFD;
constexpr size_t kMaxCachedGlyphs = 1024;
constexpr int kMaxPixelSize = 512;  // larger requests are clamped

// One process-wide FreeType library, made on first use.
FT_Library Library() {
    static FT_Library library = [] {
        FT_Library made = nullptr;
        return FT_Init_FreeType(&made) == 0 ? made : nullptr;
    }();
    return library;
}

// Next code point of a UTF-8 string; malformed sequences give U+FFFD and skip one byte.
char32_t NextCodePoint(std::string_view s, size_t& i) {
    const auto lead = uint8_t(s[i++]);
    if (lead < 0x80) return lead;
    // Continuation bytes, payload of the lead byte, smallest code point of that length.
    int tail = 3;
    char32_t cp = lead & 0x07u;
    char32_t least = 0x10000;
    if ((lead & 0xE0) == 0xC0) {
        tail = 1;
        cp = lead & 0x1Fu;
        least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        tail = 2;
        cp = lead & 0x0Fu;
        least = 0x800;
    } else if ((lead & 0xF8) != 0xF0) {
        return kReplacement;
    }
    size_t j = i;
    for (int k = 0; k < tail; ++k, ++j) {
        if (j >= s.size() || (uint8_t(s[j]) & 0xC0) != 0x80) return kReplacement;
        cp = cp << 6 | (uint8_t(s[j]) & 0x3Fu);
    }
    i = j;
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

// File of the best fontconfig match for a family; with `exact`, only a font of that family.
std::string MatchFamily(const char* family, bool exact) {
    static const bool ready = FcInit() == FcTrue;
    if (!ready) return {};
    FcPattern* pattern = FcPatternCreate();
    if (pattern == nullptr) return {};
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) return {};
    bool found = !exact;
    FcChar8* name = nullptr;
    for (int i = 0; !found && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i)
        found = strcasecmp(reinterpret_cast<const char*>(name), family) == 0;
    std::string path;
    if (found && FcPatternGetString(match, FC_FILE, 0, &name) == FcResultMatch)
        path = reinterpret_cast<const char*>(name);
    FcPatternDestroy(match);
    return path;
}

struct Glyph {
    int left = 0;  // from the pen position
    int top = 0;   // rows above the baseline
    int width = 0;
    int height = 0;
    int advance = 0;
    std::vector<uint8_t> bits;  // width * height, 1 = ink
};

}  // namespace

std::string FindFontFile(std::string_view faceName) {
    static std::mutex mutex;
    static std::unordered_map<std::string, std::string> cache;
    const std::lock_guard lock(mutex);
    std::string key(faceName);
    if (auto it = cache.find(key); it != cache.end()) return it->second;

    std::string lower = key;
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    std::string path;
    if (lower.find("mincho") != std::string::npos || key.find("明朝") != std::string::npos)
        path = MatchFamily("IPAMincho", true);
    if (path.empty()) path = MatchFamily("serif", false);
    cache.emplace(std::move(key), path);
    return path;
}

struct FontFace::Impl {
    FT_Face face = nullptr;
    bool italic = false;
    FT_Pos bold = 0;  // emboldening strength, 26.6
    std::unordered_map<char32_t, Glyph> glyphs;

    ~Impl() {
        if (face != nullptr) FT_Done_Face(face);
    }

    const Glyph& GlyphFor(char32_t cp) {
        if (auto it = glyphs.find(cp); it != glyphs.end()) return it->second;
        if (glyphs.size() >= kMaxCachedGlyphs) glyphs.clear();
        Glyph& g = glyphs[cp];
        const FT_UInt index = FT_Get_Char_Index(face, cp);
        if (FT_Load_Glyph(face, index, FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0) return g;
        FT_GlyphSlot slot = face->glyph;
        g.advance = int((slot->advance.x + bold + 32) >> 6);
        if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return g;
        if (bold != 0) FT_Outline_Embolden(&slot->outline, bold);
        if (italic) {
            const FT_Matrix shear{0x10000, 0x3333, 0, 0x10000};  // x += 0.2 y
            FT_Outline_Transform(&slot->outline, &shear);
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return g;
        const FT_Bitmap& bm = slot->bitmap;
        if (bm.pixel_mode != FT_PIXEL_MODE_MONO || bm.pitch <= 0 || bm.buffer == nullptr || bm.width == 0 ||
            bm.rows == 0 || size_t(bm.pitch) * 8 < bm.width)
            return g;
        g.left = slot->bitmap_left;
        g.top = slot->bitmap_top;
        g.width = int(bm.width);
        g.height = int(bm.rows);
        g.bits.resize(size_t(g.width) * size_t(g.height));
        for (int y = 0; y < g.height; ++y) {
            const uint8_t* row = bm.buffer + size_t(y) * size_t(bm.pitch);
            for (int x = 0; x < g.width; ++x)
                g.bits[size_t(y) * size_t(g.width) + size_t(x)] = (row[x >> 3] >> (7 - (x & 7))) & 1;
        }
        return g;
    }
};

std::unique_ptr<FontFace> FontFace::Open(const std::string& path, const FontSpec& spec) {
    FT_Library library = Library();
    if (library == nullptr || path.empty()) return nullptr;
    auto impl = std::make_unique<Impl>();
    if (FT_New_Face(library, path.c_str(), 0, &impl->face) != 0) {
        impl->face = nullptr;
        return nullptr;
    }
    FT_Face face = impl->face;
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) return nullptr;
    const int64_t em = face->units_per_EM;

    // The cell (ascent + descent) in font units, as GDI measures it.
    int64_t ascent = face->ascender;
    int64_t cell = int64_t(face->ascender) - face->descender;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascent = os2->usWinAscent;
        cell = int64_t(os2->usWinAscent) + os2->usWinDescent;
    }
    if (cell <= 0) {
        cell = em;
        ascent = em * 4 / 5;
    }

    // A positive height is the cell height, a negative one the em height (as in GDI).
    const int64_t height = std::clamp<int64_t>(spec.height == 0 ? 16 : spec.height, -kMaxPixelSize, kMaxPixelSize);
    int64_t ySize = height > 0 ? height * 64 * em / cell : -height * 64;  // 26.6 pixels

    // The width is the advance of half-width Latin letters.
    int64_t xSize = ySize;
    if (spec.width > 0) {
        FT_Pos advance = 0;
        for (char32_t probe : {U'0', U'x'}) {
            const FT_UInt index = FT_Get_Char_Index(face, probe);
            if (index != 0 && FT_Load_Glyph(face, index, FT_LOAD_NO_SCALE) == 0 && face->glyph->advance.x > 0) {
                advance = face->glyph->advance.x;
                break;
            }
        }
        if (advance <= 0) advance = FT_Pos(em / 2);
        xSize = std::min<int64_t>(spec.width, kMaxPixelSize) * 64 * em / advance;
    }
    xSize = std::clamp<int64_t>(xSize, 64, kMaxPixelSize * 64 * 4);
    ySize = std::clamp<int64_t>(ySize, 64, kMaxPixelSize * 64);
    if (FT_Set_Char_Size(face, FT_F26Dot6(xSize), FT_F26Dot6(ySize), 72, 72) != 0) return nullptr;

    impl->italic = spec.italic;
    if (spec.weight >= 600) impl->bold = FT_MulFix(face->units_per_EM, face->size->metrics.y_scale) / 24;

    std::unique_ptr<FontFace> result(new FontFace());
    result->ascent_ = int((ascent * ySize / em + 32) / 64);
    result->cellHeight_ = height > 0 ? int(height) : int((cell * ySize / em + 32) / 64);
    result->impl_ = std::move(impl);
    return result;
}

FontFace::~FontFace() = default;

int FontFace::Layout(Surface* target, int x, int y, std::string_view utf8, uint8_t colour) {
    int64_t pen = x;
    const int64_t baseline = int64_t(y) + ascent_;
    for (size_t i = 0; i < utf8.size();) {
        const Glyph& g = impl_->GlyphFor(NextCodePoint(utf8, i));
        if (target != nullptr && !g.bits.empty()) {
            const int64_t left = pen + g.left;
            const int64_t top = baseline - g.top;
            const int64_t c0 = std::max<int64_t>(0, -left);
            const int64_t c1 = std::min<int64_t>(g.width, target->Width() - left);
            const int64_t r0 = std::max<int64_t>(0, -top);
            const int64_t r1 = std::min<int64_t>(g.height, target->Height() - top);
            for (int64_t r = r0; r < r1; ++r) {
                const uint8_t* bits = g.bits.data() + r * g.width + c0;
                uint8_t* out = target->Row(int(top + r)) + (left + c0);
                for (int64_t c = 0; c < c1 - c0; ++c)
                    if (bits[c]) out[c] = colour;
            }
        }
        pen += g.advance;
    }
    return int(std::clamp<int64_t>(pen - x, INT_MIN, INT_MAX));
}

int FontFace::Draw(Surface& target, int x, int y, std::string_view utf8, uint8_t colour) {
    return Layout(&target, x, y, utf8, colour);
}

int FontFace::Measure(std::string_view utf8) { return Layout(nullptr, 0, 0, utf8, 0); }

std::unique_ptr<Font> Font::Create(const FontSpec& spec) {
    std::unique_ptr<Font> font(new Font(spec));
    font->face_ = FontFace::Open(FindFontFile(spec.face), spec);
    return font;
}

Font::Font(const FontSpec& spec) : spec_(spec) {}
Font::~Font() = default;

}  // namespace dw

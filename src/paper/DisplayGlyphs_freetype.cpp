// The display's face found through fontconfig, as the simulator's toolkit finds it, and rendered by
// FreeType in one-bit pixels.
#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <string>

#include "paper/DisplayGlyphs.h"

namespace k52 {

namespace {

// The simulator's choice of face, in its order.
constexpr const char* kFamilies[] = {"WenQuanYi Micro Hei Mono", "WenQuanYi Bitmap Song", "Elite",
                                     "monospace"};

struct FaceFile {
    std::string path;
    int index = 0;
};

std::optional<FaceFile> FindFace() {
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return std::nullopt;
    FcPattern* pattern = FcPatternCreate();
    for (const char* family : kFamilies)
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    std::optional<FaceFile> found;
    FcChar8* file = nullptr;
    if (match && FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
        found = FaceFile{reinterpret_cast<const char*>(file), 0};
        FcPatternGetInteger(match, FC_INDEX, 0, &found->index);
    }
    if (match) FcPatternDestroy(match);
    FcPatternDestroy(pattern);
    FcConfigDestroy(config);
    return found;
}

class FreeTypeGlyphs : public GlyphSource {
  public:
    ~FreeTypeGlyphs() override {
        if (face_) FT_Done_Face(face_);
        if (library_) FT_Done_FreeType(library_);
    }

    bool Open(const FaceFile& file) {
        if (FT_Init_FreeType(&library_) != 0) return false;
        if (FT_New_Face(library_, file.path.c_str(), file.index, &face_) != 0) return false;
        // Ten pixels high, stretched by a fifth: a Latin letter fills its 6-pixel column.
        if (FT_Set_Pixel_Sizes(face_, 12, kGlyphHeight) != 0) return false;
        const FT_Size_Metrics& m = face_->size->metrics;
        const int ascent = static_cast<int>(m.ascender >> 6);
        const int descent = static_cast<int>(-m.descender >> 6);
        // The glyphs' box centred on the row, as on the simulated display.
        baseline_ = (kGlyphHeight - (ascent + descent)) / 2 + ascent;
        return true;
    }

    std::optional<Glyph> GlyphOf(char32_t c, bool wide) const override {
        const FT_UInt index = FT_Get_Char_Index(face_, c);
        if (index == 0) return std::nullopt;
        if (FT_Load_Glyph(face_, index, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
            return std::nullopt;
        const FT_GlyphSlot slot = face_->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return std::nullopt;
        Glyph g;
        g.width = wide ? 2 * kGlyphWidth : kGlyphWidth;
        for (unsigned by = 0; by < bitmap.rows; ++by) {
            const int y = baseline_ - slot->bitmap_top + static_cast<int>(by);
            if (y < 0 || y >= kGlyphHeight) continue;
            const unsigned char* row = bitmap.buffer + static_cast<long>(by) * bitmap.pitch;
            for (unsigned bx = 0; bx < bitmap.width; ++bx) {
                const int x = slot->bitmap_left + static_cast<int>(bx);
                if (x < 0 || x >= g.width || !(row[bx / 8] & (0x80 >> (bx % 8)))) continue;
                g.rows[static_cast<std::size_t>(y)] |= static_cast<std::uint16_t>(1u << (g.width - 1 - x));
            }
        }
        return g;
    }

  private:
    FT_Library library_ = nullptr;
    FT_Face face_ = nullptr;
    int baseline_ = 0;
};

}  // namespace

std::unique_ptr<GlyphSource> DisplayFontGlyphs() {
    const auto file = FindFace();
    if (!file) return nullptr;
    auto glyphs = std::make_unique<FreeTypeGlyphs>();
    if (!glyphs->Open(*file)) return nullptr;
    return glyphs;
}

}  // namespace k52

// The terminal display's characters as pixels, so that a screen on paper shows the glyphs the simulator
// draws: the same face, ten pixels high and stretched to a 6-pixel column, without smoothing.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace k52 {

constexpr int kGlyphHeight = 10;
constexpr int kGlyphWidth = 6;  // a wide character takes two

// One character's cell: row y's pixel x is dark when bit (width - 1 - x) of rows[y] is set.
struct Glyph {
    int width = kGlyphWidth;
    std::array<std::uint16_t, kGlyphHeight> rows{};
};

class GlyphSource {
  public:
    virtual ~GlyphSource() = default;
    // Character `c` in a cell one (or, `wide`, two) columns wide; none when the face lacks it.
    virtual std::optional<Glyph> GlyphOf(char32_t c, bool wide) const = 0;
};

// The display's face as this system has it; nullptr where it is not installed (or not on this build),
// and the paper then sets the screens' characters as text.
std::unique_ptr<GlyphSource> DisplayFontGlyphs();

}  // namespace k52

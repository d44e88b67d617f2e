// A build without FreeType: no display face, so screens on paper are set as text.
#include "paper/DisplayGlyphs.h"

namespace k52 {

std::unique_ptr<GlyphSource> DisplayFontGlyphs() {
    return nullptr;
}

}  // namespace k52

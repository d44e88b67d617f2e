// The table of English texts that the build generates from translations/k52_en.ts.
#pragma once

#include <span>
#include <string_view>

namespace k52 {

struct EnglishText {
    std::string_view source;  // the program's own (Chinese) text, UTF-8
    std::string_view context;
    std::string_view english;
};

// Sorted by source, then context; only finished translations.
std::span<const EnglishText> EnglishTexts();

}  // namespace k52

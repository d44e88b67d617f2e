// The translation tables that the build generates from the Qt Linguist files in translations/.
#pragma once

#include <span>
#include <string_view>

namespace k52 {

struct TranslatedText {
    std::string_view source;  // UTF-8, as written in the code
    std::string_view context;
    std::string_view translation;
};

// Each sorted by source, then context; only finished translations.
// translations/k52_en.ts: the program's own (Chinese) texts in English.
std::span<const TranslatedText> EnglishTexts();
// translations/k52_zh.ts: the English-authored texts (k52cli's lines, the core's explanations and
// findings) in the program's Chinese.
std::span<const TranslatedText> ChineseTexts();

}  // namespace k52

// Looks texts up in the English table generated from translations/k52_en.ts.
#include "i18n/Translate.h"

#include <algorithm>
#include <atomic>
#include <span>
#include <vector>

#include "i18n/EnglishTexts.h"

namespace k52 {
namespace {

std::atomic<Language> gLanguage{Language::Chinese};

std::span<const EnglishText>::iterator FirstWithSource(std::string_view source) {
    std::span<const EnglishText> table = EnglishTexts();
    return std::lower_bound(table.begin(), table.end(), source,
                            [](const EnglishText& e, std::string_view s) { return e.source < s; });
}

}  // namespace

void SetLanguage(Language language) {
    gLanguage = language;
}

Language CurrentLanguage() {
    return gLanguage;
}

std::string_view Translate(std::string_view context, std::string_view source) {
    if (gLanguage != Language::English) return source;
    const std::span<const EnglishText> table = EnglishTexts();
    for (auto it = FirstWithSource(source); it != table.end() && it->source == source; ++it)
        if (it->context == context) return it->english;
    return source;
}

std::string_view Translate(std::string_view source) {
    if (gLanguage != Language::English) return source;
    auto it = FirstWithSource(source);
    return it != EnglishTexts().end() && it->source == source ? it->english : source;
}

std::string TranslateNumbered(std::string_view context, std::string_view source) {
    std::string_view whole = Translate(context, source);
    if (whole.data() != source.data()) return std::string(whole);
    std::size_t digits = source.find_last_not_of("0123456789") + 1;
    if (digits == 0 || digits == source.size()) return std::string(source);
    return std::string(Translate(context, source.substr(0, digits))) + std::string(source.substr(digits));
}

std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> args) {
    const std::vector<std::string_view> values(args);
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            auto n = static_cast<std::size_t>(pattern[i + 1] - '1');
            if (n < values.size()) {
                out += values[n];
                ++i;
                continue;
            }
        }
        out += pattern[i];
    }
    return out;
}

}  // namespace k52

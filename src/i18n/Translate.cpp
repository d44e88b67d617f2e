// Looks texts up in the tables generated from translations/k52_en.ts and translations/k52_zh.ts.
#include "i18n/Translate.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cctype>
#include <span>

#include "i18n/TranslationTables.h"

namespace k52 {
namespace {

std::atomic<Language> gLanguage{Language::Chinese};

using Table = std::span<const TranslatedText>;

Table::iterator FirstWithSource(Table table, std::string_view source) {
    return std::lower_bound(table.begin(), table.end(), source,
                            [](const TranslatedText& e, std::string_view s) { return e.source < s; });
}

std::string_view Lookup(Table table, std::string_view source) {
    auto it = FirstWithSource(table, source);
    return it != table.end() && it->source == source ? it->translation : source;
}

std::string SubstituteAll(std::string_view pattern, std::span<const std::string_view> values) {
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

bool IsPlace(std::string_view pattern, std::size_t at) {
    return pattern[at] == '%' && at + 1 < pattern.size() && pattern[at + 1] >= '1' && pattern[at + 1] <= '9';
}

using Places = std::array<std::string_view, 9>;

// Whether `text` is `pattern` with each %n standing for some non-empty text (the shortest that lets the
// rest match), and what each stood for.
bool Match(std::string_view pattern, std::string_view text, Places& places) {
    std::size_t literal = 0;
    while (literal < pattern.size() && !IsPlace(pattern, literal)) ++literal;
    if (text.substr(0, literal) != pattern.substr(0, literal)) return false;
    pattern.remove_prefix(literal);
    text.remove_prefix(literal);
    if (pattern.empty()) return text.empty();
    for (std::size_t length = 1; length <= text.size(); ++length) {
        places[static_cast<std::size_t>(pattern[1] - '1')] = text.substr(0, length);
        if (Match(pattern.substr(2), text.substr(length), places)) return true;
    }
    return false;
}

// How much of a pattern is its own text: -1 when that holds no letter, so "%1: %2" matches nothing.
int LiteralLength(std::string_view pattern) {
    int length = 0;
    bool letter = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (IsPlace(pattern, i)) {
            ++i;
            continue;
        }
        letter = letter || std::isalpha(static_cast<unsigned char>(pattern[i]));
        ++length;
    }
    return letter ? length : -1;
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
    const Table table = EnglishTexts();
    for (auto it = FirstWithSource(table, source); it != table.end() && it->source == source; ++it)
        if (it->context == context) return it->translation;
    return source;
}

std::string_view Translate(std::string_view source) {
    return gLanguage == Language::English ? Lookup(EnglishTexts(), source) : source;
}

std::string TranslateNumbered(std::string_view context, std::string_view source) {
    std::string_view whole = Translate(context, source);
    if (whole.data() != source.data()) return std::string(whole);
    std::size_t digits = source.find_last_not_of("0123456789") + 1;
    if (digits == 0 || digits == source.size()) return std::string(source);
    return std::string(Translate(context, source.substr(0, digits))) + std::string(source.substr(digits));
}

std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> args) {
    return SubstituteAll(pattern, std::span<const std::string_view>(args.begin(), args.size()));
}

std::string Localize(std::string_view english) {
    return std::string(gLanguage == Language::English ? english : Lookup(ChineseTexts(), english));
}

std::string Localize(std::string_view pattern, std::initializer_list<std::string_view> args) {
    return Substitute(Localize(pattern), args);
}

std::string LocalizeFinished(std::string_view text) {
    if (gLanguage == Language::English) return std::string(text);
    const std::string_view whole = Lookup(ChineseTexts(), text);
    if (whole.data() != text.data()) return std::string(whole);
    const TranslatedText* best = nullptr;
    Places bestPlaces{}, places{};
    int bestLength = -1;
    for (const TranslatedText& e : ChineseTexts()) {
        if (e.source.find('%') == std::string_view::npos) continue;
        const int length = LiteralLength(e.source);
        if (length <= bestLength || !Match(e.source, text, places)) continue;
        best = &e;
        bestPlaces = places;
        bestLength = length;
    }
    if (!best) return std::string(text);
    std::array<std::string, 9> values;
    std::array<std::string_view, 9> views;
    for (std::size_t i = 0; i < values.size(); ++i) views[i] = values[i] = LocalizeReason(bestPlaces[i]);
    return SubstituteAll(best->translation, views);
}

}  // namespace k52

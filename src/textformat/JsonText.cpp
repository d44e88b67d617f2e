// Positions, nesting depth and the parser's messages for a template's JSON text.
#include "textformat/JsonText.h"

#include <algorithm>

#include "i18n/Translate.h"

namespace k52 {
namespace {

// The deepest nesting of arrays and objects a text may have: the template's own goes five deep.
constexpr std::size_t kMaxDepth = 64;

}  // namespace

std::string_view QuotedPrefix(std::string_view s) {
    std::size_t n = kQuotedBytes;
    while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return s.substr(0, n);
}

std::string TextPosition(std::string_view text, std::size_t offset) {
    const std::string_view before = text.substr(0, offset);
    const std::size_t line = 1 + static_cast<std::size_t>(std::count(before.begin(), before.end(), '\n'));
    const std::size_t lastBreak = before.rfind('\n');
    const std::size_t column =
        lastBreak == std::string_view::npos ? before.size() + 1 : before.size() - lastBreak;
    return Localize("line %1, column %2", {std::to_string(line), std::to_string(column)});
}

std::string ShortenQuotedToken(std::string what) {
    const std::size_t open = what.find('\'');
    const std::size_t close = what.rfind('\'');
    if (open == std::string::npos || close <= open || close - open - 1 <= kQuotedBytes) return what;
    const std::string_view token = std::string_view(what).substr(open + 1, close - open - 1);
    return what.substr(0, open + 1) + std::string(QuotedPrefix(token)) + "'..." +
           Localize(" (%1 bytes)", {std::to_string(token.size())}) + what.substr(close + 1);
}

std::string JsonParseFailure(std::string_view text, const TemplateJsonValue::parse_error& e) {
    // e.byte counts the characters read, the offending one included.
    const std::size_t offset = std::min<std::size_t>(e.byte, text.size() + 1) - (e.byte > 0 ? 1 : 0);
    // The library's message carries its own position first; keep only what it says went wrong.
    std::string what = e.what();
    std::size_t detail = what.find("column ");
    if (detail != std::string::npos) detail = what.find(": ", detail);
    if (detail != std::string::npos) what = what.substr(detail + 2);
    return Localize("%1: the JSON does not parse: %2",
                    {TextPosition(text, offset), ShortenQuotedToken(what)});
}

std::optional<std::size_t> NumberOffset(std::string_view text, std::string_view token) {
    if (token.empty()) return std::nullopt;
    auto numberChar = [](char c) {
        return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.' || c == 'e' || c == 'E';
    };
    bool inString = false, escaped = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (text.substr(i, token.size()) == token && (i == 0 || !numberChar(text[i - 1])) &&
                   (i + token.size() == text.size() || !numberChar(text[i + token.size()]))) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<std::string> TooDeepNesting(std::string_view text) {
    std::size_t depth = 0;
    bool inString = false, escaped = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == ']' || c == '}') {
            if (depth > 0) --depth;
        } else if ((c == '[' || c == '{') && ++depth > kMaxDepth) {
            return Localize("%1: arrays and objects nest deeper than %2 levels",
                            {TextPosition(text, i), std::to_string(kMaxDepth)});
        }
    }
    return std::nullopt;
}

}  // namespace k52

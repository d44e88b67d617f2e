// Lookup file bytes into CP950 records: the encoding by content, the line-end rule, the 253-byte limit.
#include "link/LookupData.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

#include "i18n/Translate.h"
#include "template/Cp950.h"

namespace k52 {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// Length of the well-formed UTF-8 sequence at `i` (no overlong forms, no surrogates, nothing above
// U+10FFFF), or 0 when there is none.
std::size_t Utf8Length(std::string_view s, std::size_t i) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char b = at(i);
    if (b < 0x80) return 1;
    std::size_t n = 0;
    unsigned char low = 0x80, high = 0xBF;  // bounds of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        n = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        n = 3;
        if (b == 0xE0) low = 0xA0;
        if (b == 0xED) high = 0x9F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        n = 4;
        if (b == 0xF0) low = 0x90;
        if (b == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + n > s.size() || at(i + 1) < low || at(i + 1) > high) return 0;
    for (std::size_t k = 2; k < n; ++k)
        if ((at(i + k) & 0xC0) != 0x80) return 0;
    return n;
}

bool LooksLikeUtf8(std::string_view s) {
    bool multiByte = false;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8Length(s, i);
        if (n == 0) return false;
        multiByte = multiByte || n > 1;
        i += n;
    }
    return multiByte;
}

std::uint32_t CodePoint(std::string_view ch) {
    const auto b0 = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1) return b0;
    std::uint32_t cp = b0 & (0x7Fu >> ch.size());
    for (std::size_t k = 1; k < ch.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3Fu);
    return cp;
}

LookupRefusal TooLong(long line) {
    return {LookupProblem::RecordTooLong,
            line,
            0,
            {},
            Substitute(Translate("Link", K52_TR("Link", "檔案第 %1 行的資料超過 %2 個位元組, 無法下載!!")),
                       {std::to_string(line), std::to_string(kLookupRecordLimit)})};
}

LookupRefusal NotCp950(long line, long column, std::string_view ch) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(CodePoint(ch)));
    return {LookupProblem::NotCp950, line, column, std::string(ch),
            Substitute(Translate("Link", K52_TR("Link",
                                                "檔案第 %1 行第 %2 個字元「%3」(%4) 無法轉換成 CP950 編碼, "
                                                "無法下載!!")),
                       {std::to_string(line), std::to_string(column), ch, code})};
}

LookupRefusal NotUtf8(long line, long column, unsigned char b) {
    char byte[8];
    std::snprintf(byte, sizeof byte, "\\x%02X", static_cast<unsigned>(b));
    return {LookupProblem::NotUtf8, line, column, byte,
            Substitute(Translate("Link", K52_TR("Link",
                                                "檔案第 %1 行第 %2 個字元不是有效的 UTF-8 編碼 (位元組 %3), "
                                                "無法下載!!")),
                       {std::to_string(line), std::to_string(column), byte})};
}

// One line of a UTF-8 file in CP950, or the refusal of its first character that will not go.
std::optional<LookupRefusal> ConvertLine(std::string_view utf8, long line, std::string& cp950) {
    long column = 1;
    for (std::size_t i = 0; i < utf8.size(); ++column) {
        const std::size_t n = Utf8Length(utf8, i);
        if (n == 0) return NotUtf8(line, column, static_cast<unsigned char>(utf8[i]));
        i += n;
    }
    Cp950Encoding converted = Utf8ToCp950(utf8);
    if (converted.unmappable.empty()) {
        cp950 = std::move(converted.bytes);
        return std::nullopt;
    }
    // Only a refused line is walked character by character, to name the first culprit.
    column = 1;
    for (std::size_t i = 0; i < utf8.size(); ++column) {
        const std::string_view ch = utf8.substr(i, Utf8Length(utf8, i));
        if (!Utf8ToCp950(ch).unmappable.empty()) return NotCp950(line, column, ch);
        i += ch.size();
    }
    return NotCp950(line, 1, converted.unmappable.front());
}

}  // namespace

std::optional<LookupEncoding> ParseLookupEncoding(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (lower == "auto") return LookupEncoding::Auto;
    if (lower == "utf-8" || lower == "utf8") return LookupEncoding::Utf8;
    if (lower == "cp950") return LookupEncoding::Cp950;
    return std::nullopt;
}

LookupData ReadLookupData(std::string_view fileBytes, LookupEncoding encoding) {
    LookupData result;
    result.convertedFromUtf8 =
        encoding == LookupEncoding::Utf8 || (encoding == LookupEncoding::Auto && LooksLikeUtf8(fileBytes));
    std::size_t start = 0;
    if (result.convertedFromUtf8 && fileBytes.starts_with(kBom)) start = kBom.size();

    // A Linux text file has LF line ends and no CR at all; anything else follows the terminal's rule.
    const bool lfEnds = fileBytes.find('\r') == std::string_view::npos;
    const char end = lfEnds ? '\n' : '\r';
    long line = 1;
    std::string data;
    auto finish = [&](std::size_t fileEnd) -> bool {
        std::string bytes;
        if (result.convertedFromUtf8) {
            if (auto refusal = ConvertLine(data, line, bytes)) {
                result.refusal = std::move(refusal);
                return false;
            }
        } else {
            bytes = std::move(data);
        }
        if (bytes.size() > kLookupRecordLimit) {
            result.refusal = TooLong(line);
            return false;
        }
        result.records.push_back({std::move(bytes), fileEnd});
        data.clear();
        ++line;
        return true;
    };
    for (std::size_t i = start; i < fileBytes.size(); ++i) {
        const char b = fileBytes[i];
        if (b == end) {
            if (!finish(i + 1)) break;
        } else if (b != '\n') {
            data.push_back(b);
        }
    }
    if (!result.refusal && !data.empty()) finish(fileBytes.size());
    if (result.refusal) result.records.clear();
    return result;
}

}  // namespace k52

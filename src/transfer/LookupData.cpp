// Lookup file bytes into CP950 records: the encoding by mark and content, the line ends, the 253-byte limit.
#include "transfer/LookupData.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>

#include "template/Cp950.h"
#include "util/Printable.h"

namespace k52 {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";

// Auto's choice between UTF-8 and CP950 (the reasons are with ReadLookupData).
bool MeantAsUtf8(std::string_view s) {
    if (s.starts_with(kBom)) return true;
    std::size_t multiByte = 0, long3or4 = 0, invalid = 0;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = Utf8CharacterLength(s, i);
        invalid += n == 0;
        multiByte += n > 1;
        long3or4 += n > 2;
        i += std::max<std::size_t>(n, 1);
    }
    return invalid == 0 ? multiByte > 0 : long3or4 > invalid;
}

void AppendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) return out.push_back(static_cast<char>(cp));
    const int tail = cp < 0x800 ? 1 : cp < 0x10000 ? 2 : 3;  // continuation bytes
    out.push_back(static_cast<char>((0xFF00u >> (tail + 1) & 0xFF) | cp >> (6 * tail)));
    for (int k = tail - 1; k >= 0; --k) out.push_back(static_cast<char>(0x80 | (cp >> (6 * k) & 0x3F)));
}

std::string ByteName(unsigned char b) {
    char name[8];
    std::snprintf(name, sizeof name, "\\x%02X", static_cast<unsigned>(b));
    return name;
}

std::string CodePointName(std::uint32_t cp) {
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    return name;
}

// A file marked as UTF-16, as UTF-8 text with, for each of its bytes, the file offset just past the
// units it came from (so that records still count the file's own bytes).
struct Utf16Text {
    std::string utf8;
    std::vector<std::size_t> ends;
    std::string badUnit;  // where decoding stopped: a lone surrogate, or an odd last byte
};

Utf16Text DecodeUtf16(std::string_view file, bool bigEndian) {
    Utf16Text t;
    auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(file[i]),
                   second = static_cast<unsigned char>(file[i + 1]);
        return bigEndian ? std::uint32_t{first} << 8 | second : std::uint32_t{second} << 8 | first;
    };
    auto isLow = [](std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    for (std::size_t i = kUtf16LeMark.size(); i < file.size();) {
        if (i + 1 == file.size()) {
            t.badUnit = ByteName(static_cast<unsigned char>(file[i]));
            break;
        }
        std::uint32_t cp = unit(i);
        std::size_t n = 2;
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < file.size() && isLow(unit(i + 2))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            n = 4;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            t.badUnit = CodePointName(cp);
            break;
        }
        AppendUtf8(t.utf8, cp);
        i += n;
        t.ends.resize(t.utf8.size(), i);
    }
    return t;
}

std::uint32_t CodePoint(std::string_view ch) {
    const auto b0 = static_cast<unsigned char>(ch[0]);
    if (ch.size() == 1) return b0;
    std::uint32_t cp = b0 & (0x7Fu >> ch.size());
    for (std::size_t k = 1; k < ch.size(); ++k) cp = (cp << 6) | (static_cast<unsigned char>(ch[k]) & 0x3Fu);
    return cp;
}

LookupRefusal TooLong(long line) {
    return {LookupProblem::RecordTooLong, line, 0, {}, {}};
}

LookupRefusal NotCp950(long line, long column, std::string_view ch) {
    return {LookupProblem::NotCp950, line, column, std::string(ch), CodePointName(CodePoint(ch))};
}

LookupRefusal NotUtf8(long line, long column, unsigned char b) {
    return {LookupProblem::NotUtf8, line, column, ByteName(b), {}};
}

LookupRefusal NotUtf16(long line, long column, const std::string& unit) {
    return {LookupProblem::NotUtf16, line, column, unit, {}};
}

LookupRefusal NulByte(long line, long column) {
    return {LookupProblem::NulByte, line, column, ByteName(0), {}};
}

LookupRefusal NoRecords() {
    return {LookupProblem::NoRecords, 0, 0, {}, {}};
}

// A NUL in a line sent as CP950, by character column (a lead byte and the byte after it are one).
std::optional<LookupRefusal> FindNulCp950(std::string_view bytes, long line) {
    long column = 1;
    for (std::size_t i = 0; i < bytes.size(); ++column) {
        if (bytes[i] == '\0') return NulByte(line, column);
        const bool pair = IsCp950LeadByte(static_cast<std::uint8_t>(bytes[i])) && i + 1 < bytes.size() &&
                          bytes[i + 1] != '\0';
        i += pair ? 2 : 1;
    }
    return std::nullopt;
}

// One line of a UTF-8 file in CP950, or the refusal of its first character that will not go.
std::optional<LookupRefusal> ConvertLine(std::string_view utf8, long line, std::string& cp950) {
    long column = 1;
    for (std::size_t i = 0; i < utf8.size(); ++column) {
        if (utf8[i] == '\0') return NulByte(line, column);
        const std::size_t n = Utf8CharacterLength(utf8, i);
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
        const std::string_view ch = utf8.substr(i, Utf8CharacterLength(utf8, i));
        if (!Utf8ToCp950(ch).unmappable.empty()) return NotCp950(line, column, ch);
        i += ch.size();
    }
    return NotCp950(line, 1, converted.unmappable.front());
}

}  // namespace

std::string_view LookupProblemCode(LookupProblem problem) {
    switch (problem) {
        case LookupProblem::RecordTooLong:
            return "record-too-long";
        case LookupProblem::NotCp950:
            return "not-cp950";
        case LookupProblem::NotUtf8:
            return "not-utf-8";
        case LookupProblem::NotUtf16:
            return "not-utf-16";
        case LookupProblem::NulByte:
            return "nul-byte";
        case LookupProblem::NoRecords:
            return "no-records";
    }
    return "record-too-long";
}

std::optional<LookupProblem> LookupProblemOfCode(std::string_view code) {
    for (LookupProblem p : {LookupProblem::RecordTooLong, LookupProblem::NotCp950, LookupProblem::NotUtf8,
                            LookupProblem::NotUtf16, LookupProblem::NulByte, LookupProblem::NoRecords})
        if (LookupProblemCode(p) == code) return p;
    return std::nullopt;
}

std::optional<LookupEncoding> ParseLookupEncoding(std::string_view name) {
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    if (lower == "auto") return LookupEncoding::Auto;
    if (lower == "utf-8" || lower == "utf8") return LookupEncoding::Utf8;
    if (lower == "cp950") return LookupEncoding::Cp950;
    return std::nullopt;
}

LookupData ReadLookupData(std::string_view fileBytes, const LookupOptions& options) {
    LookupData result;
    const bool utf16 = fileBytes.starts_with(kUtf16LeMark) || fileBytes.starts_with(kUtf16BeMark);
    Utf16Text decoded;
    std::string_view text = fileBytes;
    std::size_t start = 0;
    if (utf16) {
        decoded = DecodeUtf16(fileBytes, fileBytes.starts_with(kUtf16BeMark));
        text = decoded.utf8;
        result.convertedFromUtf8 = true;
    } else {
        result.convertedFromUtf8 = options.encoding == LookupEncoding::Utf8 ||
                                   (options.encoding == LookupEncoding::Auto && MeantAsUtf8(fileBytes));
        if (result.convertedFromUtf8 && fileBytes.starts_with(kBom)) start = kBom.size();
    }

    long line = 1;
    std::string data;
    auto finish = [&](std::size_t fileEnd) -> bool {
        std::string bytes;
        std::optional<LookupRefusal> refusal;
        if (result.convertedFromUtf8) {
            refusal = ConvertLine(data, line, bytes);
        } else {
            refusal = FindNulCp950(data, line);
            bytes = std::move(data);
        }
        if (!refusal && bytes.size() > kLookupRecordLimit) refusal = TooLong(line);
        if (refusal) {
            result.refusal = std::move(refusal);
            return false;
        }
        result.records.push_back({std::move(bytes), fileEnd});
        data.clear();
        ++line;
        return true;
    };
    for (std::size_t i = start; i < text.size(); ++i) {
        const char b = text[i];
        // CR, the terminal's own separator, always ends a record; LF does unless it completes a CR LF.
        if (b == '\r' || (b == '\n' && (i == start || text[i - 1] != '\r'))) {
            if (!finish(utf16 ? decoded.ends[i] : i + 1)) break;
        } else if (b != '\n') {
            data.push_back(b);
        }
    }
    if (!result.refusal && !decoded.badUnit.empty()) {
        const auto column =
            std::count_if(data.begin(), data.end(), [](char c) { return (c & 0xC0) != 0x80; });
        result.refusal = NotUtf16(line, static_cast<long>(column) + 1, decoded.badUnit);
    }
    if (!result.refusal && !data.empty()) result.lastUnended = finish(fileBytes.size());
    if (!result.refusal && result.records.empty() && !options.allowEmpty) result.refusal = NoRecords();
    if (result.refusal) {
        result.records.clear();
        result.lastUnended = false;
    }
    return result;
}

}  // namespace k52

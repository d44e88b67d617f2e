// Code page 950 texts: conversion one character at a time through the system's codec, and byte-counted cuts.
#include "template/Cp950.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "template/Cp950Codec.h"

namespace k52 {
namespace {

const char kReplacement[] = "\xEF\xBF\xBD";

// Length of the UTF-8 sequence starting with `b`, or 0 when `b` cannot start one.
size_t Utf8SequenceLength(unsigned char b) {
    if (b < 0x80) return 1;
    if (b >= 0xC2 && b <= 0xDF) return 2;
    if (b >= 0xE0 && b <= 0xEF) return 3;
    if (b >= 0xF0 && b <= 0xF4) return 4;
    return 0;
}

}  // namespace

std::string Cp950ToUtf8(std::string_view cp950) {
    std::string out;
    out.reserve(cp950.size() * 2);
    size_t i = 0;
    while (i < cp950.size()) {
        auto b = static_cast<unsigned char>(cp950[i]);
        if (b < 0x80) {
            out.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        size_t n = (IsCp950LeadByte(b) && i + 1 < cp950.size()) ? 2 : 1;
        if (!Cp950UnitToUtf8(cp950.substr(i, n), out)) out += kReplacement;
        i += n;
    }
    return out;
}

Cp950Encoding Utf8ToCp950(std::string_view utf8) {
    Cp950Encoding result;
    size_t i = 0;
    while (i < utf8.size()) {
        auto b = static_cast<unsigned char>(utf8[i]);
        if (b < 0x80) {
            result.bytes.push_back(static_cast<char>(b));
            ++i;
            continue;
        }
        size_t n = Utf8SequenceLength(b);
        bool complete = n != 0 && i + n <= utf8.size();
        for (size_t k = 1; complete && k < n; ++k)
            complete = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
        if (!complete) {
            result.unmappable.emplace_back(utf8.substr(i, 1));
            ++i;
            continue;
        }
        std::string_view ch = utf8.substr(i, n);
        if (!Utf8UnitToCp950(ch, result.bytes)) result.unmappable.emplace_back(ch);
        i += n;
    }
    return result;
}

std::string_view CutToByteLimit(std::string_view cp950, std::size_t limit) {
    if (cp950.size() <= limit) return cp950;
    size_t i = 0;
    while (i < limit) {
        size_t n = IsCp950LeadByte(static_cast<unsigned char>(cp950[i])) ? 2 : 1;
        if (i + n > limit) break;
        i += n;
    }
    return cp950.substr(0, i);
}

std::string_view FieldText(const std::uint8_t* field, std::size_t width) {
    const auto* begin = reinterpret_cast<const char*>(field);
    const void* nul = std::memchr(begin, 0, width);
    size_t len = nul ? static_cast<size_t>(static_cast<const char*>(nul) - begin) : width;
    return {begin, len};
}

void WriteFieldText(std::uint8_t* field, std::size_t width, std::string_view text, std::size_t limit) {
    std::string_view cut = CutToByteLimit(text, std::min(limit, width));
    std::string copy(cut);  // `text` may alias the field
    std::memset(field, 0, width);
    std::memcpy(field, copy.data(), copy.size());
}

}  // namespace k52

// A lookup data file turned into the records the terminal receives: CP950 bytes, one record per line,
// whether the file was written in CP950 or in UTF-8, with CR or with LF line ends.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace k52 {

// The terminal's packet holds 256 bytes: the data, two checksum bytes and CR.
constexpr std::size_t kLookupRecordLimit = 253;

enum class LookupEncoding {
    Auto,   // UTF-8 when the file is valid UTF-8 holding at least one multi-byte character, else CP950
    Utf8,   // converted to CP950
    Cp950,  // sent unchanged
};

// "auto", "utf-8" (or "utf8") and "cp950", in any case.
std::optional<LookupEncoding> ParseLookupEncoding(std::string_view name);

struct LookupRecord {
    std::string data;     // CP950, without line ends
    std::size_t fileEnd;  // bytes of the file up to and including this record's line end
};

enum class LookupProblem {
    RecordTooLong,  // above 253 bytes once in CP950
    NotCp950,       // a character CP950 cannot hold
    NotUtf8,        // bytes that are not UTF-8 in a file read as UTF-8
};

// Why nothing may be sent. `line` counts records from 1; `column` counts the characters of that line
// from 1 (0 for a line too long).
struct LookupRefusal {
    LookupProblem problem;
    long line = 0;
    long column = 0;
    std::string character;  // UTF-8 of the character, or the offending byte as \xNN
    std::string message;    // the text shown to the user, in the link's words
};

struct LookupData {
    bool convertedFromUtf8 = false;
    std::vector<LookupRecord> records;  // empty when refused
    std::optional<LookupRefusal> refusal;
};

// Reads a whole lookup file. A UTF-8 byte-order mark is removed from a file read as UTF-8. A file with
// no CR and at least one LF has its records end at LF; any other file keeps the terminal's own rule: CR
// ends a record and LF is dropped wherever it stands. An empty line is a record; a last line without a
// line end is one too. The first problem in the file refuses all of it.
LookupData ReadLookupData(std::string_view fileBytes, LookupEncoding encoding = LookupEncoding::Auto);

}  // namespace k52

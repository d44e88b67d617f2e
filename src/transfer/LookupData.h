// A lookup data file turned into the records the terminal receives: CP950 bytes, one record per line,
// whether the file was written in CP950, UTF-8 or UTF-16, with CR, CR LF or LF line ends.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace k52 {

// The terminal's packet holds 256 bytes: the data, two checksum bytes and CR.
constexpr std::size_t kLookupRecordLimit = 253;

// How a file without a UTF-16 byte-order mark is read. A file that starts with one (FF FE or FE FF) is
// always UTF-16: no CP950 or UTF-8 text can start with those bytes.
enum class LookupEncoding {
    Auto,   // UTF-8 when the file is meant as UTF-8 (see ReadLookupData), else CP950
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
    NotUtf16,       // a lone surrogate, or an odd last byte, in a file marked as UTF-16
    NulByte,        // a NUL character: not text (most often UTF-16 without its mark)
    NoRecords,      // nothing to send: the download would only clear the terminal's lookup data
};

struct LookupOptions {
    LookupEncoding encoding = LookupEncoding::Auto;
    bool allowEmpty = false;  // a file without records may be sent, leaving the terminal without lookup data
};

// Why nothing may be sent. `line` counts records from 1; `column` counts the characters of that line
// from 1 (0 for a line too long). Both are 0 for a file without records.
struct LookupRefusal {
    LookupProblem problem;
    long line = 0;
    long column = 0;
    // UTF-8 of the character, the offending byte as \xNN, or the UTF-16 unit as U+NNNN.
    std::string character;
    std::string codePoint;  // NotCp950: the character's code point, U+NNNN
};

// "record-too-long", "not-cp950", ...: the problem's name for scripts; and back.
std::string_view LookupProblemCode(LookupProblem problem);
std::optional<LookupProblem> LookupProblemOfCode(std::string_view code);

struct LookupData {
    bool convertedFromUtf8 = false;     // converted to CP950 from UTF-8, or from UTF-16 by way of UTF-8
    bool lastUnended = false;           // the last record ends with the file, not with a line end
    std::vector<LookupRecord> records;  // empty when refused
    std::optional<LookupRefusal> refusal;
};

// Reads a whole lookup file. CR, CR LF and LF each end a record, so the terminal's own separator, CR,
// still ends one wherever it stands. An empty line is a record; a last line without a line end is one
// too. A byte-order mark is removed from a file read as UTF-8 or UTF-16.
//
// Auto reads a file as UTF-8 when it starts with the UTF-8 mark, or when it is valid UTF-8 holding a
// multi-byte character, or when its valid three- and four-byte sequences outnumber its bytes that are
// not UTF-8: then it was meant as UTF-8 and a stray byte is refused. CP950 text yields such sequences
// only by chance (a rare character's two bytes and the lead byte of the next), while the characters in
// common use lead with a byte that cannot start UTF-8 (0x81 to 0xC1), so a CP950 file stays CP950.
//
// The first problem in the file refuses all of it; so does a file without records unless allowed.
LookupData ReadLookupData(std::string_view fileBytes, const LookupOptions& options = {});

}  // namespace k52

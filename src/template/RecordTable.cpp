// Received records decoded from CP950 and split at the separators in use; CSV and JSON rows.
#include "template/RecordTable.h"
#include "util/Hex.h"

#include <algorithm>

#include "template/Cp950.h"

namespace k52 {
namespace {

constexpr char kReplacement[] = "\xEF\xBF\xBD";

bool IsTrailByte(unsigned char b) {
    return (b >= 0x40 && b <= 0x7E) || (b >= 0xA1 && b <= 0xFE);
}

void AppendEscaped(std::string& out, unsigned char b) {
    out += "\\x" + HexByte(b);
}

// Appends the character that starts at `i` and returns its length in bytes.
std::size_t AppendCharacter(std::string_view cp950, std::size_t i, std::string& out) {
    const auto b = static_cast<unsigned char>(cp950[i]);
    if (b == '\\') {
        out += "\\\\";
        return 1;
    }
    if (b < 0x80) {
        out.push_back(static_cast<char>(b));
        return 1;
    }
    if (IsCp950LeadByte(b) && i + 1 < cp950.size() && IsTrailByte(static_cast<unsigned char>(cp950[i + 1]))) {
        std::string decoded = Cp950ToUtf8(cp950.substr(i, 2));
        if (decoded == kReplacement) {
            // A well-formed pair without a character: still one character wide, never split.
            AppendEscaped(out, b);
            AppendEscaped(out, static_cast<unsigned char>(cp950[i + 1]));
        } else {
            out += decoded;
        }
        return 2;
    }
    // A lone byte above 0x7F stands for no character of its own (0x80 would decode to an invisible
    // control code).
    AppendEscaped(out, b);
    return 1;
}

int SeparatorsInUse(const FieldSeparators& s) {
    if (s.separator1 == 0) return 0;
    return s.separator2 == 0 ? 1 : 2;
}

bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(",\"\r\n") != std::string_view::npos;
}

bool LooksLikeFormula(std::string_view field) {
    return !field.empty() && std::string_view("=+-@\t\r").find(field[0]) != std::string_view::npos;
}

void AppendCsvField(std::string& out, std::string_view field, CsvCells cells) {
    const std::string_view mark = cells == CsvCells::Neutralised && LooksLikeFormula(field) ? "'" : "";
    if (!NeedsQuotes(field)) {
        out += mark;
        out += field;
        return;
    }
    out.push_back('"');
    out += mark;
    for (char c : field) {
        if (c == '"') out.push_back('"');
        out.push_back(c);
    }
    out.push_back('"');
}

}  // namespace

std::size_t RecordTable::columnCount() const {
    std::size_t n = 0;
    for (const RecordRow& r : rows) n = std::max(n, r.fields.size());
    return n;
}

std::string DecodeRecord(std::string_view cp950) {
    std::string out;
    out.reserve(cp950.size() * 2);
    for (std::size_t i = 0; i < cp950.size();) i += AppendCharacter(cp950, i, out);
    return out;
}

std::vector<std::string> SplitRecord(std::string_view cp950, const FieldSeparators& separators) {
    const int inUse = SeparatorsInUse(separators);
    auto isSeparator = [&](unsigned char b) {
        return (inUse >= 1 && b == separators.separator1) || (inUse == 2 && b == separators.separator2);
    };
    std::vector<std::string> fields(1);
    for (std::size_t i = 0; i < cp950.size();) {
        // At a character's start the separator comes first, even a byte that could lead a pair: the
        // terminal writes it between fields as a byte of its own.
        if (isSeparator(static_cast<unsigned char>(cp950[i]))) {
            fields.emplace_back();
            ++i;
            continue;
        }
        i += AppendCharacter(cp950, i, fields.back());
    }
    return fields;
}

RecordTable ReadRecordTable(std::string_view fileBytes, const FieldSeparators& separators) {
    RecordTable table;
    const bool crEnds = fileBytes.find('\r') != std::string_view::npos;
    const char end = crEnds ? '\r' : '\n';
    std::size_t start = 0;
    while (start < fileBytes.size()) {
        const std::size_t stop = fileBytes.find(end, start);
        const std::string_view record =
            fileBytes.substr(start, stop == std::string_view::npos ? std::string_view::npos : stop - start);
        table.rows.push_back({DecodeRecord(record), SplitRecord(record, separators)});
        if (stop == std::string_view::npos) break;
        start = stop + 1;
        if (crEnds && start < fileBytes.size() && fileBytes[start] == '\n') ++start;
    }
    return table;
}

std::string RecordTableCsv(const RecordTable& table, CsvCells cells) {
    const std::size_t columns = table.columnCount();
    std::string out;
    for (const RecordRow& row : table.rows) {
        for (std::size_t c = 0; c < columns; ++c) {
            if (c > 0) out.push_back(',');
            if (c < row.fields.size()) AppendCsvField(out, row.fields[c], cells);
        }
        // A row of one empty field would read back as no row at all.
        if (columns == 1 && row.fields[0].empty()) out += "\"\"";
        out += "\r\n";
    }
    return out;
}

}  // namespace k52

// records: a received data file decoded from CP950 and split at the template's separators, printed as
// a table or JSON rows, or written as CSV.
#include "cli/cmd_records.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "template/RecordTable.h"

namespace k52::cli {
namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    bytes.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

// Columns a character takes on a terminal: East Asian wide characters take two.
int CellWidth(std::uint32_t cp) {
    const bool wide = (cp >= 0x1100 && cp <= 0x115F) || (cp >= 0x2E80 && cp <= 0xA4CF) ||
                      (cp >= 0xAC00 && cp <= 0xD7A3) || (cp >= 0xF900 && cp <= 0xFAFF) ||
                      (cp >= 0xFE30 && cp <= 0xFE4F) || (cp >= 0xFF00 && cp <= 0xFF60) ||
                      (cp >= 0xFFE0 && cp <= 0xFFE6) || (cp >= 0x20000 && cp <= 0x3FFFD);
    return wide ? 2 : 1;
}

std::size_t TextWidth(std::string_view utf8) {
    std::size_t width = 0;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        std::uint32_t cp = n == 1 ? b : b & (0x7Fu >> n);
        for (std::size_t k = 1; k < n && i + k < utf8.size(); ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        width += static_cast<std::size_t>(CellWidth(cp));
        i += n;
    }
    return width;
}

// A field on one line of the table: control characters are shown, not obeyed.
std::string TableText(std::string_view field) {
    std::string out;
    for (char c : field) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) {
            static constexpr char kHex[] = "0123456789ABCDEF";
            out += "\\x";
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0x0F]);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

void PrintTable(const RecordTable& table, std::ostream& out) {
    std::vector<std::vector<std::string>> cells;
    std::vector<std::size_t> widths(table.columnCount(), 0);
    for (const RecordRow& row : table.rows) {
        std::vector<std::string>& line = cells.emplace_back();
        for (std::size_t c = 0; c < row.fields.size(); ++c) {
            line.push_back(TableText(row.fields[c]));
            widths[c] = std::max(widths[c], TextWidth(line.back()));
        }
    }
    const std::size_t numberWidth = std::to_string(table.rows.size()).size();
    for (std::size_t r = 0; r < cells.size(); ++r) {
        std::string number = std::to_string(r + 1);
        std::string text = std::string(numberWidth - number.size(), ' ') + number;
        for (std::size_t c = 0; c < cells[r].size(); ++c) {
            text += "  " + cells[r][c];
            // No padding behind the last field of a row.
            if (c + 1 < cells[r].size()) text.append(widths[c] - TextWidth(cells[r][c]), ' ');
        }
        text.erase(text.find_last_not_of(' ') + 1);
        out << text << "\n";
    }
}

void PrintJson(const RecordTable& table, std::ostream& out) {
    out << "[";
    for (std::size_t r = 0; r < table.rows.size(); ++r)
        out << (r ? ",\n " : "\n ") << nlohmann::json(table.rows[r].fields).dump();
    out << (table.rows.empty() ? "]\n" : "\n]\n");
}

}  // namespace

int RunRecords(const RecordsOptions& options) {
    ApplicationTemplate t = StartupTemplate();  // the comma, as the desktop program starts with
    if (options.templatePath)
        if (int rc = LoadTemplate(*options.templatePath, t); rc != kExitOk) return rc;
    std::string bytes;
    if (!ReadWholeFile(options.file, bytes)) {
        PrintError("k52cli", "cannot read " + options.file);
        return kExitFile;
    }
    const RecordTable table = ReadRecordTable(bytes, t.fieldSeparators);
    if (options.csvOut) {
        const std::string csv = RecordTableCsv(table);
        if (*options.csvOut == "-") {
            std::cout << csv;
        } else {
            std::ofstream out(*options.csvOut, std::ios::binary | std::ios::trunc);
            if (!(out << csv) || !out.flush()) {
                PrintError("k52cli", "cannot write " + *options.csvOut);
                return kExitFile;
            }
            if (!options.json)
                std::cout << table.rows.size() << " records written to " << *options.csvOut << "\n";
        }
    }
    if (options.json)
        PrintJson(table, std::cout);
    else if (!options.csvOut)
        PrintTable(table, std::cout);
    return kExitOk;
}

}  // namespace k52::cli

// Collected records as a table: the terminal's CP950 lines decoded, split into fields at the template's
// separators, and written out as CSV.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "template/Template.h"

namespace k52 {

struct RecordRow {
    std::string line;                 // the whole record, UTF-8
    std::vector<std::string> fields;  // UTF-8, at least one
};

struct RecordTable {
    std::vector<RecordRow> rows;
    std::size_t columnCount() const;  // fields of the widest row
};

// Decodes one record. Bytes that are not CP950 characters show as \xNN, and a backslash as \\, so that a
// typed "\xFF" stays apart from the byte FF; none is dropped.
std::string DecodeRecord(std::string_view cp950);

// Splits one record at the separators in use (none, separator 1, or both), decoding each field. A
// separator only counts where a character starts: the second byte of a double-byte character may
// equal an ASCII separator such as '|' or '\'.
std::vector<std::string> SplitRecord(std::string_view cp950, const FieldSeparators& separators);

// The records of a data file. A file holding any CR has its records end at CR (an LF right after it
// belongs to the line end; another LF is data); a file without CR has them end at LF. A last record
// without a line end counts too.
RecordTable ReadRecordTable(std::string_view fileBytes, const FieldSeparators& separators);
// The largest data file read into a table: tens of thousands of records hold a few megabytes, so a
// bigger file is no terminal's data.
inline constexpr std::size_t kRecordFileLimit = 64 * 1024 * 1024;

// Neutralised: a cell a spreadsheet would take for a formula (one starting with =, +, -, @, TAB or CR)
// gets a leading ' so that it opens as the text it is.
enum class CsvCells { Raw, Neutralised };

// The fields as CSV: UTF-8, CR LF line ends, every row as wide as the widest, a field quoted when it
// holds a comma, a double quote, CR or LF.
std::string RecordTableCsv(const RecordTable& table, CsvCells cells = CsvCells::Raw);

}  // namespace k52

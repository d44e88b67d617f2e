// A shift as one table: every record of the uploads in a window of time, each with its terminal, its
// upload and its line in it, written as CSV, XLSX or JSON for the office.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "station/Ledger.h"
#include "template/RecordTable.h"
#include "template/Template.h"

namespace k52 {

struct ShiftTable {
    std::vector<std::string> header;  // the fixed columns, then field1, field2, ...
    std::vector<std::vector<std::string>> rows;
    std::size_t fixedColumns = 0;
    std::vector<std::string> problems;  // uploads whose file could not be read, in words
    int uploads = 0;                    // uploads that gave records
};

// The records of `uploads` (in their order) read from FOLDER, cut at `separators`.
ShiftTable ReadShift(const std::string& folder, const std::vector<UploadRow>& uploads,
                     const FieldSeparators& separators);

enum class ShiftFormat { Csv, Xlsx, Json };
// By the file's extension (.csv, .xlsx, .json in any case); nullopt for any other.
std::optional<ShiftFormat> ShiftFormatOf(const std::string& path);

// RFC 4180 as RecordTableCsv, a header row first; `bom` puts the UTF-8 byte-order mark in front, by which
// a spreadsheet opened by double click knows the text is UTF-8.
std::string ShiftCsv(const ShiftTable& table, bool bom, CsvCells cells);
// An array of objects, one per record, named by the header; the fields as an array.
std::string ShiftJson(const ShiftTable& table);
// Every cell a text cell, so barcodes keep their leading zeros and every digit. Written beside `path` and
// renamed over it, so an old file is replaced only by a whole new one.
bool WriteShiftXlsx(const ShiftTable& table, const std::string& path, std::string* reason);

// The whole export as k52cli's and the Terminals window's: the ledger's uploads under `filter`, their
// records cut at the template's separators, written to `out` in the format its name gives.
struct ShiftExportRequest {
    std::string folder, out;
    UploadFilter filter;
    std::string templatePath;  // empty: the start-up template's separators
    bool bom = true;           // CSV only
    CsvCells cells = CsvCells::Neutralised;
};

struct ShiftExportResult {
    enum class Failure { None, Format, Template, Ledger, Write };
    Failure failure = Failure::None;
    std::string reason;  // the system's words for the failure
    std::size_t records = 0;
    int uploads = 0;
    std::vector<std::string> problems;  // uploads left out, in words: the file is written but short
};

ShiftExportResult ExportShift(const ShiftExportRequest& request);

// `table` written to `out` in the format its extension names (ShiftFormatOf must know it).
bool WriteShiftTable(const ShiftTable& table, const std::string& out, bool bom, CsvCells cells,
                     std::string* reason);

}  // namespace k52

// The shift's table and its three files.
#include "app/ShiftExport.h"

#include <xlsxwriter.h>

#include <cctype>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "i18n/Translate.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"
#include "util/RegularFile.h"
#include "util/SaveFile.h"
#include "util/platform/System.h"

namespace k52 {

ShiftTable ReadShift(const std::string& folder, const std::vector<UploadRow>& uploads,
                     const FieldSeparators& separators) {
    ShiftTable t;
    t.header = {"terminal", "name", "device", "upload", "started", "ended", "line"};
    t.fixedColumns = t.header.size();
    std::size_t fields = 0;
    for (const UploadRow& u : uploads) {
        if (u.file.empty()) continue;
        std::string reason;
        const std::optional<std::string> bytes =
            ReadWholeFile(folder + "/" + u.file, kRecordFileLimit, &reason);
        if (!bytes) {
            t.problems.push_back(
                Substitute(K52_EN("%1: %2 (its records are not in the export)"), {u.file, reason}));
            continue;
        }
        const RecordTable records = ReadRecordTable(*bytes, separators);
        ++t.uploads;
        for (std::size_t i = 0; i < records.rows.size(); ++i) {
            std::vector<std::string> row = {u.terminal,           u.name, u.device, u.key, u.started, u.ended,
                                            std::to_string(i + 1)};
            row.insert(row.end(), records.rows[i].fields.begin(), records.rows[i].fields.end());
            fields = std::max(fields, records.rows[i].fields.size());
            t.rows.push_back(std::move(row));
        }
    }
    for (std::size_t f = 0; f < std::max<std::size_t>(fields, 1); ++f)
        t.header.push_back("field" + std::to_string(f + 1));
    return t;
}

std::optional<ShiftFormat> ShiftFormatOf(const std::string& path) {
    const std::string ext = std::filesystem::path(path).extension().string();
    std::string lower;
    for (const char c : ext) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (lower == ".csv") return ShiftFormat::Csv;
    if (lower == ".xlsx") return ShiftFormat::Xlsx;
    if (lower == ".json") return ShiftFormat::Json;
    return std::nullopt;
}

std::string ShiftCsv(const ShiftTable& table, bool bom, CsvCells cells) {
    RecordTable t;
    t.rows.push_back({"", table.header});
    for (const auto& row : table.rows) t.rows.push_back({"", row});
    return (bom ? std::string("\xEF\xBB\xBF") : std::string()) + RecordTableCsv(t, cells);
}

std::string ShiftJson(const ShiftTable& table) {
    nlohmann::ordered_json doc = nlohmann::ordered_json::array();
    for (const auto& row : table.rows) {
        nlohmann::ordered_json j;
        for (std::size_t c = 0; c < table.fixedColumns; ++c)
            j[table.header[c]] = c + 1 == table.fixedColumns ? nlohmann::ordered_json(std::stoi(row[c]))
                                                             : nlohmann::ordered_json(row[c]);
        j["fields"] = std::vector<std::string>(row.begin() + static_cast<std::ptrdiff_t>(table.fixedColumns),
                                               row.end());
        doc.push_back(std::move(j));
    }
    return doc.dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

bool WriteShiftXlsx(const ShiftTable& table, const std::string& path, std::string* reason) {
    const std::string temp = path + ".partial-" + std::to_string(platform::ProcessId());
    lxw_workbook* book = workbook_new(temp.c_str());
    if (!book) {
        if (reason) *reason = Substitute(K52_EN("cannot create %1"), {temp});
        return false;
    }
    lxw_worksheet* sheet = workbook_add_worksheet(book, "records");
    lxw_format* text = workbook_add_format(book);
    format_set_num_format(text, "@");  // cells typed into later stay text too
    lxw_error error = LXW_NO_ERROR;
    auto put = [&](lxw_row_t r, const std::vector<std::string>& cells) {
        for (std::size_t c = 0; c < cells.size() && error == LXW_NO_ERROR; ++c)
            if (!cells[c].empty())
                error = worksheet_write_string(sheet, r, static_cast<lxw_col_t>(c), cells[c].c_str(), text);
    };
    put(0, table.header);
    for (std::size_t r = 0; r < table.rows.size() && error == LXW_NO_ERROR; ++r)
        put(static_cast<lxw_row_t>(r + 1), table.rows[r]);
    const lxw_error closed = workbook_close(book);
    if (error == LXW_NO_ERROR) error = closed;
    std::error_code ec;
    if (error == LXW_NO_ERROR) std::filesystem::rename(temp, path, ec);
    if (error == LXW_NO_ERROR && !ec) return true;
    std::filesystem::remove(temp, ec);
    if (reason) *reason = error != LXW_NO_ERROR ? std::string(lxw_strerror(error)) : ec.message();
    return false;
}

ShiftExportResult ExportShift(const ShiftExportRequest& r) {
    using Failure = ShiftExportResult::Failure;
    ShiftExportResult result;
    const std::optional<ShiftFormat> format = ShiftFormatOf(r.out);
    if (!format) {
        result.failure = Failure::Format;
        return result;
    }
    ApplicationTemplate t = StartupTemplate();
    if (!r.templatePath.empty() &&
        ReadTemplateFile(r.templatePath, t, &result.reason) != TemplateReadResult::Ok) {
        result.failure = Failure::Template;
        return result;
    }
    std::optional<Ledger> ledger = Ledger::OpenExisting(r.folder, &result.reason);
    std::optional<std::vector<UploadRow>> rows;
    if (ledger) rows = ledger->List(r.filter, &result.reason);
    if (!rows) {
        result.failure = Failure::Ledger;
        return result;
    }
    const ShiftTable table = ReadShift(r.folder, *rows, t.fieldSeparators);
    result.records = table.rows.size();
    result.uploads = table.uploads;
    result.problems = table.problems;
    if (!WriteShiftTable(table, r.out, r.bom, r.cells, &result.reason)) result.failure = Failure::Write;
    return result;
}

bool WriteShiftTable(const ShiftTable& table, const std::string& out, bool bom, CsvCells cells,
                     std::string* reason) {
    const std::optional<ShiftFormat> format = ShiftFormatOf(out);
    if (*format == ShiftFormat::Xlsx) return WriteShiftXlsx(table, out, reason);
    const std::string text = *format == ShiftFormat::Csv ? ShiftCsv(table, bom, cells) : ShiftJson(table);
    return SaveWholeFile(out, text.data(), text.size(), reason);
}

}  // namespace k52

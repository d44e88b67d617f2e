// CSV for the central export, and the columns k52cli prints the central uploads in.
#include "cli/CentralTable.h"

#include <algorithm>
#include <ostream>

#include "cli/CliSupport.h"
#include "i18n/Translate.h"
#include "util/SaveFile.h"

namespace k52::cli {
namespace {

class CsvWriter : public TableWriter {
  public:
    explicit CsvWriter(std::string path) : path_(std::move(path)) {}
    void Row(const std::vector<std::string>& cells) override {
        for (std::size_t i = 0; i < cells.size(); ++i) text_ += (i ? "," : "") + CsvField(cells[i]);
        text_ += "\r\n";
    }
    bool Save(std::string* reason) override {
        return SaveWholeFile(path_, text_.data(), text_.size(), reason);
    }

  private:
    std::string path_, text_;
};

bool EndsWith(const std::string& s, const std::string& end) {
    if (s.size() < end.size()) return false;
    return std::equal(end.rbegin(), end.rend(), s.rbegin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

}  // namespace

std::unique_ptr<TableWriter> TableWriterFor(const std::string& out, std::string* reason) {
    if (EndsWith(out, ".csv")) return std::make_unique<CsvWriter>(out);
    if (reason) *reason = Localize("%1: the export is written as .csv", {out});
    return nullptr;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string out = "\"";
    for (const char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::vector<std::string> ExportHeader() {
    return {"station", "host",  "terminal", "name", "device", "upload",
            "started", "ended", "outcome",  "line", "record"};
}

std::vector<std::string> ExportRow(const CentralUpload& u, int line, const std::string& text) {
    return {u.stationId, u.host,    u.terminal,           u.name, u.device, u.key, u.started,
            u.ended,     u.outcome, std::to_string(line), text};
}

std::string NoPasswordOnCommandLine(const std::string& conninfo) {
    return ConninfoHasPassword(conninfo) ? Localize(
                                               "keep the central store's password out of the command line: "
                                               "put it in ~/.pgpass or the file PGPASSFILE names")
                                         : std::string();
}

void PrintColumns(const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows,
                  const std::vector<std::size_t>& rightAligned, std::ostream& out) {
    std::vector<std::size_t> widths;
    for (const std::string& h : header) widths.push_back(TextWidth(h));
    for (const auto& row : rows)
        for (std::size_t i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], TextWidth(row[i]));
    auto print = [&](const std::vector<std::string>& cells) {
        std::string line;
        for (std::size_t i = 0; i < cells.size() && i < widths.size(); ++i) {
            const bool right = std::find(rightAligned.begin(), rightAligned.end(), i) != rightAligned.end();
            const std::string pad(widths[i] - TextWidth(cells[i]), ' ');
            line += (i ? "  " : "") + (right ? pad + cells[i] : cells[i] + (i + 1 < cells.size() ? pad : ""));
        }
        out << line << "\n";
    };
    print(header);
    for (const auto& row : rows) print(row);
}

}  // namespace k52::cli

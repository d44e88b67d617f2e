// The central commands' password check, and the columns k52cli prints the central uploads in.
#include "cli/CentralTable.h"

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <ostream>

#include "cli/CliSupport.h"
#include "i18n/Translate.h"

namespace k52::cli {

int ForwardingOf(const std::string& folder, const std::string& givenUrl, const std::string& givenTemplate,
                 std::string& url, ForwarderOptions& options) {
    std::string reason;
    const std::optional<StationConf> conf = ReadStationConf(folder, &reason);
    if (!conf) {
        std::cerr << "k52cli: " << reason << "\n";
        return kExitFile;
    }
    url = givenUrl.empty() ? conf->central : givenUrl;
    std::string path = givenTemplate;
    if (path.empty() && !conf->templatePath.empty()) {
        const std::filesystem::path named(conf->templatePath);
        path = (named.is_absolute() ? named : std::filesystem::path(folder) / named).string();
    }
    if (path.empty()) return kExitOk;
    ApplicationTemplate t;
    if (const int rc = LoadTemplate(path, t); rc != kExitOk) return rc;
    options.separators = t.fieldSeparators;
    return kExitOk;
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

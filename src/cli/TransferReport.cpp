// The closing report of k52cli's transfers: failure codes, exit codes, the table in the user's language
// and JSON in English.
#include "cli/TransferReport.h"

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "cli/CliSupport.h"
#include "cli/Commands.h"
#include "i18n/Translate.h"
#include "util/Hex.h"
#include "util/Printable.h"

namespace k52::cli {

std::string FailureCode(const TerminalResult& r) {
    return r.failure.empty() ? k52::FailureCode(r.outcome) : r.failure;
}

int OverallExitCode(const std::vector<TerminalResult>& results) {
    for (const TerminalResult& r : results)
        if (r.exitCode != kExitOk) return r.exitCode;
    return kExitOk;
}

namespace {

std::string Seconds(double s) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", s);
    return text;
}

std::string Result(const TerminalResult& r) {
    const std::string code = FailureCode(r);
    return code.empty() ? Localize("ok") : Localize("failed: %1", {Localize(code)});
}

}  // namespace

std::string ReportTable(const std::vector<TerminalResult>& results) {
    std::vector<std::vector<std::string>> rows = {{Localize("DEVICE"), Localize("RESULT"),
                                                   Localize("PACKETS"), Localize("RECORDS"),
                                                   Localize("SECONDS")}};
    for (const TerminalResult& r : results)
        rows.push_back({PrintableBytes(r.device), Result(r), std::to_string(r.packets),
                        std::to_string(r.records), Seconds(r.seconds)});
    std::vector<std::size_t> widths(rows[0].size(), 0);
    for (const auto& row : rows)
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], TextWidth(row[c]));
    std::string out;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t c = 0; c < rows[i].size(); ++c) out += Padded(rows[i][c], widths[c] + 2);
        // The message goes last, so no column waits on text the terminal sent. A refusal before the
        // transfer is k52cli's own line, English in JSON, shown here in the user's language.
        const TerminalResult* r = i == 0 ? nullptr : &results[i - 1];
        std::string message = !r                   ? Localize("MESSAGE")
                              : r->failure.empty() ? r->message
                                                   : LocalizeFinished(r->message);
        std::replace(message.begin(), message.end(), '\n', ' ');  // a row stays one line
        out += message;
        while (!out.empty() && out.back() == ' ') out.pop_back();
        out += "\n";
    }
    return out;
}

std::string ReportJson(const std::vector<TerminalResult>& results) {
    nlohmann::ordered_json doc = nlohmann::ordered_json::array();
    for (const TerminalResult& r : results) {
        const std::string code = FailureCode(r);
        nlohmann::ordered_json o;
        o["device"] = r.device;
        o["ok"] = code.empty();
        o["failure"] = code.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(code);
        o["packets"] = r.packets;
        o["records"] = r.records;
        o["file"] = r.file.empty() ? nlohmann::ordered_json(nullptr) : nlohmann::ordered_json(r.file);
        o["seconds"] = static_cast<double>(static_cast<long long>(r.seconds * 100 + 0.5)) / 100;
        o["message"] = r.message;
        // What the message says, the same in every language.
        if (const Notice* ending = r.failure.empty() ? r.outcome.Ending() : nullptr) {
            o["code"] = NoticeCode(ending->kind);
            o["args"] = nlohmann::ordered_json::parse(NoticeArgumentsJson(*ending));
        } else {
            o["code"] = nullptr;
            o["args"] = nullptr;
        }
        // A name that is no UTF-8 cannot stand in JSON text as it is: its bytes follow in hex.
        if (!IsUtf8(r.device)) o["device_hex"] = HexDigits(r.device);
        if (!IsUtf8(r.file)) o["file_hex"] = HexDigits(r.file);
        doc.push_back(std::move(o));
    }
    // Texts the terminal sent could hold anything: never fail on bytes that are not UTF-8.
    return doc.dump(1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace k52::cli

// Screen snapshots and expectations on them, as plain text or JSON.
#include "simulator/ScreenCheck.h"

#include <nlohmann/json.hpp>

#include "template/Cp950.h"
#include "util/Parse.h"

namespace k52 {
namespace {

std::string_view TrimEnd(std::string_view s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    return s;
}

std::string_view Trim(std::string_view s) {
    s = TrimEnd(s);
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    return s;
}

std::optional<int> Count(std::string_view s) {
    const auto n = ParseUnsigned<unsigned>(Trim(s), 999999);
    if (!n) return std::nullopt;
    return static_cast<int>(*n);
}

bool ParseTextLine(std::string_view line, std::vector<ScreenExpectation>& out, std::string* reason) {
    const std::string_view t = Trim(line);
    if (t.empty() || t[0] == '#') return true;
    if (t.substr(0, 3) == "at " || t == "at") {
        const std::string_view name = Trim(t.substr(2));
        if (name.empty()) return (*reason = "'at' without a name", false);
        out.push_back({});
        out.back().at = std::string(name);
        return true;
    }
    const std::size_t colon = t.find(':');
    if (colon == std::string_view::npos) return (*reason = "no ':' in \"" + std::string(t) + "\"", false);
    const std::string_view key = Trim(t.substr(0, colon));
    std::string_view value = line.substr(line.find(':') + 1);
    if (!value.empty() && value[0] == ' ') value.remove_prefix(1);
    ScreenExpectation& e = out.back();
    if (key == "state") {
        e.state = std::string(Trim(value));
    } else if (key == "highlight" || key == "collected") {
        const auto n = Count(value);
        if (!n) return (*reason = std::string(key) + ": not a number", false);
        (key == "highlight" ? e.highlightRow : e.collectedCount) = *n;
    } else if (key.substr(0, 4) == "row ") {
        const auto r = Count(key.substr(4));
        if (!r || *r < 1 || *r > kSimRows) return (*reason = std::string(key) + ": rows are 1..8", false);
        e.rows[static_cast<std::size_t>(*r - 1)] = std::string(TrimEnd(value));
    } else {
        return (*reason = "unknown \"" + std::string(key) + "\"", false);
    }
    return true;
}

bool FromJson(const nlohmann::json& j, ScreenExpectation& e, std::string* reason) {
    if (!j.is_object()) return (*reason = "an expectation is a JSON object", false);
    if (j.contains("state")) {
        if (!j["state"].is_string()) return (*reason = "state: a text", false);
        e.state = j["state"].get<std::string>();
    }
    for (const char* key : {"highlightRow", "collectedCount"}) {
        if (!j.contains(key)) continue;
        if (!j[key].is_number_unsigned()) return (*reason = std::string(key) + ": a number", false);
        (std::string_view(key) == "highlightRow" ? e.highlightRow : e.collectedCount) = j[key].get<int>();
    }
    if (j.contains("rows")) {
        const nlohmann::json& rows = j["rows"];
        auto set = [&](int r, const nlohmann::json& v) {
            if (r < 1 || r > kSimRows || !v.is_string()) return false;
            e.rows[static_cast<std::size_t>(r - 1)] = std::string(TrimEnd(v.get<std::string>()));
            return true;
        };
        bool ok = rows.is_array() || rows.is_object();
        int r = 0;
        if (rows.is_array())
            for (const auto& v : rows) ok = ok && set(++r, v);
        if (rows.is_object())
            for (const auto& [k, v] : rows.items()) ok = ok && set(Count(k).value_or(0), v);
        if (!ok) return (*reason = "rows: texts for rows 1..8", false);
    }
    return true;
}

}  // namespace

ScreenSnapshot TakeSnapshot(const TerminalSimulator& sim) {
    ScreenSnapshot s;
    for (int r = 0; r < kSimRows; ++r)
        s.rows[static_cast<std::size_t>(r)] = std::string(TrimEnd(Cp950ToUtf8(sim.screen().Row(r))));
    s.state = SimStateName(sim.simState());
    s.highlightRow = sim.engineState().highlightRow;
    s.collectedCount = sim.runtimeState().collectedCount;
    return s;
}

std::string ScreenText(const TerminalSimulator& sim) {
    ScreenSnapshot s = TakeSnapshot(sim);
    if (sim.simState() == SimState::MainMenu) s.rows[kSimRows - 1] = std::string(TrimEnd(sim.StatusText()));
    std::string text;
    for (const std::string& row : s.rows) text += row + "\n";
    return text;
}

std::optional<std::vector<ScreenExpectation>> ParseExpectations(std::string_view text, std::string* reason) {
    std::string ignored;
    if (!reason) reason = &ignored;
    std::vector<ScreenExpectation> out(1);
    if (!Trim(text).empty() && Trim(text)[0] == '{') {
        const nlohmann::json j = nlohmann::json::parse(text, nullptr, false);
        if (j.is_discarded()) return (*reason = "not valid JSON", std::nullopt);
        if (!FromJson(j, out[0], reason)) return std::nullopt;
        if (j.contains("at")) {
            if (!j["at"].is_object()) return (*reason = "at: an object of named expectations", std::nullopt);
            for (const auto& [name, value] : j["at"].items()) {
                out.push_back({});
                out.back().at = name;
                if (!FromJson(value, out.back(), reason)) return std::nullopt;
            }
        }
        return out;
    }
    int number = 0;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        ++number;
        if (!ParseTextLine(text.substr(start, end - start), out, reason)) {
            *reason = "line " + std::to_string(number) + ": " + *reason;
            return std::nullopt;
        }
        start = end + 1;
    }
    return out;
}

std::string FormatExpectation(const ScreenSnapshot& s) {
    std::string text = "at end\nstate: " + s.state + "\nhighlight: " + std::to_string(s.highlightRow) +
                       "\ncollected: " + std::to_string(s.collectedCount) + "\n";
    for (int r = 0; r < kSimRows; ++r) {
        const std::string& row = s.rows[static_cast<std::size_t>(r)];
        text += "row " + std::to_string(r + 1) + ":" + (row.empty() ? "" : " " + row) + "\n";
    }
    return text;
}

int FactCount(const ScreenExpectation& e) {
    int n = (e.state ? 1 : 0) + (e.highlightRow ? 1 : 0) + (e.collectedCount ? 1 : 0);
    for (const auto& row : e.rows) n += row ? 1 : 0;
    return n;
}

std::vector<ScreenDifference> CompareScreen(const ScreenExpectation& e,
                                            const std::optional<ScreenSnapshot>& seen) {
    std::vector<ScreenDifference> out;
    if (!seen) {
        out.push_back({e.at, "reached", "yes", "no"});
        return out;
    }
    if (e.state && *e.state != seen->state) out.push_back({e.at, "state", *e.state, seen->state});
    if (e.highlightRow && *e.highlightRow != seen->highlightRow)
        out.push_back(
            {e.at, "highlight", std::to_string(*e.highlightRow), std::to_string(seen->highlightRow)});
    if (e.collectedCount && *e.collectedCount != seen->collectedCount)
        out.push_back(
            {e.at, "collected", std::to_string(*e.collectedCount), std::to_string(seen->collectedCount)});
    for (std::size_t r = 0; r < e.rows.size(); ++r)
        if (e.rows[r] && *e.rows[r] != seen->rows[r])
            out.push_back({e.at, "row " + std::to_string(r + 1), *e.rows[r], seen->rows[r]});
    return out;
}

}  // namespace k52

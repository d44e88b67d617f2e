// simulate: runs the simulated terminal on a template and reports its display after a key sequence.
#include <cctype>
#include <charconv>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/CliSupport.h"
#include "simulator/Keypad.h"
#include "simulator/Simulator.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"

namespace k52::cli {
namespace {

using Json = nlohmann::ordered_json;

// One step of the key sequence: a key code, or a number of clock ticks.
struct Step {
    bool tick = false;
    int value = 0;
};

// Records what the window would show besides the display itself.
class RecordingView : public NullSimView {
  public:
    std::vector<std::string> events;
    void ShowMessageBox(std::string_view, std::string_view, MessageIcon) override {
        events.push_back("warning");
    }
    void PostCommand(int id) override { events.push_back("command:" + std::to_string(id)); }
    void OpenCommandMenu(int, int) override { events.push_back("menu"); }
};

bool ParseNumber(std::string_view s, int& value) {
    if (s.empty() || s.size() > 9) return false;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    return ec == std::errc() && end == s.data() + s.size();
}

bool ParseKeys(const std::string& keys, std::vector<Step>& steps, std::string& bad) {
    std::string token;
    auto flush = [&]() {
        if (token.empty()) return true;
        Step step;
        if (token[0] == 't' || token[0] == 'T') {
            step.tick = true;
            step.value = 1;
            if (token.size() > 1 && !ParseNumber(std::string_view(token).substr(1), step.value)) return false;
        } else if (!ParseNumber(token, step.value) ||
                   !((step.value >= 1 && step.value <= kKeyCount) || step.value == kRestartCode)) {
            return false;
        }
        steps.push_back(step);
        token.clear();
        return true;
    };
    for (char c : keys) {
        if (c == ',' || std::isspace(static_cast<unsigned char>(c))) {
            if (!flush()) {
                bad = token;
                return false;
            }
        } else {
            token += c;
        }
    }
    if (!flush()) {
        bad = token;
        return false;
    }
    return true;
}

// "YYYY-MM-DD HH:MM"
bool ParseTime(const std::string& s, LocalTime& time) {
    int fields[5];
    const char separators[4] = {'-', '-', ' ', ':'};
    const int widths[5] = {4, 2, 2, 2, 2};
    std::size_t pos = 0;
    for (int i = 0; i < 5; ++i) {
        if (pos + widths[i] > s.size()) return false;
        std::string_view part(s.data() + pos, static_cast<std::size_t>(widths[i]));
        if (!ParseNumber(part, fields[i])) return false;
        pos += static_cast<std::size_t>(widths[i]);
        if (i < 4) {
            if (pos >= s.size() || s[pos] != separators[i]) return false;
            ++pos;
        }
    }
    if (pos != s.size()) return false;
    time = {fields[0], fields[1], fields[2], fields[3], fields[4], 0};
    return time.month >= 1 && time.month <= 12 && time.day >= 1 && time.day <= 31 && time.hour <= 23 &&
           time.minute <= 59;
}

int UsageError(const std::string& why) {
    PrintError("k52cli", why);
    std::cerr << "usage: k52cli simulate FILE [--keys KEYS] [--time \"YYYY-MM-DD HH:MM\"] [--fresh] [--json] "
                 "[--save OUT]\n";
    return kExitUsage;
}

void RunTicks(TerminalSimulator& sim, int count) {
    while (count > 0) {
        // Without a pending letter, whole seconds of ticks change nothing but the status line's time.
        if (!sim.runtimeState().letterPending && count > 10) {
            count %= 10;
            if (count == 0) break;
        }
        sim.Tick();
        --count;
    }
}

std::string RowUtf8(const TerminalSimulator& sim, int r) {
    return Cp950ToUtf8(sim.screen().Row(r));
}

Json StateJson(const TerminalSimulator& sim, const std::vector<std::string>& events) {
    const EngineState& e = sim.engineState();
    const RuntimeState& r = sim.runtimeState();
    Json j;
    Json rows = Json::array();
    for (int i = 0; i < kSimRows; ++i) rows.push_back(RowUtf8(sim, i));
    j["rows"] = rows;
    j["state"] = SimStateName(e.simState);
    j["highlightRow"] = e.highlightRow;
    j["activeTarget"] = e.activeTarget;
    j["cursorRow"] = r.cursorRow;
    j["cursorCol"] = r.cursorCol;
    j["alphaMode"] = r.alphaMode;
    j["letterPending"] = r.letterPending;
    j["pendingLetter"] = r.letterPending ? std::string(1, r.pendingLetter) : std::string();
    j["collectedCount"] = r.collectedCount;
    j["toolCount"] = e.toolCount;
    j["statusLine"] = sim.StatusText();
    j["events"] = events;
    return j;
}

void PrintPicture(const TerminalSimulator& sim, const std::vector<std::string>& events) {
    const EngineState& e = sim.engineState();
    const RuntimeState& r = sim.runtimeState();
    // In the main menu the clock paints the status line over the last row.
    const std::string status = sim.StatusText();
    std::cout << "  +--------------------+\n";
    for (int i = 0; i < kSimRows; ++i) {
        std::string_view row = sim.screen().Row(i);
        if (e.simState == SimState::MainMenu && i == kSimRows - 1) row = status;
        // A CP950 byte is one display column, as on a terminal that shows ideographs double width.
        std::cout << (e.highlightRow == i + 1 ? "> |" : "  |") << Cp950ToUtf8(row)
                  << std::string(static_cast<std::size_t>(kSimColumns) - row.size(), ' ') << "|\n";
    }
    std::cout << "  +--------------------+\n";
    std::cout << "state: " << SimStateName(e.simState) << "  highlightRow: " << e.highlightRow
              << "  activeTarget: " << e.activeTarget << "\n";
    std::cout << "cursor: row " << r.cursorRow << ", column " << r.cursorCol
              << "  alphaMode: " << (r.alphaMode ? "on" : "off");
    if (r.letterPending) std::cout << "  pending letter: " << r.pendingLetter;
    std::cout << "\n";
    std::cout << "collectedCount: " << r.collectedCount << "  toolCount: " << e.toolCount << "\n";
    std::cout << "status line: \"" << status << "\"\n";
    std::cout << "events:";
    for (const std::string& event : events) std::cout << " " << event;
    std::cout << (events.empty() ? " none\n" : "\n");
}

}  // namespace

int CmdSimulate(const Args& args) {
    std::string file, keys, timeText, savePath;
    bool haveTime = false, fresh = false, json = false, save = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](std::string& out) {
            if (i + 1 >= args.size()) return false;
            out = args[++i];
            return true;
        };
        if (a == "--keys") {
            if (!value(keys)) return UsageError("--keys needs a value");
        } else if (a == "--time") {
            if (!value(timeText)) return UsageError("--time needs a value");
            haveTime = true;
        } else if (a == "--save") {
            if (!value(savePath)) return UsageError("--save needs a value");
            save = true;
        } else if (a == "--fresh") {
            fresh = true;
        } else if (a == "--json") {
            json = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return UsageError("unknown option " + a);
        } else if (file.empty()) {
            file = a;
        } else {
            return UsageError("more than one template file given");
        }
    }
    if (file.empty()) return UsageError("no template file given");

    std::vector<Step> steps;
    std::string bad;
    if (!ParseKeys(keys, steps, bad))
        return UsageError("bad key '" + bad + "' (key codes 1..20 or 51, or tN)");
    FixedLocalClock fixedClock;
    SystemLocalClock systemClock;
    if (haveTime && !ParseTime(timeText, fixedClock.time))
        return UsageError("bad time '" + timeText + "' (YYYY-MM-DD HH:MM)");
    LocalClock& clock = haveTime ? static_cast<LocalClock&>(fixedClock) : systemClock;

    ApplicationTemplate t = StartupTemplate();
    RecordingView view;
    TerminalSimulator sim(t, clock);
    KeypadController keypad(sim, view);
    sim.Start();
    if (int rc = LoadTemplate(file, t); rc != kExitOk) return rc;
    if (!fresh) {
        // As the editor confirms a sheet left unchanged.
        NormaliseTemplate(t);
        sim.UpdateAfterEdit();
        sim.DispatchKey(kRestartCode);
    }

    for (const Step& step : steps) {
        if (step.tick) {
            RunTicks(sim, step.value);
        } else if (step.value == kRestartCode) {
            sim.DispatchKey(kRestartCode);
        } else {
            keypad.Press(step.value);
            keypad.Release();
        }
    }

    if (json)
        std::cout << StateJson(sim, view.events).dump(2) << "\n";
    else
        PrintPicture(sim, view.events);

    if (save) {
        std::string error;
        if (!WriteTemplateFile(savePath, t, &error)) {
            PrintError("k52cli", "cannot write " + savePath + ": " + error);
            return kExitFile;
        }
    }
    return kExitOk;
}

}  // namespace k52::cli

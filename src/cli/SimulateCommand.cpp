// simulate: runs the simulated terminal on a template and reports its display after a key sequence.
#include <cctype>
#include <iostream>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "cli/CliSupport.h"
#include "cli/CommandRegistration.h"
#include "i18n/Translate.h"
#include "simulator/KeyScript.h"
#include "simulator/Keypad.h"
#include "simulator/ScreenCheck.h"
#include "simulator/TerminalSimulator.h"
#include "simulator/Unsimulated.h"
#include "template/Cp950.h"
#include "template/Defaults.h"
#include "template/TemplateFile.h"
#include "util/Parse.h"
#include "util/RegularFile.h"

namespace k52::cli {
namespace {

using Json = nlohmann::ordered_json;

constexpr std::string_view kUsage =
    "simulate FILE [--keys KEYS | --keys-file FILE] [--time \"YYYY-MM-DD HH:MM\"] [--fresh] [--json] "
    "[--save OUT] [--expect E | --write-expect E]";
// A key sequence is a few numbers; far more than any script types is refused before it fills memory.
constexpr std::size_t kKeysFileLimit = 1024 * 1024;

struct SimulateOptions {
    std::string file;
    std::string keys;
    std::optional<std::string> keysFile;  // "-" reads standard input
    std::optional<std::string> time;      // "YYYY-MM-DD HH:MM"
    bool fresh = false;
    bool json = false;
    std::optional<std::string> save;
    std::optional<std::string> expect;
    std::optional<std::string> writeExpect;
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

bool IsLeapYear(unsigned year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

unsigned DaysInMonth(unsigned year, unsigned month) {
    static constexpr unsigned kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// "YYYY-MM-DD HH:MM", a minute that exists on the calendar.
std::optional<LocalTime> ParseTime(std::string_view s) {
    if (s.size() != 16 || s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':') return std::nullopt;
    auto field = [s](std::size_t at, std::size_t width) {
        return ParseUnsigned<unsigned>(s.substr(at, width));
    };
    const auto year = field(0, 4), month = field(5, 2), day = field(8, 2), hour = field(11, 2),
               minute = field(14, 2);
    if (!year || !month || !day || !hour || !minute) return std::nullopt;
    if (*month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month) || *hour > 23 ||
        *minute > 59)
        return std::nullopt;
    return LocalTime{static_cast<int>(*year), static_cast<int>(*month),  static_cast<int>(*day),
                     static_cast<int>(*hour), static_cast<int>(*minute), 0};
}

int UsageError(const std::string& why) {
    PrintError("k52cli", why);
    std::cerr << Localize("usage: k52cli %1", {kUsage}) << "\n";
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
    Json unsimulated = Json::array();
    for (const UnsimulatedUse& u : FindUnsimulated(sim.tmpl())) {
        Json use;
        use["feature"] = UnsimulatedName(u.feature);
        if (u.feature == Unsimulated::Password) {
            use["guard"] = PasswordGuardName(u.guard);
        } else {
            use["form"] = u.form;
            if (u.line != 0) use["line"] = u.line;
        }
        unsimulated.push_back(use);
    }
    j["unsimulated"] = unsimulated;
    return j;
}

Json DifferencesJson(const std::vector<ScreenDifference>& differences) {
    Json list = Json::array();
    for (const ScreenDifference& d : differences)
        list.push_back({{"at", d.at}, {"what", d.what}, {"expected", d.expected}, {"actual", d.actual}});
    return list;
}

void PrintDifferences(const std::vector<ScreenDifference>& differences, std::size_t checked) {
    if (differences.empty()) {
        std::cout << Localize("expectations hold: %1", {std::to_string(checked)}) << "\n";
        return;
    }
    for (const ScreenDifference& d : differences) {
        if (d.what == "reached") {
            std::cout << Localize("at %1: never reached (no such mark, or fewer keys)", {d.at}) << "\n";
            continue;
        }
        std::cout << Localize("at %1: %2 differs", {d.at, d.what}) << "\n";
        std::cout << "  " << Localize("expected: %1", {"\"" + Printable(d.expected) + "\""}) << "\n";
        std::cout << "  " << Localize("actual:   %1", {"\"" + Printable(d.actual) + "\""}) << "\n";
    }
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
        std::size_t escapes = 0;
        const std::string shown = Printable(Cp950ToUtf8(row), &escapes);
        // An escaped control character takes four columns for its one byte.
        const std::size_t used = row.size() + 3 * escapes;
        const std::size_t width = static_cast<std::size_t>(kSimColumns);
        std::cout << (e.highlightRow == i + 1 ? "> |" : "  |") << shown
                  << std::string(used < width ? width - used : 0, ' ') << "|\n";
    }
    std::cout << "  +--------------------+\n";
    std::cout << "state: " << SimStateName(e.simState) << "  highlightRow: " << e.highlightRow
              << "  activeTarget: " << e.activeTarget << "\n";
    // The state's names are its JSON keys; the words between them are the user's language.
    std::cout << Localize("cursor: row %1, column %2",
                          {std::to_string(r.cursorRow), std::to_string(r.cursorCol)})
              << "  alphaMode: " << Localize(r.alphaMode ? "on" : "off");
    if (r.letterPending) std::cout << Localize("  pending letter: %1", {std::string(1, r.pendingLetter)});
    std::cout << "\n";
    std::cout << "collectedCount: " << r.collectedCount << "  toolCount: " << e.toolCount << "\n";
    std::cout << Localize("status line: \"%1\"", {status}) << "\n";
    std::cout << "events:";
    for (const std::string& event : events) std::cout << " " << event;
    std::cout << (events.empty() ? " " + Localize("none") : std::string()) << "\n";
    // The JSON names, form.line: what the terminal does here and the simulated one does not.
    const std::vector<UnsimulatedUse> unsimulated = FindUnsimulated(sim.tmpl());
    if (!unsimulated.empty()) {
        std::cout << "unsimulated:";
        for (const UnsimulatedUse& u : unsimulated) {
            std::cout << " " << UnsimulatedName(u.feature) << ":";
            if (u.feature == Unsimulated::Password)
                std::cout << PasswordGuardName(u.guard);
            else
                std::cout << u.form << (u.line ? "." + std::to_string(u.line) : std::string());
        }
        std::cout << "\n";
    }
}

// The key script and the expectations a run is given; the exit code when either cannot be had.
struct SimulateInputs {
    std::vector<KeyStep> steps;
    std::vector<ScreenExpectation> expectations;
};

std::variant<SimulateInputs, int> ReadInputs(const SimulateOptions& o) {
    std::string keys = o.keys;
    if (o.keysFile) {
        std::string reason;
        std::optional<std::string> read = *o.keysFile == "-"
                                              ? ReadWholeStandardInput(kKeysFileLimit, &reason)
                                              : ReadWholeFile(*o.keysFile, kKeysFileLimit, &reason);
        if (!read) {
            PrintError("k52cli", Localize("cannot read %1: %2", {*o.keysFile, LocalizeReason(reason)}));
            return kExitFile;
        }
        keys = std::move(*read);
    }
    SimulateInputs in;
    std::string bad;
    std::optional<std::vector<KeyStep>> steps = ParseKeyScript(keys, &bad);
    if (!steps) return UsageError(Localize("bad key '%1' (key codes 1..20 or 51, tN, or @MARK)", {bad}));
    in.steps = std::move(*steps);
    if (o.expect) {
        const std::optional<std::string> text = ReadInputFile(*o.expect, kKeysFileLimit);
        if (!text) return kExitFile;
        std::string reason;
        auto parsed = ParseExpectations(*text, &reason);
        if (!parsed) {
            PrintError("k52cli", Localize("bad expectations in %1: %2", {*o.expect, reason}));
            return kExitUsage;
        }
        in.expectations = std::move(*parsed);
    }
    if (o.writeExpect)
        if (int rc = MayWrite(*o.writeExpect, K52_EN("expectations"), {{o.file, K52_EN("the template")}},
                              Existing::Replace);
            rc != kExitOk)
            return rc;
    return in;
}

// Runs the steps, keeping the screen at each point an expectation names and at the end.
std::map<std::string, ScreenSnapshot> RunSteps(TerminalSimulator& sim, KeypadController& keypad,
                                               const SimulateInputs& in) {
    std::map<std::string, ScreenSnapshot> seen;
    auto wanted = [&](const std::string& at) {
        for (const ScreenExpectation& e : in.expectations)
            if (e.at == at) return true;
        return false;
    };
    int keyCount = 0;
    for (const KeyStep& step : in.steps) {
        switch (step.kind) {
            case KeyStep::Ticks:
                RunTicks(sim, step.value);
                break;
            case KeyStep::Mark:
                if (wanted(step.mark)) seen.emplace(step.mark, TakeSnapshot(sim));
                break;
            case KeyStep::Key:
                if (step.value == kRestartCode) {
                    sim.DispatchKey(kRestartCode);
                } else {
                    keypad.Press(step.value);
                    keypad.Release();
                }
                if (const std::string n = std::to_string(++keyCount); wanted(n))
                    seen.insert_or_assign(n, TakeSnapshot(sim));
                break;
        }
    }
    seen.insert_or_assign("end", TakeSnapshot(sim));
    return seen;
}

std::vector<ScreenDifference> Compare(const SimulateInputs& in,
                                      const std::map<std::string, ScreenSnapshot>& seen) {
    std::vector<ScreenDifference> differences;
    for (const ScreenExpectation& e : in.expectations) {
        const auto it = seen.find(e.at);
        for (ScreenDifference& d :
             CompareScreen(e, it == seen.end() ? std::nullopt : std::optional<ScreenSnapshot>(it->second)))
            differences.push_back(std::move(d));
    }
    return differences;
}

void Report(const SimulateOptions& o, TerminalSimulator& sim, const RecordingView& view,
            const SimulateInputs& in, const std::vector<ScreenDifference>& differences) {
    if (o.json) {
        Json j = StateJson(sim, view.events);
        if (o.expect) j["differences"] = DifferencesJson(differences);
        std::cout << j.dump(2) << "\n";
        return;
    }
    PrintPicture(sim, view.events);
    if (!o.expect) return;
    std::size_t facts = 0;
    for (const ScreenExpectation& e : in.expectations) facts += static_cast<std::size_t>(FactCount(e));
    PrintDifferences(differences, facts);
}

int RunSimulate(const SimulateOptions& o) {
    std::variant<SimulateInputs, int> read = ReadInputs(o);
    if (const int* rc = std::get_if<int>(&read)) return *rc;
    const SimulateInputs& in = std::get<SimulateInputs>(read);
    FixedLocalClock fixedClock;
    SystemLocalClock systemClock;
    if (o.time) {
        const auto time = ParseTime(*o.time);
        if (!time)
            return UsageError(Localize("bad time '%1' (YYYY-MM-DD HH:MM, a date that exists)", {*o.time}));
        fixedClock.time = *time;
    }
    LocalClock& clock = o.time ? static_cast<LocalClock&>(fixedClock) : systemClock;

    ApplicationTemplate t = StartupTemplate();
    RecordingView view;
    TerminalSimulator sim(t, clock);
    KeypadController keypad(sim, view);
    sim.Start();
    if (int rc = LoadTemplate(o.file, t); rc != kExitOk) return rc;
    if (!o.fresh) {
        // As the editor confirms a sheet left unchanged.
        NormaliseTemplate(t);
        sim.UpdateAfterEdit();
        sim.DispatchKey(kRestartCode);
    }
    const std::map<std::string, ScreenSnapshot> seen = RunSteps(sim, keypad, in);
    const std::vector<ScreenDifference> differences = Compare(in, seen);
    Report(o, sim, view, in, differences);

    if (o.save) {
        std::string error;
        if (!WriteTemplateFile(*o.save, t, &error)) {
            PrintError("k52cli", Localize("cannot write %1: %2", {*o.save, error}));
            return kExitFile;
        }
    }
    if (o.writeExpect) {
        const std::string text = FormatExpectation(seen.at("end"));
        if (int rc = SaveOutputFile(*o.writeExpect, text.data(), text.size()); rc != kExitOk) return rc;
    }
    return differences.empty() ? kExitOk : kExitFailed;
}

}  // namespace

void RegisterSimulateCommand(CLI::App& app, CommandList& commands) {
    auto so = std::make_shared<SimulateOptions>();
    CLI::App* sub = app.add_subcommand(
        "simulate", Localize("run the simulated terminal and print its display after some keys"));
    sub->add_option("FILE", so->file, Localize("the template file"))->required()->check(kPath);
    auto* keys = sub->add_option("--keys", so->keys,
                                 Localize("keypad codes 1..20 or 51 (restart), and tN for N ticks of 100 ms, "
                                          "separated by spaces or commas"));
    sub->add_option_function<std::string>(
           "--keys-file", [so](const std::string& v) { so->keysFile = v; },
           Localize("read the keys from FILE ('-' for standard input)"))
        ->type_name("FILE")
        ->check(kPath)
        ->excludes(keys);
    sub->add_option_function<std::string>(
           "--time", [so](const std::string& v) { so->time = v; },
           Localize("fix the clock at \"YYYY-MM-DD HH:MM\""))
        ->type_name("TIME");
    sub->add_flag("--fresh", so->fresh,
                  Localize("as right after start-up, without applying the template first"));
    sub->add_flag("--json", so->json, Localize("the display and state as JSON"));
    sub->add_option_function<std::string>(
           "--save", [so](const std::string& v) { so->save = v; },
           Localize("write the template with its run state afterwards"))
        ->type_name("OUT")
        ->check(kPath);
    auto* expect = sub->add_option_function<std::string>(
                          "--expect", [so](const std::string& v) { so->expect = v; },
                          Localize("check the screen against the expectations in E (exit 1 when one fails)"))
                       ->type_name("E")
                       ->check(kPath);
    sub->add_option_function<std::string>(
           "--write-expect", [so](const std::string& v) { so->writeExpect = v; },
           Localize("write the final screen to E as expectations to edit"))
        ->type_name("E")
        ->check(kPath)
        ->excludes(expect);
    commands.push_back({sub, {}, [so] { return RunSimulate(*so); }});
}

}  // namespace k52::cli

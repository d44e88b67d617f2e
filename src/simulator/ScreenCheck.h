// What a session's screen should show, and whether it does: the display rows, the state, the highlight
// and the count of completed forms, at named points of a key script or at its end.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "simulator/TerminalSimulator.h"

namespace k52 {

// The screen as a person reads it, rows in UTF-8.
struct ScreenSnapshot {
    std::array<std::string, kSimRows> rows;
    std::string state;  // SimStateName
    int highlightRow = 0;
    int collectedCount = 0;
};
ScreenSnapshot TakeSnapshot(const TerminalSimulator& sim);

// The 8 rows as shown, one a line in UTF-8, trailing blanks dropped; in the main menu the last row is
// the status line the clock draws there.
std::string ScreenText(const TerminalSimulator& sim);

// What should hold at one point: "end" (after the last step), a mark's name, or a number N (after the
// N-th key). Only what is given is checked.
struct ScreenExpectation {
    std::string at = "end";
    std::array<std::optional<std::string>, kSimRows> rows;
    std::optional<std::string> state;
    std::optional<int> highlightRow;
    std::optional<int> collectedCount;
};

// Plain text, one fact a line ('#' starts a comment):
//     at NAME              the facts below hold at mark @NAME, at key N, or "at end" (the default)
//     state: FormEntry
//     highlight: 2
//     collected: 3
//     row 1: 1. 收 集 資 料   rows 1..8, compared without trailing blanks
// or JSON: {"rows": [...] or {"1": "..."}, "state": ..., "highlightRow": n, "collectedCount": n,
// "at": {"NAME": {...}}}, so that the output of `simulate --json` serves as its own expectation.
// nullopt with `reason` set when the text is neither.
std::optional<std::vector<ScreenExpectation>> ParseExpectations(std::string_view text, std::string* reason);

// The plain text that expects exactly `s`, as a starting point to edit.
std::string FormatExpectation(const ScreenSnapshot& s);

// How many facts `e` states.
int FactCount(const ScreenExpectation& e);

struct ScreenDifference {
    std::string at;
    std::string what;  // "row 2", "state", "highlight", "collected", or "reached"
    std::string expected;
    std::string actual;
};
// `seen`: the snapshot taken at `e.at`, or nullopt when the run never got there.
std::vector<ScreenDifference> CompareScreen(const ScreenExpectation& e,
                                            const std::optional<ScreenSnapshot>& seen);

}  // namespace k52

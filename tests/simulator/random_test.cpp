// Random template bytes and random key sequences: whatever a file holds, the terminal stays within its
// buffers and its state within its ranges.
#include <random>

#include "SimTestSupport.h"

namespace k52::test {
namespace {

void CheckInvariants(const TerminalSimulator& sim, const ApplicationTemplate& t) {
    for (const auto& row : sim.screen().rows) ASSERT_EQ(row[kSimColumns], 0);
    const EngineState& e = sim.engineState();
    const RuntimeState& r = sim.runtimeState();
    ASSERT_GE(e.highlightRow, 0);
    ASSERT_LE(e.highlightRow, 8);
    ASSERT_GE(r.cursorRow, 0);
    ASSERT_LT(r.cursorRow, 8);
    ASSERT_GE(r.cursorCol, 0);
    ASSERT_LE(r.cursorCol, 20);
    ASSERT_GE(r.tickCount, 0);
    ASSERT_LT(r.tickCount, 10);
    for (const LineEntry& line : r.lines) ASSERT_EQ(line.text[kMaxLineText], 0);
    if (e.simState == SimState::FormEntry) {
        ASSERT_GE(e.activeTarget, 1);
        ASSERT_LE(e.activeTarget, 10);
        ASSERT_LT(t.form(e.activeTarget).currentLine, 8);
    }
    if (e.simState == SimState::AppMenu) {
        ASSERT_GE(e.activeTarget, 11);
        ASSERT_LE(e.activeTarget, 20);
    }
}

TEST(Random, RandomTemplatesAndKeysStayInBounds) {
    std::mt19937 rng(20240306);
    for (int round = 0; round < 300; ++round) {
        ApplicationTemplate t = StartupTemplate();
        u8* bytes = t.bytes();
        if (round % 3 == 0) {
            for (std::size_t i = 0; i < kTemplateSize; ++i) bytes[i] = static_cast<u8>(rng());
        } else {
            // Mostly plausible values, so that the menus and forms are reached and typed into.
            t.startPosition = static_cast<u8>(rng() % 2);
            for (MenuRecord& m : t.menus) {
                m.showTitle = static_cast<u8>(rng() % 2);
                for (int i = 0; i < 10; ++i) {
                    if (rng() % 2) std::memset(m.options[i], 'A' + static_cast<int>(rng() % 26), rng() % 22);
                    m.optionTargets[i] = static_cast<u8>(rng() % 24);
                }
                m.escapeTarget = static_cast<u8>(rng() % 24);
                m.currentOption = static_cast<u8>(rng() % 12);
            }
            for (FormRecord& f : t.forms) {
                f.narrowRows = static_cast<u8>(rng() % 4 == 0);
                f.escapeTarget = static_cast<u8>(rng() % 24);
                f.nextTarget = static_cast<u8>(rng() % 24);
                for (int i = 0; i < 8; ++i) {
                    f.lineType[i] = static_cast<u8>(rng() % 10);
                    std::memset(f.prompt[i], 'p', rng() % 22);
                    f.maxLength[i] = static_cast<u8>(rng() % 3 == 0 ? rng() : rng() % 60);
                    f.minLength[i] = static_cast<u8>(rng() % 4);
                    f.hasInitialValue[i] = static_cast<u8>(rng() % 3 == 0);
                    std::memset(f.initialValue[i], '0' + static_cast<int>(rng() % 10), rng() % 11);
                }
                f.currentLine = static_cast<u8>(rng() % 10);
            }
            if (rng() % 2) t.lookupFile(1).recordLength = t.lookupFile(1).fieldCount = 1;
        }
        FixedLocalClock clock({2024, 1 + static_cast<int>(rng() % 12), 1, 0, 0, 0});
        RecordingView view;
        TerminalSimulator sim(t, clock, &view);
        KeypadController keypad(sim, view);
        sim.Start();
        if (round % 2) {
            NormaliseTemplate(t);
            sim.UpdateAfterEdit();
            sim.DispatchKey(kRestartCode);
        }
        for (int step = 0; step < 400; ++step) {
            const auto pick = rng() % 100;
            if (pick < 8) {
                for (auto n = rng() % 9; n > 0; --n) sim.Tick();
            } else if (pick < 10) {
                sim.DispatchKey(kRestartCode);
            } else if (pick < 12) {
                // A file opened over the running template.
                bytes[rng() % kTemplateSize] = static_cast<u8>(rng());
            } else if (pick < 30) {
                keypad.Press(kKeyDigit1);  // into the application more often
                keypad.Release();
            } else {
                int key = 1 + static_cast<int>(rng() % 20);
                keypad.Press(key);
                keypad.Release();
            }
            CheckInvariants(sim, t);
            if (::testing::Test::HasFatalFailure()) return;
        }
    }
}

}  // namespace
}  // namespace k52::test

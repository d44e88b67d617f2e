// The simulated terminal: a template, then a stream of keys, restarts, clock ticks and alpha switches.
#include <cstring>

#include "FuzzInput.h"
#include "simulator/TerminalSimulator.h"
#include "template/Defaults.h"

using namespace k52;

namespace {

// Long key scripts add little coverage and slow every execution down.
constexpr int kMaxEvents = 1024;

// Every byte of the input after the template is one event.
void Play(TerminalSimulator& sim, fuzz::FuzzInput& in) {
    for (int events = 0; events < kMaxEvents && !in.empty(); ++events) {
        const std::uint8_t b = in.Byte();
        if (b >= 1 && b <= 20) {
            sim.DispatchKey(b);
        } else if (b == 21) {
            sim.UpdateAfterEdit();
            sim.DispatchKey(kRestartCode);
        } else if (b == 22) {
            sim.SetAlphaMode(true);
        } else if (b == 23) {
            sim.SetAlphaMode(false);
        } else if (b >= 0xF0) {
            for (int i = 0; i < (b & 0x0F) + 1; ++i) sim.Tick();
        } else {
            sim.DispatchKey(b);  // codes the keypad never sends are ignored
        }
        // The display stays within its rows and columns, each row ended by its NUL.
        const SimScreen& screen = sim.screen();
        for (int r = 0; r < kSimRows; ++r) {
            K52_FUZZ_CHECK(screen.rows[r][kSimColumns] == 0);
            K52_FUZZ_CHECK(screen.Row(r).size() <= static_cast<std::size_t>(kSimColumns));
        }
        K52_FUZZ_CHECK(sim.StatusText().size() <= 20);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput in(data, size);
    ApplicationTemplate t = StartupTemplate();
    // The start-up template with up to 255 bytes changed anywhere: small inputs reach every field.
    auto* bytes = reinterpret_cast<std::uint8_t*>(&t);
    for (int patches = in.Byte(); patches > 0; --patches) {
        const std::size_t offset = in.Word() % kTemplateSize;
        bytes[offset] = in.Byte();
    }
    FixedLocalClock clock({2024, 2, 29, 23, 59, 0});
    TerminalSimulator sim(t, clock);
    sim.Start();
    Play(sim, in);
    return 0;
}

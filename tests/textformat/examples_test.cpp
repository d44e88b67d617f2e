// The example applications import without a fault or a warning and run on the simulated terminal.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "simulator/TerminalSimulator.h"
#include "template/Cp950.h"
#include "textformat/TemplateImport.h"

namespace k52 {
namespace {

std::string ReadExample(const std::string& name) {
    std::ifstream in(std::string(K52_EXAMPLES_DIR) + "/" + name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

TEST(Examples, ImportCleanlyAndTheApplicationOpensOnTheirFirstMenu) {
    struct Case {
        const char* file;
        const char* title;   // menu 1's title, shown in row 0
        const char* option;  // its first option, in row 1
    };
    const Case cases[] = {
        {"stocktake.json", "盤點作業", "盤點"},
        {"receiving.json", "進貨驗收", "驗收入庫"},
        {"warehouse.json", "倉庫作業", "入庫"},
    };
    for (const Case& c : cases) {
        std::string text = ReadExample(c.file);
        ASSERT_FALSE(text.empty()) << c.file;
        TemplateImport r = ImportTemplateJson(text);
        EXPECT_EQ(r.errors, std::vector<std::string>{}) << c.file;
        EXPECT_EQ(r.warnings, std::vector<std::string>{}) << c.file;

        ApplicationTemplate t = r.tmpl;
        FixedLocalClock clock{{2024, 3, 6, 9, 5, 0}};
        TerminalSimulator sim(t, clock);
        sim.Start();
        sim.UpdateAfterEdit();
        sim.DispatchKey(kRestartCode);
        sim.DispatchKey(kKeyDigit1);  // the terminal's main menu: 1. collect data
        EXPECT_EQ(sim.simState(), SimState::AppMenu) << c.file;
        EXPECT_EQ(Cp950ToUtf8(sim.screen().Row(0)), c.title) << c.file;
        EXPECT_EQ(Cp950ToUtf8(sim.screen().Row(1)), c.option) << c.file;
    }
}

}  // namespace
}  // namespace k52

// What k52cli's commands share: template text made safe for a terminal, and telling two paths of one file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "cli/CliSupport.h"
#include "support/TempDir.h"

namespace k52::cli {
namespace {

namespace fs = std::filesystem;

TEST(Printable, EscapesEveryControlCharacterAndNothingElse) {
    const struct {
        std::string in, out;
        std::size_t escapes;
    } kCases[] = {
        {"", "", 0},
        {"plain ASCII ~!", "plain ASCII ~!", 0},
        {"\x1B[2J", "\\x1B[2J", 1},
        {std::string("a\0b", 3), "a\\x00b", 1},
        {"\x01\x1F \x7F", "\\x01\\x1F \\x7F", 3},
        {"\r\n\t", "\\x0D\\x0A\\x09", 3},
        {"\xC2\x80\xC2\x9B"
         "1m",
         "\\x80\\x9B1m", 2},                          // C1 controls, U+0080 and U+009B (CSI)
        {"\xC2\xA0\xC2\xBF", "\xC2\xA0\xC2\xBF", 0},  // U+00A0 and U+00BF are not controls
        {"收 集\\x", "收 集\\x", 0},                  // ideographs, and a backslash typed as text
    };
    for (const auto& c : kCases) {
        std::size_t escapes = 99;
        EXPECT_EQ(Printable(c.in, &escapes), c.out) << c.out;
        EXPECT_EQ(escapes, c.escapes) << c.out;
    }
}

TEST(WholeFiles, SameFileSeesThroughLinksAndNamesThatDiffer) {
    test::TempDir dir;
    dir.Write("a", "x");
    dir.Write("b", "x");
    fs::create_symlink(dir("a"), dir("link"));
    fs::create_hard_link(dir("a"), dir("hard"));
    EXPECT_TRUE(SameFile(dir("a"), dir("a")));
    EXPECT_TRUE(SameFile(dir("a"), dir("link")));
    EXPECT_TRUE(SameFile(dir("hard"), dir("link")));
    EXPECT_TRUE(SameFile(dir("a"), dir.path().string() + "/./a"));
    EXPECT_FALSE(SameFile(dir("a"), dir("b")));
    EXPECT_FALSE(SameFile(dir("a"), dir("missing")));
    EXPECT_FALSE(SameFile(dir("missing"), dir("missing")));
}

}  // namespace
}  // namespace k52::cli

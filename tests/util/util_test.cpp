// The shared helpers: number parsing at its edges, the folder of a path, and whole writes through an
// owning descriptor.
#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "util/Parse.h"
#include "util/Paths.h"
#include "util/UniqueFd.h"

namespace k52 {
namespace {

TEST(ParseUnsigned, AcceptsOnlyWholeInRangeNumbers) {
    struct Case {
        const char* text;
        std::optional<std::uint8_t> value;
    };
    const Case cases[] = {{"0", 0},     {"255", 255}, {"256", {}}, {"", {}},   {"-1", {}},
                          {"+1", {}},   {" 1", {}},   {"1 ", {}},  {"1x", {}}, {"99999999999999999999", {}},
                          {"0x10", {}}, {"007", 7}};
    for (const Case& c : cases) EXPECT_EQ(ParseUnsigned<std::uint8_t>(c.text), c.value) << c.text;
}

TEST(ParseUnsigned, HexOnlyWhenAskedAndMaxHonoured) {
    EXPECT_EQ(ParseUnsigned<unsigned>("0x1F", 255u, NumberBase::DecimalOrHex), 31u);
    EXPECT_EQ(ParseUnsigned<unsigned>("0X0d", 255u, NumberBase::DecimalOrHex), 13u);
    EXPECT_EQ(ParseUnsigned<unsigned>("0x100", 255u, NumberBase::DecimalOrHex), std::nullopt);
    EXPECT_EQ(ParseUnsigned<unsigned>("0x", 255u, NumberBase::DecimalOrHex), std::nullopt);
    EXPECT_EQ(ParseUnsigned<unsigned>("1000", 999u), std::nullopt);
}

TEST(UniqueFd, WritesEverythingAndClosesOnce) {
    int p[2];
    ASSERT_EQ(pipe(p), 0);
    UniqueFd reader(p[0]);
    {
        UniqueFd writer(p[1]);
        const std::string text(3000, 'k');
        std::size_t written = 0;
        ASSERT_TRUE(WriteAll(writer.get(), text.data(), text.size(), &written));
        EXPECT_EQ(written, 3000u);
        UniqueFd moved = std::move(writer);
        EXPECT_FALSE(writer.valid());
    }
    std::string got(4000, '\0');
    std::size_t total = 0;
    for (ssize_t n; (n = read(reader.get(), got.data() + total, got.size() - total)) > 0;)
        total += static_cast<std::size_t>(n);
    EXPECT_EQ(total, 3000u);  // end of file seen: the write end was closed exactly when its owner went
}

TEST(UniqueFd, ReportsAFailedWrite) {
    UniqueFd readOnly(open("/dev/null", O_RDONLY | O_CLOEXEC));
    ASSERT_TRUE(readOnly);
    std::size_t written = 99;
    EXPECT_FALSE(WriteAll(readOnly.get(), "x", 1, &written));
    EXPECT_EQ(errno, EBADF);
    EXPECT_EQ(written, 0u);
}

TEST(DirectoryOf, IsWhereANewFileBesideThePathGoes) {
    const struct {
        const char* path;
        const char* folder;
    } kCases[] = {
        {"records.TXT", "."},       {"/records.TXT", "/"}, {"/home/k/records.TXT", "/home/k"},
        {"out/records.TXT", "out"}, {"a//b", "a/"},        {"/home/k/", "/home/k"},
    };
    for (const auto& c : kCases) EXPECT_EQ(DirectoryOf(c.path), c.folder) << c.path;
}

TEST(IsWindowsDeviceName, TheReservedNamesInAnyFolderCaseAndExtension) {
    for (const char* name : {"CON", "nul", "Aux", "PRN", "COM1", "com9.txt", "LPT3.csv", "out/NUL.csv",
                             "C:\\data\\con.ATC", "NUL .txt", "com0", "CON."})
        EXPECT_TRUE(IsWindowsDeviceName(name)) << name;
    for (const char* name : {"CONSOLE", "NUL/records.txt", "COM10", "COMA", "COM", "LPT", "xCON", "CON_1.txt",
                             "", ".", "records.TXT", "/dev/null"})
        EXPECT_FALSE(IsWindowsDeviceName(name)) << name;
}

}  // namespace
}  // namespace k52

// The Windows side of the seam: CP950 through code page 950 on hand-worked bytes, and files whose
// names are Chinese read and saved under the same rules as on Linux.
#include <gtest/gtest.h>

#include <filesystem>

#include "support/TempDir.h"
#include "template/Cp950.h"
#include "util/RegularFile.h"
#include "util/SaveFile.h"

namespace k52 {
namespace {

TEST(WindowsCp950, ConvertsBothWaysOnHandWorkedBytes) {
    const struct {
        const char* utf8;
        const char* cp950;
    } cases[] = {
        {"\xE4\xB8\xAD\xE6\x96\x87", "\xA4\xA4\xA4\xE5"},        // 中文
        {"\xE6\xB8\xAC\xE8\xA9\xA6 A1", "\xB4\xFA\xB8\xD5 A1"},  // 測試 A1
        {"\xE3\x80\x80\xEF\xBC\x8C", "\xA1\x40\xA1\x41"},        // ideographic space, full-width comma
        {"\xE2\x82\xAC", "\xA3\xE1"},                            // euro sign
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        const Cp950Encoding encoded = Utf8ToCp950(c.utf8);
        EXPECT_EQ(encoded.bytes, c.cp950);
        EXPECT_TRUE(encoded.unmappable.empty());
        EXPECT_EQ(Cp950ToUtf8(c.cp950), c.utf8);
    }
    // A character code page 950 has not got is reported, never replaced by a best-fit guess.
    const Cp950Encoding emoji = Utf8ToCp950(
        "a\xF0\x9F\x98\x80"
        "b\xC3\xA9");
    EXPECT_EQ(emoji.bytes, "ab");
    EXPECT_EQ(emoji.unmappable.size(), 2u);
}

TEST(WindowsFiles, ChineseNamesAreSavedAndReadBack) {
    test::TempDir dir;
    const std::string path = dir("\xE7\xAF\x84\xE6\x9C\xAC.ATC");  // 範本.ATC
    const std::string bytes("\x00\x01\r\n\xFF", 5);
    std::string reason;
    ASSERT_TRUE(SaveWholeFile(path, bytes.data(), bytes.size(), &reason)) << reason;
    EXPECT_TRUE(std::filesystem::exists(std::filesystem::u8path(path)));
    EXPECT_EQ(ReadWholeFile(path, 100, &reason), bytes);
    ASSERT_TRUE(SaveWholeFile(path, "new", 3, &reason)) << reason;
    EXPECT_EQ(ReadWholeFile(path, 100, &reason), "new");
    // Only the file itself is left: no temporary beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(WindowsFiles, SaveAndReadRefuseWhatLinuxRefuses) {
    test::TempDir dir;
    std::string reason;
    EXPECT_FALSE(ReadWholeFile(dir("missing"), 100, &reason));
    EXPECT_EQ(reason, "No such file or directory");
    EXPECT_FALSE(ReadWholeFile(dir(""), 100, &reason));
    EXPECT_EQ(reason, "Is a directory");
    EXPECT_FALSE(SaveWholeFile(dir(""), "x", 1, &reason));
    EXPECT_EQ(reason, "Is a directory");
    dir.Write("big", std::string(11, 'x'));
    FileReadError error;
    EXPECT_FALSE(ReadWholeFile(dir("big"), 10, &error));
    EXPECT_EQ(error.kind, FileReadError::Kind::TooLarge);

    // A read-only file keeps its contents.
    dir.Write("locked", "old");
    std::filesystem::permissions(dir.path() / "locked", std::filesystem::perms::owner_read);
    EXPECT_FALSE(SaveWholeFile(dir("locked"), "new", 3, &reason));
    EXPECT_EQ(reason, "Permission denied");
    EXPECT_EQ(dir.Read("locked"), "old");
    std::filesystem::permissions(dir.path() / "locked", std::filesystem::perms::owner_all);
}

}  // namespace
}  // namespace k52

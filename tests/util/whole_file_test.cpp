// Reading whole files: only regular files, never waiting on a FIFO or a device, never past the limit.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "support/TempDir.h"
#include "util/RegularFile.h"

namespace k52 {
namespace {

using Kind = FileReadError::Kind;

TEST(ReadWholeFile, ReadsRegularFilesUpToTheLimitAndRefusesEverythingElse) {
    test::TempDir dir;
    const std::string bytes("\x00\xFF\r\n tail", 9);
    dir.Write("nine", bytes);
    dir.Write("empty", "");
    ASSERT_EQ(::mkfifo(dir("fifo").c_str(), 0600), 0);
    dir.Write("huge", "");
    std::filesystem::resize_file(dir("huge"), 1 << 30);  // sparse: nothing is written
    const struct {
        std::string path;
        std::size_t limit;
        std::optional<std::string> bytes;
        Kind kind;
        int sysErrno;
    } kCases[] = {
        {dir("nine"), 9, bytes, {}, 0},
        {dir("empty"), 0, "", {}, 0},
        {dir("nine"), 8, std::nullopt, Kind::TooLarge, EFBIG},
        {dir("huge"), 1 << 20, std::nullopt, Kind::TooLarge, EFBIG},  // refused before any read
        {dir("missing"), 9, std::nullopt, Kind::System, ENOENT},
        {dir.path().string(), 9, std::nullopt, Kind::System, EISDIR},
        {dir("fifo"), 9, std::nullopt, Kind::NotRegular, 0},  // no writer: must not wait for one
        {"/dev/zero", 9, std::nullopt, Kind::NotRegular, 0},
    };
    for (const auto& c : kCases) {
        FileReadError error;
        const std::optional<std::string> got = ReadWholeFile(c.path, c.limit, &error);
        EXPECT_EQ(got, c.bytes) << c.path;
        if (c.bytes) continue;
        EXPECT_EQ(error.kind, c.kind) << c.path;
        EXPECT_EQ(error.sysErrno, c.sysErrno) << c.path;
        std::string reason;
        EXPECT_FALSE(ReadWholeFile(c.path, c.limit, &reason));
        EXPECT_EQ(reason, error.reason) << c.path;
        if (c.kind != Kind::TooLarge) {
            EXPECT_EQ(reason, c.kind == Kind::System ? std::strerror(c.sysErrno) : kNotRegularFileReason);
        }
    }
    // A file whose size says 0 but that holds bytes is read to its end.
    const std::optional<std::string> comm = ReadWholeFile("/proc/self/comm", 4096);
    ASSERT_TRUE(comm);
    EXPECT_FALSE(comm->empty());
}

}  // namespace
}  // namespace k52

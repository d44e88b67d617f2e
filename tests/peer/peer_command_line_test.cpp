// k52peer's command line: its help lists the faults, and bad usage stops it before it opens a
// pseudo-terminal.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/Process.h"
#include "support/TempDir.h"

namespace k52 {
namespace {

using Args = std::vector<std::string>;

test::ProcessResult Peer(Args args) {
    args.insert(args.begin(), K52PEER_PATH);
    return test::RunProcess(args);
}

TEST(PeerCommandLine, HelpListsTheOptionsAndTheFaults) {
    for (const char* help : {"--help", "-h"}) {
        test::ProcessResult r = Peer({help});
        EXPECT_EQ(r.exitCode, 0);
        for (const char* part : {"--cradle-speed", "--records", "--image-out", "--lookup-out", "--expect",
                                 "--fault", "refuse-packet=P[:K[:TEXT]]", "cradle-echo=BYTE", "Exit status"})
            EXPECT_NE(r.out.find(part), std::string::npos) << part << "\n" << r.out;
    }
}

TEST(PeerCommandLine, BadUsageExitsWithTwoAndSaysWhy) {
    test::TempDir dir;
    dir.Write("long.txt", std::string(300, 'x') + "\n");
    const struct {
        Args args;
        const char* reason;
    } kCases[] = {
        {{"--cradle-speed", "4800"}, "--cradle-speed must be 9600, 19200, 38400, 57600 or 115200"},
        {{"--cradle-speed", "57600x"}, "--cradle-speed must be"},
        {{"--cradle-speed"}, "--cradle-speed"},
        {{"--expect", "image"}, "--expect takes program or lookup"},
        {{"--fault", "nonsense"}, "nonsense"},
        {{"--fault", "silent", "--fault"}, "--fault"},
        {{"--records", dir("missing.txt")}, "missing.txt"},
        {{"--records", dir("long.txt")}, "k52peer: "},
        {{"--bogus"}, "--bogus"},
        {{"stray"}, "stray"},
    };
    for (const auto& c : kCases) {
        test::ProcessResult r = Peer(c.args);
        EXPECT_EQ(r.exitCode, 2) << c.args[0];
        EXPECT_NE(r.err.find(c.reason), std::string::npos) << c.args[0] << "\n" << r.err;
        EXPECT_EQ(r.out, "") << "no pseudo-terminal was opened for " << c.args[0];
    }
}

}  // namespace
}  // namespace k52

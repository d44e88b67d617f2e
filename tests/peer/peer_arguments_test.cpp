// k52peer's command line parsed in process: each option lands in what the terminals play, and the help
// or bad usage stops before anything is played.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "peer/PeerCommandLine.h"
#include "support/TempDir.h"

namespace k52 {
namespace {

PeerCommand Parse(std::vector<std::string> args) {
    args.insert(args.begin(), "k52peer");
    std::vector<const char*> argv;
    for (const std::string& a : args) argv.push_back(a.c_str());
    return ParsePeerCommandLine(static_cast<int>(argv.size()), argv.data());
}

TEST(PeerArguments, EachOptionLandsInWhatIsPlayed) {
    test::TempDir dir;
    dir.Write("records.txt", "one\r\ntwo\n");
    const PeerCommand c = Parse({"--cradle-speed", "57600", "--records", dir("records.txt"), "--image-out",
                                 "a.img", "--lookup-out", "b.txt", "--expect", "lookup", "--pace", "--count",
                                 "64", "--fault", "pause=5", "--fault", "refuse-packet=2:3:x:y"});
    ASSERT_TRUE(c.play) << c.err;
    EXPECT_EQ(c.out + c.err, "");
    const PeerArguments& a = *c.play;
    EXPECT_EQ(a.options.cradleSpeed, 57600u);
    EXPECT_EQ(a.options.records, (std::vector<std::vector<u8>>{{'o', 'n', 'e'}, {'t', 'w', 'o'}}));
    EXPECT_EQ(a.imageOut, "a.img");
    EXPECT_EQ(a.lookupOut, "b.txt");
    EXPECT_EQ(a.options.expect, PeerExpect::Lookup);
    EXPECT_TRUE(a.pace);
    EXPECT_EQ(a.count, 64);
    ASSERT_EQ(a.options.faults.size(), 2u);  // in the order given
    EXPECT_EQ(a.options.faults[0].kind, PeerFaultKind::Pause);
    EXPECT_EQ(a.options.faults[0].ms, 5);
    EXPECT_EQ(a.options.faults[1].kind, PeerFaultKind::RefusePacket);
    EXPECT_EQ(a.options.faults[1].index, 2);
    EXPECT_EQ(a.options.faults[1].count, 3);
    EXPECT_EQ(a.options.faults[1].text, (std::vector<u8>{'x', ':', 'y'}));
}

TEST(PeerArguments, WithoutOptionsOneUnpacedTerminalTellsWhatItGetsByItsShape) {
    const PeerCommand c = Parse({});
    ASSERT_TRUE(c.play) << c.err;
    const PeerArguments& a = *c.play;
    EXPECT_EQ(a.count, 1);
    EXPECT_FALSE(a.pace);
    EXPECT_EQ(a.options.cradleSpeed, 0u);
    EXPECT_EQ(a.options.expect, PeerExpect::Auto);
    EXPECT_TRUE(a.options.faults.empty() && a.options.records.empty());
    EXPECT_TRUE(a.imageOut.empty() && a.lookupOut.empty());
}

TEST(PeerArguments, HelpAndBadUsageStopWithTheirExitCodes) {
    const struct {
        std::vector<std::string> args;
        int exitCode;
    } kCases[] = {
        {{"--help"}, kPeerExitDone},
        {{"--count", "0"}, kPeerExitUsage},
        {{"--count", "65"}, kPeerExitUsage},
        {{"--cradle-speed", "4800"}, kPeerExitUsage},
        {{"--fault", "pause"}, kPeerExitUsage},
    };
    for (const auto& c : kCases) {
        const PeerCommand r = Parse(c.args);
        EXPECT_FALSE(r.play) << c.args[0];
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args[0];
        // The help goes to standard output, a usage error to standard error.
        EXPECT_EQ(r.out.empty(), c.exitCode != kPeerExitDone) << c.args[0];
        EXPECT_EQ(r.err.empty(), c.exitCode == kPeerExitDone) << c.args[0];
    }
}

}  // namespace
}  // namespace k52

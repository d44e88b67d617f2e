// A receive that is stopped, or whose file is taken from under it, never loses a record the terminal was
// told is stored, and never replaces a file it was not asked to.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/LinkHarness.h"
#include "support/TempDir.h"
#include "transfer/RecordFile.h"

namespace k52::test {
namespace {

std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Lines(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += "R" + std::to_string(i) + "\r\n";
    return s;
}

std::vector<Bytes> Records(int n) {
    std::vector<Bytes> r;
    for (int i = 0; i < n; ++i) r.push_back(B("R" + std::to_string(i)));
    return r;
}

// Sets the stop flag once the terminal has heard `acks` acknowledgements and `laterMs` more have passed.
struct StopClock : VirtualClock {
    const TerminalPeer* peer = nullptr;
    StopFlag* stop = nullptr;
    int acks = 0;
    std::int64_t laterMs = 0;
    std::optional<std::int64_t> reached;
    std::int64_t NowMs() override {
        const std::int64_t now = VirtualClock::NowMs();
        if (!reached && peer->report().recordsAcknowledged >= acks) reached = now;
        if (reached && now >= *reached + laterMs) stop->store(true);
        return now;
    }
};

TEST(ReceiveStop, EndsAtARecordBoundaryKeepingWhatWasAcknowledged) {
    struct Case {
        const char* what;
        std::vector<const char*> faults;
        int acks;
        std::int64_t laterMs;
    };
    const Case cases[] = {
        {"between records", {}, 2, 0},
        {"in the middle of a frame", {"split=10"}, 2, 25},
        {"after the last acknowledgement", {}, 5, 0},
        {"before the terminal answered", {}, 0, 0},
    };
    for (const Case& c : cases) {
        TempDir dir;
        PeerOptions options;
        for (const char* f : c.faults) options.faults.push_back(*ParsePeerFault(f, nullptr));
        options.records = Records(5);
        TerminalPeer peer(std::move(options));
        StopClock clock;
        StopFlag stop{false};
        clock.peer = &peer;
        clock.stop = &stop;
        clock.acks = c.acks;
        clock.laterMs = c.laterMs;
        MemoryLineFactory lines(clock, &peer);
        ApplicationTemplate t = StartupTemplate();
        TerminalLink link(t, lines, clock);
        RecordingUi ui(clock);
        ReceiveRequest request;
        request.dataFile = dir("data.txt");
        request.stop = &stop;
        const TransferOutcome o = link.Receive(request, ui);

        const int acknowledged = peer.report().recordsAcknowledged;
        EXPECT_EQ(acknowledged, c.acks) << c.what;
        EXPECT_EQ(o.failure, LinkFailure::Cancelled) << c.what;
        EXPECT_EQ(o.recordsStored, acknowledged) << c.what;
        EXPECT_EQ(Contents(request.dataFile), Lines(acknowledged)) << c.what;
        EXPECT_EQ(o.fileKept, acknowledged > 0) << c.what;
    }
}

TEST(ReceiveFile, AFolderRemovedMidwayIsRefusedNotAcknowledged) {
    TempDir dir;
    const std::string folder = dir("gone");
    ASSERT_EQ(mkdir(folder.c_str(), 0777), 0);
    Harness h(Options({}, Records(5)));
    h.ui.dataChoice = folder + "/data.txt";
    h.ui.onStatus = [&](int count) {
        if (count != 2) return;
        std::filesystem::remove_all(folder);
    };
    const TransferOutcome& o = h.Receive();
    EXPECT_EQ(o.failure, LinkFailure::FileWrite);
    EXPECT_EQ(h.peer.report().recordsAcknowledged, 2);
    EXPECT_EQ(o.recordsStored, 2);
}

TEST(ReceiveFile, ANameThatAppearsMeanwhileIsNeverReplaced) {
    TempDir dir;
    const std::string path = dir("data.txt");
    Harness h(Options({}, Records(2)));
    ReceiveRequest request;
    request.dataFile = path;
    request.replace = false;
    h.ui.onStatus = [&](int count) {
        if (count == 1) std::ofstream(path, std::ios::binary) << "another terminal's\r\n";
    };
    const TransferOutcome o = h.link.Receive(request, h.ui);
    EXPECT_TRUE(o.Succeeded());
    EXPECT_EQ(Contents(path), "another terminal's\r\n");
    EXPECT_EQ(o.dataFile, dir("data-2.txt"));
    EXPECT_EQ(Contents(o.dataFile), Lines(2));
}

TEST(ReceiveFile, LinksAreWrittenThroughAndLeftoversAreNamed) {
    TempDir dir;
    const std::string target = dir("target.txt");
    const std::string link = dir("out.txt");
    ASSERT_EQ(symlink("target.txt", link.c_str()), 0);  // dangling until the receive writes it
    {
        Harness h(Options({}, Records(2)));
        h.ui.dataChoice = link;
        EXPECT_TRUE(h.Receive().Succeeded());
        EXPECT_EQ(Contents(target), Lines(2));
        struct stat st {};
        ASSERT_EQ(lstat(link.c_str(), &st), 0);
        EXPECT_TRUE(S_ISLNK(st.st_mode));
    }
    const std::string second = dir("second-name.txt");
    ASSERT_EQ(::link(target.c_str(), second.c_str()), 0);
    {
        Harness h(Options({}, Records(3)));
        h.ui.dataChoice = target;
        EXPECT_TRUE(h.Receive().Succeeded());
        EXPECT_EQ(Contents(second), Lines(3));  // the other name sees the new records
    }
    // A partial file of a receive that was killed (its process is gone) is named with its records.
    const std::string left = target + ".999999.partial";
    std::ofstream(left, std::ios::binary) << Lines(4);
    {
        Harness h(Options({}, Records(1)));
        h.ui.dataChoice = target;
        h.ui.answers = {MessageAnswer::No};
        h.Receive();
        ASSERT_FALSE(h.ui.shown.empty());
        EXPECT_NE(h.ui.shown[0].text.find(left), std::string::npos) << h.ui.shown[0].text;
        EXPECT_NE(h.ui.shown[0].text.find(" 4 "), std::string::npos) << h.ui.shown[0].text;
        EXPECT_EQ(Contents(left), Lines(4));
    }
}

}  // namespace
}  // namespace k52::test

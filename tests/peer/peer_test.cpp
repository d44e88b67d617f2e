// The terminal peer on its own: what it checks in what it receives, its faults and its records file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "protocol/Protocol.h"
#include "support/LinkHarness.h"

namespace k52::test {
namespace {

struct Fed {
    TerminalPeer peer;
    std::vector<Bytes> answers;
    explicit Fed(PeerOptions o = {}) : peer(std::move(o)) {}
    void Send(const Bytes& b, std::uint32_t speed = 115200, std::int64_t now = 0) {
        peer.Receive(b.data(), b.size(), PeerLineState{speed, false, false, false}, now);
        for (PeerEmission& e : peer.TakeOutput()) answers.push_back(e.bytes);
    }
};

Bytes ImagePacket(int number, u8 fill) {
    Bytes p(100, fill);
    const unsigned sum = 100u * fill;
    p.push_back(static_cast<u8>(sum >> 8));
    p.push_back(static_cast<u8>(sum & 0xFF));
    p.push_back(static_cast<u8>(number));
    return p;
}

TEST(Peer, VerifiesImagePackets) {
    Fed f;
    f.Send(B("VARNEL\r"));
    f.Send(ImagePacket(0, 0x0D));  // CRs inside a packet are data
    Bytes corrupt = ImagePacket(1, 0x20);
    corrupt[5] = 0x21;
    f.Send(corrupt);
    f.Send(ImagePacket(2, 0x20));  // number 2 where 1 is expected
    f.Send(ImagePacket(0, 0x0D));  // packet 0 again: our ACK was lost
    f.Send(ImagePacket(1, 0x20));
    EXPECT_EQ(f.answers,
              (std::vector<Bytes>{B("ACK\r"), B("ACK\r"), B("NAK\r"), B("NAK\r"), B("ACK\r"), B("ACK\r")}));
    EXPECT_EQ(f.peer.report().imagePacketsAccepted, 2);
    EXPECT_EQ(f.peer.report().errors.size(), 2u);
    EXPECT_FALSE(f.peer.report().imageComplete);
}

TEST(Peer, CompleteImageAfterPacket104) {
    Fed f;
    f.Send(B("VARNEL\r"));
    for (int n = 0; n < 105; ++n) f.Send(ImagePacket(n, static_cast<u8>(n)));
    EXPECT_TRUE(f.peer.report().imageComplete);
    EXPECT_TRUE(f.peer.ExchangeEnded());
    ASSERT_EQ(f.peer.report().image.size(), 10500u);
    EXPECT_EQ(f.peer.report().image[10499], 104);
    EXPECT_NE(f.peer.report().Summary().find("image: complete, 105 packets verified"), std::string::npos);
}

TEST(Peer, VerifiesLookupRecords) {
    Fed f;
    f.Send(B("VARNEL\r"));
    f.Send(B({'A', 0, 'A', 13}));
    f.Send(B({'B', 0, 'A', 13}));  // wrong sum
    f.Send(B({6, 7, 0, 0x0E, 13}));
    f.Send(B("OVER\r"));
    EXPECT_EQ(f.answers, (std::vector<Bytes>{B("ACK\r"), B("ACK\r"), B("NAK\r"), B("ACK\r"), B("ACK\r")}));
    EXPECT_EQ(f.peer.report().lookupRecords, (std::vector<Bytes>{B("A"), B({6, 7})}));
    EXPECT_TRUE(f.peer.report().lookupComplete);
    EXPECT_EQ(f.peer.report().errors.size(), 1u);
}

TEST(Peer, CradleAnswersOnlyAtItsSpeed) {
    PeerOptions o;
    o.cradleSpeed = 38400;
    Fed f(o);
    f.Send(B({0x0F}), 9600);
    f.Send(B({0x0F}), 115200);
    EXPECT_TRUE(f.answers.empty());
    f.Send(B({0x0F}), 38400);
    EXPECT_EQ(f.answers, std::vector<Bytes>{B({0x0F})});
    f.Send(B({0x07}), 38400);
    f.Send(B({'3'}), 38400);
    f.Send(B({'Q'}), 38400);
    f.Send(B("VARNEL\r"), 38400);  // the cradle now relays at 19200 only
    EXPECT_EQ(f.answers.size(), 1u);
    f.Send(B("VARNEL\r"), 19200);
    EXPECT_EQ(f.answers.back(), B("ACK\r"));
    EXPECT_EQ(f.peer.report().cradleProbes, 3);
    EXPECT_EQ(f.peer.report().cradleSpeed, 19200u);
}

TEST(Peer, StalePartialPacketIsDropped) {
    Fed f;
    f.Send(B("VARNEL\r"));
    Bytes p = ImagePacket(0, 1);
    f.Send(Bytes(p.begin(), p.begin() + 50), 115200, 10);
    f.Send(p, 115200, 3010);  // the host sent it again after its wait
    EXPECT_EQ(f.answers.back(), B("ACK\r"));
    EXPECT_EQ(f.peer.report().imagePacketsAccepted, 1);
}

TEST(Peer, FaultSpecs) {
    struct Case {
        const char* arg;
        PeerFaultKind kind;
        int index, count;
        std::int64_t ms;
        Bytes text;
    };
    const Case good[] = {
        {"refuse-handshake=2", PeerFaultKind::RefuseHandshake, 0, 2, 0, {}},
        {"refuse-handshake=1:AC\\x4B:x", PeerFaultKind::RefuseHandshake, 0, 1, 0, B("ACK:x")},
        {"ignore-handshake=3", PeerFaultKind::IgnoreHandshake, 0, 3, 0, {}},
        {"refuse-packet=50", PeerFaultKind::RefusePacket, 50, 1, 0, {}},
        {"refuse-packet=50:4:NO\\r", PeerFaultKind::RefusePacket, 50, 4, 0, B("NO\r")},
        {"ignore-packet=7:2", PeerFaultKind::IgnorePacket, 7, 2, 0, {}},
        {"silent", PeerFaultKind::SilentAfter, 0, 0, 0, {}},
        {"silent-after=5", PeerFaultKind::SilentAfter, 0, 5, 0, {}},
        {"repeat-record=1", PeerFaultKind::RepeatRecord, 1, 1, 0, {}},
        {"bad-checksum=2:3", PeerFaultKind::BadChecksum, 2, 3, 0, {}},
        {"wrong-sequence=4", PeerFaultKind::WrongSequence, 4, 1, 0, {}},
        {"pause=250", PeerFaultKind::Pause, 0, 1, 250, {}},
        {"pause-packet=3:3500", PeerFaultKind::PausePacket, 3, 1, 3500, {}},
        {"pause-record=0:600", PeerFaultKind::PauseRecord, 0, 1, 600, {}},
        {"split=5", PeerFaultKind::Split, 0, 1, 5, {}},
        {"cradle-echo=0x41", PeerFaultKind::CradleEcho, 0, 1, 0, B("A")},
        {"lose-frame=3", PeerFaultKind::LoseFrame, 3, 1, 0, {}},
        {"garble-frame=0", PeerFaultKind::GarbleFrame, 0, 1, 0, {}},
        {"late-frame=2:700", PeerFaultKind::LateFrame, 2, 1, 700, {}},
        {"lose-reply=1", PeerFaultKind::LoseReply, 1, 1, 0, {}},
        {"garble-reply=4", PeerFaultKind::GarbleReply, 4, 1, 0, {}},
        {"late-reply=5:900", PeerFaultKind::LateReply, 5, 1, 900, {}},
        {"lose-packet=7", PeerFaultKind::LosePacket, 7, 1, 0, {}},
        {"garble-packet=8", PeerFaultKind::GarblePacket, 8, 1, 0, {}},
        {"lose-answer=9", PeerFaultKind::LoseAnswer, 9, 1, 0, {}},
        {"late-answer=10:3100", PeerFaultKind::LateAnswer, 10, 1, 3100, {}},
    };
    for (const Case& c : good) {
        SCOPED_TRACE(c.arg);
        std::string error;
        auto f = ParsePeerFault(c.arg, &error);
        ASSERT_TRUE(f.has_value()) << error;
        EXPECT_EQ(f->kind, c.kind);
        EXPECT_EQ(f->index, c.index);
        EXPECT_EQ(f->count, c.count);
        EXPECT_EQ(f->ms, c.ms);
        EXPECT_EQ(f->text, c.text);
    }
    for (const char* bad : {"", "nonsense", "silent=3", "refuse-packet", "refuse-packet=x", "pause=-5",
                            "pause-packet=3", "cradle-echo=256", "refuse-handshake=1:\\q", "split=1:2",
                            "late-frame=2", "lose-reply", "late-answer=1:x"}) {
        std::string error;
        EXPECT_FALSE(ParsePeerFault(bad, &error).has_value()) << bad;
        EXPECT_FALSE(error.empty()) << bad;
    }
}

TEST(Peer, RepliesLostOrLateAsTheTerminalSeesThem) {
    PeerOptions o;
    o.records = {B("a"), B("b")};
    o.faults = {*ParsePeerFault("lose-reply=0"), *ParsePeerFault("late-reply=1:900")};
    TerminalPeer peer(o);
    std::vector<PeerEmission> out;
    auto send = [&](const char* text, std::int64_t now) {
        const Bytes b = B(text);
        peer.Receive(b.data(), b.size(), PeerLineState{115200, false, false, false}, now);
        for (PeerEmission& e : peer.TakeOutput()) out.push_back(e);
    };
    send("READ\r", 0);
    ASSERT_EQ(out.size(), 2u);  // "ACK\r" and record 0
    send("ACK\r", 10);          // lost: nothing follows
    EXPECT_EQ(out.size(), 2u);
    send("ACK\r", 20);  // taken, 900 ms late: record 1 goes out at 920
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[2].dueMs, 920);
    EXPECT_EQ(out[2].bytes, MakeRecordFrame(1, o.records[1].data(), 1));
}

TEST(Peer, RecordsFile) {
    char name[] = "/tmp/k52-records-XXXXXX";
    int fd = mkstemp(name);
    close(fd);
    {
        std::ofstream(name, std::ios::binary) << "one\r\ntwo\n\nthree";
        std::vector<Bytes> r;
        std::string error;
        ASSERT_TRUE(LoadPeerRecords(name, r, &error)) << error;
        EXPECT_EQ(r, (std::vector<Bytes>{B("one"), B("two"), B(""), B("three")}));
    }
    {
        std::ofstream(name, std::ios::binary) << std::string(251, 'x') << "\n"
                                              << std::string(252, 'y') << "\n";
        std::vector<Bytes> r{B("kept")};
        std::string error;
        EXPECT_FALSE(LoadPeerRecords(name, r, &error));
        EXPECT_NE(error.find("record 2"), std::string::npos) << error;
        EXPECT_EQ(r, std::vector<Bytes>{B("kept")});
    }
    std::remove(name);
}

}  // namespace
}  // namespace k52::test

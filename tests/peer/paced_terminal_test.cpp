// The emulated terminal's timing on a paced line, on a stand-in for the pseudo-terminal: bytes from the
// host reach the terminal once their last bit is through, and its replies leave in order, each after its
// own time on the line. The times are worked out by hand at 9600 bps (1041.67 us a byte).
#include <gtest/gtest.h>

#include <string_view>
#include <utility>
#include <vector>

#include "peer/PacedTerminal.h"

namespace k52 {
namespace {

using Bytes = std::vector<u8>;
using Written = std::pair<std::int64_t, Bytes>;  // when, what

class FakeLine : public PeerLineEnd {
  public:
    std::uint32_t Speed() override { return 9600; }
    void Write(const u8* data, std::size_t size) override {
        written.push_back({now, Bytes(data, data + size)});
    }
    std::int64_t now = 0;
    std::vector<Written> written;
};

Bytes B(std::string_view s) {
    return Bytes(s.begin(), s.end());
}

// Sends `chunks` from the host at `atUs`, then serves the terminal each time it asks until it has nothing
// more to do.
std::vector<Written> Play(bool pace, const std::vector<Bytes>& chunks, std::int64_t atUs) {
    PeerOptions options;
    options.records = {B("AB")};
    FakeLine line;
    PacedTerminal terminal(options, line, pace);
    line.now = atUs;
    for (const Bytes& c : chunks) terminal.FromHost(c.data(), c.size(), atUs);
    for (std::int64_t next = terminal.Service(atUs); next != INT64_MAX; next = terminal.Service(next))
        line.now = next;
    return line.written;
}

const Bytes kFrame = {0x00, 'A', 'B', 0x83, 0x00, 0x0D};  // record 0: "AB", sum 0x0083 low byte first

TEST(PacedTerminal, RepliesLeaveInOrderEachAfterItsOwnTimeOnTheLine) {
    // READ\r is through at 1000 + 5209 us; ACK\r takes 4167 us more, the frame 6250 us after that.
    EXPECT_EQ(Play(true, {B("READ\r")}, 1000), (std::vector<Written>{{10376, B("ACK\r")}, {16626, kFrame}}));
    // Unpaced, both go out at once.
    EXPECT_EQ(Play(false, {B("READ\r")}, 1000), (std::vector<Written>{{1000, B("ACK\r")}, {1000, kFrame}}));
}

TEST(PacedTerminal, BytesFromTheHostQueueBehindThoseStillOnTheLine) {
    // RE (2084 us) then AD\r (3125 us) behind it: the request is through at 6209 us, as in one piece.
    EXPECT_EQ(Play(true, {B("RE"), B("AD\r")}, 1000),
              (std::vector<Written>{{10376, B("ACK\r")}, {16626, kFrame}}));
}

}  // namespace
}  // namespace k52

// The paced emulator's line timing: ten bit times a byte at the host's speed, queued per direction.
#include <gtest/gtest.h>

#include "peer/LinePacer.h"

namespace k52 {
namespace {

TEST(LinePacer, ABytesTimeIsTenBitTimesRoundedUpToAMicrosecond) {
    const struct {
        std::size_t bytes;
        std::uint32_t speed;
        std::int64_t us;
    } kCases[] = {
        {1, 9600, 1042},                   // 10 / 9600 s = 1041.67 us
        {1, 115200, 87},                   // 86.81 us
        {103, 115200, 8941},               // a program packet: 1030 bits
        {103, 9600, 107292},               // 107291.67 us
        {4, 115200, 348},                  // "ACK\r"
        {0, 115200, 0},      {100, 0, 0},  // no speed set yet: no pacing
    };
    for (const auto& c : kCases) EXPECT_EQ(WireTimeUs(c.bytes, c.speed), c.us) << c.bytes << " @ " << c.speed;
}

TEST(LinePacer, BytesQueueBehindThoseStillOnTheLine) {
    LinePacer line;
    EXPECT_EQ(line.Pass(1000, 103, 115200), 9941);  // an idle line starts at once
    EXPECT_EQ(line.Pass(2000, 4, 115200), 10289);   // handed over early: waits for the packet
    EXPECT_EQ(line.Pass(50000, 1, 9600), 51042);    // the line was idle again; a new speed
}

// A whole program download at 115200 bps: 7 bytes of greeting and 105 packets of 103 bytes out, 106
// replies of 4 bytes back, about 0.976 s when the two directions take turns.
TEST(LinePacer, AFullDownloadTakesItsWireTime) {
    LinePacer out, back;
    std::int64_t t = out.Pass(0, 7, 115200);
    t = back.Pass(t, 4, 115200);
    for (int packet = 0; packet < 105; ++packet) {
        t = out.Pass(t, 103, 115200);
        t = back.Pass(t, 4, 115200);
    }
    EXPECT_NEAR(static_cast<double>(t) / 1e6, 11246 * 10 / 115200.0, 0.0002);
}

// A 16 ms adapter timer: a reply waits it out; a long frame goes on in 62-byte packets as they fill.
TEST(AdapterHold, HoldsBytesUntilItsTimerRunsOutOrAPacketFills) {
    AdapterHold adapter(16000);
    auto pieces = adapter.Pass(1000, 4, 115200);  // "ACK\r", its last bit in at 1 ms
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].atUs, 1000 - 3 * 87 + 16000);  // counted from the first byte's arrival
    EXPECT_EQ(pieces[0].bytes, 4u);

    // Two more bytes while those are still held ride out the same timer.
    pieces = adapter.Pass(2000, 2, 115200);
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_EQ(pieces[0].atUs, 1000 - 3 * 87 + 16000);

    // 130 bytes well after: the 62nd and the 124th byte each send a packet, the last 6 wait 16 ms.
    pieces = adapter.Pass(100000, 130, 115200);
    ASSERT_EQ(pieces.size(), 3u);
    EXPECT_EQ(pieces[0].bytes, 62u);
    EXPECT_EQ(pieces[0].atUs, 100000 - WireTimeUs(130 - 62, 115200));
    EXPECT_EQ(pieces[1].bytes, 62u);
    EXPECT_EQ(pieces[1].atUs, 100000 - WireTimeUs(6, 115200));
    EXPECT_EQ(pieces[2].bytes, 6u);
    EXPECT_EQ(pieces[2].atUs, 100000 - WireTimeUs(5, 115200) + 16000);
}

}  // namespace
}  // namespace k52

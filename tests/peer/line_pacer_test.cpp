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

}  // namespace
}  // namespace k52

// The bytes both ends agree on: checksums, record frames, image packets, and the speed table.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string_view>
#include <vector>

#include "protocol/LineSpeeds.h"
#include "protocol/Protocol.h"

namespace k52 {
namespace {

using Bytes = std::vector<u8>;

Bytes B(std::string_view s) {
    return Bytes(s.begin(), s.end());
}
Bytes B(std::initializer_list<int> v) {
    Bytes b;
    for (int x : v) b.push_back(static_cast<u8>(x));
    return b;
}

// 100 bytes of `fill`, their sum high byte first, the packet number: worked out by hand, not by the code.
Bytes ImagePacket(int number, u8 fill) {
    Bytes p(100, fill);
    const unsigned sum = 100u * fill;
    p.push_back(static_cast<u8>(sum >> 8));
    p.push_back(static_cast<u8>(sum & 0xFF));
    p.push_back(static_cast<u8>(number));
    return p;
}

TEST(Protocol, ChecksumHelpers) {
    Bytes ff(100, 0xFF);
    EXPECT_EQ(Sum16(ff.data(), ff.size()), 0x639C);
    EXPECT_EQ(AvoidCr(0x0D), 0x0E);
    EXPECT_EQ(AvoidCr(0x0E), 0x0E);
    const Bytes abc = B("ABC");
    EXPECT_EQ(MakeRecordFrame(0, abc.data(), abc.size()), B({0, 'A', 'B', 'C', 0xC6, 0x00, 13}));
    const Bytes six7 = B({6, 7});
    EXPECT_EQ(MakeRecordFrame(0, six7.data(), six7.size()), B({0, 6, 7, 0x0E, 0x00, 13}));
    EXPECT_EQ(MakeRecordFrame(3, nullptr, 0), B({3, 3, 0, 13}));
    EXPECT_TRUE(CheckImagePacket(ImagePacket(0, 0xFF).data(), 103));
    EXPECT_EQ(ImagePacket(0, 0xFF)[100], 0x63);
    EXPECT_EQ(ImagePacket(0, 0xFF)[101], 0x9C);
}

TEST(LineSpeeds, TableRunsFromFastestToSlowest) {
    const std::uint32_t speeds[] = {115200, 57600, 38400, 19200, 9600};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(SpeedOfBaudRate(i), speeds[i]);
        EXPECT_EQ(BaudRateOfSpeed(speeds[i]), i);
    }
    EXPECT_FALSE(SpeedOfBaudRate(5).has_value());
    EXPECT_FALSE(SpeedOfBaudRate(-1).has_value());
    EXPECT_FALSE(BaudRateOfSpeed(4800).has_value());
}

}  // namespace
}  // namespace k52

// Checksums and frame layouts that both ends of the line share: the host's transfers and the terminal
// peer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "template/Template.h"

namespace k52 {

constexpr u8 kCr = 0x0D;
constexpr u8 kLf = 0x0A;
constexpr u8 kCradleProbe = 0x0F;
constexpr u8 kCradleAttention = 0x07;
constexpr u8 kCradleQuit = 'Q';

// The plain sum of the bytes as unsigned values, modulo 65536.
std::uint16_t Sum16(const u8* data, std::size_t size);
// Checksum bytes of frames that end with CR travel with 0x0D replaced by 0x0E.
inline u8 AvoidCr(u8 b) {
    return b == kCr ? u8{0x0E} : b;
}

// The speed command byte for a port speed code: "6" for 115200 down to "2" for 9600.
u8 CradleSpeedCommand(int baudRate);

// Terminal side: parse what the host sent. Each returns false for a malformed or mismatching frame.
bool CheckImagePacket(const u8* packet, std::size_t size);  // 103 bytes, sum high byte first
// Data bytes, sum high then low (0x0D as 0x0E), CR.
bool CheckLookupPacket(const u8* packet, std::size_t size);
// Terminal side: a collected record as the terminal sends it: sequence number, data, sum low then
// high (0x0D as 0x0E), CR.
std::vector<u8> MakeRecordFrame(int sequence, const u8* data, std::size_t size);

}  // namespace k52

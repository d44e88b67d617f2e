// The bytes both ends of the line agree on: markers, sizes, replies, and building and checking image
// packets, lookup packets and record frames. The host's transfers and the terminal peer both use it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "template/Template.h"

namespace k52 {

constexpr u8 kCr = 0x0D;
constexpr u8 kLf = 0x0A;
constexpr u8 kCradleProbe = 0x0F;
constexpr u8 kCradleAttention = 0x07;
constexpr u8 kCradleQuit = 'Q';

inline constexpr std::string_view kHandshakeText = "VARNEL\r";
inline constexpr std::string_view kRequestText = "READ\r";
inline constexpr std::string_view kAckText = "ACK\r";
inline constexpr std::string_view kNakText = "NAK\r";
inline constexpr std::string_view kOverText = "OVER\r";

constexpr std::size_t kPacketBufferSize = 256;
constexpr std::size_t kImagePacketData = 100;
constexpr std::size_t kImagePacketSize = 103;
constexpr int kImagePacketCount = 105;
constexpr std::size_t kMaxLookupRecordData = kPacketBufferSize - 3;  // 253
constexpr std::size_t kMaxRecordFrame = 255;
constexpr std::size_t kMaxRecordData = kMaxRecordFrame - 4;  // 251
constexpr int kSequenceModulus = 10;

// The plain sum of the bytes as unsigned values, modulo 65536.
std::uint16_t Sum16(const u8* data, std::size_t size);
// Checksum bytes of frames that end with CR travel with 0x0D replaced by 0x0E.
inline u8 AvoidCr(u8 b) {
    return b == kCr ? u8{0x0E} : b;
}

// The speed command byte for a port speed code: "6" for 115200 down to "2" for 9600.
u8 CradleSpeedCommand(int baudRate);

using ImagePacket = std::array<u8, kImagePacketSize>;
// 100 data bytes, their sum high byte first, the packet number; no byte is escaped.
ImagePacket BuildImagePacket(const u8* data, int number);
bool CheckImagePacket(const u8* packet, std::size_t size);

// Data bytes (at most 253), sum high then low (0x0D as 0x0E), CR.
std::vector<u8> BuildLookupPacket(const u8* data, std::size_t size);
bool CheckLookupPacket(const u8* packet, std::size_t size);

// A collected record as the terminal sends it: sequence number, data, sum low then high (0x0D as 0x0E), CR.
std::vector<u8> MakeRecordFrame(int sequence, const u8* data, std::size_t size);

// What a complete frame (ended by its CR) is to a host expecting the record numbered `expected`.
enum class FrameVerdict {
    Store,     // the expected record, intact
    AckAgain,  // the record stored last, intact: the terminal missed its acknowledgement
    Nak,       // damaged, too short or too long, or out of turn
    Over,      // "OVER\r": no more records
};
// `size` counts every byte of the frame, even those beyond 255 that were not kept.
FrameVerdict CheckRecordFrame(const u8* frame, std::size_t size, int expected);

}  // namespace k52

// The shared frame and packet layouts: building them on one end, checking them on the other.
#include "protocol/Protocol.h"

#include <algorithm>
#include <cstring>

namespace k52 {

std::uint16_t Sum16(const u8* data, std::size_t size) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i < size; ++i) sum += data[i];
    return static_cast<std::uint16_t>(sum & 0xFFFF);
}

u8 CradleSpeedCommand(int baudRate) {
    // 115200 is "6", each slower speed one less, down to "2" for 9600.
    return static_cast<u8>('6' - baudRate);
}

ImagePacket BuildImagePacket(const u8* data, int number) {
    ImagePacket p{};
    std::copy(data, data + kImagePacketData, p.begin());
    const std::uint16_t sum = Sum16(data, kImagePacketData);
    p[100] = static_cast<u8>(sum >> 8);
    p[101] = static_cast<u8>(sum & 0xFF);
    p[102] = static_cast<u8>(number);
    return p;
}

bool CheckImagePacket(const u8* packet, std::size_t size) {
    if (size != kImagePacketSize) return false;
    const std::uint16_t sum = Sum16(packet, kImagePacketData);
    return packet[100] == (sum >> 8) && packet[101] == (sum & 0xFF);
}

std::vector<u8> BuildLookupPacket(const u8* data, std::size_t size) {
    std::vector<u8> p(data, data + size);
    // Only the low 16 bits count, as the terminal keeps them.
    const std::uint16_t sum = Sum16(data, size);
    p.push_back(AvoidCr(static_cast<u8>(sum >> 8)));
    p.push_back(AvoidCr(static_cast<u8>(sum & 0xFF)));
    p.push_back(kCr);
    return p;
}

bool CheckLookupPacket(const u8* packet, std::size_t size) {
    if (size < 3 || size - 3 > kMaxLookupRecordData || packet[size - 1] != kCr) return false;
    const std::size_t d = size - 3;
    if (std::find(packet, packet + d, kCr) != packet + d) return false;
    const std::uint16_t sum = Sum16(packet, d);
    return packet[d] == AvoidCr(static_cast<u8>(sum >> 8)) &&
           packet[d + 1] == AvoidCr(static_cast<u8>(sum & 0xFF));
}

std::vector<u8> MakeRecordFrame(int sequence, const u8* data, std::size_t size) {
    std::vector<u8> frame;
    frame.reserve(size + 4);
    frame.push_back(static_cast<u8>(sequence));
    frame.insert(frame.end(), data, data + size);
    const std::uint16_t sum = Sum16(frame.data(), frame.size());
    frame.push_back(AvoidCr(static_cast<u8>(sum & 0xFF)));
    frame.push_back(AvoidCr(static_cast<u8>(sum >> 8)));
    frame.push_back(kCr);
    return frame;
}

FrameVerdict CheckRecordFrame(const u8* frame, std::size_t size, int expected) {
    if (size == kOverText.size() && std::memcmp(frame, kOverText.data(), size) == 0)
        return FrameVerdict::Over;
    // A frame beyond 255 bytes cannot be a record: refuse it rather than store a cut one.
    if (size < 4 || size > kMaxRecordFrame || frame[size - 1] != kCr) return FrameVerdict::Nak;
    const std::uint16_t sum = Sum16(frame, size - 3);
    if (frame[size - 3] != AvoidCr(static_cast<u8>(sum & 0xFF)) ||
        frame[size - 2] != AvoidCr(static_cast<u8>(sum >> 8)))
        return FrameVerdict::Nak;
    if (frame[0] == expected) return FrameVerdict::Store;
    if (frame[0] == (expected + kSequenceModulus - 1) % kSequenceModulus) return FrameVerdict::AckAgain;
    return FrameVerdict::Nak;
}

}  // namespace k52

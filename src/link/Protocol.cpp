#include "link/Protocol.h"

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

bool CheckImagePacket(const u8* packet, std::size_t size) {
    if (size != 103) return false;
    std::uint16_t sum = Sum16(packet, 100);
    return packet[100] == (sum >> 8) && packet[101] == (sum & 0xFF);
}

bool CheckLookupPacket(const u8* packet, std::size_t size) {
    if (size < 3 || packet[size - 1] != kCr) return false;
    std::size_t d = size - 3;
    for (std::size_t i = 0; i < d; ++i)
        if (packet[i] == kCr) return false;
    std::uint16_t sum = Sum16(packet, d);
    return packet[d] == AvoidCr(static_cast<u8>(sum >> 8)) &&
           packet[d + 1] == AvoidCr(static_cast<u8>(sum & 0xFF));
}

std::vector<u8> MakeRecordFrame(int sequence, const u8* data, std::size_t size) {
    std::vector<u8> frame;
    frame.reserve(size + 4);
    frame.push_back(static_cast<u8>(sequence));
    frame.insert(frame.end(), data, data + size);
    std::uint16_t sum = Sum16(frame.data(), frame.size());
    frame.push_back(AvoidCr(static_cast<u8>(sum & 0xFF)));
    frame.push_back(AvoidCr(static_cast<u8>(sum >> 8)));
    frame.push_back(kCr);
    return frame;
}

}  // namespace k52

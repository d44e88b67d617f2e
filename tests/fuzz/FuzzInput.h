// Reads typed values off a fuzzer's byte string, so one input can carry a template, keys and ticks.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace k52::fuzz {

class FuzzInput {
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool empty() const { return pos_ >= size_; }
    std::size_t remaining() const { return size_ - pos_; }

    std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
    std::uint16_t Word() {
        const auto hi = Byte();
        return static_cast<std::uint16_t>((hi << 8) | Byte());
    }
    // Up to `n` bytes (fewer at the end of the input).
    std::string_view Take(std::size_t n) {
        n = std::min(n, remaining());
        std::string_view out(reinterpret_cast<const char*>(data_ + pos_), n);
        pos_ += n;
        return out;
    }
    // Copies up to `n` bytes into `dest`, leaving the rest of `dest` as it was.
    void CopyInto(void* dest, std::size_t n) {
        const std::string_view bytes = Take(n);
        std::memcpy(dest, bytes.data(), bytes.size());
    }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

// A broken invariant is a finding: abort so libFuzzer keeps the input.
#define K52_FUZZ_CHECK(cond)                                                               \
    do {                                                                                   \
        if (!(cond)) {                                                                     \
            __builtin_printf("invariant failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

}  // namespace k52::fuzz

// SHA-256 of bytes and of a file, for the collection ledger's check that a stored upload is unchanged.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace k52 {

class Sha256 {
  public:
    Sha256();
    void Update(const void* data, std::size_t size);
    std::array<std::uint8_t, 32> Finish();

  private:
    void Block(const std::uint8_t* block);

    std::array<std::uint32_t, 8> state_;
    std::array<std::uint8_t, 64> buffer_{};
    std::size_t buffered_ = 0;
    std::uint64_t length_ = 0;
};

// Lower-case hexadecimal digest.
std::string Sha256Hex(std::string_view bytes);
// The digest of a file's contents; nullopt with errno's value in `error` when it cannot be read.
std::optional<std::string> FileSha256Hex(const std::string& path, int* error = nullptr);

}  // namespace k52

// An owning POSIX file descriptor, and writing a whole buffer through one.
#pragma once

#include <cstddef>
#include <utility>

namespace k52 {

class UniqueFd {
  public:
    UniqueFd() = default;
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() { Reset(); }
    UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
    UniqueFd& operator=(UniqueFd&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.fd_, -1));
        return *this;
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;

    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    explicit operator bool() const { return valid(); }
    int Release() { return std::exchange(fd_, -1); }
    // Closes the descriptor held (if any) and takes `fd`. Returns false when close() reported an error,
    // which for a file being written can mean lost data.
    bool Reset(int fd = -1);

  private:
    int fd_ = -1;
};

// Writes all `size` bytes, retrying after EINTR and short writes. On failure returns false with errno set
// and `*written` (when given) holding the bytes that did reach the descriptor.
bool WriteAll(int fd, const void* data, std::size_t size, std::size_t* written = nullptr);

}  // namespace k52

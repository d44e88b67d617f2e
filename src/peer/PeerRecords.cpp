// Reading the records file of the terminal peer.
#include "peer/PeerRecords.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "protocol/Protocol.h"
#include "util/UniqueFd.h"

namespace k52 {

namespace {

bool ReadWhole(const std::string& path, std::vector<u8>& bytes, std::string* error) {
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (!fd || fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
        if (error) *error = "cannot read " + path + ": " + (fd ? "not a regular file" : std::strerror(errno));
        return false;
    }
    u8 buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            if (error) *error = "cannot read " + path + ": " + std::strerror(errno);
            return false;
        }
        if (n == 0) return true;
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
}

}  // namespace

bool LoadPeerRecords(const std::string& path, std::vector<std::vector<u8>>& records, std::string* error) {
    std::vector<u8> bytes;
    if (!ReadWhole(path, bytes, error)) return false;
    std::vector<std::vector<u8>> loaded;
    std::vector<u8> line;
    auto finish = [&]() -> bool {
        if (!line.empty() && line.back() == kCr) line.pop_back();
        if (std::find(line.begin(), line.end(), kCr) != line.end()) {
            if (error) *error = path + ": record " + std::to_string(loaded.size() + 1) + " holds a CR";
            return false;
        }
        if (line.size() > kMaxRecordData) {
            if (error)
                *error = path + ": record " + std::to_string(loaded.size() + 1) + " has " +
                         std::to_string(line.size()) + " bytes, at most " + std::to_string(kMaxRecordData);
            return false;
        }
        loaded.push_back(line);
        line.clear();
        return true;
    };
    for (u8 b : bytes) {
        if (b == kLf) {
            if (!finish()) return false;
        } else {
            line.push_back(b);
        }
    }
    if (!line.empty() && !finish()) return false;
    records = std::move(loaded);
    return true;
}

}  // namespace k52

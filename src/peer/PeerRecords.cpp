// Reading the records file of the terminal peer.
#include "peer/PeerRecords.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "protocol/Protocol.h"
#include "util/RegularFile.h"

namespace k52 {

namespace {

// A terminal holds far fewer records than this; a bigger file is refused before it fills memory.
constexpr std::size_t kRecordsFileLimit = 64 * 1024 * 1024;

bool ReadWhole(const std::string& path, std::vector<u8>& bytes, std::string* error) {
    std::string reason;
    const std::optional<std::string> read = ReadWholeFile(path, kRecordsFileLimit, &reason);
    if (!read) {
        if (error) *error = "cannot read " + path + ": " + reason;
        return false;
    }
    bytes.assign(read->begin(), read->end());
    return true;
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

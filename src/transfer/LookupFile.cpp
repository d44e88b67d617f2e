// Opening and reading a lookup data file.
#include "transfer/LookupFile.h"

#include <algorithm>
#include <cerrno>

#include "util/RegularFile.h"

namespace k52 {

namespace {
constexpr std::size_t kProgressStep = 128;
// Far beyond what a terminal holds; a bigger file is refused as too large (EFBIG) before it fills memory.
constexpr std::size_t kLookupFileLimit = 64 * 1024 * 1024;
}  // namespace

std::optional<LookupFile> LookupFile::Open(const std::string& path, const LookupOptions& options,
                                           std::optional<int>* cannotRead) {
    FileReadError failure;
    const std::optional<std::string> read = ReadWholeFile(path, kLookupFileLimit, &failure);
    if (cannotRead) cannotRead->reset();
    // A folder is no regular file either, as this command has always said.
    if (!read && (failure.kind == FileReadError::Kind::NotRegular || failure.sysErrno == EISDIR))
        return std::nullopt;
    if (!read) {
        if (cannotRead) *cannotRead = failure.sysErrno;
        return std::nullopt;
    }
    const std::string& bytes = *read;
    LookupData data = ReadLookupData(bytes, options);
    return LookupFile(std::move(data), bytes.size());
}

bool LookupFile::ForEachRecord(const RecordFn& record, const std::function<void(int)>& progress) const {
    const std::size_t chunks = (size_ + kProgressStep - 1) / kProgressStep;
    std::size_t reported = 0;
    auto reportUpTo = [&](std::size_t chunk) {
        for (; reported < chunk; ++reported)
            progress(static_cast<int>(std::min((reported + 1) * kProgressStep, size_) * 100 / size_));
    };
    long line = 0;
    for (std::size_t i = 0; i < data_.records.size(); ++i) {
        const LookupRecord& r = data_.records[i];
        const bool ended = !(data_.lastUnended && i + 1 == data_.records.size());
        // A record goes out once the step holding its line end was read; one the file ends goes last.
        reportUpTo(ended ? (r.fileEnd - 1) / kProgressStep : chunks);
        const std::vector<u8> data(r.data.begin(), r.data.end());
        if (!record(data, ++line)) return false;
    }
    reportUpTo(chunks);
    return true;
}

}  // namespace k52

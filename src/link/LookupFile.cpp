// Opening and reading a lookup data file.
#include "link/LookupFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "link/LinkTexts.h"
#include "util/UniqueFd.h"

namespace k52 {

namespace {
constexpr std::size_t kProgressStep = 128;
}

std::optional<LookupFile> LookupFile::Open(const std::string& path, const LookupOptions& options,
                                           OpenError* error, int* sysErrno) {
    auto fail = [&](OpenError why, int e) -> std::optional<LookupFile> {
        if (sysErrno) *sysErrno = e;
        if (error) *error = why;
        return std::nullopt;
    };
    // Non-blocking so that a FIFO without a writer cannot stall the command before it is refused.
    UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    struct stat st {};
    if (!fd || fstat(fd.get(), &st) != 0) return fail(OpenError::CannotOpen, errno);
    if (!S_ISREG(st.st_mode)) return fail(OpenError::NotRegular, 0);
    std::string bytes;
    char chunk[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(OpenError::CannotOpen, errno);
        if (n == 0) break;
        bytes.append(chunk, static_cast<std::size_t>(n));
    }
    if (error) *error = OpenError::None;
    LookupData data = ReadLookupData(bytes, options);
    if (data.refusal) data.refusal->message = link_text::LookupRefusalInFile(data.refusal->message, path);
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

// The data file of one receive: records written and synced one by one into a partial file beside the
// chosen path, which takes the chosen name only when there is something to keep. Dropped without a
// commit, it leaves the path as it was, whether a file stood there before or not.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "template/Template.h"
#include "util/UniqueFd.h"

namespace k52 {

class RecordFile {
  public:
    // Creates the partial file (or, for a device or FIFO named as the output, opens it to write
    // straight into). A symbolic link is followed to the file it names, even one not there yet.
    // nullopt with errno's value in `error` when that fails.
    static std::optional<RecordFile> Create(const std::string& path, int* error);
    ~RecordFile();
    RecordFile(RecordFile&& other) noexcept;
    RecordFile& operator=(RecordFile&&) = delete;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Appends the record and CR LF and makes them durable before returning; on failure the file is as
    // it was before the call and `error` holds errno's value. A file that lost its name meanwhile (its
    // folder removed or unmounted) fails with ENOENT: a record there is reachable by no one.
    bool Append(const u8* data, std::size_t size, int* error);
    // Puts the records under the chosen name: over a file standing there only when `replace`, else
    // under the first free name "NAME-2.EXT", "NAME-3.EXT", ... A file with other hard links is
    // written in place so that every name sees the records. False with `error` when that failed: the
    // partial file is then kept and its path is in `temporaryPath`, or, when the records took their
    // name but the partial name could not be removed or the folder not synced, `temporaryPath` is empty.
    bool Commit(bool replace, int* error);
    const std::string& temporaryPath() const { return tempPath_; }
    // Where the records are after a commit.
    const std::string& finalPath() const { return target_; }

    // True while a writer holds the partial file at `partial` (its lock, never a process id, says so).
    static bool Live(const std::string& partial);
    // Partial files that an earlier receive into `path` left behind when it was killed, with the
    // acknowledged records each holds; those of receives still running are not listed.
    struct Leftover {
        std::string path;
        long records = 0;
    };
    static std::vector<Leftover> Leftovers(const std::string& path);
    // The records (CR LF-ended lines) a data file holds; 0 when it cannot be read.
    static long CountRecords(const std::string& path);
    // Gives the records of a partial file left behind the name it was meant for, or the first free
    // "NAME-n.EXT" beside it; never replaces a file. The name it took once the partial name is gone and
    // the folder synced, or nullopt with errno's value.
    static std::optional<std::string> Adopt(const std::string& partial, const std::string& target,
                                            int* error);

  private:
    RecordFile(UniqueFd fd, std::string target, std::string temp, bool inPlace);
    void Rollback();
    bool CopyInPlace(int* error);
    bool RenameWithoutReplacing(int* error);

    UniqueFd fd_;
    std::string target_;
    std::string tempPath_;  // empty when writing straight into a device or FIFO
    bool inPlace_ = false;  // the target has other hard links
    bool done_ = false;
};

}  // namespace k52

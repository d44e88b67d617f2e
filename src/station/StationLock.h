// One station per port and per folder: a station holds a lock file (flock) for each port it serves and
// for its folder, and writes into it who it is, so that a second station can say who serves them.
#pragma once

#include <optional>
#include <string>

#include "util/UniqueFd.h"

namespace k52 {

// The station behind a lock, as its lock file tells it.
struct StationHolder {
    unsigned long pid = 0;
    std::string folder;
    std::string status;  // its status file, when it writes one
    std::string host;
};

// "pid 4711, folder /srv/k52" (or what of it is known), for lines and rows.
std::string HolderText(const StationHolder& holder);

class StationLock {
  public:
    // Takes the lock at `path` without waiting and writes `self` into it. nullopt when it cannot: held by
    // another station (`holder` says which, `reason` stays empty) or the lock file is unusable (`reason`).
    static std::optional<StationLock> Take(const std::string& path, const StationHolder& self,
                                           StationHolder* holder, std::string* reason);
    // Who holds the lock at `path` now; nullopt when nobody does.
    static std::optional<StationHolder> HolderOf(const std::string& path);

  private:
    explicit StationLock(UniqueFd fd) : fd_(std::move(fd)) {}
    UniqueFd fd_;  // closing it releases the lock
};

// Where port locks live: /run/lock (shared by every user and the system's service) when it can be
// written, else the temporary folder.
std::string DefaultLockDir();
// The lock of the port `device` in `lockDir`: named after the device the name leads to, so that a by-id
// link and its ttyUSB0 are one port.
std::string PortLockPath(const std::string& lockDir, const std::string& device);
std::string FolderLockPath(const std::string& folder);

}  // namespace k52

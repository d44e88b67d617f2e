// Which ports another station (a `k52cli collect` service) serves now, seen from a desk that must leave
// them alone: its port locks say who holds each port, its status file what the port is doing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "station/StationLock.h"
#include "station/StationStatus.h"

namespace k52 {

struct ServedPort {
    StationHolder holder;
    std::optional<PortStatus> status;  // nullopt: the station writes no status file we could read
    bool operator==(const ServedPort& o) const;
};

struct ServiceLook {
    std::vector<std::string> lockDirs;  // where port locks are looked for
    // Folders a service may collect into (the desk's collection folder): a station holding one of them
    // serves the ports its status file lists, wherever its port locks are.
    std::vector<std::string> folders;
    unsigned long selfPid = 0;  // this program's own locks are no other station's
};

// The port locks looked for when the desk names no folder: every place a station may put them.
std::vector<std::string> SystemLockDirs();

// The ports a status file lists; nullopt when the text is no status file.
std::optional<std::vector<PortStatus>> ParseStatusPorts(const std::string& json);

// For each of `devices`, the station that serves it; nullopt where none does.
std::vector<std::optional<ServedPort>> FindServedPorts(const std::vector<std::string>& devices,
                                                       const ServiceLook& look);

}  // namespace k52

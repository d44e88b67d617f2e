// The port assignments: which host device each of the template's ports COM1..COM6 stands for, kept one
// `COMn=DEVICE` line each in the user's $XDG_CONFIG_HOME/k52/ports.conf, over the system-wide files, and
// the names people give ports or cradles, one `COMn.name=TEXT` or `DEVICE.name=TEXT` line each.
#pragma once

#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace k52 {

constexpr int kComPortCount = 6;

// "COM1".."COM6" for 0..5.
std::string ComPortName(int comPort);
// 0..5 for "COM1".."COM6" in any case; nullopt for anything else.
std::optional<int> ParseComPortName(std::string_view name);

using PortAssignments = std::array<std::optional<std::string>, kComPortCount>;

// The file as the user left it. Comments, blank lines and damaged lines are kept through an edit, so a
// rewrite loses nothing the user typed; only assignment lines are added, replaced or removed.
class PortsConf {
  public:
    // A damaged line (not COM1..COM6 = an absolute path) is ignored, with a warning naming `name` and the
    // line. Of two lines for one port the later counts.
    static PortsConf Parse(std::string_view text, std::string_view name,
                           std::vector<std::string>* warnings = nullptr);

    const PortAssignments& assignments() const { return assignments_; }
    // False when `device` could not be read back from the file (not absolute, or has a line break or
    // surrounding spaces).
    bool Assign(int comPort, const std::string& device);
    void Unassign(int comPort);

    // The given name of the port on `device` (as served, or assigned to `comPort`): the device's own
    // name line first, then the COM port's; empty when it has none.
    std::string NameOf(const std::string& device, std::optional<int> comPort = std::nullopt) const;
    // Names a port by "COMn" or its absolute device; an empty name removes the line. False for a key or
    // name that could not be read back (a line break, surrounding spaces).
    bool SetName(const std::string& key, const std::string& name);
    std::string Text() const;

  private:
    struct Line {
        std::string text;
        std::optional<int> comPort;  // set on a valid assignment line
        std::string nameKey;         // "COMn" or the device, on a valid name line
    };
    std::vector<Line> lines_;
    PortAssignments assignments_;
    std::map<std::string, std::string> names_;  // by "COMn" (upper case) or device
};

// Whether `device` can be stored in the file and read back unchanged: an absolute device path or a
// pattern (ports/PortPatterns.h) with no line break or surrounding spaces.
bool StorableDevicePath(std::string_view device);

// $XDG_CONFIG_HOME/k52/ports.conf, else ~/.config/k52/ports.conf.
std::string DefaultPortsConfPath();

// The system-wide files an administrator writes once for every desk: k52/ports.conf in each of
// $XDG_CONFIG_DIRS (else /etc/xdg), most important first.
std::vector<std::string> SystemPortsConfPaths();

// One port's assignment and the file it came from.
struct PortAssignment {
    std::string device;  // a device path or a pattern, as the file has it
    std::string origin;  // the file's path
};
using ConfiguredPorts = std::array<std::optional<PortAssignment>, kComPortCount>;

// The user's assignments (from `userPath`) over the system-wide files': a port the user leaves
// unassigned takes the most important system-wide file's assignment. Their warnings are added.
ConfiguredPorts LayerPortAssignments(const PortAssignments& user, const std::string& userPath,
                                     std::vector<std::string>* warnings = nullptr);

// A missing file holds no assignments; one that cannot be read holds none either, with a warning. Warnings
// are English from marked patterns; a front end shows them with LocalizeFinished.
PortsConf ReadPortsConf(const std::string& path, std::vector<std::string>* warnings = nullptr);

// Replaces the file with the one atomic save, creating its folder when needed. A symbolic link is followed,
// so a linked file stays linked; only a regular file is replaced (a link to a device is refused). On
// failure `error` says why.
bool WritePortsConf(const std::string& path, const PortsConf& conf, std::string* error = nullptr);

// Reads the file, lets `edit` change it and writes it back unless `edit` returns false, all under a lock
// on "PATH.lock" beside it, so that edits made at once by several processes all reach the file. Returns
// the file as edited; on failure nullopt, with `error` saying why.
std::optional<PortsConf> EditPortsConf(const std::string& path, const std::function<bool(PortsConf&)>& edit,
                                       std::vector<std::string>* warnings, std::string* error);

}  // namespace k52

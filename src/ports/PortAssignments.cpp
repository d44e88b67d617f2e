// ports.conf: COMn=DEVICE lines read with warnings for damaged ones, rewritten atomically; the user's file
// over the system-wide ones.
#include "ports/PortAssignments.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "i18n/Translate.h"
#include "ports/PortDevices.h"
#include "ports/PortPatterns.h"
#include "util/FileLock.h"
#include "util/Paths.h"
#include "util/RegularFile.h"
#include "util/SaveFile.h"
#include "util/platform/System.h"

namespace k52 {
namespace {

constexpr std::string_view kSpaces = " \t\r";
// A hand-written list of six lines; anything near this size is not a ports.conf.
constexpr std::size_t kPortsConfLimit = 1024 * 1024;

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kSpaces);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(kSpaces) - first + 1);
}

std::string Reason(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Creates the missing folders of `dir`, private to the user as the config folders are meant to be.
bool MakeFolders(const std::string& dir) {
    if (dir.empty()) return true;
    using platform::PathKind;
    if (const PathKind kind = platform::KindOf(dir); kind != PathKind::Missing)
        return kind == PathKind::Directory || (errno = ENOTDIR, false);
    const auto slash = dir.find_last_of(platform::kPathSeparators);
    if (slash != std::string::npos && slash > 0 && !MakeFolders(dir.substr(0, slash))) return false;
    const platform::SysError made = platform::MakeDirectory(dir, 0700);
    if (made && made.number != EEXIST) errno = made.number;
    return !made || made.number == EEXIST;
}

constexpr std::string_view kNameMark = ".name";

// "COM1" for any spelling of a port name, the device itself for an absolute device; "" for neither.
std::string NameKey(std::string_view key) {
    if (const auto port = ParseComPortName(key)) return ComPortName(*port);
    return StorableDevicePath(key) ? std::string(key) : std::string();
}

}  // namespace

std::string ComPortName(int comPort) {
    return "COM" + std::to_string(comPort + 1);
}

std::optional<int> ParseComPortName(std::string_view name) {
    if (name.size() != 4) return std::nullopt;
    for (std::size_t i = 0; i < 3; ++i)
        if ((name[i] | 0x20) != "com"[i]) return std::nullopt;
    if (name[3] < '1' || name[3] > '0' + kComPortCount) return std::nullopt;
    return name[3] - '1';
}

bool StorableDevicePath(std::string_view device) {
    return !device.empty() && (DeviceNameIsAbsolute(device) || ParseDevicePattern(device)) &&
           Trim(device) == device &&
           device.find_first_of(std::string_view("\n\0", 2)) == std::string_view::npos;
}

PortsConf PortsConf::Parse(std::string_view text, std::string_view name, std::vector<std::string>* warnings) {
    PortsConf conf;
    std::size_t number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view raw = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        Line line{std::string(raw), std::nullopt, {}};
        const std::string_view body = Trim(raw);
        // "KEY.name = TEXT": the first '=' ends the key, so that a name may hold one.
        const auto eq = body.find('=');
        const std::string_view left =
            eq == std::string_view::npos ? std::string_view{} : Trim(body.substr(0, eq));
        const bool named = left.size() > kNameMark.size() && left.ends_with(kNameMark) &&
                           !NameKey(Trim(left.substr(0, left.size() - kNameMark.size()))).empty();
        if (!body.empty() && body[0] != '#' && named) {
            line.nameKey = NameKey(Trim(left.substr(0, left.size() - kNameMark.size())));
            const std::string_view given = Trim(body.substr(eq + 1));
            if (given.empty())
                conf.names_.erase(line.nameKey);
            else
                conf.names_[line.nameKey] = std::string(given);
        } else if (!body.empty() && body[0] != '#') {
            const auto port =
                eq == std::string_view::npos ? std::nullopt : ParseComPortName(Trim(body.substr(0, eq)));
            const std::string_view device =
                eq == std::string_view::npos ? std::string_view{} : Trim(body.substr(eq + 1));
            if (port && StorableDevicePath(device)) {
                line.comPort = port;
                conf.assignments_[static_cast<std::size_t>(*port)] = std::string(device);
            } else if (warnings) {
                warnings->push_back(
                    Substitute(K52_EN("%1:%2: ignored \"%3\" (expected COM1..COM6=/path/of/device)"),
                               {name, std::to_string(number), body}));
            }
        }
        conf.lines_.push_back(std::move(line));
    }
    return conf;
}

bool PortsConf::Assign(int comPort, const std::string& device) {
    if (comPort < 0 || comPort >= kComPortCount || !StorableDevicePath(device)) return false;
    std::string text = ComPortName(comPort) + "=" + device;
    bool placed = false;
    for (auto it = lines_.begin(); it != lines_.end();) {
        if (it->comPort != comPort) {
            ++it;
        } else if (!placed) {
            it->text = text;
            placed = true;
            ++it;
        } else {
            it = lines_.erase(it);
        }
    }
    if (!placed) lines_.push_back({std::move(text), comPort, {}});
    assignments_[static_cast<std::size_t>(comPort)] = device;
    return true;
}

void PortsConf::Unassign(int comPort) {
    std::erase_if(lines_, [comPort](const Line& l) { return l.comPort == comPort; });
    if (comPort >= 0 && comPort < kComPortCount) assignments_[static_cast<std::size_t>(comPort)].reset();
}

std::string PortsConf::NameOf(const std::string& device, std::optional<int> comPort) const {
    if (const auto it = names_.find(device); it != names_.end()) return it->second;
    if (!comPort)
        for (int n = 0; n < kComPortCount; ++n)
            if (assignments_[static_cast<std::size_t>(n)] == device) comPort = n;
    if (comPort)
        if (const auto it = names_.find(ComPortName(*comPort)); it != names_.end()) return it->second;
    return "";
}

bool PortsConf::SetName(const std::string& key, const std::string& name) {
    const std::string k = NameKey(key);
    if (k.empty() || Trim(name) != name ||
        name.find_first_of(std::string_view("\n\r\0", 3)) != std::string::npos)
        return false;
    std::erase_if(lines_, [&](const Line& l) { return l.nameKey == k; });
    if (name.empty()) {
        names_.erase(k);
        return true;
    }
    lines_.push_back({k + std::string(kNameMark) + "=" + name, std::nullopt, k});
    names_[k] = name;
    return true;
}

std::string PortsConf::Text() const {
    std::string out;
    for (const Line& l : lines_) out += l.text + "\n";
    return out;
}

std::string DefaultPortsConfPath() {
    const char sep = platform::kPathSeparator;
    return platform::UserConfigFolder() + sep + "k52" + sep + "ports.conf";
}

std::vector<std::string> SystemPortsConfPaths() {
    const char sep = platform::kPathSeparator;
    std::vector<std::string> paths;
    for (const std::string& folder : platform::SystemConfigFolders())
        paths.push_back(folder + sep + "k52" + sep + "ports.conf");
    return paths;
}

ConfiguredPorts LayerPortAssignments(const PortAssignments& user, const std::string& userPath,
                                     std::vector<std::string>* warnings) {
    ConfiguredPorts layered;
    for (std::size_t i = 0; i < layered.size(); ++i)
        if (user[i]) layered[i] = PortAssignment{*user[i], userPath};
    for (const std::string& path : SystemPortsConfPaths()) {
        const PortAssignments system = ReadPortsConf(path, warnings).assignments();
        for (std::size_t i = 0; i < layered.size(); ++i)
            if (!layered[i] && system[i]) layered[i] = PortAssignment{*system[i], path};
    }
    return layered;
}

PortsConf ReadPortsConf(const std::string& path, std::vector<std::string>* warnings) {
    FileReadError error;
    const std::optional<std::string> text = ReadWholeFile(path, kPortsConfLimit, &error);
    if (!text) {
        if (error.sysErrno != ENOENT && warnings)
            warnings->push_back(
                Substitute(K52_EN("%1: %2 (no port assignments read)"), {path, error.reason}));
        return {};
    }
    return PortsConf::Parse(*text, path, warnings);
}

bool WritePortsConf(const std::string& path, const PortsConf& conf, std::string* error) {
    const std::string dir = DirectoryOf(path);
    std::string reason;
    if (!MakeFolders(dir)) reason = Reason(dir);
    const std::string text = conf.Text();
    if (reason.empty() && !SaveWholeFile(path, text.data(), text.size(), &reason))
        reason = path + ": " + reason;
    if (reason.empty()) return true;
    if (error) *error = reason;
    return false;
}

std::optional<PortsConf> EditPortsConf(const std::string& path, const std::function<bool(PortsConf&)>& edit,
                                       std::vector<std::string>* warnings, std::string* error) {
    const std::string dir = DirectoryOf(path);
    std::string reason;
    if (!MakeFolders(dir)) reason = Reason(dir);
    std::optional<FileLock> lock;
    if (reason.empty() && !(lock = FileLock::Acquire(path + ".lock", &reason)))
        reason = path + ".lock: " + reason;
    if (!reason.empty()) {
        if (error) *error = reason;
        return std::nullopt;
    }
    // A file that is there but could not be read is never replaced by one holding only this edit.
    FileReadError readError;
    const std::optional<std::string> text = ReadWholeFile(path, kPortsConfLimit, &readError);
    if (!text && readError.sysErrno != ENOENT) {
        if (error)
            *error = Substitute(K52_EN("%1: %2 (nothing stored: the file could not be read)"),
                                {path, readError.reason});
        return std::nullopt;
    }
    PortsConf conf = text ? PortsConf::Parse(*text, path, warnings) : PortsConf{};
    if (edit(conf) && !WritePortsConf(path, conf, error)) return std::nullopt;
    return conf;
}

}  // namespace k52

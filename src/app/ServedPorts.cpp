// Reads locks and status files only: nothing here takes a lock or opens a port.
#include "app/ServedPorts.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>

#include "util/RegularFile.h"

namespace k52 {
namespace {

// A status file is a few kilobytes a port; anything far larger is not one.
constexpr std::size_t kStatusLimit = 4 << 20;

std::string Canonical(const std::string& device) {
    std::error_code ec;
    const std::filesystem::path real = std::filesystem::canonical(device, ec);
    return ec ? device : real.string();
}

// A by-id link and the ttyUSB0 it leads to are one port.
bool SameDevice(const std::string& a, const std::string& b) {
    return a == b || Canonical(a) == Canonical(b);
}

std::string Str(const nlohmann::json& j, const char* key) {
    const auto it = j.find(key);
    return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
}

class StatusFiles {
  public:
    // Read once per look however many ports name them.
    const std::vector<PortStatus>* Ports(const std::string& path) {
        if (path.empty()) return nullptr;
        auto [it, fresh] = read_.try_emplace(path);
        if (fresh) {
            FileReadError error{};
            if (const auto text = ReadWholeFile(path, kStatusLimit, &error))
                it->second = ParseStatusPorts(*text);
        }
        return it->second ? &*it->second : nullptr;
    }

  private:
    std::map<std::string, std::optional<std::vector<PortStatus>>> read_;
};

std::optional<PortStatus> PortIn(const std::vector<PortStatus>* ports, const std::string& device) {
    if (!ports) return std::nullopt;
    for (const PortStatus& p : *ports)
        if (SameDevice(p.device, device)) return p;
    return std::nullopt;
}

}  // namespace

bool ServedPort::operator==(const ServedPort& o) const {
    auto same = [](const std::optional<PortStatus>& a, const std::optional<PortStatus>& b) {
        if (a.has_value() != b.has_value()) return false;
        if (!a) return true;
        return a->state == b->state && a->receiving == b->receiving &&
               a->lastUploadTime == b->lastUploadTime && a->lastUploadRecords == b->lastUploadRecords &&
               a->lastUploadOutcome == b->lastUploadOutcome && a->lastError == b->lastError &&
               a->name == b->name;
    };
    return holder.pid == o.holder.pid && holder.folder == o.holder.folder && holder.host == o.holder.host &&
           same(status, o.status);
}

std::vector<std::string> SystemLockDirs() {
    // A system service locks in /run/lock while a user who cannot write there locks in the temporary
    // folder: a desk looks in both.
    std::vector<std::string> dirs{"/run/lock", DefaultLockDir()};
    std::error_code ec;
    const std::filesystem::path temp = std::filesystem::temp_directory_path(ec);
    if (!ec) dirs.push_back(temp.string());
    std::sort(dirs.begin(), dirs.end());
    dirs.erase(std::unique(dirs.begin(), dirs.end()), dirs.end());
    return dirs;
}

std::optional<std::vector<PortStatus>> ParseStatusPorts(const std::string& json) {
    const nlohmann::json j = nlohmann::json::parse(json, nullptr, false);
    if (!j.is_object() || !j.contains("ports") || !j["ports"].is_array()) return std::nullopt;
    std::vector<PortStatus> ports;
    for (const nlohmann::json& p : j["ports"]) {
        if (!p.is_object()) continue;
        PortStatus s;
        s.device = Str(p, "device");
        if (s.device.empty()) continue;
        s.name = Str(p, "name");
        s.terminal = Str(p, "terminal");
        s.state = Str(p, "state");
        if (s.state.empty()) s.state = "waiting";
        if (p.contains("records") && p["records"].is_number_integer()) s.receiving = p["records"].get<int>();
        s.servedBy = Str(p, "servedBy");
        s.silentSince = Str(p, "silentSince");
        if (const auto u = p.find("lastUpload"); u != p.end() && u->is_object()) {
            s.lastUploadTime = Str(*u, "time");
            s.lastUploadOutcome = Str(*u, "outcome");
            s.lastUploadKey = Str(*u, "key");
            s.lastUploadFile = Str(*u, "file");
            const auto records = u->find("records");
            s.lastUploadRecords =
                records != u->end() && records->is_number_integer() ? records->get<int>() : 0;
        }
        if (const auto e = p.find("lastError"); e != p.end() && e->is_object()) {
            s.lastError = Str(*e, "message");
            s.lastErrorTime = Str(*e, "time");
        }
        ports.push_back(std::move(s));
    }
    return ports;
}

std::vector<std::optional<ServedPort>> FindServedPorts(const std::vector<std::string>& devices,
                                                       const ServiceLook& look) {
    std::vector<std::optional<ServedPort>> served(devices.size());
    StatusFiles files;
    auto foreign = [&](const StationHolder& h) { return h.pid == 0 || h.pid != look.selfPid; };
    for (std::size_t i = 0; i < devices.size(); ++i) {
        for (const std::string& dir : look.lockDirs) {
            const std::optional<StationHolder> holder = StationLock::HolderOf(PortLockPath(dir, devices[i]));
            if (!holder || !foreign(*holder)) continue;
            ServedPort s{*holder, std::nullopt};
            std::string status = holder->status;
            if (status.empty() && !holder->folder.empty()) status = holder->folder + "/status.json";
            s.status = PortIn(files.Ports(status), devices[i]);
            served[i] = std::move(s);
            break;
        }
    }
    // A station whose port locks live where we do not look still holds its folder.
    for (const std::string& folder : look.folders) {
        if (folder.empty()) continue;
        const std::optional<StationHolder> holder = StationLock::HolderOf(FolderLockPath(folder));
        if (!holder || !foreign(*holder)) continue;
        const std::string status = holder->status.empty() ? folder + "/status.json" : holder->status;
        const std::vector<PortStatus>* ports = files.Ports(status);
        for (std::size_t i = 0; i < devices.size(); ++i) {
            if (served[i]) continue;
            std::optional<PortStatus> p = PortIn(ports, devices[i]);
            // A port it found held by someone else is not one it serves.
            if (p && p->state != "served-elsewhere") served[i] = ServedPort{*holder, std::move(p)};
        }
    }
    return served;
}

}  // namespace k52

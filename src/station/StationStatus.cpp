// The model behind the status and metrics files, kept from the station's events.
#include "station/StationStatus.h"

#include <cstdint>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>

#include "transfer/TerminalNames.h"
#include "util/LocalTime.h"
#include "util/SaveFile.h"

namespace k52 {
namespace {

// The outcomes every terminal's counters start with, so that a rate over them is never missing.
const char* const kOutcomes[] = {"complete", "partial", "interrupted", "empty"};
const char* const kStates[] = {"waiting", "receiving", "busy", "gone", "served-elsewhere"};

const char* OutcomeOf(CollectEventKind kind) {
    switch (kind) {
        case CollectEventKind::Finished:
            return "complete";
        case CollectEventKind::Partial:
            return "partial";
        case CollectEventKind::Interrupted:
            return "interrupted";
        case CollectEventKind::Empty:
            return "empty";
        default:
            return nullptr;
    }
}

bool Success(const std::string& outcome) {
    return outcome == "complete" || outcome == "empty";
}

std::string Label(const std::string& value) {
    std::string out;
    for (const char c : value) {
        if (c == '\\' || c == '"') out += '\\';
        if (c == '\n') {
            out += "\\n";
            continue;
        }
        out += c;
    }
    return out;
}

std::string Number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

nlohmann::ordered_json Text(const std::string& s) {
    // Device names and messages may hold bytes that are no UTF-8; the file must still parse.
    return nlohmann::ordered_json::parse(
        nlohmann::ordered_json(s).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace));
}

}  // namespace

StationStatus::StationStatus(StationInfo info, Files files, CollectObserver& next,
                             CollectStation::WallClock wall, FreeSpace freeSpace)
    : info_(std::move(info)),
      files_(std::move(files)),
      next_(next),
      wall_(std::move(wall)),
      freeSpace_(std::move(freeSpace)) {}

void StationStatus::AddPort(const CollectPort& port) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const PortStatus& p : ports_)
        if (p.device == port.device) return;
    PortStatus& p = PortLocked(port.device, TerminalName(port.device));
    p.name = port.name;
    counts_[p.terminal];
}

void StationStatus::Seed(const std::vector<UploadRow>& rows) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (const UploadRow& r : rows) {
        // A row still receiving is put right by recovery, whose event counts it.
        if (r.outcome == "receiving") continue;
        Counts& c = counts_[r.terminal];
        ++c.uploads[r.outcome];
        c.records[r.outcome] += static_cast<std::uint64_t>(std::max(0, r.records));
        if (Success(r.outcome))
            if (const auto t = ParseInstant(r.endedUtc)) c.lastSuccess = std::max(c.lastSuccess, *t);
        for (PortStatus& p : ports_) {
            if (p.terminal != r.terminal) continue;
            p.lastUploadTime = r.ended;
            p.lastUploadOutcome = r.outcome;
            p.lastUploadRecords = r.records;
            p.lastUploadKey = r.key;
            p.lastUploadFile = r.file;
        }
    }
}

void StationStatus::SetGauge(const std::string& name, const std::string& help, double value) {
    std::lock_guard<std::mutex> lock(mutex_);
    gauges_[name] = {help, value};
}

void StationStatus::SetNote(const std::string& name, const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (text.empty())
        notes_.erase(name);
    else
        notes_[name] = text;
}

PortStatus& StationStatus::PortLocked(const std::string& device, const std::string& terminal) {
    for (PortStatus& p : ports_)
        if (p.device == device) return p;
    PortStatus& p = ports_.emplace_back();
    p.device = device;
    p.terminal = terminal;
    return p;
}

void StationStatus::Apply(const CollectEvent& e) {
    if (e.kind == CollectEventKind::DiskLow || e.kind == CollectEventKind::DiskOk) {
        diskLow_ = e.kind == CollectEventKind::DiskLow;
        return;
    }
    if (const char* outcome = OutcomeOf(e.kind)) {
        Counts& c = counts_[e.terminal];
        ++c.uploads[outcome];
        c.records[outcome] += static_cast<std::uint64_t>(std::max(0, e.records));
        ++run_.uploads[outcome];
        run_.records[outcome] += e.records;
        if (Success(outcome)) c.lastSuccess = ParseInstant(e.time).value_or(wall_());
    }
    PortStatus* port = nullptr;
    for (PortStatus& p : ports_)
        if (p.device == e.device) port = &p;
    if (e.device.empty() || !port) {
        if (e.kind == CollectEventKind::Problem) lastError_ = e.message;
        return;
    }
    PortStatus& p = *port;
    switch (e.kind) {
        case CollectEventKind::Started:
            p.state = "receiving";
            p.receiving = 0;
            break;
        case CollectEventKind::PortGone:
            p.state = "gone";
            break;
        case CollectEventKind::PortBusy:
            p.state = e.servedBy ? "served-elsewhere" : "busy";
            p.servedBy = e.servedBy ? HolderText(*e.servedBy) : std::string();
            break;
        case CollectEventKind::PortBack:
        case CollectEventKind::PortFree:
            p.state = "waiting";
            p.servedBy.clear();
            break;
        case CollectEventKind::Problem:
            p.lastError = e.message;
            p.lastErrorTime = e.time;
            break;
        case CollectEventKind::Silent:
            if (p.silentSince.empty()) p.silentSince = e.time;
            break;
        case CollectEventKind::Back:
            p.silentSince.clear();
            break;
        default:
            if (!OutcomeOf(e.kind)) break;
            p.state = "waiting";
            p.receiving = 0;
            p.lastUploadTime = e.time;
            p.lastUploadOutcome = OutcomeOf(e.kind);
            p.lastUploadRecords = e.records;
            p.lastUploadKey = e.key;
            p.lastUploadFile = e.file;
            // An upload that ended well clears what went wrong before it.
            if (e.kind == CollectEventKind::Finished || e.kind == CollectEventKind::Empty)
                p.lastError.clear();
            break;
    }
}

void StationStatus::OnEvent(const CollectEvent& e) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        Apply(e);
        WriteLocked(nullptr);
    }
    next_.OnEvent(e);
}

void StationStatus::OnProgress(const std::string& device, const TransferProgress& progress) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (PortStatus& p : ports_)
            if (p.device == device && p.state == "receiving") p.receiving = progress.done;
        if (wall_() != lastWrite_) WriteLocked(nullptr);
    }
    next_.OnProgress(device, progress);
}

std::string StationStatus::StatusJson() {
    std::lock_guard<std::mutex> lock(mutex_);
    return StatusJsonLocked();
}

std::string StationStatus::StatusJsonLocked() {
    using J = nlohmann::ordered_json;
    J station{{"version", Text(info_.version)},
              {"host", Text(info_.host)},
              {"pid", info_.pid},
              {"folder", Text(info_.folder)},
              {"stationId", info_.stationId},
              {"started", LocalIsoTime(info_.started)},
              {"updated", LocalIsoTime(wall_())}};
    if (freeSpace_)
        if (const auto free = freeSpace_(info_.folder)) station["diskFreeBytes"] = *free;
    station["diskLow"] = diskLow_;
    if (!lastError_.empty()) station["lastError"] = Text(lastError_);
    for (const auto& [name, g] : gauges_) {
        // Counts read as counts: 3, not 3.0.
        if (g.second == static_cast<double>(static_cast<std::int64_t>(g.second)))
            station[name] = static_cast<std::int64_t>(g.second);
        else
            station[name] = g.second;
    }
    for (const auto& [name, text] : notes_) station[name] = Text(text);
    J ports = J::array();
    for (const PortStatus& p : ports_) {
        J j{{"device", Text(p.device)}, {"terminal", Text(p.terminal)}};
        if (!p.name.empty()) j["name"] = Text(p.name);
        j["state"] = p.state;
        if (p.state == "receiving") j["records"] = p.receiving;
        if (!p.servedBy.empty()) j["servedBy"] = Text(p.servedBy);
        j["silent"] = !p.silentSince.empty();
        if (!p.silentSince.empty()) j["silentSince"] = p.silentSince;
        if (p.lastUploadRecords >= 0)
            j["lastUpload"] = J{{"time", p.lastUploadTime},
                                {"records", p.lastUploadRecords},
                                {"outcome", p.lastUploadOutcome},
                                {"key", p.lastUploadKey},
                                {"file", Text(p.lastUploadFile)}};
        else
            j["lastUpload"] = nullptr;
        if (!p.lastError.empty())
            j["lastError"] = J{{"time", p.lastErrorTime}, {"message", Text(p.lastError)}};
        else
            j["lastError"] = nullptr;
        ports.push_back(std::move(j));
    }
    return J{{"station", std::move(station)}, {"ports", std::move(ports)}}.dump(2) + "\n";
}

std::string StationStatus::MetricsText() {
    std::lock_guard<std::mutex> lock(mutex_);
    return MetricsTextLocked();
}

std::string StationStatus::MetricsTextLocked() {
    std::ostringstream out;
    auto head = [&](const char* name, const char* type, const char* help) {
        out << "# HELP " << name << " " << help << "\n# TYPE " << name << " " << type << "\n";
    };
    auto portLabels = [](const PortStatus& p) {
        return "terminal=\"" + Label(p.terminal) + "\",device=\"" + Label(p.device) + "\",name=\"" +
               Label(p.name) + "\"";
    };
    head("k52_station_start_time_seconds", "gauge", "When the station started, in seconds since the epoch.");
    out << "k52_station_start_time_seconds{host=\"" << Label(info_.host) << "\",version=\""
        << Label(info_.version) << "\"} " << info_.started << "\n";
    head("k52_upload_last_success_timestamp_seconds", "gauge",
         "When the terminal's last complete or empty upload ended; 0 before any.");
    for (const auto& [terminal, c] : counts_)
        out << "k52_upload_last_success_timestamp_seconds{terminal=\"" << Label(terminal) << "\"} "
            << c.lastSuccess << "\n";
    head("k52_uploads_total", "counter", "Uploads by terminal and outcome.");
    for (const auto& [terminal, c] : counts_)
        for (const char* o : kOutcomes) {
            const auto it = c.uploads.find(o);
            out << "k52_uploads_total{terminal=\"" << Label(terminal) << "\",outcome=\"" << o << "\"} "
                << (it == c.uploads.end() ? 0 : it->second) << "\n";
        }
    head("k52_records_total", "counter", "Records filed by terminal and upload outcome.");
    for (const auto& [terminal, c] : counts_)
        for (const char* o : kOutcomes) {
            const auto it = c.records.find(o);
            out << "k52_records_total{terminal=\"" << Label(terminal) << "\",outcome=\"" << o << "\"} "
                << (it == c.records.end() ? 0 : it->second) << "\n";
        }
    head("k52_port_state", "gauge", "1 for the state each served port is in, 0 for the others.");
    for (const PortStatus& p : ports_)
        for (const char* state : kStates)
            out << "k52_port_state{" << portLabels(p) << ",state=\"" << state << "\"} " << (p.state == state)
                << "\n";
    head("k52_terminal_silent", "gauge", "1 while the port's terminal has not been heard from for too long.");
    for (const PortStatus& p : ports_)
        out << "k52_terminal_silent{" << portLabels(p) << "} " << !p.silentSince.empty() << "\n";
    head("k52_disk_low", "gauge", "1 while the folder's disk is below its free-space threshold.");
    out << "k52_disk_low{folder=\"" << Label(info_.folder) << "\"} " << diskLow_ << "\n";
    if (freeSpace_)
        if (const auto free = freeSpace_(info_.folder)) {
            head("k52_disk_free_bytes", "gauge", "Free space on the folder's disk.");
            out << "k52_disk_free_bytes{folder=\"" << Label(info_.folder) << "\"} " << *free << "\n";
        }
    for (const auto& [name, g] : gauges_) {
        const std::string metric = "k52_" + name;
        head(metric.c_str(), "gauge", g.first.c_str());
        out << metric << " " << Number(g.second) << "\n";
    }
    return out.str();
}

bool StationStatus::Write(std::string* reason) {
    std::lock_guard<std::mutex> lock(mutex_);
    return WriteLocked(reason);
}

bool StationStatus::WriteLocked(std::string* reason) {
    lastWrite_ = wall_();
    bool ok = true;
    auto save = [&](const std::string& path, const std::string& text) {
        if (path.empty()) return;
        std::string why;
        if (!SaveWholeFile(path, text.data(), text.size(), &why) && ok) {
            ok = false;
            if (reason) *reason = path + ": " + why;
        }
    };
    save(files_.status, StatusJsonLocked());
    save(files_.metrics, MetricsTextLocked());
    return ok;
}

StationStatus::RunCounts StationStatus::ThisRun() {
    std::lock_guard<std::mutex> lock(mutex_);
    return run_;
}

std::vector<PortStatus> StationStatus::Ports() {
    std::lock_guard<std::mutex> lock(mutex_);
    return ports_;
}

std::string StationStatus::Summary() {
    std::lock_guard<std::mutex> lock(mutex_);
    int served = 0;
    const PortStatus* last = nullptr;
    for (const PortStatus& p : ports_) {
        served += p.state != "served-elsewhere";
        if (p.lastUploadRecords >= 0 && (!last || p.lastUploadTime > last->lastUploadTime)) last = &p;
    }
    std::string text = std::to_string(served) + (served == 1 ? " port served" : " ports served");
    if (last)
        text += "; last upload " + last->terminal + " at " + last->lastUploadTime + ", " +
                std::to_string(last->lastUploadRecords) + " records (" + last->lastUploadOutcome + ")";
    return text;
}

}  // namespace k52

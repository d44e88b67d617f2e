// The Terminals window's rows: which ports, what each is doing, and what it did last.
#include "app/TerminalRack.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "app/TransferWording.h"
#include "i18n/Translate.h"

namespace k52 {
namespace {

constexpr char kContext[] = "TerminalRack";

bool FileStands(const std::string& path) {
    std::error_code error;
    return std::filesystem::exists(path, error);
}

// Whether `port` is the device `device` names, by its path or its by-id link.
bool Names(const std::string& device, const DiscoveredPort& port) {
    return device == port.device || (port.byId && device == *port.byId);
}

std::string Tr(const char* text) {
    return std::string(Translate(kContext, text));
}

// What a row showed of its last run, cleared as another begins.
void ForgetLastRun(RackRow& r) {
    r.progress = {};
    r.percent = -1;
    r.bytesPerSecond = 0;
    r.result.clear();
    r.file.clear();
}

// "Last upload 2026-12-08 10:32:05, 12 records", and how it ended when it did not end well.
std::string LastUploadText(const CollectEvent& e) {
    std::string when = e.time.substr(0, 19);  // the ISO time without its offset
    if (when.size() > 10 && when[10] == 'T') when[10] = ' ';
    std::string text =
        Substitute(Tr(K52_TR("TerminalRack", "上次上傳 %1, %2 筆資料")), {when, std::to_string(e.records)});
    if (e.kind == CollectEventKind::Partial) text += Tr(K52_TR("TerminalRack", ", 未完成"));
    if (e.kind == CollectEventKind::Interrupted) text += Tr(K52_TR("TerminalRack", ", 已中斷"));
    return text;
}

// The served port's last upload and its station, as the row's result.
std::string ServedText(const ServedPort& s) {
    std::string text;
    if (s.status && s.status->lastUploadRecords >= 0) {
        CollectEvent e;
        e.time = s.status->lastUploadTime;
        e.records = s.status->lastUploadRecords;
        e.kind = s.status->lastUploadOutcome == "partial"       ? CollectEventKind::Partial
                 : s.status->lastUploadOutcome == "interrupted" ? CollectEventKind::Interrupted
                                                                : CollectEventKind::Finished;
        text = LastUploadText(e) + "; ";
    }
    if (s.status && !s.status->lastError.empty()) text += s.status->lastError + "; ";
    return text + HolderText(s.holder);
}

}  // namespace

RackScan ScanRack(PortScanner& scanner) {
    RackScan scan;
    for (int i = 0; i < kComPortCount; ++i) scan.comPorts[static_cast<std::size_t>(i)] = ResolveComPort(i);
    scan.adapters = scanner.Scan();
    return scan;
}

bool TerminalRack::Update(const RackScan& scan) {
    bool changed = false;
    auto row = [&](const std::string& device, std::optional<int> comPort, const std::string& name,
                   bool present) {
        auto it = std::find_if(rows_.begin(), rows_.end(), [&](const RackRow& r) {
            return comPort ? r.comPort == comPort : !r.comPort && r.device == device;
        });
        // An adapter just assigned to a COM port is that port's row now, not a second row for one device.
        if (it == rows_.end() && comPort) {
            it = std::find_if(rows_.begin(), rows_.end(), [&](const RackRow& r) {
                return !r.comPort && r.device == device && r.state != RowState::Running && !r.collecting;
            });
            if (it != rows_.end()) {
                it->comPort = comPort;
                it->name = name;
                changed = true;
            }
        }
        if (it == rows_.end()) {
            RackRow r;
            r.name = name;
            r.comPort = comPort;
            if (rememberedCradle) r.cradle = rememberedCradle(device);
            rows_.push_back(std::move(r));
            it = rows_.end() - 1;
            changed = true;
        }
        if (it->device != device || it->present != present) changed = true;
        it->device = device;
        it->present = present;
    };
    auto found = [&](const std::string& device) {
        return std::any_of(scan.adapters.begin(), scan.adapters.end(),
                           [&](const DiscoveredPort& p) { return Names(device, p); });
    };

    std::vector<std::string> named;
    for (int i = 0; i < kComPortCount; ++i) {
        const ComPortResolution& com = scan.comPorts[static_cast<std::size_t>(i)];
        // A port left at its default is not one the user pointed anywhere.
        if (com.source == AssignmentSource::Default) continue;
        named.push_back(com.device);
        row(com.device, i, ComPortName(i), com.present || found(com.device));
    }
    for (const DiscoveredPort& p : scan.adapters) {
        // The host's own serial ports are COM1..COM6's defaults, not adapters a person plugged in.
        if (p.transport == PortTransport::Native) continue;
        if (std::any_of(named.begin(), named.end(), [&](const std::string& d) { return Names(d, p); }))
            continue;
        row(p.PreferredPath(), std::nullopt, p.description.empty() ? p.device : p.description, true);
    }
    // Adapters no longer listed were pulled out.
    for (RackRow& r : rows_) {
        if (r.comPort || !r.present || found(r.device)) continue;
        r.present = false;
        changed = true;
    }
    return changed;
}

ReceivePlan TerminalRack::PlanReceive(const std::string& folder, const std::vector<std::size_t>& rows) const {
    ReceivePlan plan;
    for (std::size_t i : rows) {
        std::string path = folder + "/" + RecordFileName(rows_.at(i).device);
        for (std::size_t k = 0; k < plan.files.size(); ++k)
            if (plan.files[k] == path && plan.collision.empty())
                plan.collision = rows_.at(rows[k]).name + ", " + rows_.at(i).name + ": " + path;
        if (FileStands(path)) plan.existing.push_back(path);
        plan.files.push_back(std::move(path));
    }
    return plan;
}

std::optional<TerminalJob> TerminalRack::Start(std::size_t row, JobKind kind, const std::string& file,
                                               bool overwrite, std::int64_t nowMs) {
    RackRow& r = rows_.at(row);
    if (r.state == RowState::Running || r.collecting || r.served) return std::nullopt;
    r.state = RowState::Running;
    r.kind = kind;
    ForgetLastRun(r);
    r.startedMs = nowMs;
    r.stop->store(false);
    TerminalJob job;
    job.kind = kind;
    job.transport = r.cradle ? Transport::Cradle : Transport::Direct;
    job.file = file;
    job.device = r.device;
    job.overwrite = overwrite;
    job.stop = r.stop.get();
    r.job = job;
    return job;
}

std::optional<TerminalJob> TerminalRack::Retry(std::size_t row, std::int64_t nowMs) {
    const RackRow& r = rows_.at(row);
    if (r.state != RowState::Failed || !r.job) return std::nullopt;
    const TerminalJob last = *r.job;
    auto job = Start(row, last.kind, last.file, last.kind != JobKind::Receive && last.overwrite, nowMs);
    // The cradle choice may have changed since; the rest of the request stays.
    if (job) {
        job->encoding = last.encoding;
        job->allowEmpty = last.allowEmpty;
        rows_[row].job = job;
    }
    return job;
}

void TerminalRack::Progress(std::size_t row, const TransferProgress& p, std::int64_t nowMs) {
    RackRow& r = rows_.at(row);
    if (r.state != RowState::Running) return;
    r.progress = p;
    r.percent = p.total > 0 ? std::clamp(p.done * 100 / p.total, 0, 100) : -1;
    const std::int64_t elapsed = nowMs - r.startedMs;
    if (elapsed > 0)
        r.bytesPerSecond =
            static_cast<double>(p.bytesSent + p.bytesReceived) * 1000.0 / static_cast<double>(elapsed);
}

void TerminalRack::Said(std::size_t row, const std::string& line) {
    RackRow& r = rows_.at(row);
    if (r.state == RowState::Running) r.result = line;
}

void TerminalRack::Finish(std::size_t row, const JobResult& result) {
    RackRow& r = rows_.at(row);
    const LinkFailure failure = result.outcome.failure;
    r.state = failure == LinkFailure::None        ? RowState::Done
              : failure == LinkFailure::Cancelled ? RowState::Cancelled
                                                  : RowState::Failed;
    if (r.state == RowState::Done && r.progress.total > 0) r.percent = 100;
    if (result.seconds > 0) r.bytesPerSecond = static_cast<double>(result.bytes) / result.seconds;
    r.result = RowResultText(result);
    r.file = r.kind == JobKind::Receive ? result.file : std::string();
    r.last = result;
}

std::optional<CollectPort> TerminalRack::StartCollecting(std::size_t row) {
    RackRow& r = rows_.at(row);
    if (r.state == RowState::Running || r.collecting || r.served) return std::nullopt;
    r.collecting = true;
    r.uploading = false;
    ForgetLastRun(r);
    CollectPort port;
    port.device = r.device;
    if (r.device.rfind("/dev/serial/by-id/", 0) == 0) port.byId = r.device;
    port.transport = r.cradle ? Transport::Cradle : Transport::Direct;
    return port;
}

void TerminalRack::Collected(std::size_t row, const CollectEvent& e) {
    RackRow& r = rows_.at(row);
    std::string problem;
    switch (e.kind) {
        case CollectEventKind::Started:
            r.uploading = true;
            r.progress = {};
            r.progress.phase = TransferPhase::Receiving;
            return;
        case CollectEventKind::Finished:
        case CollectEventKind::Partial:
        case CollectEventKind::Interrupted:
        case CollectEventKind::Empty:
            r.uploading = false;
            r.lastUpload = e;
            break;
        case CollectEventKind::PortBusy:
            // Another station (a service) serves the port: this one leaves it alone and says whose it is.
            if (e.servedBy) {
                problem = Tr(K52_TR("TerminalRack", "由收集站服務")) + " (" + HolderText(*e.servedBy) + ")";
                break;
            }
            [[fallthrough]];
        case CollectEventKind::PortGone:
            problem = Tr(K52_TR("TerminalRack", "無法開啟傳輸埠"));
            break;
        case CollectEventKind::Silent:
        case CollectEventKind::Back:
        case CollectEventKind::DiskLow:
        case CollectEventKind::DiskOk:
            break;
        case CollectEventKind::PortBack:
        case CollectEventKind::PortFree:
            break;
        case CollectEventKind::Problem:
            problem = e.message;
            break;
    }
    // What went wrong with the port leads; the last upload is still worth seeing beside it.
    r.result = problem;
    if (!r.lastUpload) return;
    if (!r.result.empty()) r.result += "; ";
    r.result += LastUploadText(*r.lastUpload);
}

void TerminalRack::CollectProgress(std::size_t row, const TransferProgress& progress) {
    RackRow& r = rows_.at(row);
    if (r.collecting && r.uploading) r.progress = progress;
}

void TerminalRack::CollectingEnded(std::size_t row) {
    RackRow& r = rows_.at(row);
    r.collecting = false;
    r.uploading = false;
    r.progress = {};
}

bool TerminalRack::AnyCollecting() const {
    return std::any_of(rows_.begin(), rows_.end(), [](const RackRow& r) { return r.collecting; });
}

bool TerminalRack::SetServed(const std::vector<std::optional<ServedPort>>& served) {
    bool changed = false;
    for (std::size_t i = 0; i < rows_.size() && i < served.size(); ++i) {
        RackRow& r = rows_[i];
        if (r.served == served[i]) continue;
        changed = true;
        const bool ours = r.state == RowState::Running || r.collecting;
        if (r.served && !ours) r.result.clear();
        r.served = served[i];
        if (r.served && !ours) r.result = ServedText(*r.served);
    }
    return changed;
}

void TerminalRack::CancelAll() {
    for (RackRow& r : rows_) r.stop->store(true);
}

std::vector<std::size_t> TerminalRack::FailedRows() const {
    std::vector<std::size_t> failed;
    for (std::size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].state == RowState::Failed) failed.push_back(i);
    return failed;
}

RackSummary TerminalRack::Summary() const {
    RackSummary s;
    for (const RackRow& r : rows_) {
        s.done += r.state == RowState::Done;
        s.failed += r.state == RowState::Failed;
        s.running += r.state == RowState::Running;
        s.collecting += r.collecting;
        s.served += r.served && !r.collecting && r.state != RowState::Running;
    }
    return s;
}

std::string RowStateText(const RackRow& row) {
    auto counted = [&](const char* text) {
        std::string s = Tr(text);
        if (row.progress.total > 0)
            s += " " + std::to_string(row.progress.done) + "/" + std::to_string(row.progress.total);
        else if (row.progress.done > 0)
            s += " " + std::to_string(row.progress.done);
        return s;
    };
    if (row.collecting)
        return row.uploading ? counted(K52_TR("TerminalRack", "接收上傳"))
                             : Tr(K52_TR("TerminalRack", "等待上傳"));
    if (row.served && row.state != RowState::Running) {
        std::string text = Tr(K52_TR("TerminalRack", "由收集站服務"));
        const std::optional<PortStatus>& s = row.served->status;
        if (!s) return text;
        if (s->state == "receiving")
            text += ": " + Tr(K52_TR("TerminalRack", "接收上傳")) + " " + std::to_string(s->receiving);
        else if (s->state == "waiting")
            text += ": " + Tr(K52_TR("TerminalRack", "等待上傳"));
        else if (s->state == "gone" || s->state == "busy")
            text += ": " + Tr(K52_TR("TerminalRack", "無法開啟傳輸埠"));
        return text;
    }
    switch (row.state) {
        case RowState::Idle:
            return "";
        case RowState::Done:
            return Tr(K52_TR("TerminalRack", "完成"));
        case RowState::Failed:
            return Tr(K52_TR("TerminalRack", "失敗"));
        case RowState::Cancelled:
            return Tr(K52_TR("TerminalRack", "已取消"));
        case RowState::Running:
            break;
    }
    switch (row.progress.phase) {
        case TransferPhase::CradleProbe:
            return Tr(K52_TR("TerminalRack", "尋找傳輸座"));
        case TransferPhase::Handshake:
            return Tr(K52_TR("TerminalRack", "連線中"));
        case TransferPhase::SendingPacket:
            return counted(K52_TR("TerminalRack", "傳送程式"));
        case TransferPhase::SendingRecord:
            return counted(K52_TR("TerminalRack", "傳送索引"));
        case TransferPhase::Receiving:
            return counted(K52_TR("TerminalRack", "接收中"));
        default:
            return Tr(K52_TR("TerminalRack", "連線中"));
    }
}

std::string RowResultText(const JobResult& r) {
    const std::string code = FailureCode(r.outcome);
    std::string text = FailurePhrase(code);
    if (code.empty() && (r.outcome.recordsStored > 0 || !r.file.empty()))
        text = Substitute(Tr(K52_TR("TerminalRack", "完成, %1 筆資料")), {std::to_string(r.records)});
    for (const std::string& note : r.notes) text += "; " + note;
    return text;
}

}  // namespace k52

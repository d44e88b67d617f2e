// One pass over the ledger's waiting uploads, and the loop of passes with its backoff.
#include "station/Forwarder.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "i18n/Translate.h"
#include "util/FaultPoint.h"
#include "util/LocalTime.h"
#include "util/RegularFile.h"
#include "util/Sha256.h"

namespace k52 {
namespace {

// A waiting forwarder notices the stop within this long.
constexpr std::int64_t kStopSliceMs = 200;
// A stored upload larger than this is not a terminal's.
constexpr std::size_t kFileLimit = std::size_t{1} << 30;

}  // namespace

Forwarder::Forwarder(std::string folder, std::string conninfo, Clock& clock, const StopFlag& stop,
                     WallClock wall, ForwarderOptions options)
    : folder_(std::move(folder)),
      conninfo_(std::move(conninfo)),
      clock_(clock),
      stop_(stop),
      wall_(std::move(wall)),
      options_(std::move(options)) {}

std::string Forwarder::NowUtc() const {
    return UtcIsoTime(wall_());
}

std::int64_t Forwarder::RetryMs(int failures) const {
    std::int64_t ms = options_.firstRetryMs;
    for (int i = 1; i < failures && ms < options_.maxRetryMs; ++i) ms *= 2;
    return std::min(ms, options_.maxRetryMs);
}

ForwarderState Forwarder::State() {
    std::lock_guard<std::mutex> lock(mutex_);
    return state_;
}

void Forwarder::Refresh() {
    std::string why;
    std::optional<std::vector<UploadRow>> rows = ledger_ ? ledger_->List("", "", &why) : std::nullopt;
    if (!rows) return;
    ForwarderState s = DeliveryStateOf(*rows);
    std::lock_guard<std::mutex> lock(mutex_);
    state_ = std::move(s);
}

void Forwarder::Failed(const UploadRow& row, const std::string& why, Pass& pass) {
    ++pass.failed;
    pass.error = why;
    std::string ignored;
    // Kept beside the row for `uploads`; a ledger too busy to take it keeps the earlier one.
    if (ledger_) ledger_->MarkDeliveryFailed(row.key, why, NowUtc(), &ignored);
    if (options_.onEvent)
        options_.onEvent({ForwardEvent::Kind::Failed, row.key, row.terminal, row.records, why});
}

bool Forwarder::DeliverOne(const UploadRow& row, Pass& pass) {
    std::string file, why;
    if (!row.file.empty()) {
        std::optional<std::string> bytes = ReadWholeFile(folder_ + "/" + row.file, kFileLimit, &why);
        if (!bytes) {
            Failed(row, Substitute(K52_EN("cannot read %1: %2"), {row.file, why}), pass);
            return true;
        }
        // The store must get what the ledger recorded, or nothing.
        if (Sha256Hex(*bytes) != row.sha256) {
            Failed(row, Substitute(K52_EN("%1 differs from the upload it recorded"), {row.file}), pass);
            return true;
        }
        file = std::move(*bytes);
    }
    CentralStore::Progress progress;
    if (options_.progress) progress = [&](std::size_t sent) { options_.progress(row, sent); };
    const Delivery d =
        store_->Deliver(row, file, options_.separators ? &*options_.separators : nullptr, progress, &why);
    if (d == Delivery::Failed || d == Delivery::Differs) {
        Failed(row, why, pass);
        return store_->Ok();
    }
    // Committed centrally: a kill or a failure from here on sends it again, and the store keeps one.
    if (const int e = FaultAt(FaultCall::Ledger)) {
        Failed(row,
               Substitute(K52_EN("cannot mark the upload delivered in the ledger: %1"), {std::strerror(e)}),
               pass);
        return true;
    }
    if (!ledger_->MarkDelivered(row.key, NowUtc(), &why)) {
        Failed(row, Substitute(K52_EN("cannot mark the upload delivered in the ledger: %1"), {why}), pass);
        return true;
    }
    ++pass.delivered;
    if (options_.onEvent)
        options_.onEvent({ForwardEvent::Kind::Delivered, row.key, row.terminal, row.records, ""});
    return true;
}

Forwarder::Pass Forwarder::RunOnce() {
    Pass pass;
    std::string why;
    if (!ledger_) {
        ledger_ = Ledger::OpenExisting(folder_, &why);
        if (!ledger_) {
            pass.failed = 1;
            pass.error = why;
            std::lock_guard<std::mutex> lock(mutex_);
            state_.lastError = why;
            state_.lastErrorUtc = NowUtc();
            return pass;
        }
    }
    std::optional<std::vector<UploadRow>> waiting = ledger_->Undelivered(&why);
    if (!waiting) {
        pass.failed = 1;
        pass.error = why;
    } else if (!waiting->empty()) {
        if (store_ && !store_->Ok()) store_.reset();
        if (!store_) store_ = CentralStore::Open(conninfo_, &why);
        if (!store_) {
            // Said beside the oldest waiting upload; the others wait behind it.
            Failed(waiting->front(), why, pass);
        } else {
            for (const UploadRow& row : *waiting) {
                if (stop_.load()) break;
                if (!DeliverOne(row, pass)) {
                    store_.reset();
                    break;
                }
            }
        }
    }
    Refresh();
    if (!pass.error.empty()) {
        std::lock_guard<std::mutex> lock(mutex_);
        state_.lastError = pass.error;
        state_.lastErrorUtc = NowUtc();
    }
    return pass;
}

void Forwarder::Run() {
    int failures = 0;
    while (!stop_.load()) {
        const Pass pass = RunOnce();
        failures = pass.failed > 0 ? failures + 1 : 0;
        SleepUnlessStopped(clock_, failures > 0 ? RetryMs(failures) : options_.idleMs, &stop_, kStopSliceMs);
    }
}

std::optional<StationConf> ReadStationConf(const std::string& folder, std::string* reason) {
    FileReadError error;
    const std::optional<std::string> text = ReadWholeFile(folder + "/station.conf", 1 << 16, &error);
    if (!text) {
        if (error.kind == FileReadError::Kind::System && error.sysErrno == ENOENT) return StationConf{};
        if (reason) *reason = folder + "/station.conf: " + error.reason;
        return std::nullopt;
    }
    StationConf conf;
    std::size_t at = 0;
    while (at < text->size()) {
        std::size_t end = text->find('\n', at);
        if (end == std::string::npos) end = text->size();
        std::string line = text->substr(at, end - at);
        at = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.rfind("central=", 0) == 0) conf.central = line.substr(8);
        if (line.rfind("template=", 0) == 0) conf.templatePath = line.substr(9);
    }
    return conf;
}

}  // namespace k52

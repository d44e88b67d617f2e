// The transfer requests from their checks to closing the port, and what the user is told at the end.
#include "transfer/TerminalLink.h"

#include <cstring>
#include <optional>

#include "transfer/Download.h"
#include "transfer/LookupFile.h"
#include "transfer/PortSession.h"
#include "transfer/Receive.h"
#include "transfer/RecordFile.h"

namespace k52 {

// One transfer's observer as the engine sees it: everything goes on to the front end's observer, and
// what the outcome reports afterwards (the notices, the counts) is kept.
class TransferRun : public TransferObserver {
  public:
    TransferRun(TransferObserver& inner, Clock& clock)
        : inner_(inner), clock_(clock), start_(clock.NowMs()) {}

    void OnProgress(const TransferProgress& p) override {
        if (p.phase == TransferPhase::SendingPacket) outcome.packets = p.done;
        if (p.phase == TransferPhase::SendingRecord) outcome.recordsSent = p.done;
        inner_.OnProgress(p);
    }
    void OnNotice(const Notice& notice) override {
        outcome.notices.push_back(notice);
        inner_.OnNotice(notice);
    }
    void Tell(Notice notice) { OnNotice(notice); }

    // The outcome as it stands, with the bytes moved and the time taken; the end is reported too.
    TransferOutcome Finish() {
        outcome.bytesSent = progress.bytesSent;
        outcome.bytesReceived = progress.bytesReceived;
        outcome.seconds = static_cast<double>(clock_.NowMs() - start_) / 1000.0;
        progress.phase = outcome.Succeeded() ? TransferPhase::Done : TransferPhase::Failed;
        progress.percent = -1;
        inner_.OnProgress(progress);
        return outcome;
    }

    TransferOutcome outcome;
    TransferProgress progress;

  private:
    TransferObserver& inner_;
    Clock& clock_;
    std::int64_t start_;
};

TerminalLink::TerminalLink(ApplicationTemplate& tmpl, LineFactory& lines, Clock& clock)
    : tmpl_(tmpl), lines_(lines), clock_(clock) {}

std::optional<Notice> TerminalLink::PortSettingsProblem() const {
    const PortSettings& p = tmpl_.portSettings;
    if (p.comPort < kComPortCount && p.baudRate < kBaudRateCount) return std::nullopt;
    // With a device named for every port (k52cli --device) the port number means nothing.
    if (lines_.FixedDevice() && p.baudRate < kBaudRateCount) return std::nullopt;
    Notice notice{NoticeKind::BadPortSettings};
    notice.comPort = p.comPort;
    notice.baudRate = p.baudRate;
    return notice;
}

bool TerminalLink::PortSettingsValid(TransferRun& run) {
    const std::optional<Notice> problem = PortSettingsProblem();
    if (!problem) return true;
    run.Tell(*problem);
    run.outcome.failure = LinkFailure::BadPortSettings;
    return false;
}

bool TerminalLink::OpenPort(PortSession& port, TransferRun& run, NoticeKind failed) {
    std::string reason;
    const bool opened = port.Open(tmpl_.portSettings.comPort, &reason);
    run.outcome.device = port.device();
    if (opened) return true;
    Notice notice{failed};
    notice.reason = reason;
    port.Tell(notice);
    run.outcome.failure = LinkFailure::PortOpen;
    return false;
}

bool TerminalLink::OpenDownloadPort(PortSession& port, Transport transport, TransferRun& run) {
    if (!OpenPort(port, run, NoticeKind::PortOpenFailed)) return false;
    // The driver's queue sizes are the host's business here.
    port.UseTerminalLine(tmpl_.portSettings.baudRate);
    if (transport == Transport::Cradle && !port.PrepareCradle(tmpl_.portSettings.baudRate)) {
        port.Tell({NoticeKind::CradleNotFound});
        port.Close(false);
        run.outcome.failure = LinkFailure::IrPreparation;
        return false;
    }
    if (!port.Apply()) {
        port.Tell({NoticeKind::LineSettingsRefused});
        port.Close(false);
        run.outcome.failure = LinkFailure::LineSettings;
        return false;
    }
    return true;
}

bool TerminalLink::OpenReceivePort(PortSession& port, Transport transport, TransferRun& run) {
    if (!OpenPort(port, run, NoticeKind::ReceivePortOpenFailed)) return false;
    if (transport == Transport::Cradle && !port.PrepareCradle(tmpl_.portSettings.baudRate)) {
        port.Close(false);
        port.Tell({NoticeKind::ReceiveCradleNotFound});
        run.outcome.failure = LinkFailure::IrPreparation;
        return false;
    }
    port.UseTerminalLine(tmpl_.portSettings.baudRate);
    if (!port.Apply()) {
        port.Close(false);
        run.outcome.failure = LinkFailure::LineSettings;
        return false;
    }
    return true;
}

TransferOutcome TerminalLink::Download(const DownloadRequest& request, TransferObserver& observer) {
    TransferRun run(observer, clock_);
    RunDownload(request, run);
    return run.Finish();
}

TransferOutcome TerminalLink::Receive(const ReceiveRequest& request, TransferObserver& observer) {
    TransferRun run(observer, clock_);
    RunReceive(request, run);
    return run.Finish();
}

namespace {

std::optional<LookupFile> OpenLookup(const DownloadRequest& request, TransferRun& run) {
    std::optional<int> sysErrno;  // why it could not be read; none for a file that is not regular
    std::optional<LookupFile> lookup =
        LookupFile::Open(request.lookupFile, {request.encoding, request.allowEmpty}, &sysErrno);
    TransferOutcome& outcome = run.outcome;
    if (!lookup) {
        const bool notRegular = !sysErrno;
        outcome.failure = LinkFailure::CannotOpenFile;
        outcome.reason = notRegular       ? "not a regular file"
                         : *sysErrno != 0 ? std::strerror(*sysErrno)
                                          : "read error";
        Notice notice{notRegular ? NoticeKind::NotRegularFile : NoticeKind::CannotOpenFile};
        notice.path = request.lookupFile;
        if (!notRegular) notice.reason = outcome.reason;
        run.Tell(notice);
        return std::nullopt;
    }
    if (const std::optional<LookupRefusal>& refused = lookup->refusal()) {
        // Nothing is sent of a file the terminal cannot take whole.
        outcome.failure = refused->problem == LookupProblem::RecordTooLong
                              ? LinkFailure::LookupRecordTooLong
                              : LinkFailure::LookupNotConvertible;
        Notice notice{NoticeKind::LookupRefused};
        notice.path = request.lookupFile;
        notice.problem = LookupProblemCode(refused->problem);
        notice.line = refused->line;
        notice.column = refused->column;
        notice.character = refused->character;
        run.Tell(notice);
        return std::nullopt;
    }
    return lookup;
}

bool Stopped(const StopFlag* stop) {
    return stop && stop->load();
}

}  // namespace

bool TerminalLink::TryAgain(const DownloadRequest& request, unsigned& retriesLeft, TransferRun& run) {
    if (!request.retries) {
        const Notice* ending = run.outcome.Ending();
        return request.askRetry && request.askRetry(ending ? *ending : Notice(NoticeKind::PacketRefused));
    }
    // The question the request already answered is told with its answer.
    Notice answered{NoticeKind::RetryAnswered};
    answered.count = retriesLeft > 0 ? 1 : 0;
    run.Tell(answered);
    if (retriesLeft == 0) return false;
    --retriesLeft;
    return true;
}

void TerminalLink::RunDownload(const DownloadRequest& request, TransferRun& run) {
    TransferOutcome& outcome = run.outcome;
    if (!PortSettingsValid(run)) return;
    std::optional<LookupFile> lookup;
    if (request.payload == Payload::Lookup) {
        lookupFileName_ = request.lookupFile;
        lookup = OpenLookup(request, run);
        if (!lookup) return;
    }
    PortSession port(lineSettings_, lines_, clock_, run, run.progress, request.stop);
    if (!OpenDownloadPort(port, request.transport, run)) return;
    Downloader downloader(port);
    unsigned retriesLeft = request.retries.value_or(0);
    for (;;) {
        ++outcome.attempts;
        const bool ok = request.payload == Payload::Lookup
                            ? downloader.SendLookup(*lookup, request.lookupNumber)
                            : downloader.SendProgram(imageBuilder_, tmpl_);
        // Lines sent twice are named whether or not the attempt got through.
        outcome.duplicateLines = downloader.maybeDuplicated();
        if (ok) {
            outcome.failure = LinkFailure::None;
            break;
        }
        outcome.failure = LinkFailure::TransferFailed;
        outcome.unanswered = downloader.unanswered();
        if (Stopped(request.stop)) {
            port.Tell({NoticeKind::DownloadCancelled});
            outcome.failure = LinkFailure::Cancelled;
            break;
        }
        if (port.HungUp()) {
            // Another attempt on a device that is gone could only fail again.
            port.Tell({NoticeKind::LineLost});
            outcome.failure = LinkFailure::LineLost;
            break;
        }
        if (!TryAgain(request, retriesLeft, run)) break;
    }
    port.Close(true);
    if (!outcome.duplicateLines.empty()) {
        // The records arrived, but the protocol cannot tell whether one of them arrived twice.
        Notice notice{NoticeKind::MaybeDuplicated};
        notice.path = request.lookupFile;
        notice.lines = outcome.duplicateLines;
        port.Tell(notice);
        if (outcome.failure == LinkFailure::None) outcome.failure = LinkFailure::MaybeDuplicated;
    }
}

void TerminalLink::RunReceive(const ReceiveRequest& request, TransferRun& run) {
    TransferOutcome& outcome = run.outcome;
    if (!PortSettingsValid(run)) return;
    outcome.dataFile = request.dataFile;
    // Records a killed receive left behind are the user's to collect: they are named, never overwritten.
    for (const RecordFile::Leftover& left : RecordFile::Leftovers(request.dataFile)) {
        Notice notice{NoticeKind::LeftoverPartialFile};
        notice.path = left.path;
        notice.count = left.records;
        run.Tell(notice);
    }
    int error = 0;
    std::optional<RecordFile> file;
    auto make = [&](int* why) {
        if (std::optional<RecordFile> made = RecordFile::Create(request.dataFile, why))
            file.emplace(std::move(*made));
        return file.has_value();
    };
    // A caller told of the answer gets its file only then; others learn at once that none can be made.
    if (!request.answered && !make(&error)) {
        TellCannotCreate(request, error, run);
        return;
    }
    PortSession port(lineSettings_, lines_, clock_, run, run.progress, request.stop, request.waitSliceMs);
    if (!OpenReceivePort(port, request.transport, run)) return;
    Receiver receiver(port);
    const Receiver::Result result = receiver.Run([&](Receiver::Result& r) -> RecordFile* {
        if (!file && !make(&r.fileError)) return nullptr;
        if (request.answered && !request.answered(file->temporaryPath())) return nullptr;
        return &*file;
    });
    port.Close(false);
    if (result.end == Receiver::End::FileOpen) {
        TellCannotCreate(request, result.fileError, run);
        return;
    }
    outcome.recordsStored = result.stored;
    // Records the terminal was told are stored are its to forget: they stay, whatever happened next.
    if (result.stored > 0) {
        if (!file->Commit(request.replace, &error)) {
            outcome.failure = LinkFailure::FileWrite;
            outcome.reason = std::strerror(error);
            // Still in the partial file, or under their name when only a later step failed.
            outcome.dataFile = file->temporaryPath().empty() ? file->finalPath() : file->temporaryPath();
            Notice notice{NoticeKind::DataFileCommitFailed};
            notice.path = outcome.dataFile;
            notice.reason = outcome.reason;
            port.Tell(notice);
            return;
        }
        outcome.dataFile = file->finalPath();
        outcome.fileKept = true;
    }
    file.reset();
    TellReceiveEnd(result, port, run);
}

void TerminalLink::TellCannotCreate(const ReceiveRequest& request, int error, TransferRun& run) {
    run.outcome.failure = LinkFailure::CannotOpenFile;
    run.outcome.reason = std::strerror(error);
    Notice notice{NoticeKind::CannotCreateFile};
    notice.path = request.dataFile;
    notice.reason = run.outcome.reason;
    run.Tell(notice);
}

void TerminalLink::TellReceiveEnd(const Receiver::Result& result, PortSession& port, TransferRun& run) {
    TransferOutcome& outcome = run.outcome;
    Notice counted;
    counted.count = result.stored;
    switch (result.end) {
        case Receiver::End::FileOpen:
            return;  // told by the caller
        case Receiver::End::Over:
            if (result.stored == 0) port.Tell({NoticeKind::NothingReceived});
            return;
        case Receiver::End::NotReady:
            outcome.failure = LinkFailure::NotReady;
            port.Tell({NoticeKind::NothingReceived});
            return;
        case Receiver::End::FileWrite:
            outcome.failure = LinkFailure::FileWrite;
            outcome.reason = std::strerror(result.fileError);
            counted.kind = NoticeKind::DataFileWriteFailed;
            counted.path = outcome.dataFile;
            counted.reason = outcome.reason;
            port.Tell(counted);
            return;
        case Receiver::End::Stopped:
            outcome.failure = LinkFailure::Cancelled;
            counted.kind = NoticeKind::ReceiveStopped;
            port.Tell(counted);
            return;
        case Receiver::End::LineLost:
        case Receiver::End::TimedOut:
        case Receiver::End::TooManyRefusals:
            if (result.end == Receiver::End::LineLost) port.Tell({NoticeKind::LineLost});
            outcome.failure = result.end == Receiver::End::LineLost   ? LinkFailure::LineLost
                              : result.end == Receiver::End::TimedOut ? LinkFailure::TimedOut
                                                                      : LinkFailure::TooManyRefusals;
            outcome.lastMayComeAgain = result.stored > 0;
            counted.kind = NoticeKind::ReceiveInterrupted;
            if (result.stored > 0) port.Tell(counted);
            return;
    }
}

}  // namespace k52

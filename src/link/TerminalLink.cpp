// The transfer requests from their checks to closing the port, and what the user is told at the end.
#include "link/TerminalLink.h"

#include <cstring>
#include <optional>

#include "link/Download.h"
#include "link/LinkTexts.h"
#include "link/LookupFile.h"
#include "link/PortSession.h"
#include "link/Receive.h"
#include "link/RecordFile.h"

namespace k52 {

namespace {
using namespace link_text;
}  // namespace

// One transfer's observer as the engine sees it: everything goes on to the front end's observer, and
// what a caller reports afterwards (the last message, the counts) is kept for the outcome.
class TransferRun : public TransferObserver {
  public:
    TransferRun(TransferObserver& inner, Clock& clock)
        : inner_(inner), clock_(clock), start_(clock.NowMs()) {}

    MessageAnswer ShowMessage(std::string_view text, std::string_view title, MessageIcon icon,
                              MessageButtons buttons) override {
        outcome.lastMessage = {std::string(text), std::string(title), {}};
        return inner_.ShowMessage(text, title, icon, buttons);
    }
    MessageAnswer ShowDetailedMessage(std::string_view text, std::string_view title, MessageIcon icon,
                                      MessageButtons buttons, std::string_view detail) override {
        outcome.lastMessage = {std::string(text), std::string(title), std::string(detail)};
        return inner_.ShowDetailedMessage(text, title, icon, buttons, detail);
    }
    // The outcome names what went wrong, not the question that follows it.
    MessageAnswer AskRetry(std::string_view text, std::string_view title) override {
        return inner_.AskRetry(text, title);
    }
    void BeginProgress(std::string_view title, std::string_view text) override {
        inner_.BeginProgress(title, text);
    }
    void SetProgress(int percent) override { inner_.SetProgress(percent); }
    void EndProgress() override { inner_.EndProgress(); }
    void BeginReceiveStatus() override { inner_.BeginReceiveStatus(); }
    void UpdateReceiveStatus(int count) override { inner_.UpdateReceiveStatus(count); }
    void EndReceiveStatus() override { inner_.EndReceiveStatus(); }
    void Idle() override { inner_.Idle(); }
    void OnProgress(const TransferProgress& p) override {
        if (p.phase == TransferPhase::SendingPacket) outcome.packets = p.done;
        if (p.phase == TransferPhase::SendingRecord) outcome.recordsSent = p.done;
        inner_.OnProgress(p);
    }

    // A question the request already answered: shown as said, not kept as the outcome's message.
    void Note(std::string_view text, std::string_view title) {
        inner_.ShowMessage(text, title, MessageIcon::Question, MessageButtons::Ok);
    }
    void Tell(const std::string& text, const char* title, MessageIcon icon) {
        ShowMessage(text, title, icon, MessageButtons::Ok);
    }
    // The outcome as it stands, with the bytes moved and the time taken; the end is reported too.
    TransferOutcome Finish() {
        outcome.bytesSent = progress.bytesSent;
        outcome.bytesReceived = progress.bytesReceived;
        outcome.seconds = static_cast<double>(clock_.NowMs() - start_) / 1000.0;
        progress.phase = outcome.Succeeded() ? TransferPhase::Done : TransferPhase::Failed;
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

std::optional<std::string> TerminalLink::PortSettingsProblem() const {
    const PortSettings& p = tmpl_.portSettings;
    if (p.comPort < kComPortCount && p.baudRate < kBaudRateCount) return std::nullopt;
    // With a device named for every port (k52cli --device) the port number means nothing.
    if (lines_.FixedDevice() && p.baudRate < kBaudRateCount) return std::nullopt;
    return BadPortSettings(p.comPort, p.baudRate);
}

bool TerminalLink::PortSettingsValid(TransferRun& run) {
    const std::optional<std::string> problem = PortSettingsProblem();
    if (!problem) return true;
    run.Tell(*problem, kErrorTitle, MessageIcon::Exclamation);
    run.outcome.failure = LinkFailure::BadPortSettings;
    return false;
}

bool TerminalLink::OpenDownloadPort(PortSession& port, Transport transport, TransferRun& run) {
    if (!port.Open(tmpl_.portSettings.comPort)) {
        run.ShowDetailedMessage(kPortOpenFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok,
                                port.openFailure());
        run.outcome.failure = LinkFailure::PortOpen;
        return false;
    }
    // The driver's queue sizes are the host's business here.
    port.UseTerminalLine(tmpl_.portSettings.baudRate);
    if (transport == Transport::Cradle && !port.PrepareCradle(tmpl_.portSettings.baudRate)) {
        run.Tell(kIrSetupFailed, kErrorTitle, MessageIcon::Exclamation);
        port.Close(false);
        run.outcome.failure = LinkFailure::IrPreparation;
        return false;
    }
    if (!port.Apply()) {
        run.Tell(kPortSetupFailed, kErrorTitle, MessageIcon::Exclamation);
        port.Close(false);
        run.outcome.failure = LinkFailure::LineSettings;
        return false;
    }
    return true;
}

bool TerminalLink::OpenReceivePort(PortSession& port, Transport transport, TransferRun& run) {
    if (!port.Open(tmpl_.portSettings.comPort)) {
        run.ShowDetailedMessage(kReceivePortOpenFailed, kErrorTitle, MessageIcon::None, MessageButtons::Ok,
                                port.openFailure());
        run.outcome.failure = LinkFailure::PortOpen;
        return false;
    }
    if (transport == Transport::Cradle && !port.PrepareCradle(tmpl_.portSettings.baudRate)) {
        port.Close(false);
        run.Tell(kReceiveIrSetupFailed, kErrorTitle, MessageIcon::Exclamation);
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
    LookupFile::OpenError error = LookupFile::OpenError::None;
    int sysErrno = 0;
    std::optional<LookupFile> lookup =
        LookupFile::Open(request.lookupFile, {request.encoding, request.allowEmpty}, &error, &sysErrno);
    TransferOutcome& outcome = run.outcome;
    if (!lookup) {
        const bool notRegular = error == LookupFile::OpenError::NotRegular;
        run.Tell(notRegular ? LookupNotRegular() : std::string(kCannotOpenFile), kErrorTitle,
                 MessageIcon::Exclamation);
        outcome.failure = LinkFailure::CannotOpenFile;
        outcome.reason = notRegular      ? "not a regular file"
                         : sysErrno != 0 ? std::strerror(sysErrno)
                                         : "read error";
        return std::nullopt;
    }
    if (const std::optional<LookupRefusal>& refused = lookup->refusal()) {
        // Nothing is sent of a file the terminal cannot take whole.
        run.Tell(refused->message, kErrorTitle, MessageIcon::Exclamation);
        outcome.failure = refused->problem == LookupProblem::RecordTooLong
                              ? LinkFailure::LookupRecordTooLong
                              : LinkFailure::LookupNotConvertible;
        return std::nullopt;
    }
    return lookup;
}

bool Stopped(const StopFlag* stop) {
    return stop && stop->load();
}

}  // namespace

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
    Downloader downloader(port, run);
    unsigned retriesLeft = request.retries.value_or(0);
    for (;;) {
        ++outcome.attempts;
        const bool ok = request.payload == Payload::Lookup ? downloader.SendLookup(*lookup)
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
            run.Tell(kDownloadCancelled, kErrorTitle, MessageIcon::Exclamation);
            outcome.failure = LinkFailure::Cancelled;
            break;
        }
        if (port.HungUp()) {
            // Another attempt on a device that is gone could only fail again.
            run.Tell(kLineLost, kErrorTitle, MessageIcon::Exclamation);
            outcome.failure = LinkFailure::LineLost;
            break;
        }
        if (request.retries) {
            run.Note(kRetryQuestion, kErrorTitle);
            if (retriesLeft == 0) break;
            --retriesLeft;
        } else if (run.AskRetry(kRetryQuestion, kErrorTitle) != MessageAnswer::Yes) {
            break;
        }
    }
    port.Close(true);
    if (!outcome.duplicateLines.empty()) {
        // The records arrived, but the protocol cannot tell whether one of them arrived twice.
        run.Tell(LookupMayBeDuplicated(outcome.duplicateLines), kErrorTitle, MessageIcon::Exclamation);
        if (outcome.failure == LinkFailure::None) outcome.failure = LinkFailure::MaybeDuplicated;
    }
}

void TerminalLink::RunReceive(const ReceiveRequest& request, TransferRun& run) {
    TransferOutcome& outcome = run.outcome;
    if (!PortSettingsValid(run)) return;
    outcome.dataFile = request.dataFile;
    // Records a killed receive left behind are the user's to collect: they are named, never overwritten.
    for (const RecordFile::Leftover& left : RecordFile::Leftovers(request.dataFile))
        run.Tell(LeftoverPartialFile(left.path, left.records), kReceiveTitle, MessageIcon::Information);
    int error = 0;
    std::optional<RecordFile> file = RecordFile::Create(request.dataFile, &error);
    if (!file) {
        run.Tell(kCreateFileFailed, kErrorTitle, MessageIcon::None);
        outcome.failure = LinkFailure::CannotOpenFile;
        outcome.reason = std::strerror(error);
        return;
    }
    PortSession port(lineSettings_, lines_, clock_, run, run.progress, request.stop);
    if (!OpenReceivePort(port, request.transport, run)) return;
    Receiver receiver(port, run);
    const Receiver::Result result = receiver.Run(*file);
    port.Close(false);
    outcome.recordsStored = result.stored;
    // Records the terminal was told are stored are its to forget: they stay, whatever happened next.
    if (result.stored > 0) {
        if (!file->Commit(request.replace, &error)) {
            outcome.failure = LinkFailure::FileWrite;
            outcome.reason = std::strerror(error);
            outcome.dataFile = file->temporaryPath();
            run.Tell(DataFileWriteFailed(0) + " " + file->temporaryPath(), kErrorTitle,
                     MessageIcon::Exclamation);
            return;
        }
        outcome.dataFile = file->finalPath();
        outcome.fileKept = true;
    }
    file.reset();
    TellReceiveEnd(result, run);
}

void TerminalLink::TellReceiveEnd(const Receiver::Result& result, TransferRun& run) {
    TransferOutcome& outcome = run.outcome;
    switch (result.end) {
        case Receiver::End::Over:
            if (result.stored == 0) run.Tell(kNothingReceived, kReceiveTitle, MessageIcon::None);
            return;
        case Receiver::End::NotReady:
            outcome.failure = LinkFailure::NotReady;
            run.Tell(kNothingReceived, kReceiveTitle, MessageIcon::None);
            return;
        case Receiver::End::FileWrite:
            outcome.failure = LinkFailure::FileWrite;
            outcome.reason = std::strerror(result.fileError);
            run.Tell(DataFileWriteFailed(result.stored), kErrorTitle, MessageIcon::Exclamation);
            return;
        case Receiver::End::Stopped:
            outcome.failure = LinkFailure::Cancelled;
            run.Tell(ReceiveInterrupted(result.stored, false), kReceiveTitle, MessageIcon::Exclamation);
            return;
        case Receiver::End::LineLost:
        case Receiver::End::TimedOut:
        case Receiver::End::TooManyRefusals:
            if (result.end == Receiver::End::LineLost)
                run.Tell(kLineLost, kErrorTitle, MessageIcon::Exclamation);
            outcome.failure = result.end == Receiver::End::LineLost   ? LinkFailure::LineLost
                              : result.end == Receiver::End::TimedOut ? LinkFailure::TimedOut
                                                                      : LinkFailure::TooManyRefusals;
            outcome.lastMayComeAgain = result.stored > 0;
            if (result.stored > 0)
                run.Tell(ReceiveInterrupted(result.stored, true), kReceiveTitle, MessageIcon::Exclamation);
            return;
    }
}

}  // namespace k52

// The transfer commands from file choice to closing the port, and what the user is told at the end.
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

TerminalLink::TerminalLink(ApplicationTemplate& tmpl, LineFactory& lines, Clock& clock, TransferUi& ui)
    : tmpl_(tmpl), lines_(lines), clock_(clock), ui_(ui) {}

void TerminalLink::Tell(const std::string& text, const char* title, MessageIcon icon) {
    ui_.ShowMessage(text, title, icon, MessageButtons::Ok);
}

bool TerminalLink::PortSettingsValid(TransferOutcome& outcome) {
    const PortSettings& p = tmpl_.portSettings;
    if (p.comPort < kComPortCount && p.baudRate < kBaudRateCount) return true;
    // With a device named for every port (k52cli --device) the port number means nothing.
    if (lines_.FixedDevice() && p.baudRate < kBaudRateCount) return true;
    Tell(BadPortSettings(p.comPort, p.baudRate), kErrorTitle, MessageIcon::Exclamation);
    outcome.failure = LinkFailure::BadPortSettings;
    return false;
}

bool TerminalLink::OpenDownloadPort(PortSession& port, Transport transport, TransferOutcome& outcome) {
    if (!port.Open(tmpl_.portSettings.comPort)) {
        ui_.ShowDetailedMessage(kPortOpenFailed, kErrorTitle, MessageIcon::Exclamation, MessageButtons::Ok,
                                port.openFailure());
        outcome.failure = LinkFailure::PortOpen;
        return false;
    }
    // The driver's queue sizes are the host's business here.
    port.UseTerminalLine(tmpl_.portSettings.baudRate);
    if (transport == Transport::Cradle && !port.PrepareCradle(tmpl_.portSettings.baudRate)) {
        Tell(kIrSetupFailed, kErrorTitle, MessageIcon::Exclamation);
        port.Close(false);
        outcome.failure = LinkFailure::IrPreparation;
        return false;
    }
    if (!port.Apply()) {
        Tell(kPortSetupFailed, kErrorTitle, MessageIcon::Exclamation);
        port.Close(false);
        outcome.failure = LinkFailure::LineSettings;
        return false;
    }
    return true;
}

bool TerminalLink::OpenReceivePort(PortSession& port, Transport transport, TransferOutcome& outcome) {
    if (!port.Open(tmpl_.portSettings.comPort)) {
        ui_.ShowDetailedMessage(kReceivePortOpenFailed, kErrorTitle, MessageIcon::None, MessageButtons::Ok,
                                port.openFailure());
        outcome.failure = LinkFailure::PortOpen;
        return false;
    }
    if (transport == Transport::Cradle && !port.PrepareCradle(tmpl_.portSettings.baudRate)) {
        port.Close(false);
        Tell(kReceiveIrSetupFailed, kErrorTitle, MessageIcon::Exclamation);
        outcome.failure = LinkFailure::IrPreparation;
        return false;
    }
    port.UseTerminalLine(tmpl_.portSettings.baudRate);
    if (!port.Apply()) {
        port.Close(false);
        outcome.failure = LinkFailure::LineSettings;
        return false;
    }
    return true;
}

void TerminalLink::ReportEnd(const TransferOutcome& outcome) {
    progress_.phase = outcome.Succeeded() ? TransferPhase::Done : TransferPhase::Failed;
    ui_.OnProgress(progress_);
}

TransferOutcome TerminalLink::RunDownload(Transport transport, Payload payload) {
    progress_ = {};
    TransferOutcome outcome = Download(transport, payload);
    ReportEnd(outcome);
    return outcome;
}

TransferOutcome TerminalLink::RunReceive(Transport transport) {
    progress_ = {};
    TransferOutcome outcome = Receive(transport);
    ReportEnd(outcome);
    return outcome;
}

TransferOutcome TerminalLink::Download(Transport transport, Payload payload) {
    TransferOutcome outcome;
    if (!PortSettingsValid(outcome)) return outcome;
    std::optional<LookupFile> lookup;
    if (payload == Payload::Lookup) {
        std::optional<std::string> path = ui_.ChooseLookupFile(lookupFileName_);
        if (!path) {
            outcome.failure = LinkFailure::Cancelled;
            return outcome;
        }
        lookupFileName_ = *path;
        LookupFile::OpenError error = LookupFile::OpenError::None;
        int sysErrno = 0;
        lookup = LookupFile::Open(lookupFileName_, lookupEncoding_, &error, &sysErrno);
        if (!lookup) {
            Tell(error == LookupFile::OpenError::NotRegular ? LookupNotRegular()
                                                            : std::string(kCannotOpenFile),
                 kErrorTitle, MessageIcon::Exclamation);
            outcome.failure = LinkFailure::CannotOpenFile;
            outcome.reason = error == LookupFile::OpenError::NotRegular ? "not a regular file"
                             : sysErrno != 0                            ? std::strerror(sysErrno)
                                                                        : "read error";
            return outcome;
        }
        if (const std::optional<LookupRefusal>& refused = lookup->refusal()) {
            // Nothing is sent of a file the terminal cannot take whole.
            Tell(refused->message, kErrorTitle, MessageIcon::Exclamation);
            outcome.failure = refused->problem == LookupProblem::RecordTooLong
                                  ? LinkFailure::LookupRecordTooLong
                                  : LinkFailure::LookupNotConvertible;
            return outcome;
        }
    }
    PortSession port(lineSettings_, lines_, clock_, ui_, progress_);
    if (!OpenDownloadPort(port, transport, outcome)) return outcome;
    Downloader downloader(port, ui_);
    for (;;) {
        ++outcome.attempts;
        const bool ok = payload == Payload::Lookup ? downloader.SendLookup(*lookup)
                                                   : downloader.SendProgram(imageBuilder_, tmpl_);
        if (ok) {
            outcome.failure = LinkFailure::None;
            outcome.duplicateLines = downloader.maybeDuplicated();
            break;
        }
        outcome.failure = LinkFailure::TransferFailed;
        outcome.unanswered = downloader.unanswered();
        if (port.HungUp()) {
            // Another attempt on a device that is gone could only fail again.
            Tell(kLineLost, kErrorTitle, MessageIcon::Exclamation);
            outcome.failure = LinkFailure::LineLost;
            break;
        }
        if (ui_.AskRetry(kRetryQuestion, kErrorTitle) != MessageAnswer::Yes) break;
    }
    port.Close(true);
    if (!outcome.duplicateLines.empty()) {
        // The records arrived, but the protocol cannot tell whether one of them arrived twice.
        Tell(LookupMayBeDuplicated(outcome.duplicateLines), kErrorTitle, MessageIcon::Exclamation);
        outcome.failure = LinkFailure::MaybeDuplicated;
    }
    return outcome;
}

TransferOutcome TerminalLink::Receive(Transport transport) {
    TransferOutcome outcome;
    if (!PortSettingsValid(outcome)) return outcome;
    std::optional<std::string> path = ui_.ChooseDataFile();
    if (!path) {
        outcome.failure = LinkFailure::Cancelled;
        return outcome;
    }
    outcome.dataFile = *path;
    int error = 0;
    std::optional<RecordFile> file = RecordFile::Create(*path, &error);
    if (!file) {
        Tell(kCreateFileFailed, kErrorTitle, MessageIcon::None);
        outcome.failure = LinkFailure::CannotOpenFile;
        outcome.reason = std::strerror(error);
        return outcome;
    }
    PortSession port(lineSettings_, lines_, clock_, ui_, progress_);
    if (!OpenReceivePort(port, transport, outcome)) return outcome;
    Receiver receiver(port, ui_);
    const Receiver::Result result = receiver.Run(*file);
    port.Close(false);
    outcome.recordsStored = result.stored;
    // Records the terminal was told are stored are its to forget: they stay, whatever happened next.
    if (result.stored > 0) {
        if (!file->Commit(&error)) {
            outcome.failure = LinkFailure::FileWrite;
            outcome.reason = std::strerror(error);
            Tell(DataFileWriteFailed(0) + " " + file->temporaryPath(), kErrorTitle, MessageIcon::Exclamation);
            return outcome;
        }
        outcome.fileKept = true;
    }
    file.reset();
    switch (result.end) {
        case Receiver::End::Over:
            if (result.stored == 0) {
                Tell(kNothingReceived, kReceiveTitle, MessageIcon::None);
            } else if (ui_.ShowMessage(ReceiveDone(result.stored), kReceiveTitle, MessageIcon::None,
                                       MessageButtons::YesNo) == MessageAnswer::Yes) {
                ui_.OpenForViewing(*path);
            }
            return outcome;
        case Receiver::End::NotReady:
            outcome.failure = LinkFailure::NotReady;
            Tell(kNothingReceived, kReceiveTitle, MessageIcon::None);
            return outcome;
        case Receiver::End::FileWrite:
            outcome.failure = LinkFailure::FileWrite;
            outcome.reason = std::strerror(result.fileError);
            Tell(DataFileWriteFailed(result.stored), kErrorTitle, MessageIcon::Exclamation);
            return outcome;
        case Receiver::End::LineLost:
        case Receiver::End::TimedOut:
        case Receiver::End::TooManyRefusals:
            if (result.end == Receiver::End::LineLost) Tell(kLineLost, kErrorTitle, MessageIcon::Exclamation);
            outcome.failure = result.end == Receiver::End::LineLost   ? LinkFailure::LineLost
                              : result.end == Receiver::End::TimedOut ? LinkFailure::TimedOut
                                                                      : LinkFailure::TooManyRefusals;
            outcome.lastMayComeAgain = result.stored > 0;
            if (result.stored > 0)
                Tell(ReceiveInterrupted(result.stored, true), kReceiveTitle, MessageIcon::Exclamation);
            return outcome;
    }
    return outcome;
}

}  // namespace k52

// The desk's questions before and after a transfer.
#include "app/DeskTransfer.h"

#include "app/LookupFit.h"
#include "app/TransferWording.h"
#include "util/platform/System.h"

namespace k52 {

namespace {

TransferOutcome Ended(LinkFailure failure) {
    TransferOutcome outcome;
    outcome.failure = failure;
    return outcome;
}
}  // namespace

std::optional<TransferOutcome> DeskTransfer::RefusedSettings() {
    const std::optional<Notice> problem = link_.PortSettingsProblem();
    if (!problem) return std::nullopt;
    const NoticeBox box = WordNotice(*problem);
    messages_.ShowMessage(box.text, box.title, box.icon, MessageButtons::Ok);
    TransferOutcome outcome = Ended(LinkFailure::BadPortSettings);
    outcome.notices.push_back(*problem);
    return outcome;
}

std::variant<DownloadRequest, TransferOutcome> DeskTransfer::PrepareDownload(Transport transport,
                                                                             Payload payload) {
    if (std::optional<TransferOutcome> refused = RefusedSettings()) return *refused;
    DownloadRequest request;
    request.transport = transport;
    request.payload = payload;
    if (payload == Payload::Lookup) {
        std::optional<std::string> path = choices_.ChooseLookupFile(link_.lookupFileName());
        if (!path) return Ended(LinkFailure::Cancelled);
        request.lookupFile = *path;
        if (!LookupFitsOrConfirmed(*path, request.encoding, request.lookupNumber))
            return Ended(LinkFailure::Cancelled);
    }
    return request;
}

bool DeskTransfer::LookupFitsOrConfirmed(const std::string& path, LookupEncoding encoding, int& number) {
    const std::vector<int> defined = DefinedLookupFiles(link_.tmpl());
    number = 0;
    if (defined.empty()) return true;
    if (defined.size() == 1) {
        number = defined.front();
    } else {
        const std::optional<int> chosen = choices_.ChooseLookupNumber(defined, link_.tmpl());
        if (!chosen) return false;
        number = *chosen;
    }
    // A file that cannot be read, or that the download refuses on its own, is left to say so there.
    const std::optional<LookupFit> fit = FitLookupFile(path, link_.tmpl(), number, {encoding, false});
    if (!fit || fit->fits()) return true;
    const NoticeBox box =
        LookupMisfitQuestion(number, link_.tmpl().lookupFile(number).recordLength, fit->mismatches,
                             LookupFillsLine(path, link_.tmpl(), number, *fit));
    return messages_.ShowDetailedMessage(box.text, box.title, box.icon, MessageButtons::YesNo, box.detail) ==
           MessageAnswer::Yes;
}

std::variant<ReceiveRequest, TransferOutcome> DeskTransfer::PrepareReceive(Transport transport) {
    if (std::optional<TransferOutcome> refused = RefusedSettings()) return *refused;
    std::optional<std::string> path = choices_.ChooseDataFile();
    if (!path) return Ended(LinkFailure::Cancelled);
    ReceiveRequest request;
    request.transport = transport;
    request.dataFile = *path;
    // The dialog asked about a file that stood there; one that appears meanwhile is not replaced.
    request.replace = platform::KindOf(*path) != platform::PathKind::Missing;
    return request;
}

bool DeskTransfer::AskRetry(const Notice& failed) {
    const NoticeBox box = RetryQuestion(failed);
    return messages_.ShowDetailedMessage(box.text, box.title, box.icon, MessageButtons::YesNo, box.detail) ==
           MessageAnswer::Yes;
}

void DeskTransfer::FinishReceive(const TransferOutcome& outcome) {
    if (!outcome.Succeeded() || !outcome.fileKept || outcome.recordsStored == 0) return;
    const NoticeBox box = ReceiveDoneQuestion(outcome.recordsStored, outcome.dataFile);
    if (messages_.ShowDetailedMessage(box.text, box.title, box.icon, MessageButtons::YesNo, box.detail) ==
        MessageAnswer::Yes)
        choices_.OpenForViewing(outcome.dataFile);
}

TransferOutcome DeskTransfer::RunDownload(Transport transport, Payload payload, TransferObserver& observer) {
    auto prepared = PrepareDownload(transport, payload);
    if (auto* ended = std::get_if<TransferOutcome>(&prepared)) return *ended;
    DownloadRequest& request = std::get<DownloadRequest>(prepared);
    request.askRetry = [this](const Notice& failed) { return AskRetry(failed); };
    return link_.Download(request, observer);
}

TransferOutcome DeskTransfer::RunReceive(Transport transport, TransferObserver& observer) {
    auto prepared = PrepareReceive(transport);
    if (auto* ended = std::get_if<TransferOutcome>(&prepared)) return *ended;
    const TransferOutcome outcome = link_.Receive(std::get<ReceiveRequest>(prepared), observer);
    FinishReceive(outcome);
    return outcome;
}

}  // namespace k52

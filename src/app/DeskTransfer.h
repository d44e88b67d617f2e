// The desktop's transfer commands around the engine, without windows: what is settled with the person
// before a transfer starts (damaged port settings, the file to send or to write) and asked after it
// (view the records now?). The transfer itself runs wherever the front end likes, as a request.
#pragma once

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/UserInterface.h"
#include "transfer/TerminalLink.h"

namespace k52 {

// The file dialogs of the transfer commands and the viewer for received records.
class TransferChoices {
  public:
    virtual ~TransferChoices() = default;
    // The open dialog for a lookup data file, starting from `previous`; empty when cancelled.
    virtual std::optional<std::string> ChooseLookupFile(const std::string& previous) = 0;
    // Which of the template's defined lookup files (`defined`, never empty) the chosen data fills, for the
    // layout check; empty when cancelled. Asked only when there is more than one.
    virtual std::optional<int> ChooseLookupNumber(const std::vector<int>& defined,
                                                  const ApplicationTemplate& /*tmpl*/) {
        return defined.front();
    }
    // The save dialog for the received data (it asks before overwriting); empty when cancelled.
    virtual std::optional<std::string> ChooseDataFile() = 0;
    // Shows the received data file without waiting for it to be closed; the records are CP950, which
    // the host's own text viewers do not read. The path never goes into a command line.
    virtual void OpenForViewing(const std::string& path) = 0;
};

class DeskTransfer {
  public:
    DeskTransfer(TerminalLink& link, MessageBoxes& messages, TransferChoices& choices)
        : link_(link), messages_(messages), choices_(choices) {}

    // The request to run, or how the command ended before a transfer began (settings refused, file
    // dialog cancelled).
    std::variant<DownloadRequest, TransferOutcome> PrepareDownload(Transport transport, Payload payload);
    std::variant<ReceiveRequest, TransferOutcome> PrepareReceive(Transport transport);
    // What follows a receive on the desk: the count, and the records shown when the person wants them.
    void FinishReceive(const TransferOutcome& outcome);
    // The question between download attempts, on the desk, after the notice the attempt ended with:
    // true starts another.
    bool AskRetry(const Notice& failed);

    // The whole command on the calling thread, for front ends without a worker.
    TransferOutcome RunDownload(Transport transport, Payload payload, TransferObserver& observer);
    TransferOutcome RunReceive(Transport transport, TransferObserver& observer);

  private:
    std::optional<TransferOutcome> RefusedSettings();
    // The chosen data held against the lookup file it fills: false when it does not fit and the person
    // would not send it anyway, or would not say which file it fills; 0 in `number` when the template
    // defines none.
    bool LookupFitsOrConfirmed(const std::string& path, LookupEncoding encoding, int& number);

    TerminalLink& link_;
    MessageBoxes& messages_;
    TransferChoices& choices_;
};

}  // namespace k52

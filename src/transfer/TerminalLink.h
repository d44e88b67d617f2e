// The three transfers (program download, lookup download, receive) as requests decided before they
// start, and the link's process-wide state: the line settings, the download image, the last lookup file.
// The desktop program keeps one TerminalLink for its whole run; k52cli one per terminal.
#pragma once

#include <optional>
#include <string>

#include "line/Clock.h"
#include "line/SerialLine.h"
#include "protocol/DownloadImage.h"
#include "template/Template.h"
#include "transfer/Receive.h"
#include "transfer/TransferObserver.h"
#include "transfer/TransferOutcome.h"
#include "transfer/TransferRequest.h"

namespace k52 {

class PortSession;
class TransferRun;

class TerminalLink {
  public:
    TerminalLink(ApplicationTemplate& tmpl, LineFactory& lines, Clock& clock);
    TerminalLink(const TerminalLink&) = delete;
    TerminalLink& operator=(const TerminalLink&) = delete;

    // The notice every transfer ends with at once while the template's port settings are damaged, so
    // that a front end can say it before asking for files; none when they are usable.
    std::optional<Notice> PortSettingsProblem() const;

    TransferOutcome Download(const DownloadRequest& request, TransferObserver& observer);
    TransferOutcome Receive(const ReceiveRequest& request, TransferObserver& observer);

    LineSettings& lineSettings() { return lineSettings_; }
    const DownloadImageBuilder& imageBuilder() const { return imageBuilder_; }
    // The lookup file of the last lookup download, where the next one's file dialog starts.
    const std::string& lookupFileName() const { return lookupFileName_; }
    const ApplicationTemplate& tmpl() const { return tmpl_; }

  private:
    void RunDownload(const DownloadRequest& request, TransferRun& run);
    void RunReceive(const ReceiveRequest& request, TransferRun& run);
    bool PortSettingsValid(TransferRun& run);
    bool OpenPort(PortSession& port, TransferRun& run, NoticeKind failed);
    bool OpenDownloadPort(PortSession& port, Transport transport, TransferRun& run);
    bool OpenReceivePort(PortSession& port, Transport transport, TransferRun& run);
    // Whether a failed attempt is followed by another: the request's retries, or its question.
    static bool TryAgain(const DownloadRequest& request, unsigned& retriesLeft, TransferRun& run);
    // What the observer is told, and how the outcome reads, once the record phase has ended.
    static void TellReceiveEnd(const Receiver::Result& result, PortSession& port, TransferRun& run);
    static void TellCannotCreate(const ReceiveRequest& request, int error, TransferRun& run);

    ApplicationTemplate& tmpl_;
    LineFactory& lines_;
    Clock& clock_;

    LineSettings lineSettings_{};
    DownloadImageBuilder imageBuilder_;
    std::string lookupFileName_;
};

}  // namespace k52

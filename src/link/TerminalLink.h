// The three transfer commands (program download, lookup download, receive) as the desktop program and
// k52cli start them, and the link's process-wide state: the line settings, the download image, the
// lookup file name. The desktop program keeps one TerminalLink for its whole run.
#pragma once

#include <string>

#include "link/Clock.h"
#include "link/LookupData.h"
#include "link/SerialLine.h"
#include "link/TransferOutcome.h"
#include "link/TransferUi.h"
#include "protocol/DownloadImage.h"
#include "template/Template.h"

namespace k52 {

class PortSession;

class TerminalLink {
  public:
    TerminalLink(ApplicationTemplate& tmpl, LineFactory& lines, Clock& clock, TransferUi& ui);
    TerminalLink(const TerminalLink&) = delete;
    TerminalLink& operator=(const TerminalLink&) = delete;

    TransferOutcome RunDownload(Transport transport, Payload payload);
    TransferOutcome RunReceive(Transport transport);

    LineSettings& lineSettings() { return lineSettings_; }
    const DownloadImageBuilder& imageBuilder() const { return imageBuilder_; }
    const std::string& lookupFileName() const { return lookupFileName_; }
    // How lookup files are read: by their content unless the user says otherwise.
    void setLookupEncoding(LookupEncoding encoding) { lookupEncoding_ = encoding; }

  private:
    TransferOutcome Download(Transport transport, Payload payload);
    TransferOutcome Receive(Transport transport);
    // Tells the user interface how the transfer ended, with what it moved.
    void ReportEnd(const TransferOutcome& outcome);
    bool PortSettingsValid(TransferOutcome& outcome);
    bool OpenDownloadPort(PortSession& port, Transport transport, TransferOutcome& outcome);
    bool OpenReceivePort(PortSession& port, Transport transport, TransferOutcome& outcome);
    void Tell(const std::string& text, const char* title, MessageIcon icon);

    ApplicationTemplate& tmpl_;
    LineFactory& lines_;
    Clock& clock_;
    TransferUi& ui_;

    LineSettings lineSettings_{};
    DownloadImageBuilder imageBuilder_;
    std::string lookupFileName_;
    LookupEncoding lookupEncoding_ = LookupEncoding::Auto;
    TransferProgress progress_;  // of the command running now
};

}  // namespace k52

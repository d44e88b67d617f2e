#include "link/TerminalLink.h"

namespace k52 {

TerminalLink::TerminalLink(ApplicationTemplate& tmpl, LineFactory& lines, Clock& clock, TransferUi& ui)
    : tmpl_(tmpl), lines_(lines), clock_(clock), ui_(ui) {}
TerminalLink::~TerminalLink() = default;
int TerminalLink::RunDownload(bool, bool) {
    return -1;
}
int TerminalLink::RunReceive(bool) {
    return -3;
}

}  // namespace k52

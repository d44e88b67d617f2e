// What k52cli's central commands share: the password kept off the command line, and a plain column
// layout for the terminal.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "station/CentralStore.h"
#include "station/Forwarder.h"

namespace k52::cli {

// Why a connection string may not be given on the command line (it carries a password, which every
// user of the machine could read there); "" when it may.
std::string NoPasswordOnCommandLine(const std::string& conninfo);

// What FOLDER's forwarder uses: the store and template given, else those of FOLDER/station.conf (a
// relative template= there is FOLDER's); the template's separators go into `options`. kExitOk, or the
// exit code with the failure said; `url` stays "" when nothing names a store.
int ForwardingOf(const std::string& folder, const std::string& givenUrl, const std::string& givenTemplate,
                 std::string& url, ForwarderOptions& options);

// Columns padded to the widest cell (by display width), right-aligned where `rightAligned` names them.
void PrintColumns(const std::vector<std::string>& header, const std::vector<std::vector<std::string>>& rows,
                  const std::vector<std::size_t>& rightAligned, std::ostream& out);

}  // namespace k52::cli

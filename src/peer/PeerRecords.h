// The collected records a terminal peer is to send, read from a text file.
#pragma once

#include <string>
#include <vector>

#include "template/Template.h"

namespace k52 {

// One record per line, LF or CR LF ended; each at most 251 bytes. On failure `records` is unchanged.
bool LoadPeerRecords(const std::string& path, std::vector<std::vector<u8>>& records, std::string* error);

}  // namespace k52

// Names and texts with any bytes in k52cli's JSON: always valid UTF-8, with the real bytes beside in hex
// when they are not UTF-8, so that output never fails on a name the system allows.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "util/Hex.h"
#include "util/Printable.h"

namespace k52::cli {

// `key` as text, and "`key`_hex" with its bytes when they are not UTF-8.
inline void PutText(nlohmann::ordered_json& j, const std::string& key, const std::string& value) {
    j[key] = value;
    if (!IsUtf8(value)) j[key + "_hex"] = HexDigits(value);
}

// Bytes that are not UTF-8 are replaced in the text (their hex stands beside them), never thrown on.
inline std::string DumpJson(const nlohmann::ordered_json& j, int indent = -1) {
    return j.dump(indent, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

}  // namespace k52::cli

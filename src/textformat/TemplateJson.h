// Writes a template as its text form: JSON that holds every byte, texts readable where that loses nothing.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>

#include "template/Template.h"
#include "textformat/TemplateFields.h"

namespace k52 {

using TemplateJsonValue = nlohmann::ordered_json;

// The whole template: "format", "version", then the blocks.
TemplateJsonValue TemplateToJson(const ApplicationTemplate& t);
// The same, indented, as `k52cli show --json` prints it (UTF-8, no trailing newline).
std::string FormatTemplateJson(const ApplicationTemplate& t);

// One value as the text form writes it: a number, a string, {"hex": "..."} or the barcode hex string.
TemplateJsonValue ValueToJson(const ApplicationTemplate& t, const FieldSpec& field, std::size_t offset);

// A text field as a string when its bytes come back exactly from that string, else {"hex": all bytes}.
TemplateJsonValue TextToJson(const u8* field, std::size_t width);

std::string HexDigits(const u8* bytes, std::size_t n);

}  // namespace k52

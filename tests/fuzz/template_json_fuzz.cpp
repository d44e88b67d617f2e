// Template text from anywhere: import never crashes, and what it accepts prints back to text that
// imports to the same bytes.
#include <cstring>

#include "FuzzInput.h"
#include "textformat/TemplateImport.h"
#include "textformat/TemplateJson.h"

using namespace k52;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const TemplateImport first = ImportTemplateJson(text);
    if (!first.ok()) return 0;
    const TemplateImport again = ImportTemplateJson(FormatTemplateJson(first.tmpl));
    K52_FUZZ_CHECK(again.ok());
    K52_FUZZ_CHECK(std::memcmp(&again.tmpl, &first.tmpl, sizeof first.tmpl) == 0);
    return 0;
}

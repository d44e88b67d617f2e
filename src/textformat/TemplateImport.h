// Builds a template from its text form, checking every key, type, number and text, and listing every fault.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "template/Template.h"

namespace k52 {

struct TemplateImport {
    // The start-up template with every value the text gave; meaningful only when `errors` is empty.
    ApplicationTemplate tmpl{};
    // Each "PATH: VALUE RULE" in the user's language (i18n/Translate.h), for example
    // `menus[2].title: "..." is 23 bytes in CP950, the field holds 21`; nothing but a person reads them.
    std::vector<std::string> errors;
    // Values stored as given that the editor would not offer.
    std::vector<std::string> warnings;

    bool ok() const { return errors.empty(); }
};

// Keys that are absent keep the start-up template's values; arrays shorter than their field fill it
// from the front. Values are stored as given, never normalised.
TemplateImport ImportTemplateJson(std::string_view text);

}  // namespace k52

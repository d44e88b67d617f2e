// The language choice from the locale variables.
#include "i18n/Language.h"

#include <cstdlib>
#include <string_view>

namespace k52 {

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (!value || !*value) continue;
        return std::string_view(value).starts_with("en") ? Language::English : Language::Chinese;
    }
    return Language::Chinese;
}

Language LanguageFromEnvironment() {
    return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

}  // namespace k52

// The language choice from the locale variables (on Windows also the user's locale).
#include "i18n/Language.h"

#include <string>
#include <string_view>

#include "util/platform/System.h"

namespace k52 {

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
    for (const char* value : {lcAll, lcMessages, lang}) {
        if (!value || !*value) continue;
        return std::string_view(value).starts_with("en") ? Language::English : Language::Chinese;
    }
    return Language::Chinese;
}

Language LanguageFromEnvironment() {
    // The first locale variable set decides, as on Linux; Windows falls back to the user's locale.
    const std::string locale = platform::UserLocaleName();
    return LanguageFromLocale(locale.c_str(), nullptr, nullptr);
}

}  // namespace k52

// Which language the programs speak, chosen once from the locale for k52gen and k52cli alike.
#pragma once

namespace k52 {

enum class Language { Chinese, English };

// The first non-empty of LC_ALL, LC_MESSAGES and LANG decides: one starting with "en" is English,
// anything else (zh_TW, C, nothing at all) is the program's own Chinese. Null means unset.
Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);
Language LanguageFromEnvironment();

}  // namespace k52

// The program's texts in the chosen language, for code that cannot use Qt's tr(): the English of its own
// Chinese texts, and the Chinese of the texts written in English (k52cli's lines, the core's explanations).
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "i18n/Language.h"

// Marks a text for translation and stands for the text itself, so constants keep their exact bytes;
// lupdate reads it as QT_TRANSLATE_NOOP. Translate where the text is shown, not where it is defined.
#define K52_TR(context, text) text
// The same for an English-authored text (its Chinese is in translations/k52_zh.ts): codes
// and messages keep their bytes where they are defined and in JSON; Localize them where they are shown.
#define K52_EN(text) text

namespace k52 {

// The process's language; Chinese until a program's main() sets it.
void SetLanguage(Language language);
Language CurrentLanguage();

// The text to show for `source` in the current language: its English when English is chosen and
// translations/k52_en.ts has it, else `source` itself.
std::string_view Translate(std::string_view context, std::string_view source);
// The same for a front end that is handed a finished text without its context.
std::string_view Translate(std::string_view source);
// Like Translate, and a text ending in a number ("表單  3") translates its prefix and keeps the number.
std::string TranslateNumbered(std::string_view context, std::string_view source);

// `pattern` with %1..%9 replaced by `args` in order; other text, and a % without an argument, stay.
std::string Substitute(std::string_view pattern, std::initializer_list<std::string_view> args);

// The text to show for the English `english`: itself when English is chosen, else its Chinese from
// translations/k52_zh.ts (itself when that has none). Texts passed here directly count as marked.
std::string Localize(std::string_view english);
// The same for a pattern, its %1..%9 then filled in from `args`.
std::string Localize(std::string_view pattern, std::initializer_list<std::string_view> args);
// An English text finished elsewhere (a library's message, built from a marked pattern): its Chinese,
// each %n carrying what it matched. The pattern with the most literal text wins; a pattern must hold a
// letter besides its places. The text itself when English is chosen or nothing matches.
// Each %n that is one of the system's common reasons (below) is put in the user's language as well.
std::string LocalizeFinished(std::string_view text);

// The system's words for a failure (strerror's, or "Not a regular file") in the current language for the
// common ones: no such file, permission denied, is a folder, not a folder, exists, no space, read-only
// file system, I/O error, busy, no such device, too many links, name too long. In English the words are
// glibc's on every system; any other reason comes back as it is.
std::string LocalizeReason(std::string_view reason);

}  // namespace k52

// The English of the program's own Chinese texts, for code that cannot use Qt's tr().
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "i18n/Language.h"

// Marks a text for translation and stands for the text itself, so constants keep their exact bytes;
// lupdate reads it as QT_TRANSLATE_NOOP. Translate where the text is shown, not where it is defined.
#define K52_TR(context, text) text

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

}  // namespace k52

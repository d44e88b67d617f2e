// Puts the desktop program in one language: our own texts and Qt's standard buttons and dialogs alike.
#pragma once

#include "i18n/Language.h"

namespace k52 {

// Sets the process's language and installs the matching translators in the running application,
// replacing those of an earlier call. Chinese loads Qt's own Traditional Chinese (its file dialogs and
// standard buttons); English loads our English and leaves Qt as it is.
void InstallTranslations(Language language);

}  // namespace k52

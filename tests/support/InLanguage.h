// A test's code run in one language, the program's own restored afterwards: k52cli's lines are written in
// English and shown in the user's language, and a test reads whichever it is about.
#pragma once

#include "i18n/Translate.h"

namespace k52::test {

class InLanguage {
  public:
    explicit InLanguage(Language language) { SetLanguage(language); }
    ~InLanguage() { SetLanguage(Language::Chinese); }
    InLanguage(const InLanguage&) = delete;
    InLanguage& operator=(const InLanguage&) = delete;
};

}  // namespace k52::test

// k52gen's start on Windows: Qt reads Windows' own fonts there, so there is no configuration to read ahead.
#include "shell/FontConfigPrefetch.h"

namespace k52 {

FontConfigPrefetch::FontConfigPrefetch() = default;

FontConfigPrefetch::~FontConfigPrefetch() = default;

void FontConfigPrefetch::Finish() {}

}  // namespace k52

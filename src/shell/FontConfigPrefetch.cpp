// k52gen's start: fontconfig's configuration and font caches, read beside the connection to the display.
#include "shell/FontConfigPrefetch.h"

#include <fontconfig/fontconfig.h>

namespace k52 {

// Qt's font database reads the same configuration when a font is first used, on the GUI thread; read
// here it is there already (fontconfig keeps one, whoever reads it first). Nothing of Qt is touched
// here: its application object is being built meanwhile.
FontConfigPrefetch::FontConfigPrefetch() : thread_([] { FcInit(); }) {}

FontConfigPrefetch::~FontConfigPrefetch() {
    Finish();
}

void FontConfigPrefetch::Finish() {
    if (thread_.joinable()) thread_.join();
}

}  // namespace k52

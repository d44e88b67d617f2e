// Where the terminal's zoom is remembered between runs: the user's k52gen settings in the XDG config
// folder ($XDG_CONFIG_HOME/k52/k52gen.conf).
#pragma once

class QScreen;

namespace k52 {

// The zoom stored by the last run (snapped to an offered step), or the default for `screen` (nullptr:
// the primary screen) when none is stored.
int RestoredZoom(const QScreen* screen = nullptr);
void RememberZoom(int percent);

}  // namespace k52

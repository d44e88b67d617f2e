// What k52gen remembers between runs, all in one file beside ports.conf: $XDG_CONFIG_HOME/k52/k52gen.conf
// (the zoom, the terminal's place, the Terminals window's folders and cradles).
#pragma once

#include <QSettings>
#include <optional>

class QPoint;
class QScreen;

namespace k52 {

// The settings file; every setting of the desktop program goes through it.
class DeskSettings : public QSettings {
  public:
    DeskSettings();
};

// Settings an earlier k52gen wrote to the toolkit's default place ($XDG_CONFIG_HOME/Unknown
// Organization/k52gen.conf) move into the settings file, without replacing what it holds; the old file
// is removed once they are safely written.
void MoveStraySettings();

// The zoom stored by the last run (snapped to an offered step), or the default for `screen` (nullptr:
// the primary screen) when none is stored.
int RestoredZoom(const QScreen* screen = nullptr);
void RememberZoom(int percent);

// Where the terminal stood when the last run ended; none the first time.
std::optional<QPoint> RestoredPosition();
void RememberPosition(const QPoint& topLeft);

}  // namespace k52

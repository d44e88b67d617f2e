// The zoom in the user's settings file, and the default a screen's height gives.
#include "shell/ZoomSettings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "shell/Zoom.h"

namespace k52 {

namespace {

const char kZoomKey[] = "view/zoom";

// Organisation "k52" puts the file beside ports.conf.
QString Organisation() {
    return QStringLiteral("k52");
}
QString Application() {
    return QStringLiteral("k52gen");
}

}  // namespace

int RestoredZoom(const QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    // Logical pixels: where Qt already scales for a dense screen, our zoom comes on top of that.
    const int fallback = DefaultZoom(screen ? screen->geometry().height() : 0);
    bool ok = false;
    const int stored = QSettings(Organisation(), Application()).value(QLatin1String(kZoomKey)).toInt(&ok);
    return ok ? NearestZoom(stored) : fallback;
}

void RememberZoom(int percent) {
    QSettings settings(Organisation(), Application());
    settings.setValue(QLatin1String(kZoomKey), NearestZoom(percent));
    settings.sync();
}

}  // namespace k52

// The desktop program's settings file, and the zoom and place kept in it.
#include "shell/DeskSettings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPoint>
#include <QScreen>

#include "shell/Zoom.h"

namespace k52 {

namespace {

const char kZoomKey[] = "view/zoom";
const char kPositionKey[] = "view/position";

}  // namespace

// Organisation "k52" puts the file beside ports.conf.
DeskSettings::DeskSettings() : QSettings(QStringLiteral("k52"), QStringLiteral("k52gen")) {}

void MoveStraySettings() {
    QSettings stray(QStringLiteral("Unknown Organization"), QStringLiteral("k52gen"));
    if (!QFileInfo::exists(stray.fileName())) return;
    DeskSettings settings;
    for (const QString& key : stray.allKeys())
        if (!settings.contains(key)) settings.setValue(key, stray.value(key));
    settings.sync();
    if (settings.status() != QSettings::NoError) return;
    const QString file = stray.fileName();
    QFile::remove(file);
    QDir().rmdir(QFileInfo(file).path());  // only when nothing else lives there
}

int RestoredZoom(const QScreen* screen) {
    if (!screen) screen = QGuiApplication::primaryScreen();
    // Logical pixels: where Qt already scales for a dense screen, our zoom comes on top of that.
    const int fallback = DefaultZoom(screen ? screen->geometry().height() : 0);
    bool ok = false;
    const int stored = DeskSettings().value(QLatin1String(kZoomKey)).toInt(&ok);
    return ok ? NearestZoom(stored) : fallback;
}

void RememberZoom(int percent) {
    DeskSettings settings;
    settings.setValue(QLatin1String(kZoomKey), NearestZoom(percent));
    settings.sync();
}

std::optional<QPoint> RestoredPosition() {
    const QVariant stored = DeskSettings().value(QLatin1String(kPositionKey));
    if (!stored.canConvert<QPoint>() || stored.isNull()) return std::nullopt;
    return stored.toPoint();
}

void RememberPosition(const QPoint& topLeft) {
    DeskSettings settings;
    settings.setValue(QLatin1String(kPositionKey), topLeft);
    settings.sync();
}

}  // namespace k52

// What the desktop program's window tests share: the shared message and dialog doubles, and looking
// at pixels and modal windows.
#pragma once

#include <QApplication>
#include <QEventLoop>
#include <QImage>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "app/UserInterface.h"
#include "support/Messages.h"

namespace k52::test {

// Counts the pixels of `color` inside `r` of `image`.
inline int CountPixels(const QImage& image, const QRect& r, QRgb color) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) ++n;
    return n;
}

// True when `r` of `image` shows `picture` pixel for pixel.
inline bool ShowsPicture(const QImage& image, QPoint at, const QImage& picture) {
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if ((image.pixel(at.x() + x, at.y() + y) & 0xFFFFFF) != (picture.pixel(x, y) & 0xFFFFFF))
                return false;
    return true;
}

// Runs `check` on the next modal window that opens, from inside that window's event loop; `check`
// closes it. Gives up after `tries` turns of the event loop.
inline void OnNextModal(std::function<void(QWidget*)> check, int tries = 10000) {
    QMetaObject::invokeMethod(
        qApp,
        [check, tries] {
            if (QWidget* w = QApplication::activeModalWidget())
                check(w);
            else if (tries > 0)
                OnNextModal(check, tries - 1);
        },
        Qt::QueuedConnection);
}

// Runs an event loop, as the program's own does, until `window`'s transfer (and what follows it on the
// desk) has ended; false after a minute without an end.
template <typename Window>
bool WaitForTransfer(Window& window) {
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!window.transferRunning()) loop.quit();
    });
    poll.start(5);
    QTimer::singleShot(60000, &loop, &QEventLoop::quit);
    if (window.transferRunning()) loop.exec();
    return !window.transferRunning();
}

}  // namespace k52::test

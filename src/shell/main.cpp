// k52gen: the desktop program; `k52gen FILE` opens a template as the Open command does.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "shell/DeskSettings.h"
#include "shell/FontConfigPrefetch.h"
#include "shell/HelpWindow.h"
#include "shell/MainWindow.h"
#include "shell/Translations.h"
#include "simulator/ui/SimulatorWidget.h"

int main(int argc, char** argv) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    bool headless =
        platform && (std::string_view(platform) == "offscreen" || std::string_view(platform) == "minimal");
    if (!headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(
            stderr,
            "k52gen: no display available (DISPLAY is not set); run it on a desktop or under xvfb-run\n");
        return 1;
    }
    k52::FontConfigPrefetch fonts;
    QApplication app(argc, argv);
    // Decoded beside the main window's construction, which needs the case only for its shape.
    k52::PrefetchFirstPictureImages();
    k52::InstallTranslations(k52::LanguageFromEnvironment());
    fonts.Finish();
    k52::MoveStraySettings();
    k52::MainWindow window;
    if (const auto at = k52::RestoredPosition()) window.PlaceAt(*at);
    // The window was shaped at 100% as it was built; shaping it again costs a scaled mask of the case.
    if (const int zoom = k52::RestoredZoom(window.screen()); zoom != window.Zoom()) window.ApplyZoom(zoom);
    window.show();
    // A frameless window is not always given the keyboard by the window manager; the shortcuts need it.
    window.raise();
    window.activateWindow();
    // The hint goes once the menu has been found.
    if (QWidget* hint = k52::ShowFirstStartHint(&window))
        QObject::connect(window.simulatorWidget(), &k52::SimulatorWidget::commandRequested, hint,
                         &QWidget::close);
    // QApplication has taken its own options out of argv; what is left is ours.
    if (argc > 1) {
        if (argc > 2) std::fprintf(stderr, "k52gen: one template at a time; opening %s\n", argv[1]);
        QTimer::singleShot(0, &window,
                           [&window, path = std::string(argv[1])] { window.OpenFromCommandLine(path); });
    }
    return app.exec();
}

// k52gen: the desktop program; `k52gen FILE` opens a template as the Open command does.
#include <QApplication>
#include <QSocketNotifier>
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
#include "util/Version.h"
#include "util/platform/System.h"

namespace {

// Exit codes as k52cli's: 2 for a command line, or a place to run, that cannot be used.
constexpr int kExitUsage = 2;

constexpr char kHelp[] =
    "usage: k52gen [FILE]\n"
    "The K52 Application Generator's desktop program: design a terminal's application, try it on the\n"
    "simulated terminal, download it to terminals and receive what they collected.\n"
    "\n"
    "  FILE        a template (.ATC) to open at the start\n"
    "  --help      this text\n"
    "  --version   the version and the commit it was built from\n"
    "\n"
    "Qt's own options (-platform, -display, ...) are accepted too. See also: man k52gen, k52cli --help.\n";

}  // namespace

int main(int argc, char** argv) {
    // Answered before anything needs a display.
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--version") {
            std::printf("%s\n", k52::VersionLine("k52gen").c_str());
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::fputs(kHelp, stdout);
            return 0;
        }
    }
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    bool headless =
        platform && (std::string_view(platform) == "offscreen" || std::string_view(platform) == "minimal");
    if (!headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(
            stderr,
            "k52gen: no display available (DISPLAY is not set); run it on a desktop or under xvfb-run\n");
        return kExitUsage;
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
    // A logout or kill that ends the program keeps the unsaved template for the next start.
    if (const int stops = k52::platform::WatchStopRequests(); stops >= 0) {
        auto* notifier = new QSocketNotifier(stops, QSocketNotifier::Read, &window);
        QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
            const int signal = k52::platform::TakeStopRequest();
            if (signal == 0) return;
            window.KeepUnsavedCopy();
            k52::platform::EndByStopRequest(signal);
        });
    }
    QTimer::singleShot(0, &window, [&window] { window.OfferUnsavedCopies(); });
    // QApplication has taken its own options out of argv; what is left is ours.
    if (argc > 1) {
        if (argc > 2) std::fprintf(stderr, "k52gen: one template at a time; opening %s\n", argv[1]);
        QTimer::singleShot(0, &window,
                           [&window, path = std::string(argv[1])] { window.OpenFromCommandLine(path); });
    }
    return app.exec();
}

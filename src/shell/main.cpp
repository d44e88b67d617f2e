// k52gen: the desktop program.
#include <QApplication>
#include <QLabel>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    bool headless = platform && (std::string_view(platform) == "offscreen" || std::string_view(platform) == "minimal");
    if (!headless && !std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr, "k52gen: no display available (DISPLAY is not set); run it on a desktop or under xvfb-run\n");
        return 1;
    }
    QApplication app(argc, argv);
    QLabel label(QStringLiteral("Application Generator: the terminal window is still being built."));
    label.setWindowTitle(QStringLiteral("Application Generator"));
    label.show();
    return app.exec();
}

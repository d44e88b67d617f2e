// The least a Qt Widgets program does to show a window the terminal's size: what k52gen's start is
// measured against. With the argument "text" it also shows a line of text, which brings in the font
// system that any program drawing text pays for before its first picture.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <cstring>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(180, 400);
    if (argc > 1 && std::strcmp(argv[1], "text") == 0) new QLabel(QStringLiteral("MAIN MENU 1234"), &window);
    window.show();
    return app.exec();
}

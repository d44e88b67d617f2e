// The least a Qt Widgets program does to show a window the terminal's size: what k52gen's start is
// measured against.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window(nullptr, Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(180, 400);
    window.show();
    return app.exec();
}

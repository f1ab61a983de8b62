// The baseline of bench_startup: a bare Qt Widgets window of the main window's size, started
// and shown the way the program starts and shows its own.

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setFixedSize(1257, 1000);
    window.show();
    return QApplication::exec();
}

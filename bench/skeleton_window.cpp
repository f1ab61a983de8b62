// A second baseline of bench_startup: plain Qt showing the kinds of widgets the program's window
// holds (a menu bar of four menus, two trackbars, a 1200 x 900 picture area) and nothing else, so
// that what the program adds to them is seen apart from what such a window costs in Qt itself.

#include <QApplication>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QSlider>
#include <QWidget>

namespace {

class PictureArea : public QWidget {
  public:
    explicit PictureArea(QWidget* parent)
        : QWidget(parent), picture_(1200, 900, QImage::Format_RGB32) {
        picture_.fill(Qt::white);
    }

  protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, picture_); }

  private:
    QImage picture_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    auto* client = new QWidget(&window);
    client->setFixedSize(1257, 977);
    window.setCentralWidget(client);
    (new QSlider(Qt::Horizontal, client))->setGeometry(9, 1, 1210, 14);
    (new QSlider(Qt::Vertical, client))->setGeometry(1, 9, 14, 910);
    (new PictureArea(client))->setGeometry(15, 15, 1200, 900);
    auto* menus = new QMenuBar(&window);
    for (const char* title : {"&Archivos", "&Personalizar", "&Regletas", "&Modificar"}) {
        menus->addMenu(QString::fromLatin1(title))->addAction(QStringLiteral("-"));
    }
    window.setMenuBar(menus);
    window.setFixedSize(window.sizeHint());
    window.show();
    return QApplication::exec();
}

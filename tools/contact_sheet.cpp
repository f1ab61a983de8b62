// Renders the textures as numbered thumbnails on one sheet, to judge them at a glance.
//   contact_sheet [file.png] [first] [last] [crop]
// Each thumbnail shows the top-left crop x (crop * 3 / 4) pixels of a texture, scaled to
// 240 x 180; crop 240 shows the pixels one to one. The time each texture took is printed, with
// the processor time of all threads together.

#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <ctime>

#include "textures/Textures.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString file = args.size() > 1 ? args[1] : QStringLiteral("/tmp/contact_sheet.png");
    const int first = args.size() > 2 ? args[2].toInt() : 1;
    const int last = args.size() > 3 ? args[3].toInt() : tessel::textures::kTextureCount;
    const int crop = args.size() > 4 ? args[4].toInt() : 600;
    if (first < 1 || last > tessel::textures::kTextureCount || first > last || crop < 40) {
        std::fprintf(stderr, "usage: contact_sheet [file.png] [first] [last] [crop]\n");
        return 2;
    }

    constexpr int kColumns = 10, kThumbW = 240, kThumbH = 180, kLabel = 22, kGap = 6;
    const int count = last - first + 1;
    const int columns = std::min(kColumns, count);
    const int rows = (count + columns - 1) / columns;
    QImage sheet(kGap + columns * (kThumbW + kGap), kGap + rows * (kThumbH + kLabel + kGap),
                 QImage::Format_RGB32);
    sheet.fill(QColor(48, 48, 52));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(15);
    painter.setFont(font);
    painter.setPen(Qt::white);

    QElapsedTimer total;
    total.start();
    for (int n = first; n <= last; ++n) {
        QElapsedTimer timer;
        timer.start();
        const std::clock_t cpuStart = std::clock();
        const QImage texture = tessel::textures::makeTexture(n);
        const qint64 ms = timer.elapsed();
        const double cpuMs = 1000.0 * double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        std::printf("%3d %-9s %4dx%-4d %4lld ms (processor %4.0f ms)\n", n,
                    qPrintable(tessel::textures::textureFamily(n)), texture.width(),
                    texture.height(), static_cast<long long>(ms), cpuMs);
        const int i = n - first;
        const QRect cell(kGap + (i % columns) * (kThumbW + kGap),
                         kGap + (i / columns) * (kThumbH + kLabel + kGap), kThumbW, kThumbH);
        painter.drawImage(cell, texture, QRect(0, 0, crop, crop * 3 / 4));
        painter.drawText(QRect(cell.left(), cell.bottom() + 1, kThumbW, kLabel), Qt::AlignCenter,
                         QStringLiteral("%1  %2")
                             .arg(n, 3, 10, QLatin1Char('0'))
                             .arg(tessel::textures::textureFamily(n)));
    }
    painter.end();
    std::printf("total %lld ms\n", static_cast<long long>(total.elapsed()));
    if (!sheet.save(file)) {
        std::fprintf(stderr, "could not write %s\n", qPrintable(file));
        return 1;
    }
    std::printf("%s\n", qPrintable(file));
    return 0;
}

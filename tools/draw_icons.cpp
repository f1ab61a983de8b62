// Draws the program's window icon at every size it ships in:
//   draw_icons <folder>    writes tessel-16.png ... tessel-256.png
// Four tiles of a picture, parted by the two cutting lines, with a crosshair where they cross:
// composing pictures and cutting them into four pieces.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>

namespace {

void drawIcon(QImage& image) {
    const qreal s = image.width();
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);

    // The four tiles, each with a soft gradient, rounded at the outer corners.
    const qreal margin = s <= 16 ? 0.5 : s * 0.06;
    const qreal gap = std::max<qreal>(1.0, s * 0.07);
    const qreal radius = s * 0.16;
    const QRectF whole(margin, margin, s - 2 * margin, s - 2 * margin);
    const qreal half = (whole.width() - gap) / 2;
    const QColor tiles[4][2] = {
        {QColor(0xF2, 0x9E, 0x38), QColor(0xE0, 0x6A, 0x1E)},  // a: orange
        {QColor(0x4F, 0xB3, 0xE8), QColor(0x23, 0x7C, 0xC4)},  // b: blue
        {QColor(0x6C, 0xC9, 0x6A), QColor(0x2E, 0x95, 0x48)},  // c: green
        {QColor(0xE4, 0x5B, 0x7A), QColor(0xB8, 0x2E, 0x5A)},  // d: rose
    };
    QPainterPath rounded;
    rounded.addRoundedRect(whole, radius, radius);
    for (int i = 0; i < 4; ++i) {
        const QRectF tile(whole.left() + (i % 2) * (half + gap),
                          whole.top() + (i / 2) * (half + gap), half, half);
        QLinearGradient gradient(tile.topLeft(), tile.bottomRight());
        gradient.setColorAt(0, tiles[i][0]);
        gradient.setColorAt(1, tiles[i][1]);
        QPainterPath path;
        path.addRect(tile);
        p.fillPath(path.intersected(rounded), gradient);
    }

    // The crosshair: a ring and four short ticks around the crossing of the cutting lines.
    const QPointF centre(s / 2, s / 2);
    const qreal pen = std::max<qreal>(1.0, s * 0.045);
    if (s >= 24) {
        p.setPen(QPen(QColor(255, 255, 255), pen * 1.0, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        const qreal ring = s * 0.17;
        p.drawEllipse(centre, ring, ring);
        const qreal inner = ring * 0.45, outer = ring * 1.55;
        p.drawLine(QPointF(centre.x(), centre.y() - outer),
                   QPointF(centre.x(), centre.y() - inner));
        p.drawLine(QPointF(centre.x(), centre.y() + inner),
                   QPointF(centre.x(), centre.y() + outer));
        p.drawLine(QPointF(centre.x() - outer, centre.y()),
                   QPointF(centre.x() - inner, centre.y()));
        p.drawLine(QPointF(centre.x() + inner, centre.y()),
                   QPointF(centre.x() + outer, centre.y()));
    }
    // The dark centre point where the pieces meet.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x22, 0x2A, 0x36));
    const qreal dot = std::max<qreal>(1.0, s * 0.05);
    p.drawEllipse(centre, dot, dot);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: draw_icons <folder>\n");
        return 2;
    }
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        drawIcon(image);
        const QString file =
            QStringLiteral("%1/tessel-%2.png").arg(QString::fromLocal8Bit(argv[1])).arg(size);
        if (!image.convertToFormat(QImage::Format_ARGB32).save(file)) {
            std::fprintf(stderr, "could not write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}

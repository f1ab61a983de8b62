// Codec quality check: saves pictures through the program's own writers and measures how
// far the files decode from their originals.
//
//   bench_codec_quality edges FOLDER          writes FOLDER/edges.png, coloured text and shapes on
//   white bench_codec_quality save PICTURE OUT.EXT  loads PICTURE as the program does and saves it
//   as OUT.EXT bench_codec_quality compare ORIGINAL FILE...  prints the mean and largest error and
//   the size bench_codec_quality timed-save PICTURE OUT.EXT  as save, and prints the seconds the
//   save took:
//                                                 on the clock, then of processor time (all
//                                                 threads)
//
// bench/jpeg_quality.sh and bench/codecs_vs_imagemagick.sh run them around ImageMagick's convert.

#include <QDir>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdio>
#include <ctime>

#include "PictureQuality.h"
#include "imaging/CodecBridge.h"
#include "platform/Services.h"

namespace {

class SilentMessages : public tessel::platform::MessageService {
  public:
    void inform(const QString&, const QString& text) override {
        if (!text.startsWith(QStringLiteral("Grabado")))
            std::printf("  (message: %s)\n", qPrintable(text));
    }
    bool askYesNo(const QString&, const QString&) override { return true; }
};

// What the program itself puts on a paper: coloured text, lines and boxes on white.
QImage colouredEdges() {
    QImage picture(600, 200, QImage::Format_RGB32);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    QFont font(QStringLiteral("Liberation Serif"));
    font.setPixelSize(32);
    painter.setFont(font);
    painter.setPen(QColor(255, 0, 0));
    painter.drawText(10, 45, QStringLiteral("Texto rojo de 24 puntos"));
    painter.setPen(QColor(0, 0, 255));
    painter.drawText(10, 100, QStringLiteral("Flechas azules y verdes"));
    painter.setPen(QPen(QColor(0, 150, 0), 4));
    painter.drawLine(320, 120, 580, 190);
    painter.drawLine(580, 190, 550, 160);
    painter.setPen(QPen(QColor(200, 0, 200), 2));
    painter.drawRect(420, 20, 150, 60);
    painter.drawEllipse(40, 130, 180, 60);
    painter.end();
    return picture;
}

int save(const QString& picture, const QString& out) {
    SilentMessages messages;
    tessel::platform::installServices({&messages, nullptr, nullptr});
    const std::optional<tessel::Surface> canvas =
        tessel::GraphicLoadImageFileToBitmap(picture, 0, 0, 0, 0xFFFFFF);
    return canvas && tessel::SaveBitmapAsImageFile(*canvas, out) ? 0 : 1;
}

double seconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The save alone, without the load before it: seconds on the clock, of processor time of the
// whole process, and of processor time of this thread (which runs all but the other threads'
// bands of a PNG save).
int timedSave(const QString& picture, const QString& out) {
    SilentMessages messages;
    tessel::platform::installServices({&messages, nullptr, nullptr});
    const std::optional<tessel::Surface> canvas =
        tessel::GraphicLoadImageFileToBitmap(picture, 0, 0, 0, 0xFFFFFF);
    if (!canvas) return 1;
    const double wall = seconds(CLOCK_MONOTONIC), cpu = seconds(CLOCK_PROCESS_CPUTIME_ID);
    const double thread = seconds(CLOCK_THREAD_CPUTIME_ID);
    if (!tessel::SaveBitmapAsImageFile(*canvas, out)) return 1;
    std::printf("%.4f %.4f %.4f\n", seconds(CLOCK_MONOTONIC) - wall,
                seconds(CLOCK_PROCESS_CPUTIME_ID) - cpu, seconds(CLOCK_THREAD_CPUTIME_ID) - thread);
    return 0;
}

int compare(const QString& originalFile, const QStringList& others) {
    const QImage original(originalFile);
    if (original.isNull()) return 1;
    for (const QString& file : others) {
        const QImage other(file);
        if (other.size() != original.size()) {
            std::printf("%-28s unreadable or of another size\n", qPrintable(file));
            return 1;
        }
        const tessel::bench::Difference d = tessel::bench::difference(original, other);
        std::printf("%-28s mean error %.3f, largest %3d (0..255), %lld bytes\n",
                    qPrintable(QFileInfo(file).fileName()), d.mean, d.largest,
                    QFileInfo(file).size());
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "edges") {
        return colouredEdges().save(QDir(args[2]).filePath("edges.png")) ? 0 : 1;
    }
    if (args.size() == 4 && args[1] == "save") return save(args[2], args[3]);
    if (args.size() == 4 && args[1] == "timed-save") return timedSave(args[2], args[3]);
    if (args.size() >= 4 && args[1] == "compare") return compare(args[2], args.mid(3));
    std::fprintf(stderr,
                 "usage: %s edges FOLDER | save PICTURE OUT.jpg | timed-save PICTURE OUT.png | "
                 "compare ORIGINAL JPEG...\n",
                 argv[0]);
    return 2;
}

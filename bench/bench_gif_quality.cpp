// GIF quality check: makes a photograph-like picture and saves it as GIF through the program's
// own writer, timing the save.
//
//   bench_gif_quality make FOLDER          writes FOLDER/original.png and FOLDER/tessel.gif
//
// bench/gif_quality.sh runs it and bench_codec_quality's compare around ImageMagick's convert.

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>

#include "imaging/CodecBridge.h"
#include "platform/Services.h"

namespace {

class SilentMessages : public tessel::platform::MessageService {
  public:
    void inform(const QString&, const QString& text) override {
        std::printf("  (message: %s)\n", qPrintable(text));
    }
    bool askYesNo(const QString&, const QString&) override { return true; }
};

// Smooth gradients, soft lights, fine detail (thin lines, texture) and sensor-like noise.
QImage photograph(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(2024);
    std::normal_distribution<double> noise(0.0, 4.0);
    for (int y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            const double u = double(x) / width;
            const double v = double(y) / height;
            const double sky = std::clamp(1.4 - 2.2 * v, 0.0, 1.0);
            const double sun = std::exp(-((u - 0.7) * (u - 0.7) + (v - 0.2) * (v - 0.2)) * 40.0);
            const double hills = 0.5 + 0.5 * std::sin(u * 13.0 + std::sin(v * 7.0) * 2.0);
            const double grass = 0.5 + 0.5 * std::sin(x * 0.9 + y * 0.35) * std::cos(x * 0.21);
            const double wire = std::abs(y - (0.3 + 0.1 * std::sin(u * 6.0)) * height) < 1.0;
            double r = sky * (90 + 80 * u) + (1 - sky) * (60 + 40 * hills + 25 * grass);
            double g = sky * (140 + 40 * v) + (1 - sky) * (90 + 70 * hills + 30 * grass);
            double b = sky * (220 - 30 * u) + (1 - sky) * (40 + 20 * grass);
            r += 180 * sun - 60 * wire + noise(random);
            g += 150 * sun - 60 * wire + noise(random);
            b += 60 * sun - 60 * wire + noise(random);
            const auto byte = [](double c) { return int(std::lround(std::clamp(c, 0.0, 255.0))); };
            row[x] = qRgb(byte(r), byte(g), byte(b));
        }
    }
    return image;
}

int make(const QString& folder) {
    const QImage original = photograph(800, 600);
    if (!original.save(QDir(folder).filePath("original.png"))) return 1;
    SilentMessages messages;
    tessel::platform::installServices({&messages, nullptr, nullptr});
    QElapsedTimer timer;
    timer.start();
    const bool saved = tessel::SaveBitmapAsImageFile(tessel::Surface(original),
                                                     QDir(folder).filePath("tessel.gif"));
    std::printf("  tessel GIF written in %lld ms\n", timer.elapsed());
    return saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == "make") return make(args[2]);
    std::fprintf(stderr, "usage: %s make FOLDER\n", argv[0]);
    return 2;
}

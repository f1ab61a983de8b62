// Reads a picture as the program does (decoded and normalised, transparency over the paper
// colour given) and writes it as a PNG, to compare with other programs' readings:
//   decode_picture <picture> <out.png> [paper colour as RRGGBB, default FFFFFF]

#include <QGuiApplication>
#include <QImageWriter>
#include <cstdio>

#include "imaging/CodecBridge.h"
#include "platform/Services.h"

using namespace tessel;

namespace {

class Printer : public platform::MessageService {
  public:
    void inform(const QString&, const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool askYesNo(const QString&, const QString&) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: decode_picture <picture> <out.png> [RRGGBB]\n");
        return 2;
    }
    Printer printer;
    platform::installServices({&printer, nullptr, nullptr});
    const unsigned paper = argc > 3 ? unsigned(std::strtoul(argv[3], nullptr, 16)) : 0xFFFFFFu;
    // Colour is 0x00BBGGRR.
    const Colour colour = rgb(int(paper >> 16) & 0xFF, int(paper >> 8) & 0xFF, int(paper & 0xFF));
    const auto bitmap =
        GraphicLoadImageFileToBitmap(QString::fromLocal8Bit(argv[1]), 0, 0, 0, colour);
    if (!bitmap) return 1;
    QImageWriter writer(QString::fromLocal8Bit(argv[2]), "png");
    return writer.write(bitmap->image().convertToFormat(QImage::Format_RGB888)) ? 0 : 1;
}

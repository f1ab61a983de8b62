#include "page/TextureDialog.h"

#include <QLabel>
#include <algorithm>
#include <QListWidget>
#include <QPushButton>

#include "platform/BuiltinPictures.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr QSize kClientSize(723, 447);
constexpr QPoint kPlacement(105, 114);
constexpr QRect kPreviewArea(0, 0, 495, 398);
constexpr int kFontPoints = 8;

QString entryText(int number) {
    return QStringLiteral("Textura %1").arg(number, 3, 10, QLatin1Char('0'));
}

}  // namespace

TextureDialog::TextureDialog(QWidget* parent, PaperSettings& paper)
    : QDialog(parent), paper_(paper) {
    setWindowTitle(QStringLiteral("Texturas"));
    setFixedSize(kClientSize);
    if (parent) setGeometry(QRect(parent->mapToGlobal(kPlacement), kClientSize));
    const QFont font = platform::dialogFont(kFontPoints);

    preview_ = new platform::DrawingArea(this, kPreviewArea);

    list_ = new QListWidget(this);
    list_->setGeometry(496, 0, 224, 400);
    list_->setFont(font);
    for (int n = 1; n <= platform::kTextureCount; ++n) list_->addItem(entryText(n));

    sizeLabel_ = new QLabel(this);
    sizeLabel_->setGeometry(0, 401, 495, 20);
    sizeLabel_->setFont(font);

    closeButton_ = new QPushButton(QStringLiteral("Salir"), this);
    closeButton_->setGeometry(640, 416, 75, 24);
    closeButton_->setFont(font);
    closeButton_->setAutoDefault(false);
    closeButton_->setDefault(true);  // Enter presses it
    connect(closeButton_, &QPushButton::clicked, this, &QDialog::accept);

    // A number outside 1..100 (never set by this program) opens on the first texture.
    const int number = std::clamp(int(paper_.textureNumber), 1, platform::kTextureCount);
    list_->setCurrentRow(number - 1);
    showTexture(number);
    connect(list_, &QListWidget::currentRowChanged, this, [this] { choose(); });
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { choose(); });
    list_->setFocus();
    platform::FocusMemory::install(this);
}

void TextureDialog::choose() {
    const QListWidgetItem* item = list_->currentItem();
    if (!item) return;
    const int number = leadingNumber(item->text().right(3));
    if (number < 1 || number > platform::kTextureCount) return;
    paper_.textureNumber = std::int16_t(number);
    showTexture(number);
}

void TextureDialog::showTexture(int number) {
    const QSize size = platform::textureSize(number);
    sizeLabel_->setText(QStringLiteral("%1x%2 píxeles ...").arg(size.width()).arg(size.height()));
    Surface& surface = preview_->surface();
    // Only the corner the preview shows is made. Every texture is larger than the preview;
    // should one not be, the rest stays white.
    const QImage corner = platform::textureCorner(number, surface.size());
    surface.clear(0xFFFFFF);
    surface.copyFrom(corner, corner.rect(), QPoint(0, 0));
    preview_->update();
}

void ShowTextureDialog(QWidget* parent, PaperSettings& paper) {
    TextureDialog dialog(parent, paper);
    dialog.exec();
}

}  // namespace tessel

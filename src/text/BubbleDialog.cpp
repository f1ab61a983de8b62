#include "text/BubbleDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QIcon>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <cmath>

#include "platform/BesideWindow.h"
#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "text/BubbleShapes.h"

namespace tessel {
namespace {

constexpr QSize kClientSize(698, 653);
constexpr QPoint kPlacement(105, 114);
// Where the bubble stands on the preview.
constexpr QPoint kPreviewOrigin(4, 4);
// The option buttons' rows: y and height.
constexpr int kOptionRows[10][2] = {{8, 49},   {57, 49},  {106, 48}, {154, 49}, {203, 49},
                                    {252, 49}, {301, 48}, {349, 49}, {398, 49}, {447, 49}};
// The small drawing on an option button: as high as the em of a 20-point glyph.
constexpr int kIconPoints = 20;

QIcon shapeIcon(const QString& glyph, QSize size) {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    // As high as a 20-point glyph, unless the shape is too wide for the button.
    const QRectF bounds = bubbleOutline(glyph).boundingRect();
    qreal height = std::min<qreal>(size.height(), bubblePixelHeight(kIconPoints)) - 1;
    height = std::min(height, (size.width() - 2) * bounds.height() / bounds.width());
    paintBubbleShape(painter, glyph, QPointF(1, std::floor((size.height() - height) / 2)), height,
                     Qt::white, Qt::black);
    return QIcon(pixmap);
}

// Arrow buttons: the size buttons show a left and a right arrow.
QFont arrowFont() {
    QFont font(platform::substituteFace(QStringLiteral("Tahoma")));
    font.setPixelSize(14 * platform::logicalDpiY() / 72);
    font.setBold(true);
    return font;
}

}  // namespace

BubbleDialog::BubbleDialog(QWidget* parent, BubbleSettings& settings)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Bocaditos"));
    setFixedSize(kClientSize);
    if (parent) setGeometry(QRect(parent->mapToGlobal(kPlacement), kClientSize));

    const QFont normal = platform::dialogFont(10);
    const QFont colourFont = platform::dialogFont(14);
    const QFont dotsFont = platform::dialogFont(18);
    const QFont sizeFont = platform::dialogFont(12);
    const QFont arrows = arrowFont();

    auto* shapeGroup = new QButtonGroup(this);
    const QSize iconSize(54, bubblePixelHeight(kIconPoints) + 2);
    for (int i = 0; i < 10; ++i) {
        const QString glyph(QChar::fromLatin1(kBubbleGlyphs[i]));
        auto* option = new QRadioButton(this);
        option->setGeometry(8, kOptionRows[i][0], 74, kOptionRows[i][1]);
        option->setIcon(shapeIcon(glyph, iconSize));
        option->setIconSize(iconSize);
        option->setToolTip(bubbleName(glyph));
        option->setAccessibleName(bubbleName(glyph));
        shapeGroup->addButton(option, i);
        shapes_[i] = option;
    }
    preview_ = new platform::DrawingArea(this, QRect(90, 7, 600, 600));
    platform::makeLabel(this, QStringLiteral("Color"), QRect(0, 496, 88, 24), colourFont,
                        Qt::AlignHCenter | Qt::AlignTop);
    colourButton_ =
        platform::makeButton(this, QStringLiteral("..."), QRect(8, 527, 72, 32), &dotsFont);
    swatch_ = new platform::DrawingArea(this, QRect(8, 575, 72, 32), true);
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(8, 616, 72, 24), &normal);
    acceptButton_ =
        platform::makeButton(this, QStringLiteral("Aceptar"), QRect(620, 616, 72, 24), &normal);
    acceptButton_->setDefault(true);  // Enter presses it
    smallerButton_ =
        platform::makeButton(this, QStringLiteral("\u21E6"), QRect(296, 616, 40, 24), &arrows);
    largerButton_ =
        platform::makeButton(this, QStringLiteral("\u21E8"), QRect(376, 616, 40, 24), &arrows);
    smallerButton_->setToolTip(QStringLiteral("Más pequeño"));
    largerButton_->setToolTip(QStringLiteral("Más grande"));
    sizeLabel_ = platform::makeLabel(this, QString(), QRect(336, 619, 40, 24), sizeFont,
                                     Qt::AlignHCenter | Qt::AlignTop);
    shadowBox_ = new QCheckBox(QStringLiteral("Poner sombra"), this);
    shadowBox_->setGeometry(90, 616, 120, 24);
    shadowBox_->setFont(normal);

    // Opening: every control shows the settings, the preview the bubble.
    shadowBox_->setChecked(settings_.shadow != 0);
    swatch_->fill(settings_.colour);
    sizeLabel_->setText(QString::number(settings_.size));
    for (int i = 0; i < 10; ++i) {
        if (settings_.glyph == QChar::fromLatin1(kBubbleGlyphs[i])) shapes_[i]->setChecked(true);
    }
    redrawPreview();

    connect(shadowBox_, &QCheckBox::toggled, this, [this](bool ticked) {
        settings_.shadow = ticked ? 1 : 0;
        redrawPreview();
    });
    connect(shapeGroup, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (!checked) return;
        settings_.glyph = QString(QChar::fromLatin1(kBubbleGlyphs[index]));
        redrawPreview();
    });
    connect(colourButton_, &QPushButton::clicked, this, &BubbleDialog::chooseColour);
    connect(smallerButton_, &QPushButton::clicked, this, [this] { changeSize(-1); });
    connect(largerButton_, &QPushButton::clicked, this, [this] { changeSize(+1); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(acceptButton_, &QPushButton::clicked, this, &QDialog::accept);

    platform::FocusMemory::install(this);
}

void BubbleDialog::redrawPreview() {
    Surface& surface = preview_->surface();
    surface.clear(0xFFFFFF);
    drawBubble(surface, kPreviewOrigin.x(), kPreviewOrigin.y(), settings_);
    preview_->update();
    emit changed();
}

void BubbleDialog::chooseColour() {
    const auto chosen = platform::services().colours->choose(this, settings_.colourSlots);
    if (!chosen) return;
    settings_.colour = *chosen;
    swatch_->fill(settings_.colour);
    redrawPreview();
}

void BubbleDialog::changeSize(int step) {
    const int size = settings_.size + step;
    if (size < kMinBubbleSize || size > kMaxBubbleSize) return;
    settings_.size = std::int16_t(size);
    sizeLabel_->setText(QString::number(settings_.size));
    redrawPreview();
}

void BubbleDialog::done(int result) {
    settings_.accepted = result == QDialog::Accepted ? 1 : 0;
    QDialog::done(result);
}

void ShowBubbleDialog(QWidget* parent, BubbleSettings& settings,
                      const std::function<void(const BubbleSettings&)>& watch) {
    BubbleDialog dialog(parent, settings);
    platform::runWatched(dialog, watch);
}

}  // namespace tessel

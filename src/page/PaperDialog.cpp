#include "page/PaperDialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include "platform/BuiltinPictures.h"
#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr QSize kClientSize(238, 179);
constexpr QPoint kPlacement(105, 114);
// Four digits: every size the paper allows, and nothing that could overflow 16 bits.
constexpr int kSizeDigits = 4;

// White text on light grey, for the pixel equivalents.
QLabel* pixelLabel(QWidget* parent, const QRect& geometry, const QFont& font) {
    QLabel* control = platform::makeLabel(parent, QString(), geometry, font);
    control->setAutoFillBackground(true);
    QPalette palette = control->palette();
    palette.setColor(QPalette::Window, toQColor(0xC0C0C0));
    palette.setColor(QPalette::WindowText, toQColor(0xFFFFFF));
    control->setPalette(palette);
    return control;
}

// The size in a box: a text that is not a whole number ("12,5", "1e9") reads as no size (0),
// which the paper's limits refuse with their message, the canvas untouched.
std::int16_t millimetresIn(const QString& text) {
    return platform::numberIn(text).value_or(0);
}

}  // namespace

PaperDialog::PaperDialog(QWidget* parent, PaperSettings& paper, platform::CustomColours& colours)
    : QDialog(parent), paper_(paper), colours_(colours) {
    setWindowTitle(QStringLiteral("Papel Formato"));
    setFixedSize(kClientSize);
    if (parent) setGeometry(QRect(parent->mapToGlobal(kPlacement), kClientSize));

    const QFont normal = platform::dialogFont(10);
    const QFont large = platform::dialogFont(14);

    platform::makeLabel(this, QStringLiteral("Tamaño del papel en milimetros"),
                        QRect(8, 8, 224, 24), normal);
    platform::makeLabel(this, QStringLiteral("Ancho"), QRect(8, 34, 48, 16), normal,
                        Qt::AlignHCenter);
    widthBox_ = platform::makeNumberBox(this, QRect(8, 56, 48, 24), kSizeDigits);
    widthPixels_ = pixelLabel(this, QRect(8, 81, 48, 15), normal);
    heightBox_ = platform::makeNumberBox(this, QRect(72, 56, 48, 24), kSizeDigits);
    heightPixels_ = pixelLabel(this, QRect(72, 81, 48, 15), normal);
    platform::makeLabel(this, QStringLiteral("Alto"), QRect(72, 34, 48, 15), normal,
                        Qt::AlignHCenter);
    platform::makeLabel(this, QStringLiteral("x"), QRect(56, 28, 24, 24), large, Qt::AlignHCenter);
    platform::makeLabel(this, QStringLiteral("Color del papel"), QRect(8, 96, 120, 16), normal);
    colourButton_ =
        platform::makeButton(this, QStringLiteral("..."), QRect(128, 88, 56, 24), &large);
    textureBox_ = new QCheckBox(QStringLiteral("Poner Textura"), this);
    textureBox_->setGeometry(6, 122, 150, 17);
    textureBox_->setFont(normal);
    swatch_ = new platform::DrawingArea(this, QRect(192, 80, 40, 32), true);
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(6, 146, 72, 24), &normal);
    acceptButton_ =
        platform::makeButton(this, QStringLiteral("Aceptar"), QRect(160, 146, 72, 24), &normal);
    acceptButton_->setDefault(true);  // Enter presses it

    swatch_->fill(paper_.paperColour);

    connect(widthBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        paper_.widthMm = millimetresIn(text);
        widthPixels_->setText(pixelText(paper_.widthMm));
    });
    connect(heightBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        paper_.heightMm = millimetresIn(text);
        heightPixels_->setText(pixelText(paper_.heightMm));
    });
    connect(colourButton_, &QPushButton::clicked, this, &PaperDialog::chooseColour);
    connect(textureBox_, &QCheckBox::toggled, this, &PaperDialog::showTexture);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(acceptButton_, &QPushButton::clicked, this, [this] {
        readSizes();
        accept();
    });

    platform::FocusMemory::install(this);
}

QString PaperDialog::pixelText(int millimetres) {
    if (millimetres <= 0) return {};
    return QString::number(millimetresToPixels(millimetres)) + QStringLiteral("px");
}

void PaperDialog::done(int result) {
    paper_.accepted = result == QDialog::Accepted ? 1 : 0;
    QDialog::done(result);
}

void PaperDialog::chooseColour() {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (!chosen) return;
    paper_.paperColour = *chosen;
    swatch_->fill(paper_.paperColour);
}

void PaperDialog::showTexture(bool ticked) {
    paper_.useTexture = ticked ? 1 : 0;
    colourButton_->setEnabled(!ticked);
    if (!ticked) {
        swatch_->fill(paper_.paperColour);
        return;
    }
    // The texture's top-left corner at its own size; the paper colour where it would not reach.
    // Only that corner is made here: the whole texture waits for the paper itself.
    Surface& surface = swatch_->surface();
    surface.clear(paper_.paperColour);
    const QImage texture = platform::textureCorner(paper_.textureNumber, surface.size());
    const QRect part = QRect(QPoint(0, 0), surface.size()).intersected(texture.rect());
    if (!part.isEmpty()) surface.copyFrom(texture, part, QPoint(0, 0));
    swatch_->update();
}

void PaperDialog::readSizes() {
    paper_.widthMm = millimetresIn(widthBox_->text());
    paper_.heightMm = millimetresIn(heightBox_->text());
}

void ShowPaperDialog(QWidget* parent, PaperSettings& paper, platform::CustomColours& colours) {
    PaperDialog dialog(parent, paper, colours);
    paper.accepted = 0;
    dialog.exec();
}

}  // namespace tessel

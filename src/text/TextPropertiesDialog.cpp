#include "text/TextPropertiesDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "surface/Numbers.h"
#include "text/FontFamilyList.h"
#include "text/LineText.h"

namespace tessel {
namespace {

constexpr QSize kClientSize(442, 392);
constexpr int kFirstSize = 6;
constexpr int kLastSize = 90;
constexpr Colour kWhite = 0xFFFFFF;
constexpr Colour kBlack = 0x000000;
// Five digits hold every angle a 16-bit field keeps.
constexpr int kAngleDigits = 5;

int* workingFlag(TextStyleFlags& flags, int index) {
    int* fields[] = {&flags.bold, &flags.italic, &flags.underline, &flags.strikeout,
                     &flags.leading};
    return fields[index];
}

platform::DrawingArea* whiteArea(QWidget* parent, const QRect& geometry) {
    auto* area = new platform::DrawingArea(parent, geometry, true);
    area->surface().setForeground(kBlack);
    area->fill(kWhite);
    return area;
}

}  // namespace

QStringList textSizeEntries() {
    QStringList entries;
    for (int size = kFirstSize; size <= kLastSize; ++size) {
        entries << QStringLiteral("%1").arg(size, 2, 10, QLatin1Char('0'));
    }
    return entries;
}

TextPropertiesDialog::TextPropertiesDialog(QWidget* parent, TextProperties& properties,
                                           platform::CustomColours& colours)
    : QDialog(parent), properties_(properties), working_(properties.working), colours_(colours) {
    setWindowTitle(QStringLiteral("Propiedades Texto"));
    setFixedSize(kClientSize);
    buildControls();
    loadFromRecord();
    platform::FocusMemory::install(this);
}

void TextPropertiesDialog::buildControls() {
    const QFont normal = platform::dialogFont(10);
    const QFont large = platform::dialogFont(14);
    const QFont huge = platform::dialogFont(18);

    platform::makeLabel(this, QStringLiteral("Tipo de Fuente"), QRect(8, 8, 312, 16), normal,
                        Qt::AlignHCenter | Qt::AlignTop);
    fontList_ = new FontFamilyList(this);
    fontList_->setGeometry(8, 24, 304, 24);
    platform::makeLabel(this, QStringLiteral("Tamaño"), QRect(314, 7, 120, 13), normal,
                        Qt::AlignHCenter | Qt::AlignTop);
    sizeList_ = new QComboBox(this);
    sizeList_->setGeometry(314, 24, 120, 24);
    sizeList_->setFont(normal);
    sizeList_->addItems(textSizeEntries());

    // The frame first, so that the boxes lie above it.
    stylesFrame_ = new QGroupBox(QStringLiteral("Estilos"), this);
    stylesFrame_->setGeometry(8, 56, 136, 144);
    stylesFrame_->setFont(normal);
    const QString styleNames[kStyleCount] = {QStringLiteral("Negrita"), QStringLiteral("Italica"),
                                             QStringLiteral("Subrayado"), QStringLiteral("Tachado"),
                                             QStringLiteral("Leading")};
    for (int i = 0; i < kStyleCount; ++i) {
        styleBoxes_[i] = new QCheckBox(styleNames[i], this);
        styleBoxes_[i]->setGeometry(32, 72 + 24 * i, 96, 24);
        styleBoxes_[i]->setFont(normal);
        connect(styleBoxes_[i], &QCheckBox::clicked, this,
                [this, i](bool ticked) { styleClicked(i, ticked); });
    }

    sample_ = whiteArea(this, QRect(152, 64, 280, 136));
    backLabel_ =
        platform::makeLabel(this, QStringLiteral("Color de fondo"), QRect(0, 216, 152, 24), large);
    backButton_ = platform::makeButton(this, QStringLiteral("..."), QRect(151, 208, 56, 32), &huge);
    backSwatch_ = whiteArea(this, QRect(216, 208, 32, 32));
    foreButton_ = platform::makeButton(this, QStringLiteral("..."), QRect(151, 249, 56, 32), &huge);
    foreLabel_ =
        platform::makeLabel(this, QStringLiteral("Color de fuente"), QRect(0, 257, 152, 24), large);
    foreSwatch_ = whiteArea(this, QRect(216, 249, 32, 32));
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(256, 208, 72, 32), &normal);
    acceptButton_ =
        platform::makeButton(this, QStringLiteral("Aceptar"), QRect(256, 250, 72, 32), &normal);
    acceptButton_->setDefault(true);  // Enter presses it
    transparentBox_ = new QCheckBox(QStringLiteral("Color de fondo Transparente"), this);
    transparentBox_->setGeometry(5, 290, 250, 24);
    transparentBox_->setFont(normal);
    angledBox_ = new QCheckBox(QStringLiteral("Texto con grado de inclinacion"), this);
    angledBox_->setGeometry(5, 320, 230, 24);
    angledBox_->setFont(normal);
    angleBox_ = platform::makeDigitsBox(this, QRect(5, 350, 60, 24), kAngleDigits);
    angleBox_->setFont(normal);
    platform::makeLabel(this, QStringLiteral("grados de inclinacion"), QRect(66, 352, 150, 24),
                        normal);

    connect(fontList_, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0) working_.fontName = fontList_->itemText(index);
    });
    connect(fontList_, &QComboBox::activated, this, [this](int index) {
        working_.fontName = fontList_->itemText(index);
        drawSample();
    });
    connect(sizeList_, &QComboBox::activated, this, [this](int index) {
        working_.pointSize = std::int16_t(leadingNumber(sizeList_->itemText(index)));
        drawSample();
    });
    connect(transparentBox_, &QCheckBox::clicked, this, &TextPropertiesDialog::transparentClicked);
    connect(angledBox_, &QCheckBox::clicked, this, &TextPropertiesDialog::angledClicked);
    connect(backButton_, &QPushButton::clicked, this, &TextPropertiesDialog::chooseBackColour);
    connect(foreButton_, &QPushButton::clicked, this, &TextPropertiesDialog::chooseForeColour);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(acceptButton_, &QPushButton::clicked, this, &TextPropertiesDialog::commit);
}

void TextPropertiesDialog::loadFromRecord() {
    working_.fontName = properties_.fontName;
    working_.pointSize = properties_.pointSize;
    working_.styles = properties_.styles;
    working_.foreColour = properties_.foreColour;
    working_.backColour = properties_.backColour;

    fontList_->selectFace(properties_.fontName);
    backSwatch_->fill(properties_.backColour == kTransparent ? properties_.savedBackColour
                                                             : properties_.backColour);
    foreSwatch_->fill(properties_.foreColour);
    for (int i = 0; i < kStyleCount; ++i) {
        styleBoxes_[i]->setChecked(*workingFlag(properties_.styles, i) == 1);
    }
    transparentBox_->setChecked(properties_.transparentBackground == 1);
    angledBox_->setChecked(properties_.angled == 1);
    if (properties_.transparentBackground == 1) working_.backColour = kTransparent;
    enableBackground(properties_.transparentBackground != 1);
    angleBox_->setText(QString::number(properties_.angleDegrees));
    angleBox_->setEnabled(properties_.angled == 1);
    {
        const QSignalBlocker blocker(sizeList_);
        const int entry = properties_.pointSize - kFirstSize;
        sizeList_->setCurrentIndex(entry >= 0 && entry < sizeList_->count() ? entry : -1);
    }
    drawSample();
}

void TextPropertiesDialog::drawSample() {
    Surface& surface = sample_->surface();
    surface.clear(kWhite);
    drawLevelText(surface, 4, 4, working_.foreColour, working_.backColour, QStringLiteral("Prueba"),
                  working_.fontName, working_.pointSize, styleBits(working_.styles));
    sample_->update();
}

void TextPropertiesDialog::styleClicked(int index, bool ticked) {
    *workingFlag(working_.styles, index) = ticked ? 1 : 0;
    drawSample();
}

void TextPropertiesDialog::transparentClicked(bool ticked) {
    properties_.transparentBackground = ticked ? 1 : 0;
    if (ticked) {
        properties_.savedBackColour = working_.backColour;
        working_.backColour = kTransparent;
    } else {
        // The colour the swatch shows, taken inside its border.
        working_.backColour = backSwatch_->surface().pixel(1, 1);
    }
    enableBackground(!ticked);
    drawSample();
}

void TextPropertiesDialog::angledClicked(bool ticked) {
    properties_.angled = ticked ? 1 : 0;
    angleBox_->setEnabled(ticked);
    if (ticked) properties_.angleDegrees = platform::shortNumberOf(angleBox_->text());
}

void TextPropertiesDialog::chooseBackColour() {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (!chosen) return;
    working_.backColour = *chosen;
    backSwatch_->fill(*chosen);
    drawSample();
}

void TextPropertiesDialog::chooseForeColour() {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (!chosen) return;
    working_.foreColour = *chosen;
    foreSwatch_->fill(*chosen);
    drawSample();
}

void TextPropertiesDialog::commit() {
    properties_.foreColour = working_.foreColour;
    properties_.backColour = working_.backColour;
    properties_.fontName = working_.fontName;
    properties_.pointSize = working_.pointSize;
    properties_.styles = working_.styles;
    properties_.angleDegrees = platform::shortNumberOf(angleBox_->text());
    accept();
}

void TextPropertiesDialog::enableBackground(bool enabled) {
    backLabel_->setEnabled(enabled);
    backButton_->setEnabled(enabled);
    backSwatch_->setEnabled(enabled);
}

void ShowTextPropertiesDialog(QWidget* parent, TextProperties& properties,
                              platform::CustomColours& colours) {
    TextPropertiesDialog dialog(parent, properties, colours);
    dialog.exec();
}

}  // namespace tessel

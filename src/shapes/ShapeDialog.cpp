#include "shapes/ShapeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>

#include "platform/BesideWindow.h"
#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "platform/Services.h"
#include "shapes/Shapes.h"
#include "shapes/SizeEntry.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr int kSizeDigits = 4;

QComboBox* makeList(QWidget* parent, const QStringList& entries, const QRect& geometry,
                    const QFont& font) {
    QComboBox* list = makeEntryList(parent, entries, geometry);
    list->setFont(font);
    return list;
}

// A group "Ancho [ ] x Alto [ ]" with two digit boxes.
QGroupBox* makeSizeGroup(QWidget* parent, const QString& title, int y, const QFont& font,
                         QLineEdit*& widthBox, QLineEdit*& heightBox) {
    auto* group = new QGroupBox(title, parent);
    group->setGeometry(8, y, 342, 58);
    group->setFont(font);
    platform::makeLabel(group, QStringLiteral("Ancho"), QRect(10, 28, 52, 20), font);
    widthBox = platform::makeNumberBox(group, QRect(64, 24, 84, 26), kSizeDigits);
    platform::makeLabel(group, QStringLiteral("x"), QRect(156, 28, 14, 20), font,
                        Qt::AlignHCenter | Qt::AlignTop);
    platform::makeLabel(group, QStringLiteral("Alto"), QRect(178, 28, 44, 20), font);
    heightBox = platform::makeNumberBox(group, QRect(226, 24, 84, 26), kSizeDigits);
    return group;
}

}  // namespace

QStringList shapeWidthEntries() {
    QStringList entries;
    for (int width = 1; width <= 15; ++width) {
        entries << QStringLiteral("%1 - Grosor de linea").arg(width, 2, 10, QLatin1Char('0'));
    }
    return entries;
}

ShapeDialog::ShapeDialog(QWidget* parent, ShapeSettings& settings)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Insertar cuadrados y circulos"));
    setFixedSize(358, 616);
    const QFont font = platform::dialogFont(8);
    const QFont buttonFont = platform::dialogFont(14);
    setFont(font);

    rectangleOption_ = new QRadioButton(
        QStringLiteral("Insertar Cuadrado o ") + QStringLiteral("Rectangulo"), this);
    rectangleOption_->setGeometry(8, 6, 342, 24);
    ellipseOption_ = new QRadioButton(QStringLiteral("Insertar Circulo o Elipse"), this);
    ellipseOption_->setGeometry(8, 30, 342, 24);

    makeSizeGroup(this, QStringLiteral("Pixeles"), 58, font, pixelWidth_, pixelHeight_);
    makeSizeGroup(this, QStringLiteral("Milimetros"), 120, font, millimetreWidth_,
                  millimetreHeight_);

    roundedCheck_ = new QCheckBox(
        QStringLiteral("Borde Cuadrado o Rectangulo ") + QStringLiteral("Redondeado"), this);
    roundedCheck_->setGeometry(8, 184, 342, 24);
    platform::makeLabel(
        this, QStringLiteral("Valor Redondeo en porcentaje de ") + QStringLiteral("0 % a 100 %"),
        QRect(8, 210, 342, 20), font);
    roundingBox_ = platform::makeDigitsBox(this, QRect(8, 232, 60, 26), 5);
    platform::makeLabel(this, QStringLiteral("Redondeo esquinas"), QRect(76, 236, 200, 20), font);

    platform::makeLabel(this, QStringLiteral("Color borde"), QRect(8, 268, 170, 20), font);
    borderButton_ =
        platform::makeButton(this, QStringLiteral("..."), QRect(8, 290, 56, 32), &buttonFont);
    borderSwatch_ = new platform::DrawingArea(this, QRect(74, 290, 32, 32), true);
    interiorButton_ =
        platform::makeButton(this, QStringLiteral("..."), QRect(8, 352, 56, 32), &buttonFont);
    platform::makeLabel(this, QStringLiteral("Color interior"), QRect(8, 330, 170, 20), font);
    interiorSwatch_ = new platform::DrawingArea(this, QRect(74, 352, 32, 32), true);
    transparentCheck_ =
        new QCheckBox(QStringLiteral("Color Interior ") + QStringLiteral("Transparente"), this);
    transparentCheck_->setGeometry(8, 392, 178, 24);

    preview_ = new platform::DrawingArea(this, QRect(188, 264, 162, 154), true);

    platform::makeLabel(this, QStringLiteral("Estilo Relleno"), QRect(8, 424, 200, 18), font);
    fillStyleList_ = makeList(
        this,
        {QStringLiteral("0 - Solido"), QStringLiteral("1 - Lineas Horizontales"),
         QStringLiteral("2 - Lineas Verticales"),
         QStringLiteral("3 - Lineas Diagonales hacia arriba"),
         QStringLiteral("4 - Lineas Diagonales hacia abajo"), QStringLiteral("5 - Cruce de Lineas"),
         QStringLiteral("6 - Cruce de Lineas Diagonales")},
        QRect(8, 442, 342, 26), font);
    platform::makeLabel(this, QStringLiteral("Estilo linea"), QRect(8, 472, 200, 18), font);
    lineStyleList_ = makeList(
        this,
        {QStringLiteral("0 - Solido"), QStringLiteral("1 - Raya"), QStringLiteral("2 - Punto"),
         QStringLiteral("3 - RayaPunto"), QStringLiteral("4 - RayaPuntoPunto")},
        QRect(8, 490, 342, 26), font);
    platform::makeLabel(this, QStringLiteral("Grosor linea"), QRect(8, 520, 200, 18), font);
    widthList_ = makeList(this, shapeWidthEntries(), QRect(8, 538, 342, 26), font);

    cancelButton_ = platform::makeButton(this, QStringLiteral("Cancelar"), QRect(8, 576, 120, 32));
    acceptButton_ = platform::makeButton(this, QStringLiteral("Aceptar"), QRect(230, 576, 120, 32));
    acceptButton_->setDefault(true);  // Enter presses it

    // Opening, in the documented order.
    roundingBox_->setText(QString::number(settings_.shapeCornerPercent));
    borderSwatch_->fill(settings_.shapeBorderColour);
    interiorSwatch_->fill(settings_.shapeFillColour);
    transparentCheck_->setChecked(settings_.shapeTransparent == 1);
    if (settings_.shapeTransparent == 1) {
        interiorButton_->setEnabled(false);
        settings_.shapeFillColour = kTransparent;
    } else {
        interiorButton_->setEnabled(true);
        settings_.shapeFillColour = interiorSwatch_->surface().pixel(4, 4);
    }
    (settings_.shapeKind == ShapeKind::Ellipse ? ellipseOption_ : rectangleOption_)
        ->setChecked(true);
    roundedCheck_->setChecked(settings_.shapeRounded == 1);
    applyEnablingRule();
    fillStyleList_->setCurrentIndex(std::clamp(settings_.shapeFillStyle, 0, 6));
    lineStyleList_->setCurrentIndex(std::clamp(settings_.shapeLineStyle, 0, 4));
    widthList_->setCurrentIndex(std::clamp(settings_.shapeLineWidth, 1, 15) - 1);
    drawPreview();

    connect(rectangleOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (!on) return;
        settings_.shapeKind = ShapeKind::Rectangle;
        applyEnablingRule();
        drawPreview();
    });
    connect(ellipseOption_, &QRadioButton::toggled, this, [this](bool on) {
        if (!on) return;
        settings_.shapeKind = ShapeKind::Ellipse;
        applyEnablingRule();
        drawPreview();
    });
    connect(roundedCheck_, &QCheckBox::toggled, this, [this](bool ticked) {
        settings_.shapeRounded = ticked ? 1 : 0;
        if (ticked && settings_.shapeKind == ShapeKind::Rectangle) {
            roundingBox_->setEnabled(true);
            settings_.shapeCornerPercent = platform::shortNumberOf(roundingBox_->text());
        } else {
            roundingBox_->setEnabled(false);
        }
        drawPreview();
    });
    connect(roundingBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        settings_.shapeCornerPercent = platform::shortNumberOf(text);
        drawPreview();
    });
    connect(borderButton_, &QPushButton::clicked, this, [this] { chooseBorderColour(); });
    connect(interiorButton_, &QPushButton::clicked, this, [this] { chooseInteriorColour(); });
    connect(transparentCheck_, &QCheckBox::toggled, this, [this](bool t) { setTransparent(t); });
    connect(fillStyleList_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.shapeFillStyle = entryNumber(fillStyleList_);
        drawPreview();
    });
    connect(lineStyleList_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.shapeLineStyle = entryNumber(lineStyleList_);
        drawPreview();
    });
    connect(widthList_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.shapeLineWidth = entryNumber(widthList_);
        drawPreview();
    });
    for (QLineEdit* box : {pixelWidth_, pixelHeight_, millimetreWidth_, millimetreHeight_}) {
        connect(box, &QLineEdit::textChanged, this, &ShapeDialog::changed);
    }
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(acceptButton_, &QPushButton::clicked, this, [this] { acceptSize(); });

    platform::FocusMemory::install(this);
}

void ShapeDialog::applyEnablingRule() {
    const bool rectangle = settings_.shapeKind == ShapeKind::Rectangle;
    roundedCheck_->setEnabled(rectangle);
    roundingBox_->setEnabled(rectangle && settings_.shapeRounded == 1);
}

void ShapeDialog::chooseBorderColour() {
    const auto chosen = platform::services().colours->choose(this, settings_.customColours);
    if (chosen) {
        settings_.shapeBorderColour = *chosen;
        borderSwatch_->fill(*chosen);
    }
    drawPreview();
}

void ShapeDialog::chooseInteriorColour() {
    const auto chosen = platform::services().colours->choose(this, settings_.customColours);
    if (chosen) {
        settings_.shapeFillColour = *chosen;
        settings_.shapeSavedFillColour = *chosen;
        interiorSwatch_->fill(*chosen);
    }
    drawPreview();
}

void ShapeDialog::setTransparent(bool ticked) {
    settings_.shapeTransparent = ticked ? 1 : 0;
    if (ticked) {
        interiorButton_->setEnabled(false);
        settings_.shapeSavedFillColour = settings_.shapeFillColour;
        settings_.shapeFillColour = kTransparent;
    } else {
        interiorButton_->setEnabled(true);
        settings_.shapeFillColour = settings_.shapeSavedFillColour;
    }
    // A transparent interior shows an empty (white) swatch.
    interiorSwatch_->fill(ticked ? 0xFFFFFF : settings_.shapeFillColour);
    drawPreview();
}

void ShapeDialog::acceptSize() {
    const int pw = platform::numberIn(pixelWidth_->text()).value_or(-1);
    const int ph = platform::numberIn(pixelHeight_->text()).value_or(-1);
    const int mw = platform::numberIn(millimetreWidth_->text()).value_or(-1);
    const int mh = platform::numberIn(millimetreHeight_->text()).value_or(-1);
    // The size is taken only when the dialog closes, so a refused entry leaves it as it was.
    const auto sizes = takeSizePair(pw, ph, mw, mh);
    if (sizes) {
        settings_.shapeWidth = sizes->first;
        settings_.shapeHeight = sizes->second;
        accepting_ = true;
        accept();
        return;
    }
    drawPreview();
}

void ShapeDialog::done(int result) {
    settings_.shapeAccepted = result == QDialog::Accepted && accepting_ ? 1 : 0;
    accepting_ = false;
    QDialog::done(result);
}

void ShapeDialog::drawPreview() {
    drawShapePreview(preview_->surface(), settings_, fromQColor(palette().color(QPalette::Window)));
    preview_->update();
    emit changed();
}

ShapeSettings ShapeDialog::current() const {
    ShapeSettings now = settings_;
    const auto sizes = sizePairIn(platform::numberIn(pixelWidth_->text()).value_or(-1),
                                  platform::numberIn(pixelHeight_->text()).value_or(-1),
                                  platform::numberIn(millimetreWidth_->text()).value_or(-1),
                                  platform::numberIn(millimetreHeight_->text()).value_or(-1));
    if (sizes) {
        now.shapeWidth = sizes->first;
        now.shapeHeight = sizes->second;
    }
    return now;
}

int ShowShapeDialog(QWidget* parent, ShapeSettings& settings,
                    const std::function<void(const ShapeSettings&)>& watch) {
    ShapeDialog dialog(parent, settings);
    platform::runWatched(dialog, watch);
    return settings.shapeAccepted;
}

}  // namespace tessel

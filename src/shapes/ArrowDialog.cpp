#include "shapes/ArrowDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "platform/BesideWindow.h"
#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "shapes/Shapes.h"
#include "shapes/SizeEntry.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr int kSizeDigits = 4;

std::int16_t toShort(long value) {
    return std::int16_t(std::clamp<long>(value, 0, 32767));
}

// Two lines of label to the left of a digits box.
QLineEdit* makeSizeBox(QWidget* parent, const QString& first, const QString& second, int y,
                       const QFont& font) {
    platform::makeLabel(parent, first, QRect(8, y, 136, 18), font);
    platform::makeLabel(parent, second, QRect(8, y + 18, 136, 18), font);
    return platform::makeNumberBox(parent, QRect(148, y + 4, 72, 26), kSizeDigits);
}

}  // namespace

QStringList arrowWidthEntries() {
    QStringList entries;
    for (int width = 1; width <= 30; ++width) {
        entries << QStringLiteral("%1 - Grosor lineas flecha").arg(width, 2, 10, QLatin1Char('0'));
    }
    return entries;
}

QStringList arrowDirectionEntries() {
    return {QStringLiteral("1 - 0º   Inclinacion Flecha"),
            QStringLiteral("2 - 45º  Inclinacion Flecha"),
            QStringLiteral("3 - 90º  Inclinacion Flecha"),
            QStringLiteral("4 - 135º Inclinacion Flecha"),
            QStringLiteral("5 - 180º Inclinacion Flecha"),
            QStringLiteral("6 - 225º Inclinacion Flecha"),
            QStringLiteral("7 - 270º Inclinacion Flecha"),
            QStringLiteral("8 - 315º Inclinacion Flecha")};
}

ArrowDialog::ArrowDialog(QWidget* parent, ArrowSettings& settings, platform::CustomColours& colours)
    : QDialog(parent), settings_(settings), colours_(colours) {
    setWindowTitle(QStringLiteral("Insertar flechas"));
    setFixedSize(613, 426);
    const QFont font = platform::dialogFont(8);
    const QFont buttonFont = platform::dialogFont(14);
    setFont(font);

    pixelLength_ =
        makeSizeBox(this, QStringLiteral("Largo flecha"), QStringLiteral("en pixeles"), 6, font);
    millimetreLength_ = makeSizeBox(this, QStringLiteral("Largo flecha"),
                                    QStringLiteral("en milimetros"), 48, font);
    pixelHead_ =
        makeSizeBox(this, QStringLiteral("Tamaño Cabeza"), QStringLiteral("en pixeles"), 90, font);
    millimetreHead_ = makeSizeBox(this, QStringLiteral("Tamaño Cabeza"),
                                  QStringLiteral("en milimetros"), 132, font);

    platform::makeLabel(this, QStringLiteral("Color Flecha"), QRect(8, 186, 110, 20), font);
    colourButton_ =
        platform::makeButton(this, QStringLiteral("..."), QRect(116, 178, 56, 32), &buttonFont);
    swatch_ = new platform::DrawingArea(this, QRect(182, 182, 90, 26), true);

    platform::makeLabel(this, QStringLiteral("Grosor linea flecha"), QRect(8, 218, 288, 18), font);
    widthList_ = makeEntryList(this, arrowWidthEntries(), QRect(8, 236, 288, 26));
    closedCheck_ = new QCheckBox(
        QStringLiteral("Cabeza cerrada en forma de ") + QStringLiteral("triangulo"), this);
    closedCheck_->setGeometry(8, 268, 288, 24);
    platform::makeLabel(this, QStringLiteral("Numero de cabezas"), QRect(8, 298, 288, 18), font);
    headsList_ = makeEntryList(
        this,
        {QStringLiteral("0 - Cabezas en la flecha"), QStringLiteral("1 - Cabeza en la flecha"),
         QStringLiteral("2 - Cabezas en la flecha")},
        QRect(8, 316, 288, 26));
    platform::makeLabel(this, QStringLiteral("Grados de inclinacion"), QRect(8, 348, 288, 18),
                        font);
    directionList_ = makeEntryList(this, arrowDirectionEntries(), QRect(8, 366, 288, 26));

    preview_ = new platform::DrawingArea(this, QRect(305, 6, 302, 302), true);
    QLabel* note =
        platform::makeLabel(this,
                            QStringLiteral("El largo flecha no es el ") +
                                QStringLiteral("exacto en la renderizacion, lo demas si ..."),
                            QRect(305, 314, 302, 40), font);
    note->setWordWrap(true);
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(305, 380, 120, 36));
    acceptButton_ = platform::makeButton(this, QStringLiteral("Aceptar"), QRect(487, 380, 120, 36));
    acceptButton_->setDefault(true);  // Enter presses it

    // Opening.
    pixelHead_->setText(QString::number(settings_.arrowHeadSize));
    swatch_->fill(settings_.arrowColour);
    widthList_->setCurrentIndex(std::clamp<int>(settings_.arrowWidth, 1, 30) - 1);
    headsList_->setCurrentIndex(std::clamp<int>(settings_.arrowHeads, 0, 2));
    directionList_->setCurrentIndex(std::clamp<int>(settings_.arrowDirection, 1, 8) - 1);
    closedCheck_->setChecked(settings_.arrowClosed == 1);
    drawPreview();

    connect(directionList_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.arrowDirection = std::int16_t(entryNumber(directionList_));
        drawPreview();
    });
    connect(pixelHead_, &QLineEdit::textChanged, this, [this](const QString& text) {
        settings_.arrowHeadSize = platform::numberIn(text).value_or(0);
        drawPreview();
    });
    connect(millimetreHead_, &QLineEdit::textChanged, this, [this](const QString& text) {
        settings_.arrowHeadSize =
            toShort(millimetresToPixels(platform::numberIn(text).value_or(0)));
        drawPreview();
    });
    connect(colourButton_, &QPushButton::clicked, this, [this] { chooseColour(); });
    connect(widthList_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.arrowWidth = std::int16_t(entryNumber(widthList_));
        drawPreview();
    });
    connect(headsList_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.arrowHeads = std::uint8_t(entryNumber(headsList_));
        drawPreview();
    });
    connect(closedCheck_, &QCheckBox::toggled, this, [this](bool ticked) {
        settings_.arrowClosed = ticked ? 1 : 0;
        drawPreview();
    });
    for (QLineEdit* box : {pixelLength_, millimetreLength_}) {
        connect(box, &QLineEdit::textChanged, this, &ArrowDialog::changed);
    }
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(acceptButton_, &QPushButton::clicked, this, [this] { acceptSize(); });

    platform::FocusMemory::install(this);
}

void ArrowDialog::chooseColour() {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (chosen) {
        settings_.arrowColour = *chosen;
        swatch_->fill(*chosen);
    }
    drawPreview();
}

void ArrowDialog::acceptSize() {
    const int pl = platform::numberIn(pixelLength_->text()).value_or(-1);
    const int ml = platform::numberIn(millimetreLength_->text()).value_or(-1);
    const int ph = platform::numberIn(pixelHead_->text()).value_or(-1);
    const int mh = platform::numberIn(millimetreHead_->text()).value_or(-1);
    // The sizes are taken only when the dialog closes, so a refused entry leaves them as they were.
    const auto sizes = takeSizePair(pl, ph, ml, mh);
    if (sizes) {
        settings_.arrowLength = sizes->first;
        settings_.arrowHeadSize = sizes->second;
        accepting_ = true;
        accept();
        return;
    }
    drawPreview();
}

void ArrowDialog::done(int result) {
    // A refused "Aceptar" leaves the dialog open; closing it afterwards with the close box
    // counts as cancelling.
    settings_.arrowAccepted = result == QDialog::Accepted && accepting_ ? 1 : 0;
    accepting_ = false;
    QDialog::done(result);
}

void ArrowDialog::drawPreview() {
    drawArrowPreview(preview_->surface(), settings_, fromQColor(palette().color(QPalette::Window)));
    preview_->update();
    emit changed();
}

ArrowSettings ArrowDialog::current() const {
    ArrowSettings now = settings_;
    const auto sizes = sizePairIn(platform::numberIn(pixelLength_->text()).value_or(-1),
                                  platform::numberIn(pixelHead_->text()).value_or(-1),
                                  platform::numberIn(millimetreLength_->text()).value_or(-1),
                                  platform::numberIn(millimetreHead_->text()).value_or(-1));
    if (sizes) {
        now.arrowLength = sizes->first;
        now.arrowHeadSize = sizes->second;
    }
    return now;
}

int ShowArrowDialog(QWidget* parent, ArrowSettings& settings, platform::CustomColours& colours,
                    const std::function<void(const ArrowSettings&)>& watch) {
    ArrowDialog dialog(parent, settings, colours);
    platform::runWatched(dialog, watch);
    return settings.arrowAccepted;
}

}  // namespace tessel

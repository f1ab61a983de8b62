#include "cutting/CutSettingsDialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>

#include "platform/BuiltinPictures.h"
#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "surface/Numbers.h"

namespace tessel {

int dialogUnitsAcross(int units) {
    return int(roundToInt(units * 1.5L));
}
int dialogUnitsDown(int units) {
    return int(roundToInt(units * 1.625L));
}

QRect dialogUnitRect(int x, int y, int width, int height) {
    return QRect(dialogUnitsAcross(x), dialogUnitsDown(y), dialogUnitsAcross(width),
                 dialogUnitsDown(height));
}

namespace {

struct FormatOption {
    int choice;
    const char* text;
    int y;
};

constexpr FormatOption kFormatOptions[] = {
    {kFormatPng, "PNG", 135}, {kFormatJpg, "JPG", 150}, {kFormatGif, "GIF", 165},
    {kFormatTif, "TIF", 180}, {kFormatBmp, "BMP", 195},
};

}  // namespace

CutSettingsDialog::CutSettingsDialog(QWidget* parent, CutSettings& settings,
                                     platform::CustomColours& colours,
                                     std::function<void()> redisplay)
    : QDialog(parent), settings_(settings), colours_(colours), redisplay_(std::move(redisplay)) {
    setWindowTitle(QStringLiteral("Configuracion Tessel ..."));
    setFixedSize(dialogUnitsAcross(287), dialogUnitsDown(238));

    const QFont plain = platform::dialogFont(8);
    const QFont underlined = platform::dialogFont(8, true);

    platform::makeLabel(this, QStringLiteral("Color Eje Horizontal "),
                        dialogUnitRect(10, 10, 80, 10), plain);
    horizontalButton_ =
        platform::makeButton(this, QStringLiteral("..."), dialogUnitRect(90, 5, 25, 15));
    horizontalSwatch_ = new platform::DrawingArea(this, dialogUnitRect(120, 5, 20, 15));
    verticalButton_ =
        platform::makeButton(this, QStringLiteral("..."), dialogUnitRect(90, 25, 25, 15));
    platform::makeLabel(this, QStringLiteral("Color Eje Vertical "), dialogUnitRect(10, 30, 80, 10),
                        plain);
    verticalSwatch_ = new platform::DrawingArea(this, dialogUnitRect(120, 25, 20, 15));

    auto* pieces = new QLabel(this);
    pieces->setGeometry(dialogUnitRect(150, 0, 135, 115));
    pieces->setScaledContents(true);
    pieces->setPixmap(QPixmap::fromImage(platform::piecesPicture()));

    int* const flags[] = {&settings_.savePieceA, &settings_.savePieceB, &settings_.savePieceC,
                          &settings_.savePieceD};
    for (int piece = 0; piece < 4; ++piece) {
        auto* box = new QCheckBox(QStringLiteral("Grabar trozo ") + QChar(u'A' + piece), this);
        box->setGeometry(dialogUnitRect(5, 50 + 10 * piece, 80, 10));
        box->setFont(plain);
        box->setChecked(*flags[piece] != 0);
        pieceBoxes_[piece] = box;
    }

    platform::makeLabel(this, QStringLiteral("Selecciona Formato Imagen : "),
                        dialogUnitRect(5, 120, 120, 10), plain);
    formats_ = new QButtonGroup(this);
    for (const FormatOption& option : kFormatOptions) {
        auto* radio = new QRadioButton(QString::fromLatin1(option.text), this);
        radio->setGeometry(dialogUnitRect(5, option.y, 70, 10));
        radio->setFont(plain);
        formats_->addButton(radio, option.choice);
    }
    if (QAbstractButton* chosen = formats_->button(settings_.formatChoice))
        chosen->setChecked(true);

    acceptButton_ = new QPushButton(QStringLiteral("Aceptar"), this);
    acceptButton_->setGeometry(dialogUnitRect(5, 215, 40, 15));
    acceptButton_->setFont(underlined);
    acceptButton_->setAutoDefault(false);
    acceptButton_->setDefault(true);  // Enter presses it

    horizontalSwatch_->fill(settings_.horizontalAxisColour);
    verticalSwatch_->fill(settings_.verticalAxisColour);

    connect(horizontalButton_, &QPushButton::clicked, this,
            [this] { chooseColour(settings_.horizontalAxisColour, horizontalSwatch_); });
    connect(verticalButton_, &QPushButton::clicked, this,
            [this] { chooseColour(settings_.verticalAxisColour, verticalSwatch_); });
    for (int piece = 0; piece < 4; ++piece) {
        int* flag = flags[piece];
        connect(pieceBoxes_[piece], &QCheckBox::toggled, this,
                [flag](bool ticked) { *flag = ticked ? 1 : 0; });
    }
    connect(formats_, &QButtonGroup::idToggled, this, [this](int choice, bool checked) {
        if (checked) settings_.formatChoice = choice;
    });
    connect(acceptButton_, &QPushButton::clicked, this, [this] {
        if (redisplay_) redisplay_();
        accept();
    });

    platform::FocusMemory::install(this);
}

QRadioButton* CutSettingsDialog::formatButton(int formatChoice) const {
    return qobject_cast<QRadioButton*>(formats_->button(formatChoice));
}

void CutSettingsDialog::chooseColour(Colour& axisColour, platform::DrawingArea* swatch) {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (!chosen) return;
    axisColour = *chosen;
    swatch->fill(axisColour);
}

void ShowCutSettingsDialog(QWidget* parent, CutSettings& settings, platform::CustomColours& colours,
                           const std::function<void()>& redisplay) {
    CutSettingsDialog dialog(parent, settings, colours, redisplay);
    dialog.exec();
}

}  // namespace tessel

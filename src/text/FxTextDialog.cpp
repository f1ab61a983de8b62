#include "text/FxTextDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/BesideWindow.h"
#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"

namespace tessel {
namespace {

constexpr QSize kClientSize(306, 390);

QRadioButton* option(QWidget* parent, const QString& text, const QRect& geometry,
                     const QFont& font) {
    auto* button = new QRadioButton(text, parent);
    button->setGeometry(geometry);
    button->setFont(font);
    return button;
}

}  // namespace

FxTextDialog::FxTextDialog(QWidget* parent, FxTextSettings& settings, int& accepted,
                           platform::CustomColours& colours)
    : QDialog(parent),
      settings_(settings),
      accepted_(accepted),
      colours_(colours),
      working_{settings.colour1, settings.colour2, settings.colour3} {
    setWindowTitle(QStringLiteral("Texto FX"));
    setFixedSize(kClientSize);

    const QFont normal = platform::dialogFont(10);
    const QFont huge = platform::dialogFont(18);
    const QFont small = platform::dialogFont(8);
    QFont regular = platform::dialogFont(10);
    regular.setWeight(QFont::Normal);

    // The frame first, so that the controls lie above it.
    frame_ = new QGroupBox(QStringLiteral("Texto FX"), this);
    frame_->setGeometry(24, 24, 264, 312);
    frame_->setFont(small);

    threeColour_ =
        option(this, QStringLiteral("Fuente de 3 colores"), QRect(40, 40, 200, 24), normal);
    const struct {
        QRect label, swatch, button;
    } bands[3] = {
        {QRect(40, 71, 88, 24), QRect(133, 68, 32, 32), QRect(176, 72, 40, 24)},
        {QRect(41, 115, 88, 24), QRect(133, 112, 32, 32), QRect(176, 116, 40, 24)},
        {QRect(43, 163, 88, 24), QRect(133, 160, 32, 32), QRect(176, 164, 40, 24)},
    };
    for (int band = 0; band < 3; ++band) {
        labels_[band] = platform::makeLabel(this, QStringLiteral("Color%1").arg(band + 1),
                                            bands[band].label, huge);
        swatches_[band] = new platform::DrawingArea(this, bands[band].swatch, true);
        swatches_[band]->surface().setForeground(0x000000);
        swatches_[band]->fill(working_[band]);
        buttons_[band] =
            platform::makeButton(this, QStringLiteral("..."), bands[band].button, &huge);
        connect(buttons_[band], &QPushButton::clicked, this, [this, band] { chooseColour(band); });
    }
    raised_ = option(this, QStringLiteral("Fuente TD Alzado"), QRect(40, 208, 200, 24), normal);
    sunk_ = option(this, QStringLiteral("Fuente TD Hundido"), QRect(40, 240, 200, 24), normal);
    textBox_ = new QLineEdit(this);
    textBox_->setGeometry(40, 288, 232, 24);
    textBox_->setFont(regular);
    platform::makeLabel(this, QStringLiteral("Escribe aqui la linea de texto Fx"),
                        QRect(40, 272, 232, 16), normal);
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(8, 352, 72, 24), &normal);
    acceptButton_ =
        platform::makeButton(this, QStringLiteral("Aceptar"), QRect(224, 352, 72, 24), &normal);
    acceptButton_->setDefault(true);  // Enter presses it

    auto* group = new QButtonGroup(this);
    group->addButton(threeColour_);
    group->addButton(raised_);
    group->addButton(sunk_);
    QRadioButton* current = settings_.mode == FxMode::Raised ? raised_
                            : settings_.mode == FxMode::Sunk ? sunk_
                                                             : threeColour_;
    current->setChecked(true);
    setMode(settings_.mode);
    textBox_->setText(settings_.fxText);

    connect(threeColour_, &QRadioButton::clicked, this, [this] { setMode(FxMode::ThreeColour); });
    connect(raised_, &QRadioButton::clicked, this, [this] { setMode(FxMode::Raised); });
    connect(sunk_, &QRadioButton::clicked, this, [this] { setMode(FxMode::Sunk); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(textBox_, &QLineEdit::textChanged, this, &FxTextDialog::changed);
    connect(acceptButton_, &QPushButton::clicked, this, &FxTextDialog::acceptText);
    platform::FocusMemory::install(this);
}

void FxTextDialog::setMode(FxMode mode) {
    settings_.mode = mode;
    emit changed();
    const bool colours = mode == FxMode::ThreeColour;
    for (int band = 0; band < 3; ++band) {
        labels_[band]->setEnabled(colours);
        buttons_[band]->setEnabled(colours);
        swatches_[band]->setEnabled(colours);
    }
}

void FxTextDialog::chooseColour(int band) {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (!chosen) return;
    working_[band] = *chosen;
    swatches_[band]->fill(*chosen);
    emit changed();
}

void FxTextDialog::acceptText() {
    const QString text = textBox_->text();
    if (text.isEmpty()) {
        platform::inform(QStringLiteral("Tienes que escribir un texto ..."));
        return;
    }
    settings_.fxText = text;
    settings_.colour1 = working_[0];
    settings_.colour2 = working_[1];
    settings_.colour3 = working_[2];
    accept();
}

void FxTextDialog::done(int result) {
    accepted_ = result == QDialog::Accepted ? 1 : 0;
    QDialog::done(result);
}

FxTextSettings FxTextDialog::current() const {
    FxTextSettings now = settings_;
    now.fxText = textBox_->text();
    now.colour1 = working_[0];
    now.colour2 = working_[1];
    now.colour3 = working_[2];
    return now;
}

void AskFxText(QWidget* parent, FxTextSettings& settings, int& accepted,
               platform::CustomColours& colours,
               const std::function<void(const FxTextSettings&)>& watch) {
    accepted = 0;
    FxTextDialog dialog(parent, settings, accepted, colours);
    platform::runWatched(dialog, watch);
}

}  // namespace tessel

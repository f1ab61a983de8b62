#include "progress/ProgressDialog.h"

#include <QButtonGroup>
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
#include "progress/ProgressBar.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// The percentage as its box shows it: the bar's number without the blank and the sign.
QString percentText(float percent) {
    QString text = barText(percent).trimmed();
    text.chop(1);
    return text;
}

}  // namespace

ProgressDialog::ProgressDialog(QWidget* parent, ProgressSettings& settings,
                               const TextProperties& text, platform::CustomColours& colours)
    : QDialog(parent), settings_(settings), text_(text), colours_(colours) {
    setWindowTitle(QStringLiteral("Creador de barras de progreso"));
    setFixedSize(289, 513);
    const QFont font = platform::dialogFont(8);
    setFont(font);

    platform::makeLabel(this, QStringLiteral("Alto"), QRect(8, 10, 50, 20), font);
    heightBox_ = platform::makeNumberBox(this, QRect(60, 6, 70, 26), 4);
    platform::makeLabel(this, QStringLiteral("Ancho"), QRect(144, 10, 60, 20), font);
    widthBox_ = platform::makeNumberBox(this, QRect(206, 6, 75, 26), 4);

    platform::makeLabel(this, QStringLiteral("Grosor linea borde"), QRect(8, 42, 180, 20), font);
    borderWidthList_ = new QComboBox(this);
    borderWidthList_->setGeometry(206, 38, 75, 26);
    platform::makeLabel(this, QStringLiteral("Color linea borde"), QRect(8, 76, 180, 20), font);
    borderSwatch_ = new platform::DrawingArea(this, QRect(206, 68, 34, 34), true);
    platform::makeLabel(this, QStringLiteral("Color relleno progreso"), QRect(8, 114, 190, 20),
                        font);
    fillSwatch_ = new platform::DrawingArea(this, QRect(206, 106, 34, 34), true);

    auto* group = new QGroupBox(QStringLiteral("Alineación Texto"), this);
    group->setGeometry(8, 144, 273, 50);
    alignment_ = new QButtonGroup(this);
    const struct {
        const char16_t* text;
        int code;
        int x;
        int width;
    } options[] = {{u"Izquierda", kBarTextLeft, 8, 92},
                   {u"Centro", kBarTextCentre, 104, 74},
                   {u"Derecha", kBarTextRight, 182, 86}};
    for (const auto& option : options) {
        auto* radio = new QRadioButton(QString::fromUtf16(option.text), group);
        radio->setGeometry(option.x, 22, option.width, 22);
        alignment_->addButton(radio, option.code);
    }

    platform::makeLabel(this, QStringLiteral("Porcentaje"), QRect(8, 202, 100, 20), font);
    percentBox_ = new QLineEdit(this);
    percentBox_->setGeometry(130, 198, 151, 26);
    percentBox_->setMaxLength(12);

    QLabel* gapLabel = platform::makeLabel(
        this, QStringLiteral("Separación relleno con línea ") + QStringLiteral("borde"),
        QRect(8, 228, 190, 34), font);
    gapLabel->setWordWrap(true);
    gapList_ = new QComboBox(this);
    gapList_->setGeometry(206, 232, 75, 26);

    exitButton_ = platform::makeButton(this, QStringLiteral("Salir"), QRect(8, 264, 85, 30));
    createButton_ = platform::makeButton(this, QStringLiteral("Crear"), QRect(102, 264, 85, 30));
    createButton_->setDefault(true);  // Enter presses it
    renderButton_ = platform::makeButton(this, QStringLiteral("Render"), QRect(196, 264, 85, 30));
    preview_ = new platform::DrawingArea(this, QRect(8, 298, 274, 178), true);
    QLabel* note = platform::makeLabel(this,
                                       QStringLiteral("La imagen es aproximada a la ") +
                                           QStringLiteral("verdadera, cuando se cree."),
                                       QRect(8, 478, 274, 34), font);
    note->setWordWrap(true);

    // Opening.
    heightBox_->setText(QString::number(settings_.barHeight));
    widthBox_->setText(QString::number(settings_.barWidth));
    percentBox_->setText(percentText(settings_.barPercent));
    borderSwatch_->fill(settings_.barBorderColour);
    fillSwatch_->fill(settings_.barFillColour);
    if (QAbstractButton* option = alignment_->button(settings_.barTextAlign))
        option->setChecked(true);
    for (int width = 1; width <= 4; ++width) borderWidthList_->addItem(twoDigits(width));
    borderWidthList_->setCurrentIndex(std::clamp<int>(settings_.barBorderWidth, 1, 4) - 1);
    for (int gap = settings_.barBorderWidth; gap <= 7; ++gap) gapList_->addItem(twoDigits(gap));
    gapList_->setCurrentIndex(std::max(0, gapList_->findText(twoDigits(settings_.barGap))));
    drawPreview();

    connect(borderSwatch_, &platform::DrawingArea::clicked, this,
            [this] { chooseColour(settings_.barBorderColour, borderSwatch_); });
    connect(fillSwatch_, &platform::DrawingArea::clicked, this,
            [this] { chooseColour(settings_.barFillColour, fillSwatch_); });
    connect(alignment_, &QButtonGroup::idToggled, this, [this](int code, bool checked) {
        if (checked) settings_.barTextAlign = std::int16_t(code);
        if (checked) emit changed();
    });
    for (QLineEdit* box : {heightBox_, widthBox_, percentBox_}) {
        connect(box, &QLineEdit::textChanged, this, &ProgressDialog::changed);
    }
    for (QComboBox* list : {borderWidthList_, gapList_}) {
        connect(list, &QComboBox::currentIndexChanged, this, &ProgressDialog::changed);
    }
    connect(exitButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(createButton_, &QPushButton::clicked, this, [this] {
        if (!readDialog()) return;
        creating_ = true;
        accept();
    });
    connect(renderButton_, &QPushButton::clicked, this, [this] {
        if (readDialog()) drawPreview();
    });

    platform::FocusMemory::install(this);
}

QRadioButton* ProgressDialog::alignmentOption(int code) const {
    return qobject_cast<QRadioButton*>(alignment_->button(code));
}

void ProgressDialog::chooseColour(Colour& colour, platform::DrawingArea* swatch) {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (!chosen || *chosen < 0) return;
    colour = *chosen;
    swatch->fill(colour);
    emit changed();
}

bool ProgressDialog::readDialog() {
    const std::optional<float> percent = parseBarPercent(percentBox_->text());
    // The height and width must be whole numbers too; nothing is read until all three are.
    const std::optional<std::int16_t> height = platform::numberIn(heightBox_->text());
    const std::optional<std::int16_t> width = platform::numberIn(widthBox_->text());
    if (!percent || !height || !width) {
        platform::inform(QStringLiteral("Solo números y . para decimal"));
        return false;
    }
    settings_.barPercent = *percent;
    settings_.barHeight = *height;
    settings_.barWidth = *width;
    settings_.barBorderWidth = platform::shortNumberOf(borderWidthList_->currentText());
    settings_.barGap = platform::shortNumberOf(gapList_->currentText());
    return true;
}

ProgressSettings ProgressDialog::current() const {
    ProgressSettings now = settings_;
    const std::optional<float> percent = parseBarPercent(percentBox_->text());
    const std::optional<std::int16_t> height = platform::numberIn(heightBox_->text());
    const std::optional<std::int16_t> width = platform::numberIn(widthBox_->text());
    if (percent && height && width) {
        now.barPercent = *percent;
        now.barHeight = *height;
        now.barWidth = *width;
        now.barBorderWidth = platform::shortNumberOf(borderWidthList_->currentText());
        now.barGap = platform::shortNumberOf(gapList_->currentText());
    }
    return now;
}

void ProgressDialog::drawPreview() {
    Surface& surface = preview_->surface();
    surface.clear(0xFFFFFF);
    drawProgressBar(surface, 5, 12, barText(settings_.barPercent), settings_, text_);
    preview_->update();
}

void ProgressDialog::done(int result) {
    settings_.barAccepted = result == QDialog::Accepted && creating_ ? 1 : 0;
    creating_ = false;
    QDialog::done(result);
}

int ShowProgressDialog(QWidget* parent, ProgressSettings& settings, const TextProperties& text,
                       platform::CustomColours& colours,
                       const std::function<void(const ProgressSettings&)>& watch) {
    ProgressDialog dialog(parent, settings, text, colours);
    platform::runWatched(dialog, watch);
    return settings.barAccepted;
}

}  // namespace tessel

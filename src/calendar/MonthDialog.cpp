#include "calendar/MonthDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "calendar/CalendarDates.h"
#include "calendar/MonthSheet.h"
#include "platform/BesideWindow.h"
#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr QSize kClientSize(746, 419);
constexpr int kYearDigits = 4;
constexpr QPoint kPreviewOrigin(12, 10);
constexpr int kPreviewCell = 16;
constexpr int kDefaultCharset = 1;

const QString kYearMessage =
    QStringLiteral("El año tiene que estar entre %1 y %2 ...").arg(kFirstYear).arg(kLastYear);

QCheckBox* makeCheck(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* check = new QCheckBox(text, parent);
    check->setGeometry(geometry);
    return check;
}

QRadioButton* makeOption(QWidget* parent, const QString& text, const QRect& geometry) {
    auto* option = new QRadioButton(text, parent);
    option->setGeometry(geometry);
    return option;
}

}  // namespace

MonthDialog::MonthDialog(QWidget* parent, CalendarRecords& calendar, Colour titleColour,
                         platform::CustomColours& colours, QDate today)
    : QDialog(parent),
      calendar_(calendar),
      settings_(calendar.month),
      titleColour_(titleColour),
      colours_(colours) {
    setWindowTitle(QStringLiteral("Configurador de mes"));
    setFixedSize(kClientSize);
    const QFont font = platform::dialogFont(10);
    setFont(font);

    QLabel* caption = platform::makeLabel(
        this, QStringLiteral("Renderizacion del mes sin ") + QStringLiteral("tamaño fuente"),
        QRect(8, 8, 264, 36), font, Qt::AlignCenter);
    caption->setWordWrap(true);
    preview_ =
        new platform::DrawingArea(this, QRect(8, 48, kPreviewWidth + 2, kPreviewHeight + 2), true);

    platform::makeLabel(this, QStringLiteral("Año"), QRect(288, 8, 96, 20), font,
                        Qt::AlignHCenter | Qt::AlignTop);
    yearBox_ = platform::makeDigitsBox(this, QRect(288, 30, 96, 26), kYearDigits);
    platform::makeLabel(this, QStringLiteral("Mes del año"), QRect(400, 8, 200, 20), font,
                        Qt::AlignHCenter | Qt::AlignTop);
    monthList_ = new QComboBox(this);
    monthList_->setGeometry(400, 30, 200, 26);

    auto* frame = new QGroupBox(QStringLiteral("Posicion nombre del mes"), this);
    frame->setGeometry(288, 66, 450, 108);
    leftOption_ =
        makeOption(this, QStringLiteral("Alineamiento del mes a la ") + QStringLiteral("izquierda"),
                   QRect(300, 88, 430, 24));
    centreOption_ =
        makeOption(this, QStringLiteral("Alineamiento del mes al ") + QStringLiteral("centro"),
                   QRect(300, 114, 430, 24));
    rightOption_ =
        makeOption(this, QStringLiteral("Alineamiento del mes a la ") + QStringLiteral("derecha"),
                   QRect(300, 140, 430, 24));

    boxCheck_ =
        makeCheck(this, QStringLiteral("Quiero un fondo de color en ") + QStringLiteral("mes"),
                  QRect(288, 184, 450, 24));
    boxSwatch_ = new platform::DrawingArea(this, QRect(288, 214, 30, 30), true);
    boxColourButton_ = platform::makeButton(this, QStringLiteral("..."), QRect(324, 217, 40, 24));
    platform::makeLabel(this, QStringLiteral("Color fondo mes"), QRect(370, 220, 144, 20), font);
    borderColourButton_ =
        platform::makeButton(this, QStringLiteral("..."), QRect(520, 217, 40, 24));
    borderSwatch_ = new platform::DrawingArea(this, QRect(566, 214, 30, 30), true);
    platform::makeLabel(this, QStringLiteral("Color borde mes"), QRect(602, 220, 136, 20), font);
    transparentCheck_ =
        makeCheck(this, QStringLiteral("Color fondo transparente"), QRect(288, 254, 450, 24));
    holidaysCheck_ =
        makeCheck(this, QStringLiteral("Incluir dias festivos"), QRect(288, 282, 450, 24));

    QLabel* note = platform::makeLabel(
        this,
        QStringLiteral("El tamaño del mes, depende de ") +
            QStringLiteral("la configuracion que des al texto. Puedes poner fuente distinta, ") +
            QStringLiteral("asi como cualquier tamaño, en : Personalizar --> ") +
            QStringLiteral("Propiedades Texto."),
        QRect(288, 314, 450, 56), platform::dialogFont(8), Qt::AlignLeft | Qt::AlignVCenter);
    note->setWordWrap(true);
    note->setFrameShape(QFrame::Box);
    note->setMargin(2);

    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(520, 378, 104, 32));
    acceptButton_ = platform::makeButton(this, QStringLiteral("Aceptar"), QRect(634, 378, 104, 32));
    acceptButton_->setDefault(true);  // Enter presses it

    // Opening.
    rightOption_->setEnabled(false);
    settings_.monthYear = today.year();
    settings_.monthNumber = today.month();
    yearBox_->setText(QString::number(settings_.monthYear));
    const QString filePath = calendar_.holidayFilePath();
    if (holidayFileExists(filePath)) {
        holidaysCheck_->setEnabled(true);
        const HolidayLoad load = loadHolidays(filePath, calendar_.holidays);
        if (!load.problem.isEmpty()) platform::inform(load.problem);
    } else {
        holidaysCheck_->setEnabled(false);
        calendar_.holidays.reset();
        settings_.includeHolidays = 0;
    }
    transparentCheck_->setChecked(settings_.monthBoxTransparent == 1);
    holidaysCheck_->setChecked(settings_.includeHolidays == 1);
    boxCheck_->setChecked(settings_.monthBoxWanted == 1);
    applyEnablingRule();
    boxSwatch_->fill(settings_.monthBoxColour);
    borderSwatch_->fill(settings_.monthBorderColour);
    for (int month = 1; month <= 12; ++month) monthList_->addItem(monthEntry(month));
    monthList_->setCurrentIndex(settings_.monthNumber - 1);
    switch (settings_.monthAlignment) {
        case kMonthCentre:
            centreOption_->setChecked(true);
            break;
        case kMonthRight:
            rightOption_->setChecked(true);
            break;
        default:
            leftOption_->setChecked(true);
            break;
    }
    refreshPreview();

    connect(yearBox_, &QLineEdit::textChanged, this, [this](const QString& text) {
        settings_.monthYear = leadingNumber(text);
        refreshPreview();
    });
    connect(monthList_, &QComboBox::currentIndexChanged, this, [this] {
        settings_.monthNumber = leadingNumber(monthList_->currentText().left(2));
        refreshPreview();
    });
    connect(leftOption_, &QRadioButton::clicked, this, [this] { setAlignment(kMonthLeft); });
    connect(centreOption_, &QRadioButton::clicked, this, [this] { setAlignment(kMonthCentre); });
    connect(rightOption_, &QRadioButton::clicked, this, [this] { setAlignment(kMonthRight); });
    connect(boxCheck_, &QCheckBox::clicked, this, [this](bool checked) {
        settings_.monthBoxWanted = checked ? 1 : 0;
        applyEnablingRule();
        refreshPreview();
    });
    connect(transparentCheck_, &QCheckBox::clicked, this, [this](bool checked) {
        settings_.monthBoxTransparent = checked ? 1 : 0;
        boxColourButton_->setEnabled(!checked);
        refreshPreview();
    });
    connect(holidaysCheck_, &QCheckBox::clicked, this, [this](bool checked) {
        settings_.includeHolidays = checked ? 1 : 0;
        refreshPreview();
    });
    connect(boxColourButton_, &QPushButton::clicked, this,
            [this] { chooseColour(settings_.monthBoxColour, boxSwatch_); });
    connect(borderColourButton_, &QPushButton::clicked, this,
            [this] { chooseColour(settings_.monthBorderColour, borderSwatch_); });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(acceptButton_, &QPushButton::clicked, this, [this] {
        if (!drawableMonth(settings_)) {
            platform::inform(kYearMessage);
            return;
        }
        accept();
    });

    platform::FocusMemory::install(this);
}

void MonthDialog::done(int result) {
    settings_.monthAccepted = result == QDialog::Accepted ? 1 : 0;
    QDialog::done(result);
}

void MonthDialog::applyEnablingRule() {
    const bool wanted = settings_.monthBoxWanted == 1;
    borderColourButton_->setEnabled(wanted);
    transparentCheck_->setEnabled(wanted);
    boxColourButton_->setEnabled(wanted && settings_.monthBoxTransparent != 1);
}

void MonthDialog::setAlignment(int alignment) {
    settings_.monthAlignment = alignment;
    refreshPreview();
}

void MonthDialog::chooseColour(Colour& target, platform::DrawingArea* swatch) {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (chosen && *chosen >= 0) {
        target = *chosen;
        swatch->fill(target);
    }
    refreshPreview();
}

void MonthDialog::refreshPreview() {
    Surface& surface = preview_->surface();
    surface.clear(0xFFFFFF);
    FontRequest request;
    request.face = QStringLiteral("Tahoma");
    request.points = kPreviewCell;
    request.style = kStyleBold;
    request.charset = kDefaultCharset;
    MonthRender render;
    render.origin = kPreviewOrigin;
    render.font = platform::resolveFont(request);
    render.cell = kPreviewCell;
    render.titleColour = titleColour_;
    renderMonth(surface, render, settings_, calendar_.holidays);
    preview_->update();
    emit changed();
}

void ShowMonthDialog(QWidget* parent, CalendarRecords& calendar, Colour titleColour,
                     platform::CustomColours& colours,
                     const std::function<void(const MonthSettings&)>& watch) {
    calendar.month.monthAccepted = 0;
    MonthDialog dialog(parent, calendar, titleColour, colours);
    platform::runWatched(dialog, watch);
}

}  // namespace tessel

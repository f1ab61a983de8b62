#include "calendar/HolidayDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include "calendar/CalendarDates.h"
#include "calendar/HolidayFile.h"
#include "calendar/HolidayList.h"
#include "platform/DialogControls.h"
#include "platform/DrawingArea.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

constexpr QSize kClientSize(746, 197);
constexpr Colour kStartColour = rgb(0, 139, 0);
constexpr int kDayDigits = 2;
// The list ends inside the dialog, showing six rows.
constexpr QRect kListGeometry(288, 8, 260, 181);

const QString kInvalidMessage = QStringLiteral(
    "Tienes que seleccionar mes, escribir dia y seleccionar un color, todo correctamente ...");
const QString kDuplicateMessage = QStringLiteral("Este dia ya esta en la lista de festivos ...");
const QString kSavedMessage = QStringLiteral("Termine de grabar colores dias festivos ...");
const QString kErasedMessage = QStringLiteral("Fichero borrado ...");
const QString kLeaveQuestion =
    QStringLiteral("Ha realizado cambios en dias festivos ...\r\nDesea grabar los cambios ?");
const QString kFullMessage = QStringLiteral(
    "No caben mas dias festivos: grabe el fichero y vuelva a abrir el configurador ...");

QLabel* hintLabel(QWidget* parent, const QFont& font) {
    QLabel* hint = platform::makeLabel(
        parent, QStringLiteral("Para captar el color de un dia insertado, doble click en listbox"),
        QRect(92, 112, 190, 75), font, Qt::AlignCenter);
    hint->setWordWrap(true);
    hint->setFrameShape(QFrame::Box);
    hint->setAutoFillBackground(true);
    QPalette palette = hint->palette();
    palette.setColor(QPalette::Window, toQColor(rgb(255, 255, 225)));
    palette.setColor(QPalette::WindowText, toQColor(rgb(0, 0, 128)));
    hint->setPalette(palette);
    return hint;
}

}  // namespace

HolidayDialog::HolidayDialog(QWidget* parent, HolidayTable& table, const QString& filePath,
                             platform::CustomColours& colours, QDate today)
    : QDialog(parent), table_(table), filePath_(filePath), colours_(colours), today_(today) {
    setWindowTitle(QStringLiteral("Configurador Dias Festivos"));
    setFixedSize(kClientSize);

    const QFont font = platform::dialogFont(10);
    setFont(font);
    platform::makeLabel(this, QStringLiteral("Dia"), QRect(8, 8, 40, 24), font);
    dayBox_ = platform::makeNumberBox(this, QRect(8, 32, 32, 32), kDayDigits);
    platform::makeLabel(this, QStringLiteral("Mes del año"), QRect(48, 8, 192, 24), font,
                        Qt::AlignHCenter | Qt::AlignTop);
    monthList_ = new QComboBox(this);
    monthList_->setGeometry(48, 32, 192, 24);
    platform::makeLabel(this, QStringLiteral("Color del dia festivo"), QRect(96, 80, 192, 24),
                        font);
    swatch_ = new platform::DrawingArea(this, QRect(8, 76, 30, 30), true);
    colourButton_ = platform::makeButton(this, QStringLiteral("..."), QRect(48, 80, 40, 24));
    list_ = new HolidayList(this, kListGeometry, font, [this](int row) {
        return row >= 0 && row < table_.count() ? table_.slot(row).colour : Colour(0);
    });
    exitButton_ = platform::makeButton(this, QStringLiteral("Salir"), QRect(8, 152, 56, 32));
    eraseFileButton_ =
        platform::makeButton(this, QStringLiteral("Borrar fichero"), QRect(552, 8, 184, 32));
    saveButton_ =
        platform::makeButton(this, QStringLiteral("Grabar fichero"), QRect(552, 40, 184, 32));
    insertButton_ =
        platform::makeButton(this, QStringLiteral("Insertar dia festivo"), QRect(552, 88, 184, 32));
    insertButton_->setDefault(true);  // Enter presses it
    deleteButton_ =
        platform::makeButton(this, QStringLiteral("Borrar dia festivo"), QRect(552, 120, 184, 32));
    hint_ = hintLabel(this, font);

    if (holidayFileExists(filePath_)) {
        const HolidayLoad load = loadHolidays(filePath_, table_);
        if (!load.problem.isEmpty()) platform::inform(load.problem);
        fillList();
    } else {
        table_.reset();
        eraseFileButton_->setEnabled(false);
        saveButton_->setEnabled(false);
        deleteButton_->setEnabled(false);
    }
    for (int month = 1; month <= 12; ++month) monthList_->addItem(monthEntry(month));
    monthList_->setCurrentIndex(-1);
    currentColour_ = kStartColour;
    showColour(currentColour_);
    changes_ = HolidayChanges::None;

    connect(colourButton_, &QPushButton::clicked, this, &HolidayDialog::chooseColour);
    connect(list_, &QListWidget::itemDoubleClicked, this, &HolidayDialog::takeRowColour);
    connect(insertButton_, &QPushButton::clicked, this, &HolidayDialog::insertHoliday);
    connect(deleteButton_, &QPushButton::clicked, this, &HolidayDialog::deleteHoliday);
    connect(saveButton_, &QPushButton::clicked, this, [this] {
        if (!saveFile()) return;
        eraseFileButton_->setEnabled(true);
        platform::inform(kSavedMessage);
        changes_ = HolidayChanges::Saved;
    });
    connect(eraseFileButton_, &QPushButton::clicked, this, &HolidayDialog::eraseFile);
    connect(exitButton_, &QPushButton::clicked, this, &HolidayDialog::reject);

    platform::FocusMemory::install(this);
}

QString HolidayDialog::rowText(int index, const Holiday& holiday) {
    if (holiday.deleted != 0) return threeDigitIndex(index) + QStringLiteral(" ");
    return threeDigitIndex(index) + QStringLiteral(" dia ") + QString::number(holiday.day) +
           QStringLiteral(" de ") + monthName(holiday.month);
}

void HolidayDialog::fillList() {
    list_->clear();
    for (int i = 0; i < table_.count(); ++i) list_->addItem(rowText(i, table_.slot(i)));
    if (list_->count() > 6) {
        list_->setCurrentRow(list_->count() - 1);
        list_->scrollToBottom();
    }
}

void HolidayDialog::showColour(Colour colour) {
    swatch_->fill(colour);
}

void HolidayDialog::chooseColour() {
    const auto chosen = platform::services().colours->choose(this, colours_);
    if (!chosen || *chosen < 0) return;
    currentColour_ = *chosen;
    showColour(currentColour_);
}

int HolidayDialog::selectedSlot() const {
    const QListWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return -1;
    const int slot = leadingNumber(item->text().left(3));
    return slot < table_.count() ? slot : -1;
}

void HolidayDialog::takeRowColour() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    currentColour_ = table_.slot(slot).colour;
    showColour(currentColour_);
}

void HolidayDialog::insertHoliday() {
    Holiday holiday;
    holiday.month = leadingNumber(monthList_->currentText().left(2));
    holiday.day = platform::numberIn(dayBox_->text()).value_or(0);  // not a number: no day
    holiday.colour = currentColour_;
    if (holiday.day <= 0 || holiday.day > daysInMonth(holiday.month, today_.year()) ||
        holiday.month <= 0 || holiday.month > 12) {
        platform::inform(kInvalidMessage);
        return;
    }
    if (table_.isDuplicate(holiday.day, holiday.month)) {
        platform::inform(kDuplicateMessage);
        return;
    }
    if (!table_.append(holiday)) {
        platform::inform(kFullMessage);
        return;
    }
    fillList();
    saveButton_->setEnabled(true);
    deleteButton_->setEnabled(true);
    changes_ = HolidayChanges::Unsaved;
}

void HolidayDialog::deleteHoliday() {
    const int slot = selectedSlot();
    if (slot < 0) return;
    table_.remove(slot);
    fillList();
    changes_ = HolidayChanges::Unsaved;
}

bool HolidayDialog::saveFile() {
    // A file that cannot be written where it is goes to the data folder, and the user is told.
    const QString target = holidaySavePath(filePath_, holidayDataFolder());
    if (!writeHolidays(target, table_)) {
        platform::inform(holidaySaveFailedMessage(target));
        return false;
    }
    if (target != filePath_) {
        platform::inform(holidayMovedMessage(filePath_, target));
        filePath_ = target;
    }
    return true;
}

void HolidayDialog::eraseFile() {
    platform::inform(eraseHolidayFile(filePath_) ? kErasedMessage
                                                 : holidayEraseFailedMessage(filePath_));
}

void HolidayDialog::reject() {
    // A failed write keeps the dialog open, so that the changes are not lost.
    if (changes_ == HolidayChanges::Unsaved && platform::askYesNo(kLeaveQuestion) && !saveFile()) {
        return;
    }
    QDialog::reject();
}

void ShowHolidayDialog(QWidget* parent, HolidayTable& table, const QString& filePath,
                       platform::CustomColours& colours) {
    HolidayDialog dialog(parent, table, filePath, colours);
    dialog.exec();
}

}  // namespace tessel

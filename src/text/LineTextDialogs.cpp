#include "text/LineTextDialogs.h"

#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>

#include "platform/BesideWindow.h"
#include "platform/DialogControls.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "platform/Services.h"

namespace tessel {
namespace {

constexpr QSize kAngularSize(302, 231);
constexpr QPoint kAngularPlacement(105, 114);
constexpr QSize kLineSize(271, 104);

}  // namespace

AngularTextDialog::AngularTextDialog(QWidget* parent, LineTextSettings& settings)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Texto a Insertar"));
    setFixedSize(kAngularSize);
    if (parent) setGeometry(QRect(parent->mapToGlobal(kAngularPlacement), kAngularSize));

    const QFont buttons = platform::dialogFont(10);
    QFont noteFont = platform::dialogFont(10);
    noteFont.setItalic(true);

    textBox_ = new QPlainTextEdit(this);
    textBox_->setGeometry(8, 8, 288, 152);
    textBox_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    acceptButton_ =
        platform::makeButton(this, QStringLiteral("Aceptar"), QRect(224, 167, 72, 24), &buttons);
    acceptButton_->setDefault(true);  // Enter presses it
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(8, 167, 72, 24), &buttons);
    note_ = platform::makeLabel(this, QStringLiteral("El texto se imprime en 1 sola linea ..."),
                                QRect(88, 168, 128, 56), noteFont);
    note_->setWordWrap(true);
    note_->setAutoFillBackground(true);
    QPalette palette = note_->palette();
    palette.setColor(QPalette::Window, Qt::black);
    palette.setColor(QPalette::WindowText, QColor(255, 255, 0));
    note_->setPalette(palette);

    if (!settings_.angularText.isEmpty()) textBox_->setPlainText(settings_.angularText);

    connect(acceptButton_, &QPushButton::clicked, this, [this] {
        settings_.angularText = textBox_->toPlainText();
        accept();
    });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(textBox_, &QPlainTextEdit::textChanged, this, &AngularTextDialog::changed);
    platform::FocusMemory::install(this);
}

void AngularTextDialog::done(int result) {
    settings_.accepted = result == QDialog::Accepted ? 1 : 0;
    QDialog::done(result);
}

LineTextDialog::LineTextDialog(QWidget* parent, LineTextSettings& settings)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Inserta Texto"));
    setFixedSize(kLineSize);

    const QFont bold = platform::dialogFont(10);
    QFont regular = platform::dialogFont(10);
    regular.setWeight(QFont::Normal);

    textBox_ = new QLineEdit(this);
    textBox_->setGeometry(8, 24, 256, 24);
    textBox_->setFont(regular);
    platform::makeLabel(this, QStringLiteral("Escribe aqui la linea de texto"),
                        QRect(8, 8, 232, 16), bold);
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(8, 64, 72, 24), &bold);
    acceptButton_ =
        platform::makeButton(this, QStringLiteral("Aceptar"), QRect(192, 64, 72, 24), &bold);
    acceptButton_->setDefault(true);  // Enter presses it

    textBox_->setText(settings_.lineText);

    connect(acceptButton_, &QPushButton::clicked, this, &LineTextDialog::acceptLine);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(textBox_, &QLineEdit::textChanged, this, &LineTextDialog::changed);
    platform::FocusMemory::install(this);
}

void LineTextDialog::acceptLine() {
    const QString text = textBox_->text();
    if (text.isEmpty()) {
        platform::inform(QStringLiteral("Tienes que escribir un texto ..."));
        return;
    }
    settings_.lineText = text;
    accept();
}

void LineTextDialog::done(int result) {
    settings_.accepted = result == QDialog::Accepted ? 1 : 0;
    QDialog::done(result);
}

LineTextSettings AngularTextDialog::current() const {
    LineTextSettings now = settings_;
    now.angularText = textBox_->toPlainText();
    return now;
}

LineTextSettings LineTextDialog::current() const {
    LineTextSettings now = settings_;
    now.lineText = textBox_->text();
    return now;
}

void AskAngularText(QWidget* parent, LineTextSettings& settings,
                    const std::function<void(const LineTextSettings&)>& watch) {
    settings.accepted = 0;
    AngularTextDialog dialog(parent, settings);
    platform::runWatched(dialog, watch);
}

void AskLineText(QWidget* parent, LineTextSettings& settings,
                 const std::function<void(const LineTextSettings&)>& watch) {
    settings.accepted = 0;
    LineTextDialog dialog(parent, settings);
    platform::runWatched(dialog, watch);
}

}  // namespace tessel

#include "text/AlignedTextDialog.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include "platform/BesideWindow.h"
#include "platform/DialogControls.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "platform/Services.h"

namespace tessel {
namespace {

constexpr QSize kClientSize(493, 381);
constexpr QPoint kPlacement(105, 114);
constexpr int kMaxAreaWidth = 1200;
constexpr int kMaxAreaHeight = 900;
// Five digits: every number a 16-bit size holds.
constexpr int kSizeDigits = 5;

struct AlignmentOption {
    const char16_t* text;
    int y;
    int code;
};

constexpr AlignmentOption kOptions[] = {
    {u"Alinear a la Izquierda", 24, kAlignLeft},
    {u"Alinear a la Derecha", 48, kAlignRight},
    {u"Alinear al Centro", 72, kAlignCentre},
    {u"Alinear Justificado", 96, kAlignJustified},
};

int* flagOf(AlignedTextSettings& settings, int index) {
    int* const flags[] = {&settings.left, &settings.right, &settings.centre, &settings.justified};
    return flags[index];
}

}  // namespace

AlignedTextDialog::AlignedTextDialog(QWidget* parent, AlignedTextSettings& settings)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(QStringLiteral("Insertar texto alineado"));
    setFixedSize(kClientSize);
    if (parent) setGeometry(QRect(parent->mapToGlobal(kPlacement), kClientSize));

    const QFont normal = platform::dialogFont(10);
    const QFont small = platform::dialogFont(8);
    const QFont large = platform::dialogFont(14);

    // The frame first, so that the options lie above it.
    auto* frame = new QGroupBox(QStringLiteral("Alineamiento"), this);
    frame->setGeometry(8, 8, 256, 128);
    frame->setFont(small);
    optionGroup_ = new QButtonGroup(this);
    for (int i = 0; i < 4; ++i) {
        auto* option = new QRadioButton(QString::fromUtf16(kOptions[i].text), this);
        option->setGeometry(24, kOptions[i].y, 232, 24);
        option->setFont(normal);
        optionGroup_->addButton(option, i);
        options_[i] = option;
    }

    platform::makeLabel(this, QStringLiteral("Tamaño area alineamiento"), QRect(280, 16, 192, 16),
                        normal);
    platform::makeLabel(this, QStringLiteral("Ancho"), QRect(312, 40, 48, 24), normal);
    widthBox_ = platform::makeNumberBox(this, QRect(312, 64, 48, 24), kSizeDigits);
    heightBox_ = platform::makeNumberBox(this, QRect(384, 64, 48, 24), kSizeDigits);
    widthBox_->setFont(normal);
    heightBox_->setFont(normal);
    platform::makeLabel(this, QStringLiteral("Alto"), QRect(384, 40, 48, 24), normal,
                        Qt::AlignHCenter | Qt::AlignTop);
    platform::makeLabel(this, QStringLiteral("x"), QRect(360, 35, 24, 24), large,
                        Qt::AlignHCenter | Qt::AlignTop);
    platform::makeLabel(this, QStringLiteral("x"), QRect(360, 63, 24, 24), large,
                        Qt::AlignHCenter | Qt::AlignTop);
    textBox_ = new QPlainTextEdit(this);
    textBox_->setGeometry(8, 144, 480, 184);
    textBox_->setFont(normal);
    textBox_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    textBox_->setTabChangesFocus(true);
    platform::makeLabel(this, QStringLiteral("pixels"), QRect(432, 64, 56, 24), normal,
                        Qt::AlignHCenter | Qt::AlignTop);
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(8, 344, 80, 24), &normal);
    acceptButton_ =
        platform::makeButton(this, QStringLiteral("Aceptar"), QRect(408, 344, 80, 24), &normal);
    acceptButton_->setDefault(true);  // Enter presses it

    textBox_->setPlainText(settings_.text);
    widthBox_->setText(QString::number(settings_.areaWidth));
    heightBox_->setText(QString::number(settings_.areaHeight));
    for (int i = 0; i < 4; ++i) {
        if (*flagOf(settings_, i) == 1) options_[i]->setChecked(true);
    }

    connect(optionGroup_, &QButtonGroup::idToggled, this, [this](int index, bool checked) {
        if (checked) chooseAlignment(index);
    });
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);
    connect(textBox_, &QPlainTextEdit::textChanged, this, &AlignedTextDialog::changed);
    connect(widthBox_, &QLineEdit::textChanged, this, &AlignedTextDialog::changed);
    connect(heightBox_, &QLineEdit::textChanged, this, &AlignedTextDialog::changed);
    connect(acceptButton_, &QPushButton::clicked, this, &AlignedTextDialog::tryAccept);

    platform::FocusMemory::install(this);
}

QString AlignedTextDialog::blanksForLineBreaks(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    // The text box's own paragraph and line separators are line breaks too.
    text.replace(QChar::ParagraphSeparator, u' ');
    text.replace(QChar::LineSeparator, u' ');
    return text;
}

void AlignedTextDialog::chooseAlignment(int index) {
    for (int i = 0; i < 4; ++i) *flagOf(settings_, i) = i == index ? 1 : 0;
    emit changed();
}

AlignedTextSettings AlignedTextDialog::current() const {
    AlignedTextSettings now = settings_;
    now.text = blanksForLineBreaks(textBox_->toPlainText());
    const int width = platform::numberIn(widthBox_->text()).value_or(0);
    const int height = platform::numberIn(heightBox_->text()).value_or(0);
    if (width > 0 && width <= kMaxAreaWidth && height > 0 && height <= kMaxAreaHeight) {
        now.areaWidth = width;
        now.areaHeight = height;
    }
    now.alignment = kAlignLeft;
    for (int i = 0; i < 4; ++i) {
        if (*flagOf(now, i) == 1) now.alignment = kOptions[i].code;
    }
    return now;
}

void AlignedTextDialog::tryAccept() {
    settings_.text = blanksForLineBreaks(textBox_->toPlainText());
    // A text that is not a whole number reads as no size, refused below with the message.
    settings_.areaWidth = platform::numberIn(widthBox_->text()).value_or(0);
    settings_.areaHeight = platform::numberIn(heightBox_->text()).value_or(0);
    if (settings_.areaWidth > 0 && settings_.areaWidth <= kMaxAreaWidth &&
        settings_.areaHeight > 0 && settings_.areaHeight <= kMaxAreaHeight &&
        !settings_.text.isEmpty()) {
        settings_.alignment = kAlignLeft;
        for (int i = 0; i < 4; ++i) {
            if (*flagOf(settings_, i) == 1) settings_.alignment = kOptions[i].code;
        }
        accept();
        return;
    }
    platform::inform(
        QStringLiteral("Datos Incorrectos ...\r\nTamaño demasiado grande o faltan "
                       "datos ..."));
}

void AlignedTextDialog::done(int result) {
    settings_.accepted = result == QDialog::Accepted ? 1 : 0;
    QDialog::done(result);
}

void ShowAlignedTextDialog(QWidget* parent, AlignedTextSettings& settings,
                           const std::function<void(const AlignedTextSettings&)>& watch) {
    AlignedTextDialog dialog(parent, settings);
    platform::runWatched(dialog, watch);
}

}  // namespace tessel

#include "page/ImageSizeDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <algorithm>

#include "platform/DialogControls.h"
#include "platform/FocusMemory.h"
#include "platform/Fonts.h"
#include "platform/Services.h"
#include "surface/Numbers.h"

namespace tessel {

namespace {

// Four digits are far beyond any sensible box and keep the 16-bit fields from overflowing.
constexpr int kSizeDigits = 4;

}  // namespace

ImageSizeDialog::ImageSizeDialog(QWidget* parent, ImageSizeSetting& setting)
    : QDialog(parent), setting_(setting), original_(setting) {
    setWindowTitle(QStringLiteral("Tamaño Imagenes"));
    setFixedSize(335, 190);

    const QFont normal = platform::dialogFont(10);
    const QFont large = platform::dialogFont(14);
    const QFont small = platform::dialogFont(8);

    trueSizeBox_ = new QCheckBox(
        QStringLiteral("Quiero la imagen en su ") + QStringLiteral("tamaño verdadero "), this);
    trueSizeBox_->setGeometry(16, 16, 312, 24);
    trueSizeBox_->setFont(normal);
    platform::makeLabel(this, QStringLiteral("Ancho"), QRect(16, 48, 56, 16), normal,
                        Qt::AlignHCenter | Qt::AlignTop);
    platform::makeLabel(this, QStringLiteral("Alto"), QRect(102, 48, 56, 16), normal,
                        Qt::AlignHCenter | Qt::AlignTop);
    platform::makeLabel(this, QStringLiteral("x"), QRect(72, 43, 32, 24), large,
                        Qt::AlignHCenter | Qt::AlignTop);
    widthBox_ = platform::makeNumberBox(this, QRect(16, 72, 56, 24), kSizeDigits);
    widthBox_->setFont(normal);
    heightBox_ = platform::makeNumberBox(this, QRect(104, 72, 56, 24), kSizeDigits);
    heightBox_->setFont(normal);
    platform::makeLabel(this, QStringLiteral("x"), QRect(72, 72, 32, 24), large,
                        Qt::AlignHCenter | Qt::AlignTop);
    cancelButton_ =
        platform::makeButton(this, QStringLiteral("Cancelar"), QRect(8, 152, 72, 24), &normal);
    acceptButton_ =
        platform::makeButton(this, QStringLiteral("Aceptar"), QRect(256, 152, 72, 24), &normal);
    acceptButton_->setDefault(true);  // Enter presses it

    QLabel* advice = new QLabel(
        QStringLiteral("El tamaño es en pixeles, no es ") +
            QStringLiteral("aconsejable poner una dimension superior a  1200x900. Este dialogo ") +
            QStringLiteral("de configuracion afecta a todas las imagenes, iconos NO."),
        this);
    advice->setGeometry(168, 40, 160, 96);
    advice->setFont(small);
    advice->setWordWrap(true);
    advice->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    advice->setFrameStyle(QFrame::Box | QFrame::Plain);
    advice->setAutoFillBackground(true);
    QPalette palette = advice->palette();
    palette.setColor(QPalette::Window, toQColor(0x000000));
    palette.setColor(QPalette::WindowText, toQColor(0x00FFFF));
    advice->setPalette(palette);

    const bool trueSize = setting_.trueSize == 1;
    trueSizeBox_->setChecked(trueSize);
    widthBox_->setEnabled(!trueSize);
    heightBox_->setEnabled(!trueSize);
    if (!trueSize && setting_.boxWidth > 0 && setting_.boxHeight > 0) {
        widthBox_->setText(QString::number(setting_.boxWidth));
        heightBox_->setText(QString::number(setting_.boxHeight));
    }

    connect(trueSizeBox_, &QCheckBox::toggled, this, &ImageSizeDialog::setTrueSize);
    connect(cancelButton_, &QPushButton::clicked, this, &ImageSizeDialog::reject);
    connect(acceptButton_, &QPushButton::clicked, this, &ImageSizeDialog::accept);

    platform::FocusMemory::install(this);
}

QString ImageSizeDialog::missingSizeMessage() {
    return QStringLiteral("Tienes que poner un tamaño de imagen en esta opcion ...");
}

void ImageSizeDialog::setTrueSize(bool ticked) {
    setting_.trueSize = ticked ? 1 : 0;
    widthBox_->setEnabled(!ticked);
    heightBox_->setEnabled(!ticked);
}

void ImageSizeDialog::accept() {
    if (setting_.trueSize == 1) {
        setting_.boxWidth = 0;
        setting_.boxHeight = 0;
        QDialog::accept();
        return;
    }
    // A text that is not a whole number is no size, refused with the missing-size message.
    const std::int16_t width = platform::numberIn(widthBox_->text()).value_or(0);
    const std::int16_t height = platform::numberIn(heightBox_->text()).value_or(0);
    if (width <= 0 || height <= 0) {
        // The dialog stays open and the box keeps its earlier size.
        platform::inform(missingSizeMessage());
        return;
    }
    setting_.boxWidth = width;
    setting_.boxHeight = height;
    QDialog::accept();
}

void ImageSizeDialog::reject() {
    setting_ = original_;
    QDialog::reject();
}

void ShowImageSizeDialog(QWidget* parent, ImageSizeSetting& setting) {
    ImageSizeDialog dialog(parent, setting);
    dialog.exec();
}

}  // namespace tessel

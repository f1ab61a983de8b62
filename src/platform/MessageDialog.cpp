#include "platform/MessageDialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tessel::platform {

MessageDialog::MessageDialog(const QString& caption, const QString& text, Buttons buttons,
                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(caption);
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);  // the box grows with its longest line

    label_ = new QLabel(this);
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(false);
    label_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label_->setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    label_->setContentsMargins(8, 8, 8, 8);
    // Wide enough for the caption in a bold title bar beside the window manager's icon and its
    // three buttons, so that a short message keeps its caption whole.
    QFont title = QApplication::font();
    title.setBold(true);
    label_->setMinimumWidth(QFontMetrics(title).horizontalAdvance(caption) + kTitleBarDecorations);
    layout->addWidget(label_);

    auto* row = new QHBoxLayout;
    row->addStretch();
    const bool threeButtons =
        buttons == Buttons::SaveDiscardCancel || buttons == Buttons::RecoverDiscardLater;
    const QString acceptText = buttons == Buttons::YesNo ? QStringLiteral("Sí")
                               : buttons == Buttons::SaveDiscardCancel
                                   ? QStringLiteral("Guardar")
                               : buttons == Buttons::RecoverDiscardLater ? QStringLiteral("Recuperar")
                                                                         : QStringLiteral("Aceptar");
    accept_ = new QPushButton(acceptText, this);
    accept_->setDefault(true);
    row->addWidget(accept_);
    connect(accept_, &QPushButton::clicked, this, &QDialog::accept);
    if (threeButtons) {
        discard_ = new QPushButton(QStringLiteral("Descartar"), this);
        row->addWidget(discard_);
        connect(discard_, &QPushButton::clicked, this, [this] { done(kDiscarded); });
    }
    if (buttons != Buttons::Ok) {
        reject_ = new QPushButton(buttons == Buttons::YesNo ? QStringLiteral("No")
                                  : buttons == Buttons::RecoverDiscardLater
                                      ? QStringLiteral("Más tarde")
                                      : QStringLiteral("Cancelar"),
                                  this);
        row->addWidget(reject_);
        connect(reject_, &QPushButton::clicked, this, &QDialog::reject);
    }
    row->addStretch();
    layout->addLayout(row);
}

}  // namespace tessel::platform

#include "platform/MessageDialog.h"

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
    layout->addWidget(label_);

    auto* row = new QHBoxLayout;
    row->addStretch();
    const bool question = buttons == Buttons::YesNo;
    accept_ = new QPushButton(question ? QStringLiteral("Sí") : QStringLiteral("Aceptar"), this);
    accept_->setDefault(true);
    row->addWidget(accept_);
    connect(accept_, &QPushButton::clicked, this, &QDialog::accept);
    if (question) {
        reject_ = new QPushButton(QStringLiteral("No"), this);
        row->addWidget(reject_);
        connect(reject_, &QPushButton::clicked, this, &QDialog::reject);
    }
    row->addStretch();
    layout->addLayout(row);
}

}  // namespace tessel::platform

#include "platform/DialogControls.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QToolTip>
#include <algorithm>

#include "surface/Numbers.h"

namespace tessel::platform {
namespace {

// What a digits box says when it does not take what was typed.
QString refusedInputMessage(const QLineEdit& box) {
    if (box.text().size() - box.selectedText().size() >= box.maxLength()) {
        return QStringLiteral("Aquí caben como mucho %1 cifras.").arg(box.maxLength());
    }
    return QStringLiteral("Aquí solo se pueden escribir cifras.");
}

}  // namespace

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  Qt::Alignment alignment) {
    auto* control = new QLabel(text, parent);
    control->setGeometry(geometry);
    control->setFont(font);
    control->setAlignment(alignment);
    return control;
}

QPushButton* makeButton(QWidget* parent, const QString& text, const QRect& geometry,
                        const QFont* font) {
    auto* control = new QPushButton(text, parent);
    control->setGeometry(geometry);
    if (font) control->setFont(*font);
    control->setAutoDefault(false);
    return control;
}

QLineEdit* makeDigitsBox(QWidget* parent, const QRect& geometry, int maxDigits) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(geometry);
    box->setMaxLength(maxDigits);
    box->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), box));
    QObject::connect(box, &QLineEdit::inputRejected, box, [box] {
        QApplication::beep();
        QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), refusedInputMessage(*box),
                           box);
    });
    return box;
}

QLineEdit* makeNumberBox(QWidget* parent, const QRect& geometry, int maxDigits) {
    auto* box = new QLineEdit(parent);
    box->setGeometry(geometry);
    box->setMaxLength(maxDigits);
    return box;
}

std::optional<std::int16_t> numberIn(const QString& text) {
    const QString digits = text.trimmed();
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') return std::nullopt;
    }
    return shortNumberOf(digits);
}

std::int16_t shortNumberOf(const QString& text) {
    return std::int16_t(std::clamp(leadingNumber(text), 0, 32767));
}

}  // namespace tessel::platform

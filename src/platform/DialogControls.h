#pragma once
// The controls the program's dialogs are built from, each made at its documented place.

#include <QFont>
#include <QRect>
#include <QString>
#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace tessel::platform {

QLabel* makeLabel(QWidget* parent, const QString& text, const QRect& geometry, const QFont& font,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignTop);
// A push button that never becomes the default button; without a font it keeps the dialog's.
QPushButton* makeButton(QWidget* parent, const QString& text, const QRect& geometry,
                        const QFont* font = nullptr);
// A text box that takes digits only, at most maxDigits of them.
QLineEdit* makeDigitsBox(QWidget* parent, const QRect& geometry, int maxDigits);
// The number in a text box as a signed 16-bit field holds it: 0 to 32767.
std::int16_t shortNumberOf(const QString& text);

}  // namespace tessel::platform

#pragma once
// The controls the program's dialogs are built from, each made at its documented place.

#include <QFont>
#include <QRect>
#include <QString>
#include <cstdint>
#include <optional>

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
// A text box that takes digits only, at most maxDigits of them. Another key, a paste that is not
// all digits or a digit too many is not taken, and says so (a beep and a tip under the box), so
// that a comma or a letter is never dropped between digits without a word.
QLineEdit* makeDigitsBox(QWidget* parent, const QRect& geometry, int maxDigits);
// A text box for a whole number of at most maxDigits characters. It keeps whatever is typed or
// pasted, so that a comma or a letter is never dropped between digits to join them ("12,5"
// never becomes 125, "1e9" never 19); its dialog reads it with numberIn() and refuses a text
// that is not a number with its own message.
QLineEdit* makeNumberBox(QWidget* parent, const QRect& geometry, int maxDigits);
// The number in a text box as a signed 16-bit field holds it: 0 to 32767.
std::int16_t shortNumberOf(const QString& text);
// The whole number a number box holds, as a signed 16-bit field holds it (0 to 32767; an empty
// text reads 0, blanks around the digits are allowed); nothing when the text holds anything
// other than digits.
std::optional<std::int16_t> numberIn(const QString& text);

}  // namespace tessel::platform

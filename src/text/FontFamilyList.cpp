#include "text/FontFamilyList.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QPainter>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "platform/Fonts.h"

namespace tessel {

FontFamilyList::FontFamilyList(QWidget* parent) : QComboBox(parent) {
    QStringList families = QFontDatabase::families();
    std::sort(families.begin(), families.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    families.erase(std::unique(families.begin(), families.end()), families.end());
    addItems(families);
    setItemDelegate(new FontEntryDelegate(this));
    view()->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

QFont FontFamilyList::listFont(const QString& face) {
    QFont font(face);
    font.setPixelSize(std::max(1, 12 * platform::logicalDpiY() / 72));
    font.setWeight(QFont::Normal);
    font.setStyleStrategy(
        QFont::StyleStrategy(QFont::PreferAntialias | QFont::NoSubpixelAntialias));
    return font;
}

int FontFamilyList::entryHeight() {
    return QFontMetrics(listFont(platform::substituteFace(QStringLiteral("MS Sans Serif"))))
               .height() +
           4;
}

void FontFamilyList::selectFace(const QString& face) {
    const QSignalBlocker blocker(this);
    int index = findText(face, Qt::MatchFixedString);
    if (index < 0) {
        const QFontInfo drawn(listFont(platform::substituteFace(face)));
        index = findText(drawn.family(), Qt::MatchFixedString);
    }
    setCurrentIndex(index);
}

void FontFamilyList::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    style()->drawComplexControl(QStyle::CC_ComboBox, &option, &painter, this);
    const QRect field =
        style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const QString face = currentText();
    // The closed field shows its entry in the window colours whatever its state.
    painter.fillRect(field, palette().color(QPalette::Base));
    if (face.isEmpty()) return;
    drawFontEntry(painter, field, face, palette().color(QPalette::Base),
                  palette().color(QPalette::Text), hasFocus());
}

void FontEntryDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    const bool selected = option.state & QStyle::State_Selected;
    const QPalette& palette = option.palette;
    drawFontEntry(*painter, option.rect, index.data(Qt::DisplayRole).toString(),
                  palette.color(selected ? QPalette::Highlight : QPalette::Base),
                  palette.color(selected ? QPalette::HighlightedText : QPalette::Text), selected);
}

QSize FontEntryDelegate::sizeHint(const QStyleOptionViewItem& option,
                                  const QModelIndex& index) const {
    return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                 FontFamilyList::entryHeight());
}

void drawFontEntry(QPainter& painter, const QRect& rect, const QString& face,
                   const QColor& background, const QColor& text, bool focusRect) {
    painter.save();
    painter.fillRect(rect, background);
    if (!face.isEmpty()) {
        painter.setFont(FontFamilyList::listFont(face));
        painter.setPen(text);
        painter.drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, face);
    }
    if (focusRect) {
        QPen dotted(text);
        dotted.setStyle(Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
    painter.restore();
}

}  // namespace tessel

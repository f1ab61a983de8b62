#include "text/FontFamilyList.h"

#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHash>
#include <QPainter>
#include <QRawFont>
#include <QRegularExpression>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "platform/Fonts.h"

namespace tessel {

namespace {

// A family offered by several foundries is listed by Qt once per foundry, as "Family [Foundry]";
// the family alone names them all.
QString withoutFoundry(const QString& family) {
    static const QRegularExpression foundry(QStringLiteral("^(.+?) \\[[^\\[\\]]*\\]$"));
    const QRegularExpressionMatch match = foundry.match(family);
    return match.hasMatch() ? match.captured(1) : family;
}

// Whether the face draws its own name as letters: not a symbol face (whose letters come out
// as pictures), and every character of the name in the face itself.
}  // namespace

bool FontFamilyList::showsOwnName(const QString& face) {
    static QHash<QString, bool> known;
    const auto found = known.constFind(face);
    if (found != known.constEnd()) return *found;
    bool shows = !QFontDatabase::writingSystems(face).contains(QFontDatabase::Symbol);
    const QRawFont raw = QRawFont::fromFont(FontFamilyList::listFont(face));
    // A face that is not installed is drawn in a fallback face, which shows the name.
    if (shows && raw.isValid() &&
        withoutFoundry(raw.familyName()).compare(face, Qt::CaseInsensitive) == 0) {
        for (const char32_t c : face.toUcs4()) {
            if (c != U' ' && !raw.supportsCharacter(c)) shows = false;
        }
    }
    known.insert(face, shows);
    return shows;
}

QStringList FontFamilyList::familyNames(QStringList installed) {
    for (QString& family : installed) family = withoutFoundry(family);
    std::sort(installed.begin(), installed.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    installed.erase(std::unique(installed.begin(), installed.end()), installed.end());
    return installed;
}

FontFamilyList::FontFamilyList(QWidget* parent) : QComboBox(parent) {
    addItems(familyNames(QFontDatabase::families()));
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
        // A face that cannot show its own name (a symbol face) shows it in the dialogs' face.
        painter.setFont(FontFamilyList::listFont(
            FontFamilyList::showsOwnName(face)
                ? face
                : platform::substituteFace(QStringLiteral("MS Sans Serif"))));
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

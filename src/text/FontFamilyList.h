#pragma once
// The font list of the text properties: every installed family once, sorted, each entry drawn
// in its own face at 12 points (or in the dialogs' face when its own cannot show the name); the
// open list shows the selected entry in the highlight colours, the closed field shows its entry in
// the window colours.

#include <QComboBox>
#include <QFont>
#include <QStyledItemDelegate>

namespace tessel {

class FontFamilyList : public QComboBox {
    Q_OBJECT
  public:
    explicit FontFamilyList(QWidget* parent);

    // The font an entry is drawn in: its face at 12 points (the pixel height
    // -(12 * dpi / 72) in integer arithmetic), regular.
    static QFont listFont(const QString& face);
    // The entries' fixed height: the list font's line height and 4 pixels.
    static int entryHeight();

    // The list's entries from Qt's family names: each family once, whatever foundries offer it
    // ("Z003 [UKWN]" and "Z003 [urw]" give "Z003"), sorted without regard to case.
    static QStringList familyNames(QStringList installed);
    // Whether an entry's own face can show its name: false for symbol faces and for faces that
    // lack a character of the name; such entries are drawn in the dialogs' face.
    static bool showsOwnName(const QString& face);

    // Selects the entry of the face; when the face is not an installed family, the entry of the
    // face it is drawn with. No entry when neither is listed. Emits no signal.
    void selectFace(const QString& face);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// Draws one entry of the open list.
class FontEntryDelegate : public QStyledItemDelegate {
    Q_OBJECT
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

// Draws a face's name in its own face into the rectangle, vertically centred on one line, on
// the given colours, with a focus rectangle around it when asked.
void drawFontEntry(QPainter& painter, const QRect& rect, const QString& face,
                   const QColor& background, const QColor& text, bool focusRect);

}  // namespace tessel

#include "calendar/HolidayList.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace tessel {

namespace {

constexpr int kExtraRowHeight = 14;

class HolidayRowDelegate : public QStyledItemDelegate {
  public:
    explicit HolidayRowDelegate(HolidayList* list) : QStyledItemDelegate(list), list_(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        const QFontMetrics metrics(list_->font());
        return QSize(metrics.horizontalAdvance(index.data().toString()), list_->rowHeight());
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        if (!index.isValid()) return;
        const QRect row = option.rect;
        const bool selected = option.state & QStyle::State_Selected;
        const QPalette& palette = list_->palette();
        painter->save();
        if (selected) {
            painter->fillRect(row, palette.color(QPalette::Active, QPalette::Highlight));
            painter->setPen(palette.color(QPalette::Active, QPalette::HighlightedText));
        } else {
            painter->fillRect(row, Qt::black);
            painter->setPen(toQColor(list_->rowColour(index.row())));
        }
        painter->setFont(list_->font());
        painter->drawText(row, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          index.data().toString());
        painter->setRenderHint(QPainter::Antialiasing, false);
        QPen separator(Qt::black);
        separator.setWidth(0);
        painter->setPen(separator);
        painter->drawLine(QPoint(0, row.bottom()), QPoint(row.right(), row.bottom()));
        painter->restore();
    }

  private:
    HolidayList* list_;
};

}  // namespace

HolidayList::HolidayList(QWidget* parent, const QRect& geometry, const QFont& listFont,
                         std::function<Colour(int)> rowColour)
    : QListWidget(parent), rowColour_(std::move(rowColour)) {
    setGeometry(geometry);
    setFont(listFont);
    setFrameShape(QFrame::StyledPanel);
    setFrameShadow(QFrame::Sunken);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    rowHeight_ = QFontMetrics(font()).height() + kExtraRowHeight;
    setItemDelegate(new HolidayRowDelegate(this));
}

}  // namespace tessel

#include "platform/ProgramStyle.h"

#include <QApplication>
#include <QIconEngine>
#include <QPointer>
#include <QProxyStyle>

namespace tessel::platform {
namespace {

// An icon made by the style the first time anything about it is asked.
class IconOnFirstUse : public QIconEngine {
  public:
    IconOnFirstUse(QStyle* style, QStyle::StandardPixmap which) : style_(style), which_(which) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().pixmap(size, mode, state);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        return icon().pixmap(size, scale, mode, state);
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return icon().actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override {
        return icon().availableSizes(mode, state);
    }
    bool isNull() override { return icon().isNull(); }
    QIconEngine* clone() const override { return new IconOnFirstUse(*this); }

  private:
    const QIcon& icon() {
        if (!made_) {
            if (style_) icon_ = style_->standardIcon(which_);
            made_ = true;
        }
        return icon_;
    }

    QPointer<QStyle> style_;
    QStyle::StandardPixmap which_;
    bool made_ = false;
    QIcon icon_;
};

class ProgramStyle : public QProxyStyle {
  public:
    using QProxyStyle::QProxyStyle;

    QIcon standardIcon(StandardPixmap which, const QStyleOption* option,
                       const QWidget* widget) const override {
        if (which == SP_ToolBarHorizontalExtensionButton ||
            which == SP_ToolBarVerticalExtensionButton) {
            return QIcon(new IconOnFirstUse(baseStyle(), which));
        }
        return QProxyStyle::standardIcon(which, option, widget);
    }
};

}  // namespace

void useProgramStyle() {
    QApplication::setStyle(new ProgramStyle(QApplication::style()->name()));
}

}  // namespace tessel::platform

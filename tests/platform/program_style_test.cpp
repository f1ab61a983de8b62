// The program's style draws the menu bar's arrow for menus that do not fit as the style it stands
// on does, though it reads the arrow only when it is first drawn.

#include <gtest/gtest.h>

#include <QApplication>
#include <QIcon>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

#include "platform/ProgramStyle.h"

namespace tessel::platform {
namespace {

TEST(ProgramStyle, DrawsTheMenuBarArrowAsTheStyleItStandsOn) {
    const QString name = QApplication::style()->name();
    const std::unique_ptr<QStyle> plain(QStyleFactory::create(name));
    ASSERT_TRUE(plain);
    useProgramStyle();
    for (const auto which :
         {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
          QStyle::SP_MessageBoxWarning}) {
        const QIcon icon = QApplication::style()->standardIcon(which);
        const QIcon expected = plain->standardIcon(which);
        ASSERT_FALSE(expected.isNull());
        EXPECT_FALSE(icon.isNull());
        EXPECT_EQ(icon.availableSizes(), expected.availableSizes());
        for (const int size : {16, 32}) {
            EXPECT_EQ(icon.pixmap(size).toImage(), expected.pixmap(size).toImage()) << size;
        }
    }
    QApplication::setStyle(name);
}

}  // namespace
}  // namespace tessel::platform

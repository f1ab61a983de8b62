// The program's message box keeps each line of its text whole; the file choosers' "every file"
// filters show files whose names have no dot.

#include <gtest/gtest.h>

#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <memory>

#include "platform/MessageDialog.h"
#include "platform/Services.h"

namespace tessel::platform {
namespace {

const QString kLongLine =
    QStringLiteral("Este programa necesita una resolucion de pantalla de : 1200x900 o superior ");

TEST(MessageDialog, LinesBreakOnlyAtCarriageReturnLineFeed) {
    const QString text = kLongLine + QStringLiteral(
                                         "\r\nTu pantalla tiene una resolucion de : "
                                         "1024x768\r\nSintiendolo mucho ...");
    MessageDialog box(QStringLiteral("Programador"), text, MessageDialog::Buttons::Ok);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Programador"));
    EXPECT_FALSE(box.label()->wordWrap());
    // Three lines, each as the text has it.
    EXPECT_EQ(
        box.label()->text().split(u'\n'),
        (QStringList{kLongLine, QStringLiteral("Tu pantalla tiene una resolucion de : 1024x768"),
                     QStringLiteral("Sintiendolo mucho ...")}));
    // The label is wide enough for the longest line and exactly three lines high.
    const QFontMetrics metrics(box.label()->font());
    const QRect content = box.label()->contentsRect();
    EXPECT_GE(content.width(), metrics.horizontalAdvance(kLongLine));
    EXPECT_LT(content.height(), 4 * metrics.lineSpacing());
    EXPECT_GE(box.width(), content.width());
    EXPECT_EQ(box.acceptButton()->text(), QStringLiteral("Aceptar"));
    EXPECT_EQ(box.rejectButton(), nullptr);
    QTest::mouseClick(box.acceptButton(), Qt::LeftButton);
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(MessageDialog, AShortMessageLeavesRoomForItsWholeCaption) {
    // "Gracias" is far narrower than its caption in a bold title bar, which also holds the
    // window's icon and three buttons of some 24 pixels each.
    MessageDialog box(QStringLiteral("Programador ..."), QStringLiteral("Gracias"),
                      MessageDialog::Buttons::Ok);
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QFont bold = box.font();
    bold.setBold(true);
    EXPECT_GE(box.width(), QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + 4 * 24);
}

TEST(MessageDialog, QuestionsAnswerYesOrNo) {
    MessageDialog yes(QStringLiteral("Programador"),
                      QStringLiteral("El fichero existe ...\r\nSobreescribir?"),
                      MessageDialog::Buttons::YesNo);
    yes.show();
    EXPECT_EQ(yes.label()->text(), QStringLiteral("El fichero existe ...\nSobreescribir?"));
    ASSERT_NE(yes.rejectButton(), nullptr);
    EXPECT_EQ(yes.acceptButton()->text(), QStringLiteral("Sí"));
    EXPECT_EQ(yes.rejectButton()->text(), QStringLiteral("No"));
    QTest::mouseClick(yes.acceptButton(), Qt::LeftButton);
    EXPECT_EQ(yes.result(), QDialog::Accepted);

    MessageDialog no(QStringLiteral("Programador"), QStringLiteral("?"),
                     MessageDialog::Buttons::YesNo);
    no.show();
    QTest::mouseClick(no.rejectButton(), Qt::LeftButton);
    EXPECT_EQ(no.result(), QDialog::Rejected);
}

TEST(MessageDialog, TheUnsavedWorkQuestionSavesOnEnterDiscardsOrCancelsOnEscape) {
    const auto ask = [] {
        return std::make_unique<MessageDialog>(QStringLiteral("Programador"),
                                               QStringLiteral("¿Guardar los cambios de la imagen?"),
                                               MessageDialog::Buttons::SaveDiscardCancel);
    };
    auto box = ask();
    box->show();
    ASSERT_NE(box->discardButton(), nullptr);
    ASSERT_NE(box->rejectButton(), nullptr);
    EXPECT_EQ(box->acceptButton()->text(), QStringLiteral("Guardar"));
    EXPECT_EQ(box->discardButton()->text(), QStringLiteral("Descartar"));
    EXPECT_EQ(box->rejectButton()->text(), QStringLiteral("Cancelar"));
    QTest::keyClick(box.get(), Qt::Key_Return);
    EXPECT_EQ(box->result(), QDialog::Accepted);

    box = ask();
    box->show();
    QTest::mouseClick(box->discardButton(), Qt::LeftButton);
    EXPECT_EQ(box->result(), MessageDialog::kDiscarded);

    box = ask();
    box->show();
    QTest::keyClick(box.get(), Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), QDialog::Rejected);
}

TEST(MessageDialog, TheRecoveryOfferRecoversOnEnterDiscardsOrWaitsOnEscape) {
    const auto ask = [] {
        return std::make_unique<MessageDialog>(
            QStringLiteral("Programador"),
            QStringLiteral("Se ha encontrado una imagen que no se llegó a guardar "
                           "(9 de diciembre de 2026, 21:40). ¿Recuperarla?"),
            MessageDialog::Buttons::RecoverDiscardLater);
    };
    auto box = ask();
    box->show();
    ASSERT_NE(box->discardButton(), nullptr);
    ASSERT_NE(box->rejectButton(), nullptr);
    EXPECT_EQ(box->acceptButton()->text(), QStringLiteral("Recuperar"));
    EXPECT_EQ(box->discardButton()->text(), QStringLiteral("Descartar"));
    EXPECT_EQ(box->rejectButton()->text(), QStringLiteral("Más tarde"));
    EXPECT_TRUE(box->acceptButton()->isDefault());
    QTest::keyClick(box.get(), Qt::Key_Return);
    EXPECT_EQ(box->result(), QDialog::Accepted);

    box = ask();
    box->show();
    QTest::mouseClick(box->discardButton(), Qt::LeftButton);
    EXPECT_EQ(box->result(), MessageDialog::kDiscarded);

    box = ask();
    box->show();
    QTest::keyClick(box.get(), Qt::Key_Escape);
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->result(), QDialog::Rejected);
}

// Whether a file name passes one of the dialog's filters, as the file dialog matches them.
bool passes(const QString& filter, const QString& name) {
    const qsizetype open = filter.lastIndexOf(u'(');
    const QString patterns = filter.mid(open + 1, filter.size() - open - 2);
    for (const QString& pattern : patterns.split(u' ', Qt::SkipEmptyParts)) {
        const QRegularExpression glob(QRegularExpression::wildcardToRegularExpression(pattern),
                                      QRegularExpression::CaseInsensitiveOption);
        if (glob.match(name).hasMatch()) return true;
    }
    return false;
}

TEST(FileFilters, EveryFileFiltersPassNamesWithoutADot) {
    const FileRequest pictures{
        QStringLiteral("t"),
        {{QStringLiteral("Images"), QStringLiteral("*.jpg;*.png;*.gif;*.bmp")},
         {QStringLiteral("All Files"), QStringLiteral("*.*")}},
        QStringLiteral("jpg"),
        QString()};
    const QStringList filters = nameFilters(pictures);
    ASSERT_EQ(filters.size(), 2);
    EXPECT_TRUE(filters[0].startsWith(u"Images ("));
    EXPECT_TRUE(filters[1].startsWith(u"All Files ("));
    for (const char* name : {"foto.jpg", "FOTO.PNG", "a.gif", "b.bmp"}) {
        EXPECT_TRUE(passes(filters[0], name)) << name;
    }
    for (const char* name : {"foto.tif", "LEEME", "foto"})
        EXPECT_FALSE(passes(filters[0], name)) << name;
    for (const char* name : {"foto.jpg", "LEEME", "Makefile", "a.b.c", ".oculto"}) {
        EXPECT_TRUE(passes(filters[1], name)) << name;
    }

    const FileRequest icons{QStringLiteral("t"),
                            {{QStringLiteral("Iconos"), QStringLiteral("*.ico")},
                             {QStringLiteral("Todos los Ficheros"), QStringLiteral("*.*")}},
                            QStringLiteral("ico"),
                            QString()};
    const QStringList iconFilters = nameFilters(icons);
    ASSERT_EQ(iconFilters.size(), 2);
    EXPECT_TRUE(passes(iconFilters[0], "carpeta.ico"));
    EXPECT_FALSE(passes(iconFilters[0], "icono"));
    EXPECT_TRUE(passes(iconFilters[1], "icono"));
}

}  // namespace
}  // namespace tessel::platform

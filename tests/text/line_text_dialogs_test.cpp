// "Texto a Insertar" and "Inserta Texto": layout, remembered texts, the accepted flag and the
// refusal of an empty line.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "support/ScriptedServices.h"
#include "text/LineTextDialogs.h"
#include "support/DialogKeys.h"

namespace tessel {
namespace {

template <typename Dialog>
Dialog* shown() {
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<Dialog*>(widget); dialog && dialog->isVisible())
            return dialog;
    return nullptr;
}

TEST(AngularTextDialog, LaidOutOverTheMainWindow) {
    QWidget mainWindow;
    mainWindow.setGeometry(200, 150, 800, 600);
    mainWindow.show();
    LineTextSettings settings;
    AngularTextDialog dialog(&mainWindow, settings);
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Texto a Insertar"));
    EXPECT_EQ(dialog.size(), QSize(302, 231));
    EXPECT_EQ(dialog.geometry().topLeft(), mainWindow.mapToGlobal(QPoint(105, 114)));
    EXPECT_EQ(dialog.textBox()->geometry(), QRect(8, 8, 288, 152));
    EXPECT_EQ(dialog.note()->geometry(), QRect(88, 168, 128, 56));
    EXPECT_EQ(dialog.note()->text(), QStringLiteral("El texto se imprime en 1 sola linea ..."));
    EXPECT_TRUE(dialog.note()->font().italic() && dialog.note()->font().bold());
    EXPECT_EQ(dialog.note()->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_EQ(dialog.note()->palette().color(QPalette::Window), QColor(0, 0, 0));
}

TEST(AngularTextDialog, AcceptStoresTheTextEvenWhenEmptyAndCancelKeepsIt) {
    LineTextSettings settings;
    settings.angularText = QStringLiteral("antes");
    QTimer::singleShot(0, [] {
        auto* dialog = shown<AngularTextDialog>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textBox()->toPlainText(), QStringLiteral("antes"));
        dialog->textBox()->clear();
        QTest::keyClicks(dialog->textBox(), QStringLiteral("uno"));
        QTest::keyClick(dialog->textBox(), Qt::Key_Return);
        QTest::keyClicks(dialog->textBox(), QStringLiteral("dos"));
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    });
    AskAngularText(nullptr, settings);
    EXPECT_EQ(settings.accepted, 0);
    EXPECT_EQ(settings.angularText, QStringLiteral("antes"));

    QTimer::singleShot(0, [] {
        auto* dialog = shown<AngularTextDialog>();
        ASSERT_NE(dialog, nullptr);
        dialog->textBox()->clear();
        QTest::keyClicks(dialog->textBox(), QStringLiteral("uno"));
        QTest::keyClick(dialog->textBox(), Qt::Key_Return);
        QTest::keyClicks(dialog->textBox(), QStringLiteral("dos"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    AskAngularText(nullptr, settings);
    EXPECT_EQ(settings.accepted, 1);
    EXPECT_EQ(settings.angularText, QStringLiteral("uno\ndos"));

    QTimer::singleShot(0, [] {
        auto* dialog = shown<AngularTextDialog>();
        ASSERT_NE(dialog, nullptr);
        dialog->textBox()->clear();
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    AskAngularText(nullptr, settings);
    EXPECT_EQ(settings.accepted, 1);  // the empty text is refused by the command, not here
    EXPECT_TRUE(settings.angularText.isEmpty());
}

TEST(LineTextDialog, LaidOut) {
    LineTextSettings settings;
    LineTextDialog dialog(nullptr, settings);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Inserta Texto"));
    EXPECT_EQ(dialog.size(), QSize(271, 104));
    EXPECT_EQ(dialog.acceptButton()->geometry(), QRect(192, 64, 72, 24));
    EXPECT_FALSE(dialog.textBox()->font().bold());
    EXPECT_TRUE(dialog.acceptButton()->font().bold());
    const auto labels = dialog.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), QStringLiteral("Escribe aqui la linea de texto"));
    EXPECT_EQ(labels[0]->geometry(), QRect(8, 8, 232, 16));
}

TEST(LineTextDialog, EmptyLineIsRefusedAndTheDialogStaysOpen) {
    testing::ScriptedServices scripted;
    LineTextSettings settings;
    settings.lineText = QStringLiteral("viejo");
    QTimer::singleShot(0, [&scripted] {
        auto* dialog = shown<LineTextDialog>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textBox()->text(), QStringLiteral("viejo"));
        dialog->textBox()->clear();
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
        EXPECT_EQ(scripted.messageTexts(),
                  QStringList{QStringLiteral("Tienes que escribir un texto ...")});
        EXPECT_EQ(scripted.messages.value(0).caption, QStringLiteral("Programador"));
        EXPECT_TRUE(dialog->isVisible());
        QTest::keyClicks(dialog->textBox(), QStringLiteral("nuevo"));
        QTest::mouseClick(dialog->acceptButton(), Qt::LeftButton);
    });
    AskLineText(nullptr, settings);
    EXPECT_EQ(settings.accepted, 1);
    EXPECT_EQ(settings.lineText, QStringLiteral("nuevo"));

    QTimer::singleShot(0, [] {
        auto* dialog = shown<LineTextDialog>();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->textBox()->text(), QStringLiteral("nuevo"));
        QTest::keyClicks(dialog->textBox(), QStringLiteral(" mas"));
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    });
    AskLineText(nullptr, settings);
    EXPECT_EQ(settings.accepted, 0);
    EXPECT_EQ(settings.lineText, QStringLiteral("nuevo"));
}

TEST(LineTextDialogs, EnterAcceptsExceptInTheMultiLineBoxAndEscapeCancels) {
    LineTextSettings settings;
    LineTextDialog line(nullptr, settings);
    line.show();
    QTest::keyClicks(line.textBox(), QStringLiteral("Hola"));
    testing::expectEnterPresses(line, line.textBox(), line.acceptButton());

    AngularTextDialog angular(nullptr, settings);
    angular.show();
    angular.textBox()->clear();
    QTest::keyClick(angular.textBox(), Qt::Key_Return);
    EXPECT_EQ(angular.textBox()->toPlainText(), QStringLiteral("\n"));
    EXPECT_TRUE(angular.isVisible());
    testing::expectEnterPresses(angular, angular.acceptButton(), angular.acceptButton());

    LineTextDialog again(nullptr, settings);
    again.show();
    testing::expectEscapeCancels(again, again.textBox());
    AngularTextDialog angularAgain(nullptr, settings);
    angularAgain.show();
    testing::expectEscapeCancels(angularAgain, angularAgain.textBox());
}

}  // namespace
}  // namespace tessel

#pragma once
// Enter and Escape in a dialog, pressed where the user's keyboard would send them: in one of its
// controls, from which a key the control does not use goes on to the dialog.

#include <gtest/gtest.h>

#include <QDialog>
#include <QPushButton>
#include <QTest>

namespace tessel::testing {

// Enter pressed in `control` of the shown dialog presses `button`, its accept button, once.
inline void expectEnterPresses(QDialog& dialog, QWidget* control, QPushButton* button) {
    ASSERT_TRUE(dialog.isVisible());
    // The keyboard's focus is in the control, as after the user typed there: a push button that
    // had it when the dialog opened (and with it the default, as Qt gives a focused button) no
    // longer does.
    control->setFocus(Qt::OtherFocusReason);
    EXPECT_TRUE(button->isDefault());
    int presses = 0;
    const auto connection = QObject::connect(button, &QPushButton::clicked, [&] { ++presses; });
    QTest::keyClick(control, Qt::Key_Return);
    QObject::disconnect(connection);
    EXPECT_EQ(presses, 1) << button->text().toStdString();
}

// Escape pressed in `control` closes the shown dialog as cancelled.
inline void expectEscapeCancels(QDialog& dialog, QWidget* control) {
    ASSERT_TRUE(dialog.isVisible());
    QTest::keyClick(control, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

}  // namespace tessel::testing

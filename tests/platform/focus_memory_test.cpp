// Windows give the focus back to the control that had it when they lost activation.

#include <gtest/gtest.h>

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QWidget>

#include "platform/FocusMemory.h"

namespace tessel::platform {
namespace {

TEST(FocusMemory, RestoresTheFocusedControlOnActivation) {
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    FocusMemory memory(&window);
    window.show();
    second->setFocus();

    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&window, &deactivate);
    EXPECT_EQ(memory.remembered(), second);

    first->setFocus();
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);
    EXPECT_EQ(window.focusWidget(), second);
    EXPECT_EQ(memory.remembered(), nullptr);  // forgotten once given back
}

TEST(FocusMemory, ForgetsAControlThatWasDestroyed) {
    QWidget window;
    auto* box = new QLineEdit(&window);
    FocusMemory memory(&window);
    window.show();
    box->setFocus();
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&window, &deactivate);
    delete box;
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&window, &activate);  // must not touch the deleted control
    EXPECT_EQ(memory.remembered(), nullptr);
}

}  // namespace
}  // namespace tessel::platform

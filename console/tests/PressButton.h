#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeySequence>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace consoletest {

// The three ways a person presses a dialog's button: Enter in the control being edited (for the
// dialog's default button) and the button's mnemonic leave the focus where it is; a click moves it
// to the button first.
enum class Press { kEnter, kMnemonic, kMouse };

inline constexpr Press kEveryPress[] = {Press::kEnter, Press::kMnemonic, Press::kMouse};

inline const char* PressName(Press press) {
    switch (press) {
        case Press::kEnter:
            return "Enter";
        case Press::kMnemonic:
            return "mnemonic";
        case Press::kMouse:
            return "mouse";
    }
    return "?";
}

// Presses the button of a shown dialog and waits until it was clicked. The mnemonic is the one its
// caption underlines; it reaches only the active window, and its click comes from a timer.
inline void PressButton(QPushButton* button, Press press) {
    QWidget* window = button->window();
    ASSERT_TRUE(QTest::qWaitFor([window] { return QApplication::activeWindow() == window; }, 30000))
        << "the dialog never became the active window";
    QWidget* focus = window->focusWidget() != nullptr ? window->focusWidget() : window;
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    switch (press) {
        case Press::kEnter:
            EXPECT_TRUE(button->isDefault()) << button->text().toStdString() << " is not the default button";
            QTest::keyClick(focus, Qt::Key_Return);
            break;
        case Press::kMnemonic:
            ASSERT_FALSE(QKeySequence::mnemonic(button->text()).isEmpty()) << button->text().toStdString();
            QTest::keySequence(focus, QKeySequence::mnemonic(button->text()));
            break;
        case Press::kMouse:
            QTest::mouseClick(button, Qt::LeftButton);
            break;
    }
    ASSERT_TRUE(QTest::qWaitFor([&clicked] { return !clicked.isEmpty(); }, 30000))
        << PressName(press) << " did not press " << button->text().toStdString();
}

}  // namespace consoletest

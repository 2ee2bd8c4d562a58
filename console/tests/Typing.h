#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

namespace consoletest {

// Types the text key by key into whatever has the focus, as a person types: what the dialog does
// between two keys (a focus move) happens before the next key.
inline void TypeAtFocus(const QString& text) {
    for (const QChar c : text) {
        QCoreApplication::processEvents();
        QWidget* focus = QApplication::focusWidget();
        if (focus == nullptr) {
            ADD_FAILURE() << "nothing has the focus";
            return;
        }
        QTest::keyClick(focus, c.toLatin1());
    }
    QCoreApplication::processEvents();
}

// The box's text typed anew over what it holds (emptied with Backspace when the text is empty).
inline void Retype(QLineEdit* box, const QString& text) {
    box->setFocus();
    box->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(box, Qt::Key_Backspace);
    }
    QTest::keyClicks(box, text);
}

// Each character typed into the widget as a key whose text it is, whatever its code (a key the
// keyboard's layout gives, an accented letter, a currency sign).
inline void TypeInto(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// The text pasted into the box with Ctrl+V, over what the box selects once it has the focus.
inline void PasteInto(QLineEdit* box, const QString& text) {
    QApplication::clipboard()->setText(text);
    box->setFocus();
    QCoreApplication::processEvents();
    QTest::keySequence(box, QKeySequence::Paste);
    QCoreApplication::processEvents();
}

}  // namespace consoletest

#pragma once

#include <QApplication>
#include <QLineEdit>
#include <QPoint>
#include <QString>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

// Input as the platform gives it to a window: keys to the window, clicks where
// a control is seen, text typed key by key.
namespace varnek::test
{

// The centre of a control, in its window.
inline QPoint mitte(const QWidget *w)
{
    return w->mapTo(w->window(), w->rect().center());
}

// A left click where the visible control is seen in its window.
inline void klick(QWidget *w)
{
    ASSERT_TRUE(w);
    ASSERT_TRUE(w->isVisible()) << qPrintable(w->objectName());
    ASSERT_TRUE(w->window()->rect().contains(mitte(w)))
        << qPrintable(w->objectName()) << " lies outside its window";
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, mitte(w));
}

// A key to the window, as the keyboard sends it.
inline void taste(QWidget *fenster, Qt::Key key, Qt::KeyboardModifiers mod = Qt::NoModifier)
{
    QTest::keyClick(fenster->window()->windowHandle(), key, mod);
}

// The window comes to the front and takes the keyboard.
inline void aktiviere(QWidget *w)
{
    w->activateWindow();
    QApplication::setActiveWindow(w);
    EXPECT_TRUE(QTest::qWaitForWindowActive(w));
}

// Types the text key by key into whatever control has the focus. Letters
// beyond Latin-1 come as the keyboard sends them: a key press carrying the
// character. pauseMs > 0 lets timers run between the keys.
inline void schreibe(const QString &text, int pauseMs = 0)
{
    ASSERT_NE(QApplication::focusWidget(), nullptr);
    for (const QChar c : text) {
        const int code = c.unicode() < 0x100 ? c.toUpper().unicode() : int(Qt::Key_unknown);
        QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), Qt::Key(code), QString(c),
                            Qt::NoModifier);
        if (pauseMs > 0)
            QTest::qWait(pauseMs);
    }
}

// Types Latin-1 text key by key to the window, whichever window is active.
inline void tippeInFenster(QWidget *fenster, const QString &text, int pauseMs = 0)
{
    for (const QChar c : text) {
        QTest::keyClick(fenster->window()->windowHandle(), c.toLatin1());
        if (pauseMs > 0)
            QTest::qWait(pauseMs);
    }
}

// Clicks into the field, selects all and types the text over it.
inline void tippeInFeld(QLineEdit *feld, const QString &text)
{
    klick(feld);
    taste(feld, Qt::Key_A, Qt::ControlModifier);
    schreibe(text);
}

// The contact window's address field by its shortcut (Ctrl+D), the old text
// replaced, then Enter.
inline void waehleAdresse(QWidget *kontaktFenster, const QString &adresse)
{
    taste(kontaktFenster, Qt::Key_D, Qt::ControlModifier);
    taste(kontaktFenster, Qt::Key_Home);
    taste(kontaktFenster, Qt::Key_End, Qt::ShiftModifier);
    tippeInFenster(kontaktFenster, adresse);
    taste(kontaktFenster, Qt::Key_Return);
}

} // namespace varnek::test

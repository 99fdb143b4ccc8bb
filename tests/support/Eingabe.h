#pragma once

#include <QPoint>
#include <QTest>
#include <QWidget>
#include <QWindow>

#include <gtest/gtest.h>

// Input as the platform gives it to a window.
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
    QTest::mouseClick(w->window()->windowHandle(), Qt::LeftButton, {}, mitte(w));
}

} // namespace varnek::test

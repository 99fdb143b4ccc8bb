#pragma once

#include <QRect>
#include <QSize>
#include <QString>

// The windows were designed in twips; 15 twips are one pixel at 96 dpi.
namespace varnek
{

constexpr int kTwipsProPixel = 15;

// Twips to pixels.
constexpr int twips(int t)
{
    return t / kTwipsProPixel;
}

// A rectangle given in twips, in pixels.
inline QRect twips(int left, int top, int width, int height)
{
    return QRect(twips(left), twips(top), twips(width), twips(height));
}

// Pixels to twips.
constexpr int inTwips(int pixel)
{
    return pixel * kTwipsProPixel;
}

inline QSize inTwips(QSize pixel)
{
    return pixel * kTwipsProPixel;
}

// Places a control at left, top, width, height given in twips.
template <typename W> W *platz(W *w, int left, int top, int width, int height)
{
    w->setGeometry(twips(left, top, width, height));
    return w;
}

// Gives a control its name, which tests and other windows find it by.
template <typename W> W *benannt(W *w, const char *name)
{
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

} // namespace varnek

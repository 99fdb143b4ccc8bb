#pragma once

#include <QString>

// The windows were designed in twips; 15 twips are one pixel at 96 dpi.
namespace varnek
{

constexpr int twips(int t)
{
    return t / 15;
}

// Places a control at left, top, width, height given in twips.
template <typename W> W *platz(W *w, int left, int top, int width, int height)
{
    w->setGeometry(twips(left), twips(top), twips(width), twips(height));
    return w;
}

// Gives a control its name, which tests and other windows find it by.
template <typename W> W *benannt(W *w, const char *name)
{
    w->setObjectName(QString::fromUtf8(name));
    return w;
}

} // namespace varnek

#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace varnek::bild
{

// Reads the picture of a user path. Only a regular file is opened, and it is
// opened without blocking, so a FIFO or a device named as a picture never
// holds the window; a picture larger than `hoechstens` (when given) is decoded
// to fit it, keeping its proportions, and no picture may take more memory
// than kMaxMegabytes while decoding. A null image when it is no picture.
inline constexpr int kMaxMegabytes = 256;
QImage ladeDatei(const QString &pfad, const QSize &hoechstens = QSize());
// The same for a picture received as bytes.
QImage ladeDaten(const QByteArray &daten, const QSize &hoechstens = QSize());

} // namespace varnek::bild

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Names on the FTP server as bytes and as text.
namespace varnek
{

// The text of a name's bytes as the server sent them: valid UTF-8 decodes as
// such; in any other name every byte from 0x80 up becomes U+DC00 + byte (a
// lone surrogate, as Python's "surrogateescape"), so that
// ftpBytes(ftpText(b)) == b for every b.
QString ftpText(QByteArrayView bytes);
// The bytes a name or path is sent as: UTF-8, except that lone surrogates
// U+DC80..U+DCFF stand for the single bytes 0x80..0xFF.
QByteArray ftpBytes(const QString &text);

} // namespace varnek

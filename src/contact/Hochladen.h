#pragma once

#include "platform/Ergebnis.h"
#include "platform/FtpSitzung.h"

#include <QByteArray>
#include <QString>

namespace varnek
{

// Uploads `daten` as `name` into the client's current directory so that a
// reader of `name` sees the old file or the new one, never a part of it:
// the bytes go to a temporary name beside it ("<name>.<random>.tmp"), which
// is then renamed over `name`. A server that refuses to rename over an
// existing file gets the old file deleted first; one that cannot rename at
// all (or refuses the temporary name) gets the direct upload.
//
// The size on the server is checked (SIZE, or MLST) before the temporary
// file replaces anything, or after a direct upload: a server that took the
// transfer and kept fewer bytes, or none, is a failure
// (FtpSitzung::UnvollstaendigError). In ASCII type the server may change
// line ends, so each LF may count one byte more or less. A server that
// cannot tell sizes is taken at its word.
Ergebnis ladeGanzHoch(FtpSitzung &client, const QByteArray &daten, const QString &name, bool ascii);

// The temporary name an upload of `name` uses first.
QString zwischenName(const QString &name);

} // namespace varnek

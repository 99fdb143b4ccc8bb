#pragma once

#include "platform/Ergebnis.h"

#include <QString>

namespace varnek
{

// From now on every HTTPS connection of the program trusts exactly the
// certificate authorities in `caDatei` (PEM), as FTP with TLS does: for a
// server whose certificate a self-made authority signed. Fails, changing
// nothing, when the file holds no certificate.
Ergebnis vertraueZertifizierungsstelle(const QString &caDatei);

} // namespace varnek

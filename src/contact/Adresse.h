#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace varnek
{

// The folder below the host that holds one directory per address.
QString adressBereich(); // "/vx/stillbox/vxvx/"

// Whether a text may name an address: it must stay one directory inside the
// address area. Refused: the empty text, "." and anything with "..", a slash
// or a backslash, and control characters. Every way an address becomes the
// watched or the sending one asks here.
bool adresseZulaessig(const QString &adresse);

// URL of a file of an address: "http://" host [":" port, unless 80]
// "/vx/stillbox/vxvx/" address "/" file. Every character of the address is
// taken literally; blanks, '#', '?', '%' and umlauts are escaped. nullopt
// for an address that is not allowed: no URL is ever built for it.
std::optional<QUrl> adressUrl(const QString &host, int httpPort, const QString &adresse,
                              const QString &datei = QStringLiteral("Gast.txt"));
// The same in readable form (nothing escaped), for display; empty for an
// address that is not allowed.
QString adressUrlText(const QString &host, int httpPort, const QString &adresse,
                      const QString &datei = QStringLiteral("Gast.txt"));

} // namespace varnek

#pragma once

#include <QString>
#include <QUrl>

#include <optional>

namespace varnek
{

// The folder below the host that holds one directory per address.
QString adressBereich(); // "/vx/stillbox/vxvx/"

// Where the address folders are read over HTTP: the web server of the
// account and the path of the address area on it ("/vx/stillbox/vxvx/"
// unless the account says otherwise). https when the account uses TLS.
struct WebZiel {
    QString host;
    int port = 80;
    bool https = false;
    QString pfad = adressBereich();
};

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
// Both for any web server, path and scheme ("https://", port unless 443).
std::optional<QUrl> adressUrl(const WebZiel &ziel, const QString &adresse,
                              const QString &datei = QStringLiteral("Gast.txt"));
QString adressUrlText(const WebZiel &ziel, const QString &adresse,
                      const QString &datei = QStringLiteral("Gast.txt"));
// A path as a folder path: one leading and one trailing slash ("/" for none).
QString ordnerPfad(const QString &pfad);

} // namespace varnek

#include "contact/Adresse.h"

#include "platform/Dienste.h"

namespace varnek
{

namespace
{

QString pfad(const WebZiel &ziel, const QString &adresse, const QString &datei)
{
    return ordnerPfad(ziel.pfad) + adresse + QLatin1Char('/') + datei;
}

int standardPort(const WebZiel &ziel)
{
    return ziel.https ? 443 : 80;
}

QString hostTeil(const WebZiel &ziel)
{
    QString text = hostFuerUrl(ziel.host);
    if (ziel.port > 0 && ziel.port != standardPort(ziel))
        text += QLatin1Char(':') + QString::number(ziel.port);
    return text;
}

WebZiel ziel(const QString &host, int httpPort)
{
    WebZiel z;
    z.host = host;
    z.port = httpPort;
    return z;
}

} // namespace

QString adressBereich()
{
    return QStringLiteral("/vx/stillbox/vxvx/");
}

bool adresseZulaessig(const QString &adresse)
{
    if (adresse.isEmpty() || adresse == QLatin1String(".") ||
        adresse.contains(QLatin1String("..")) || adresse.contains(QLatin1Char('/')) ||
        adresse.contains(QLatin1Char('\\')))
        return false;
    for (const QChar c : adresse) {
        if (istSteuerzeichen(c))
            return false;
    }
    return true;
}

QString ordnerPfad(const QString &pfad)
{
    QString p = pfad.trimmed();
    if (!p.startsWith(QLatin1Char('/')))
        p.prepend(QLatin1Char('/'));
    if (!p.endsWith(QLatin1Char('/')))
        p += QLatin1Char('/');
    return p;
}

std::optional<QUrl> adressUrl(const WebZiel &ziel, const QString &adresse, const QString &datei)
{
    if (!adresseZulaessig(adresse))
        return std::nullopt;
    QUrl url;
    url.setScheme(ziel.https ? QStringLiteral("https") : QStringLiteral("http"));
    url.setHost(ziel.host);
    if (ziel.port > 0 && ziel.port != standardPort(ziel))
        url.setPort(ziel.port);
    // Decoded mode: every character of the address is taken literally and
    // escaped where the URL needs it ('%', '#', '?', blanks, umlauts).
    url.setPath(pfad(ziel, adresse, datei), QUrl::DecodedMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QString adressUrlText(const WebZiel &ziel, const QString &adresse, const QString &datei)
{
    if (!adresseZulaessig(adresse))
        return QString();
    return (ziel.https ? QStringLiteral("https://") : QStringLiteral("http://")) + hostTeil(ziel) +
           pfad(ziel, adresse, datei);
}

std::optional<QUrl> adressUrl(const QString &host, int httpPort, const QString &adresse,
                              const QString &datei)
{
    return adressUrl(ziel(host, httpPort), adresse, datei);
}

QString adressUrlText(const QString &host, int httpPort, const QString &adresse,
                      const QString &datei)
{
    return adressUrlText(ziel(host, httpPort), adresse, datei);
}

} // namespace varnek

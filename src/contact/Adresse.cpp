#include "contact/Adresse.h"

#include "platform/Dienste.h"

namespace varnek
{

namespace
{

QString pfad(const QString &adresse, const QString &datei)
{
    return adressBereich() + adresse + QLatin1Char('/') + datei;
}

QString hostTeil(const QString &host, int httpPort)
{
    QString text = hostFuerUrl(host);
    if (httpPort > 0 && httpPort != 80)
        text += QLatin1Char(':') + QString::number(httpPort);
    return text;
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

std::optional<QUrl> adressUrl(const QString &host, int httpPort, const QString &adresse,
                              const QString &datei)
{
    if (!adresseZulaessig(adresse))
        return std::nullopt;
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(host);
    if (httpPort > 0 && httpPort != 80)
        url.setPort(httpPort);
    // Decoded mode: every character of the address is taken literally and
    // escaped where the URL needs it ('%', '#', '?', blanks, umlauts).
    url.setPath(pfad(adresse, datei), QUrl::DecodedMode);
    if (!url.isValid())
        return std::nullopt;
    return url;
}

QString adressUrlText(const QString &host, int httpPort, const QString &adresse,
                      const QString &datei)
{
    if (!adresseZulaessig(adresse))
        return QString();
    return QStringLiteral("http://") + hostTeil(host, httpPort) + pfad(adresse, datei);
}

} // namespace varnek

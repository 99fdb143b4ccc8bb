#include "platform/Tls.h"

#include <QSslCertificate>
#include <QSslConfiguration>

namespace varnek
{

Ergebnis vertraueZertifizierungsstelle(const QString &caDatei)
{
    const QList<QSslCertificate> zertifikate =
        QSslCertificate::fromPath(caDatei, QSsl::Pem, QSslCertificate::PatternSyntax::FixedString);
    if (zertifikate.isEmpty())
        return Ergebnis::fehler(QStringLiteral("Zertifizierungsstelle nicht lesbar: ") + caDatei);
    QSslConfiguration konfiguration = QSslConfiguration::defaultConfiguration();
    konfiguration.setCaCertificates(zertifikate);
    QSslConfiguration::setDefaultConfiguration(konfiguration);
    return {};
}

} // namespace varnek

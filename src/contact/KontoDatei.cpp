#include "contact/KontoDatei.h"

#include "platform/Passwort.h"

#include <QSettings>

namespace varnek::kontodatei
{

namespace
{

constexpr auto kGruppe = "Konto";

} // namespace

QString standardPfad()
{
    return QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("varnek"),
                     QStringLiteral("varnek"))
        .fileName();
}

Gelesen laden(const QString &pfad, Einstellungen &e)
{
    Gelesen g;
    QSettings s(pfad, QSettings::IniFormat);
    s.beginGroup(QString::fromLatin1(kGruppe));
    if (s.childKeys().isEmpty())
        return g;
    g.vorhanden = true;
    const auto text = [&](const char *schluessel, QString &ziel) {
        const QString k = QString::fromLatin1(schluessel);
        if (s.contains(k))
            ziel = s.value(k).toString();
    };
    const auto zahl = [&](const char *schluessel, int &ziel) {
        bool ok = false;
        const int n = s.value(QString::fromLatin1(schluessel)).toInt(&ok);
        if (ok && n > 0 && n <= 65535)
            ziel = n;
    };
    const auto schalter = [&](const char *schluessel, auto &ziel) {
        const QString k = QString::fromLatin1(schluessel);
        if (s.contains(k))
            ziel = s.value(k).toBool();
    };
    text("host", e.host);
    text("benutzer", e.benutzer);
    zahl("ftpPort", e.ftpPort);
    zahl("httpPort", e.httpPort);
    schalter("passiv", e.passiv);
    text("adressWurzel", e.adressWurzel);
    text("httpPfad", e.httpPfad);
    schalter("tls", e.tls);
    text("caDatei", e.caDatei);
    text("passwortDatei", g.passwortDatei);
    return g;
}

Ergebnis speichern(const QString &pfad, const Einstellungen &e, const QString &passwortDatei)
{
    QSettings s(pfad, QSettings::IniFormat);
    s.beginGroup(QString::fromLatin1(kGruppe));
    s.remove(QString());
    s.setValue(QStringLiteral("host"), e.host);
    s.setValue(QStringLiteral("benutzer"), e.benutzer);
    s.setValue(QStringLiteral("ftpPort"), e.ftpPort);
    s.setValue(QStringLiteral("httpPort"), e.httpPort);
    if (e.passiv)
        s.setValue(QStringLiteral("passiv"), *e.passiv);
    s.setValue(QStringLiteral("adressWurzel"), e.adressWurzel);
    s.setValue(QStringLiteral("httpPfad"), e.httpPfad);
    s.setValue(QStringLiteral("tls"), e.tls);
    s.setValue(QStringLiteral("caDatei"), e.caDatei);
    s.setValue(QStringLiteral("passwortDatei"), passwortDatei);
    s.endGroup();
    s.sync();
    if (s.status() != QSettings::NoError)
        return Ergebnis::fehler(QStringLiteral("Einstellungen nicht gespeichert: ") + pfad);
    return {};
}

QString kontoName(const Einstellungen &e)
{
    return e.benutzer + QLatin1Char('@') + e.host;
}

bool eingebautesKonto(const Einstellungen &e)
{
    return e.benutzer == QLatin1String(Einstellungen::kStandardBenutzer);
}

Ergebnis besorgePasswort(Einstellungen &e, const QString &passwortDatei, PasswortAblage &ablage)
{
    if (!passwortDatei.isEmpty()) {
        PasswortDatei datei(passwortDatei);
        return datei.lies(kontoName(e), e.passwort);
    }
    if (eingebautesKonto(e)) {
        e.passwort = QString::fromLatin1(Einstellungen::kStandardPasswort);
        return {};
    }
    e.passwort.clear();
    return ablage.lies(kontoName(e), e.passwort);
}

Ergebnis speichereKonto(const QString &pfad, const Einstellungen &e, const QString &passwortDatei,
                        PasswortAblage &ablage)
{
    if (!passwortDatei.isEmpty()) {
        PasswortDatei datei(passwortDatei);
        if (Ergebnis r = datei.schreibe(kontoName(e), e.passwort); !r)
            return r;
    } else if (!eingebautesKonto(e)) {
        if (Ergebnis r = ablage.schreibe(kontoName(e), e.passwort); !r)
            return r;
    }
    return speichern(pfad, e, passwortDatei);
}

} // namespace varnek::kontodatei

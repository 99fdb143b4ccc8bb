#include "contact/Senden.h"

#include "contact/Verbindung.h"
#include "platform/AnsiText.h"
#include "platform/Dienste.h"
#include "platform/Schreiber.h"

#include <QEventLoop>

namespace varnek
{

QString nachrichtPfad(const QString &programmOrdner)
{
    return programmOrdner + QStringLiteral("/Gast.txt");
}

Ergebnis schreibeNachricht(const QString &programmOrdner, const QStringList &zeilen)
{
    const Ergebnis e = ansi::writeLines(nachrichtPfad(programmOrdner), zeilen);
    if (e)
        return e;
    return Ergebnis::fehler(schreiber::meldung(QStringLiteral("Gast.txt"), e.grund()), e.nummer());
}

QStringList KlingelSignal::klingeln()
{
    Label18 = QLatin1Char('#') + Text3 + QLatin1Char('#');
    Text3 = Label18;
    List3 << Text3;
    const QStringList zeilen = List3;
    Text3 = QStringLiteral("dingdong");
    return zeilen;
}

namespace kaco
{

QString pfad(const QString &programmOrdner)
{
    return programmOrdner + QStringLiteral("/Kaco.txt");
}

std::optional<QStringList> laden(const QString &programmOrdner)
{
    return ansi::readLines(pfad(programmOrdner));
}

bool istDa(const QStringList &liste, const QString &code)
{
    return FindeListenEintrag(liste, code) >= 0;
}

Ergebnis speichern(const QString &programmOrdner, const QStringList &liste)
{
    return ansi::writeLines(pfad(programmOrdner), liste);
}

} // namespace kaco

Verbindung::Konto kontoAus(const Einstellungen &e)
{
    Verbindung::Konto konto;
    konto.host = e.host;
    konto.port = e.ftpPort;
    konto.user = e.benutzer;
    konto.password = e.passwort;
    konto.tls = e.tls;
    konto.caFile = e.caDatei;
    return konto;
}

void richteEin(Verbindung &verbindung, const Einstellungen &e)
{
    verbindung.setzeServerName(e.host);
    verbindung.setAdressWurzel(e.adressWurzel.trimmed().isEmpty() ? QString()
                                                                  : e.ftpAdressWurzel());
}

int sendeOhneFenster(const Einstellungen &einstellungen, const QString &adresse,
                     const QStringList &zeilen, const std::function<void(const QString &)> &ausgabe)
{
    Verbindung verbindung;
    richteEin(verbindung, einstellungen);
    QString fehler;
    QObject::connect(&verbindung, &Verbindung::status, &verbindung,
                     [&](const QString &t) { ausgabe(t); });
    QObject::connect(&verbindung, &Verbindung::meldung, &verbindung, [&](const QString &t) {
        if (fehler.isEmpty())
            fehler = t;
    });

    // Nothing is uploaded when the message file could not be written whole:
    // the old file on disk is not the text asked for.
    if (const Ergebnis e = schreibeNachricht(einstellungen.programmOrdner, zeilen); !e) {
        ausgabe(e.grund());
        return 1;
    }
    ausgabe(QStringLiteral("Sende-Text"));
    if (!Verbindung::adresseZulaessig(adresse) || adresse.trimmed().isEmpty()) {
        ausgabe(QStringLiteral("Adresse ist nicht gültig!"));
        return 1;
    }

    const Verbindung::Konto konto = kontoAus(einstellungen);
    int ergebnis = 1;
    QEventLoop schleife;
    verbindung.herstellen(konto, einstellungen.passiv.value_or(true), [&](bool verbunden) {
        if (!verbunden) {
            schleife.quit();
            return;
        }
        if (!konto.tls)
            ausgabe(QStringLiteral("Verbindung nicht verschlüsselt"));
        verbindung.adressPfad(adresse);
        verbindung.uebertrageDatei(nachrichtPfad(einstellungen.programmOrdner), 0, [&](bool ok) {
            if (ok)
                ergebnis = 0;
            else
                ausgabe(fehler.isEmpty() ? QStringLiteral("Übertragungsfehler!") : fehler);
            verbindung.abbrechen();
            schleife.quit();
        });
    });
    schleife.exec();
    // Say goodbye to the server before the worker goes.
    verbindung.warteAufArbeiter(3000);
    if (ergebnis == 0)
        ausgabe(QStringLiteral("OK"));
    return ergebnis;
}

} // namespace varnek

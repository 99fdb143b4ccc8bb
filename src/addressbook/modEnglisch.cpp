#include "addressbook/modEnglisch.h"

namespace varnek
{

void modEnglisch::fuellen()
{
    Eintraege = QStringLiteral("Einträge");

    EndeHinweis = QStringLiteral(" Einträge-Ende!");
    EndeText = QStringLiteral("Einträge-Ende");
    EndeTitel = QStringLiteral("Einträge-Ende");
    AnfangHinweis = QStringLiteral(" Einträge-Anfang!");
    AnfangText = QStringLiteral("Einträge-Anfang");
    AnfangTitel = QStringLiteral("Einträge-Anfang");

    LoeschenFrage = QStringLiteral("Sind Sie sicher das Sie den Eintrag löschen möchten ?");
    LoeschenTitel = QStringLiteral("Einträge löschen...");

    SucheKomentar = QStringLiteral("Suche nach Komentar:");
    SucheNummer = QStringLiteral("Suche nach V-Nr:");
    SucheTitel = QStringLiteral("Suchen...Einträge");
    NichtGefunden = QStringLiteral("nicht gefunden! ");
    NichtGefundenTitel = QStringLiteral("Einträge...");

    KopierenText = QStringLiteral("Kopieren der Adresse in die Zwischenablage");
    KopierenTitel = QStringLiteral("Kopieren");
    DruckenFrage = QStringLiteral("Drucken den gesamten Eintrag.");
    DruckenTitel = QStringLiteral("Meldung...");
    KeinBild = QStringLiteral("Kein Bild geladen, Datei wird nicht gespeichert");
    KeinDrucker = QStringLiteral("Kein Drucker eingerichtet: der Eintrag wurde nicht gedruckt.");
    NichtGedruckt = QStringLiteral("Der Eintrag konnte nicht gedruckt werden.");
    BilderOrdnerFehlt = QStringLiteral("Foto nicht gespeichert: der Ordner \"bilder\" kann "
                                       "nicht angelegt werden.");
    FotoNichtGespeichert = QStringLiteral("Foto nicht gespeichert: ");

    FehlerTitel = QStringLiteral("Adressbuch");
    TrotzdemSchliessen = QStringLiteral(
        "Der angezeigte Eintrag wurde nicht gespeichert.\nAdressbuch trotzdem schließen?");
    NichtGeoeffnet = QStringLiteral(
        "Das Adressbuch kann nicht geöffnet werden; Änderungen werden nicht gespeichert.");
}

QString modEnglisch::titel(int aktuell, int anzahl) const
{
    return Eintraege + QLatin1Char(' ') + QString::number(aktuell) + QLatin1Char('/') +
           QLatin1Char(' ') + QString::number(anzahl);
}

QString modEnglisch::nichtGefunden(const QString &suche) const
{
    return Eintraege + suche.toUpper() + NichtGefunden;
}

QString kopierText(const QString &nummer, const QString &komentar)
{
    return nummer + QLatin1Char(' ') + komentar;
}

QString standardBildpfad(const QString &nummer)
{
    return QStringLiteral("bilder/") + nummer + QStringLiteral(".bmp");
}

} // namespace varnek

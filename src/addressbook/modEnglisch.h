#pragma once

#include <QString>

namespace varnek
{

// The texts of the address book window: its caption word, prompts, titles
// and messages. The window fills the table when it loads, before the first
// record shows, and every command takes its texts from here.
struct modEnglisch {
    QString Eintraege; // caption word, and the start of the not-found message

    QString EndeHinweis; // hint line before the end message
    QString EndeText;
    QString EndeTitel;
    QString AnfangHinweis;
    QString AnfangText;
    QString AnfangTitel;

    QString LoeschenFrage;
    QString LoeschenTitel;

    QString SucheKomentar; // prompt of the comment search
    QString SucheNummer;   // prompt of the number search
    QString SucheTitel;
    QString NichtGefunden; // follows the upper-cased search text
    QString NichtGefundenTitel;

    QString KopierenText;
    QString KopierenTitel;
    QString DruckenFrage;
    QString DruckenTitel;
    QString KeinBild;             // "Foto speichern" without a picture
    QString KeinDrucker;          // printing with no printer set up
    QString NichtGedruckt;        // the printer could not take the page
    QString BilderOrdnerFehlt;    // "bilder" cannot be made
    QString FotoNichtGespeichert; // followed by the path and the reason

    QString FehlerTitel;        // a failed save or delete
    QString TrotzdemSchliessen; // asked when the shown entry could not be saved on closing
    QString NichtGeoeffnet;     // the book could not be opened

    // Sets every text.
    void fuellen();

    // The caption for record `aktuell` of `anzahl`: "Einträge 3/ 12".
    QString titel(int aktuell, int anzahl) const;
    // "Einträge" + the upper-cased search text + "nicht gefunden! ".
    QString nichtGefunden(const QString &suche) const;
};

// The entry as it goes to the clipboard: number, one blank, comment.
QString kopierText(const QString &nummer, const QString &komentar);
// The default photo of an entry: "bilder/" & number & ".bmp".
QString standardBildpfad(const QString &nummer);

} // namespace varnek

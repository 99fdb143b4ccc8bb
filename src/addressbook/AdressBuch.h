#pragma once

#include "addressbook/AdressDatensatz.h"
#include "platform/Ergebnis.h"

#include <QFile>
#include <QString>

#include <functional>
#include <optional>

namespace varnek
{

// The four texts the address book window edits.
struct AdressFelder {
    QString nummer;     // txtVorname
    QString komentar;   // txtNachname
    QString webadresse; // txtWebadresse
    QString bildpfad;   // txtBild
};

// What the window shows for the current record.
struct AdressAnzeige {
    AdressFelder felder; // shown (trimmed) forms
    QString titel;       // window caption, e.g. "Einträge 3/ 12"
};

enum class SuchFeld { Nummer, Komentar };

// Steps of a delete, in order (for tests that interrupt a delete).
enum class LoeschSchritt {
    AltesTmpEntfernen, // remove a stale "Daten.TMP"
    TmpAnlegen,        // create "Daten.TMP"
    SaetzeKopieren,    // before each block of records copied into it
    TmpSichern,        // flush "Daten.TMP" to disk and close it
    AdressDateiSchliessen,
    Ersetzen,      // rename "Daten.TMP" over "Adress.PRE" (atomic)
    OrdnerSichern, // flush the folder entry to disk
    NeuOeffnen,    // open the new "Adress.PRE"
};

// The address book: the file "Adress.PRE" of fixed 870-byte records, the
// record buffer `Datensatz` and the position counters. The window's commands
// are thin calls:
//
//   load:      oeffnen(); zeige(anzeigen());
//   next:      speichern(felder()); setAktuellerSatz(aktuellerSatz() + 1); zeige(anzeigen());
//   new:       neuerSatz(felder()); zeige(anzeigen());
//   delete:    if (auto e = satzLoeschen(); !e) warne(e.grund()); zeige(anzeigen());
//   search:    if (auto i = satzSuchen(SuchFeld::Komentar, text)) {
//                  speichern(felder()); setAktuellerSatz(*i); zeige(anzeigen()); }
//   close:     schliessen(felder());
//
// The file stays open between calls. When it cannot be opened the book
// still works on its counters: reads give empty records, writes fail.
// Failing operations return an Ergebnis with a German reason for the user; the counters and the
// buffer are then as the operation left them. After every call 1 <= aktuellerSatz() <=
// anzahlSaetze().
class AdressBuch
{
  public:
    static constexpr int Satzlaenge = AdressDatensatz::Satzlaenge;
    static const QString DateiName; // "Adress.PRE"
    static const QString TmpName;   // "Daten.TMP"

    // folder: where "Adress.PRE" lies; empty means the current working
    // directory at the time of oeffnen().
    explicit AdressBuch(QString ordner = QString());
    // Closes the file without saving.
    ~AdressBuch();
    AdressBuch(const AdressBuch &) = delete;
    AdressBuch &operator=(const AdressBuch &) = delete;

    // Opens (creates when missing) "Adress.PRE", selects record 1 and counts
    // the records: file length / 870, a half rounded to the even neighbour,
    // at least 1. If "Adress.PRE" is missing but "Daten.TMP" is there (a
    // delete died after removing the old file), "Daten.TMP" becomes
    // "Adress.PRE". A file without write permission for its owner is opened
    // for reading only, also for a user the system lets write anything.
    Ergebnis oeffnen();
    bool istOffen() const { return file_.isOpen(); }

    int aktuellerSatz() const { return aktuell_; }
    int anzahlSaetze() const { return anzahl_; }
    // Clamped into 1..anzahlSaetze().
    void setAktuellerSatz(int satz);

    // The record buffer (the record last read or stored).
    const AdressDatensatz &datensatz() const { return datensatz_; }

    // Stores the four texts into the buffer (cut and padded to their
    // fields; the Reserve fields stay as last read) and writes the buffer as
    // record aktuellerSatz(). In a read-only book a record that is unchanged
    // counts as saved; a changed one fails.
    Ergebnis speichern(const AdressFelder &felder);
    // Reads record aktuellerSatz() into the buffer; returns its shown texts
    // and the caption.
    AdressAnzeige anzeigen();
    QString titel() const;

    // Saves the shown record, then appends a record with empty texts and the
    // Reserve fields of the shown record and makes it the current one. The
    // window then calls anzeigen(). Bytes that lie behind the last counted
    // record (a record cut short to half its length or less, which the count
    // rounds away) are not overwritten: padded with blanks they become a
    // record of their own, and the new record comes after it.
    Ergebnis neuerSatz(const AdressFelder &felder);

    // Removes record aktuellerSatz() (without saving it first). The new file
    // is built as "Daten.TMP", flushed to disk and renamed over
    // "Adress.PRE" in one step, so at any moment either the old or the
    // complete new file is there. On success the count drops by one (not
    // below 1) and the current record is the one that followed, or the new
    // last one. If a step fails before the rename, the old book stays whole
    // and open and nothing changed; if only reopening fails, the record is
    // gone and the book is closed. When the book is not open at all, only
    // the counters move (reads give empty records anyway). Every failure
    // comes with a reason. The window then calls anzeigen().
    Ergebnis satzLoeschen();

    // The lowest record number whose field, trimmed and upper-cased, equals
    // the upper-cased text as a whole; nullopt when none does. Reads the
    // file (not the buffer); changes neither the buffer nor the position.
    std::optional<int> satzSuchen(SuchFeld feld, const QString &text);

    // Saves the shown record and closes the file. Once closed, a second call
    // does nothing and succeeds.
    Ergebnis schliessen(const AdressFelder &felder);
    // Closes the file without saving.
    void dateiSchliessen();

    // Bytes of the file behind the last counted record (0 when none).
    qint64 restBytes() const;

    // Record n (from 1) as on disk; past the end all fields are empty.
    AdressDatensatz satzLesen(int satz);
    // Writes record n (from 1), lengthening the file where needed.
    Ergebnis satzSchreiben(int satz, const AdressDatensatz &daten);

    QString pfad() const;
    QString tmpPfad() const;

    // For tests: called before each step of a delete; returning false makes
    // that step fail as if the system had refused it.
    void setLoeschPruefung(std::function<bool(LoeschSchritt)> pruefung)
    {
        pruefung_ = std::move(pruefung);
    }

    // Number of records a file of the given length holds.
    static int zaehleSaetze(qint64 laenge);

  private:
    bool schrittErlaubt(LoeschSchritt schritt) const;
    Ergebnis dateiOeffnen();
    Ergebnis kopiereOhne(int satz, QFile &ziel);

    QString ordner_;
    QString ordnerBeimOeffnen_;
    QFile file_;
    int aktuell_ = 1;
    int anzahl_ = 1;
    AdressDatensatz datensatz_;
    std::function<bool(LoeschSchritt)> pruefung_;
};

} // namespace varnek

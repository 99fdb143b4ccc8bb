#pragma once

#include "platform/Ergebnis.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

// The one way the program writes files: a file is complete or untouched.
// Every failure carries a German reason for the user, mapped from the
// system's error number in one place.
namespace varnek::schreiber
{

// The reason of a failed write, for the user: ENOSPC "Datenträger voll",
// EROFS/EACCES/EPERM "Ordner schreibgeschützt" (or "Datei schreibgeschützt"
// when the file itself refuses), ...
QString grund(int fehlerNummer, bool dateiGeschuetzt = false);
// The message box text for a file that could not be saved:
// "Achtung : Schreibschutz entfernen [Gast.txt]!" for a write-protected file,
// otherwise the reason, e.g. "Achtung : Datenträger voll [Gast.txt]!".
QString meldung(const QString &dateiName, const QString &grund);

// A file written whole: the bytes go to a temporary file beside the target,
// which is flushed to the disk and renamed over the target by abschliessen().
// Until then (and after any failure) the target is untouched. A target
// marked read-only for its owner is never replaced.
class GanzeDatei
{
  public:
    explicit GanzeDatei(QString pfad);
    ~GanzeDatei(); // drops the temporary file unless abschliessen() succeeded
    GanzeDatei(const GanzeDatei &) = delete;
    GanzeDatei &operator=(const GanzeDatei &) = delete;

    // Each step fails with the German reason and the error number; after a
    // failure the temporary file is gone and the target untouched.
    Ergebnis oeffnen();
    // After oeffnen(), before the first byte: the new file is readable and
    // writable by its owner only (mode 0600), also where it replaces a file
    // others could read.
    Ergebnis nurFuerBesitzer();
    Ergebnis schreiben(const char *daten, qint64 laenge);
    Ergebnis schreiben(const QByteArray &daten)
    {
        return schreiben(daten.constData(), daten.size());
    }
    Ergebnis abschliessen();
    void verwerfen();

  private:
    Ergebnis scheitern(int nummer, bool dateiGeschuetzt = false);

    QString pfad_;
    QByteArray tmp_;
    int fd_ = -1;
};

// Removes what a write cut short by a kill left in `ordner`: temporary
// files "<name>.<pid>.<n>.tmp" whose process is no longer alive, where
// eigen(<name>) says the file is one the program writes. Anything else,
// also a leftover of a process still running, stays. Returns how many went.
int entferneReste(const QString &ordner, const std::function<bool(const QString &name)> &eigen);

// Writes all bytes at the file position of an open descriptor (pos < 0: at
// the current position).
Ergebnis schreibeAn(int fd, qint64 pos, const char *daten, qint64 laenge);
// Flushes an open descriptor to the disk.
Ergebnis sichern(int fd);

// Fault injection for tests: from now on, every write through this module
// fails with the error number once `nachBytes` more bytes were written
// (0: the next write fails at once). aus() ends it.
namespace probe
{
void setze(int fehlerNummer, qint64 nachBytes = 0);
void aus();
} // namespace probe

} // namespace varnek::schreiber

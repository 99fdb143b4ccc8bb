#pragma once

#include "platform/Ergebnis.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

// Naming and writing the screen photos.
namespace varnek::foto
{

// How the next photo is named (`Speichermodus`).
enum Speichermodus : int {
    Fragen = 0,   // ask with the save dialog
    GastBild = 1, // "Gast.bmp" in the program folder
    FotoBild = 2, // "Foto.bmp" in the program folder
};

// The naming state of the whole run: 0 at program start, kept when the
// photo window is closed and opened again.
int &speichermodus();

// The name the save dialog proposes: date and time as yyyymmdd_hhnnss, ".bmp".
QString vorschlag(const QDateTime &zeit);

// The file for modes 1 and 2 in the program folder; "" for asking (0) and
// for unknown modes.
QString datei(int modus, const QString &programmOrdner);

// Writes bitmap bytes whole (never half a file, a read-only file is
// refused); fails with the reason when it cannot be written.
Ergebnis schreibe(const QString &pfad, const QByteArray &bmp);

} // namespace varnek::foto

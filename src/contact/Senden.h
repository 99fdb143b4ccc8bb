#pragma once

#include "contact/Einstellungen.h"
#include "contact/Verbindung.h"
#include "platform/Ergebnis.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace varnek
{

// The message file "Gast.txt" of the program folder: every line followed by
// CR LF, Windows-1252, replaced whole (never left half written).
// A failure carries the whole message box text for the user, e.g.
// "Achtung : Datenträger voll [Gast.txt]!".
Ergebnis schreibeNachricht(const QString &programmOrdner, const QStringList &zeilen);
QString nachrichtPfad(const QString &programmOrdner);

// The ring signal: `List3` collects the ring lines until the next mouse
// press on the ring button; `Text3` is the ring word, `Label18` its framed code.
struct KlingelSignal {
    QStringList List3;
    QString Text3 = QStringLiteral("dingdong");
    QString Label18;

    void mausDruck() { List3.clear(); }
    // Adds one ring line and returns the lines of the message file.
    QStringList klingeln();
};

// The ring-code list "Kaco.txt": one code per line.
namespace kaco
{
inline constexpr auto kStandard = "#dingdong#";
QString pfad(const QString &programmOrdner);
// nullopt when there is no list file.
std::optional<QStringList> laden(const QString &programmOrdner);
// Whole entry, letters compared without regard to case.
bool istDa(const QStringList &liste, const QString &code);
Ergebnis speichern(const QString &programmOrdner, const QStringList &liste);
} // namespace kaco

// The account of the settings, and the connection's host and address area.
Verbindung::Konto kontoAus(const Einstellungen &einstellungen);
void richteEin(Verbindung &verbindung, const Einstellungen &einstellungen);

// Sending without a window: connect with the account of the settings, write the
// message file as the send box (or the ring button) would, upload it into
// the address folder, log off. Status texts and messages go to `ausgabe`;
// the result is 0 on success, otherwise 1 with the German message printed.
int sendeOhneFenster(const Einstellungen &einstellungen, const QString &adresse,
                     const QStringList &zeilen,
                     const std::function<void(const QString &)> &ausgabe);

} // namespace varnek

#pragma once

#include "contact/Einstellungen.h"
#include "platform/Ergebnis.h"

#include <QString>

namespace varnek
{

class PasswortAblage;

// The account settings in the program's settings file, an INI file
// (~/.config/varnek/varnek.conf): host, FTP user, ports, passive mode, the
// address area over FTP and HTTP, TLS and its authority, and where the
// password lives. The password itself is never written there: it is kept
// in the desktop keyring, or in a password file of the user's choice.
namespace kontodatei
{

QString standardPfad();

// What the file sets besides the fields of Einstellungen.
struct Gelesen {
    bool vorhanden = false; // the file sets an account
    QString passwortDatei;  // empty: the password is in the keyring
};

// Takes what the file sets into `e`; the rest stays as it is. A missing
// file sets nothing.
Gelesen laden(const QString &pfad, Einstellungen &e);
// Writes the account of `e` (never its password) and the password file's
// path (empty for the keyring).
Ergebnis speichern(const QString &pfad, const Einstellungen &e, const QString &passwortDatei);

// The name the password is kept under: "user@host".
QString kontoName(const Einstellungen &e);
// Whether `e` names the account built into the program (its user on any host).
bool eingebautesKonto(const Einstellungen &e);

// Fills e.passwort: from `passwortDatei` when given, else, for an account
// other than the built-in one, from `ablage` (the keyring). The built-in
// account keeps its built-in password. A failure says why in German.
Ergebnis besorgePasswort(Einstellungen &e, const QString &passwortDatei, PasswortAblage &ablage);

// Saves the account: its password first (into `passwortDatei` when given,
// else into `ablage`, the keyring; the built-in account's password is
// built in), then the settings file. When the password cannot be kept the
// settings file stays as it was and the reason says why.
Ergebnis speichereKonto(const QString &pfad, const Einstellungen &e, const QString &passwortDatei,
                        PasswortAblage &ablage);

} // namespace kontodatei
} // namespace varnek

#pragma once

#include "contact/Einstellungen.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace varnek
{

class PasswortAblage;

// "Verbindung einrichten": the account on one's own web space (host, FTP
// user, password, ports, passive mode, the address folders over FTP and
// HTTP, TLS and its certificate authority). "Speichern" keeps the password
// in the keyring (`ablage`), or in the password file when one is named,
// and the rest in the settings file `iniPfad`; without a keyring it offers
// a password file only the user can read. The dialog closes once saved.
class VerbindungEinrichten : public QDialog
{
    Q_OBJECT
  public:
    VerbindungEinrichten(const Einstellungen &einstellungen, const QString &passwortDatei,
                         QString iniPfad, PasswortAblage &ablage, QWidget *parent = nullptr);

    // The settings as the fields show them (program folder and the rest of
    // `einstellungen` unchanged).
    Einstellungen einstellungen() const;
    QString passwortDatei() const;

    void speichern(); // "Speichern"

  Q_SIGNALS:
    void gespeichert(const varnek::Einstellungen &einstellungen, const QString &passwortDatei);

  private:
    void tlsGeaendert();

    Einstellungen basis_;
    QString iniPfad_;
    PasswortAblage &ablage_;
    QLineEdit *TextHost;
    QLineEdit *TextBenutzer;
    QLineEdit *TextPasswort;
    QSpinBox *PortFtp;
    QSpinBox *PortHttp;
    QCheckBox *CheckPassiv;
    QLineEdit *TextWurzel;
    QLineEdit *TextHttpPfad;
    QCheckBox *CheckTls;
    QLineEdit *TextCa;
    QLineEdit *TextPasswortDatei;
};

} // namespace varnek

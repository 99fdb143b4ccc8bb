#pragma once

#include "platform/Ergebnis.h"

#include <QString>

#include <memory>

namespace varnek
{

// Where the password of an FTP account is kept: the desktop keyring, or a
// file only its owner may read. Never the settings file.
class PasswortAblage
{
  public:
    virtual ~PasswortAblage() = default;
    // `konto` names the account ("user@host").
    virtual Ergebnis lies(const QString &konto, QString &passwort) = 0;
    virtual Ergebnis schreibe(const QString &konto, const QString &passwort) = 0;
};

// A password file: the first line is the password. Read only when neither
// group nor others may read or write it (mode 0600 or stricter); written
// whole with mode 0600.
class PasswortDatei : public PasswortAblage
{
  public:
    explicit PasswortDatei(QString pfad) : pfad_(std::move(pfad)) {}
    Ergebnis lies(const QString &konto, QString &passwort) override;
    Ergebnis schreibe(const QString &konto, const QString &passwort) override;
    const QString &pfad() const { return pfad_; }

  private:
    QString pfad_;
};

// The desktop keyring (Secret Service). Without one, both calls fail with a
// German reason that says so (keinSchluesselbund()), and the user may choose
// a password file instead.
std::unique_ptr<PasswortAblage> schluesselbund();
QString keinSchluesselbund();

} // namespace varnek

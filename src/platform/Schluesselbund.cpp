// The one place that speaks to the desktop keyring (qtkeychain).
#include "platform/Passwort.h"

#include <QEventLoop>
#include <QTimer>

#include <qt6keychain/keychain.h>

namespace varnek
{

namespace
{

constexpr auto kDienst = "varnek";
// A keyring that does not answer (a locked one waiting for its unlock
// dialog) is given this long.
constexpr int kWarteMs = 30000;

// Runs a job to its end; the event loop keeps the windows painted meanwhile.
Ergebnis fuehreAus(QKeychain::Job &job)
{
    QEventLoop schleife;
    bool fertig = false;
    QObject::connect(&job, &QKeychain::Job::finished, &schleife, [&] {
        fertig = true;
        schleife.quit();
    });
    QTimer::singleShot(kWarteMs, &schleife, &QEventLoop::quit);
    job.start();
    if (!fertig)
        schleife.exec();
    if (!fertig)
        return Ergebnis::fehler(keinSchluesselbund() + QStringLiteral(" (keine Antwort)"));
    switch (job.error()) {
    case QKeychain::NoError:
        return {};
    case QKeychain::EntryNotFound:
        return Ergebnis::fehler(QStringLiteral("Kein Passwort im Schlüsselbund gespeichert"),
                                int(job.error()));
    case QKeychain::AccessDeniedByUser:
    case QKeychain::AccessDenied:
        return Ergebnis::fehler(QStringLiteral("Zugriff auf den Schlüsselbund verweigert"),
                                int(job.error()));
    default:
        return Ergebnis::fehler(keinSchluesselbund() + QStringLiteral(": ") + job.errorString(),
                                int(job.error()));
    }
}

class Schluesselbund : public PasswortAblage
{
  public:
    Ergebnis lies(const QString &konto, QString &passwort) override
    {
        QKeychain::ReadPasswordJob job(QString::fromLatin1(kDienst));
        job.setAutoDelete(false);
        job.setKey(konto);
        Ergebnis e = fuehreAus(job);
        if (e)
            passwort = job.textData();
        return e;
    }
    Ergebnis schreibe(const QString &konto, const QString &passwort) override
    {
        QKeychain::WritePasswordJob job(QString::fromLatin1(kDienst));
        job.setAutoDelete(false);
        job.setKey(konto);
        job.setTextData(passwort);
        return fuehreAus(job);
    }
};

} // namespace

QString keinSchluesselbund()
{
    return QStringLiteral("Kein Schlüsselbund erreichbar");
}

std::unique_ptr<PasswortAblage> schluesselbund()
{
    return std::make_unique<Schluesselbund>();
}

} // namespace varnek

#include "platform/Passwort.h"

#include "platform/Schreiber.h"

#include <QFile>

#include <sys/stat.h>

namespace varnek
{

Ergebnis PasswortDatei::lies(const QString &, QString &passwort)
{
    const QByteArray name = QFile::encodeName(pfad_);
    struct stat st;
    if (::stat(name.constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return Ergebnis::fehler(QStringLiteral("Passwortdatei nicht gefunden: ") + pfad_, ENOENT);
    // A password others can read is no secret any more: refused, so the
    // user notices.
    if (st.st_mode & (S_IRWXG | S_IRWXO))
        return Ergebnis::fehler(
            QStringLiteral("Die Passwortdatei darf nur für Sie lesbar sein (chmod 600): ") + pfad_,
            EACCES);
    QFile f(pfad_);
    if (!f.open(QIODevice::ReadOnly))
        return Ergebnis::fehler(QStringLiteral("Passwortdatei nicht lesbar: ") + pfad_, EACCES);
    QByteArray zeile = f.read(4096);
    const qsizetype ende = zeile.indexOf('\n');
    if (ende >= 0)
        zeile.truncate(ende);
    if (zeile.endsWith('\r'))
        zeile.chop(1);
    passwort = QString::fromUtf8(zeile);
    return {};
}

Ergebnis PasswortDatei::schreibe(const QString &, const QString &passwort)
{
    schreiber::GanzeDatei datei(pfad_);
    if (Ergebnis e = datei.oeffnen(); !e)
        return e;
    if (Ergebnis e = datei.nurFuerBesitzer(); !e)
        return e;
    if (Ergebnis e = datei.schreiben(passwort.toUtf8() + '\n'); !e)
        return e;
    return datei.abschliessen();
}

} // namespace varnek

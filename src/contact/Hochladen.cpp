#include "contact/Hochladen.h"

#include <QRandomGenerator>

namespace varnek
{

namespace
{

// Whether the server holds `daten` as `datei`; failures name the file as
// the user knows it, `name`.
Ergebnis pruefeGroesse(FtpSitzung &client, const QByteArray &daten, const QString &datei,
                       const QString &name, bool ascii)
{
    qint64 auf = -1;
    if (const Ergebnis e = client.groesse(datei, auf); !e)
        return Ergebnis::fehler(QStringLiteral("Datei nach dem Hochladen nicht auf dem Server: ") +
                                    name,
                                FtpSitzung::UnvollstaendigError);
    if (auf < 0)
        return {}; // the server cannot say; its 226 is all there is
    const qint64 soll = daten.size();
    const qint64 spiel = ascii ? daten.count('\n') : 0;
    if (auf >= soll - spiel && auf <= soll + spiel)
        return {};
    return Ergebnis::fehler(QStringLiteral("Datei auf dem Server unvollständig: %1 von %2 Bytes "
                                           "[%3]")
                                .arg(auf)
                                .arg(soll)
                                .arg(name),
                            FtpSitzung::UnvollstaendigError);
}

// The server's last reply says it does not know the command (500, 502, 504).
bool befehlUnbekannt(const FtpSitzung &client)
{
    if (client.letzterFehler() != FtpSitzung::ServerReplyError)
        return false;
    const QString code = client.letzteAntwort().left(3);
    return code == QLatin1String("500") || code == QLatin1String("502") ||
           code == QLatin1String("504");
}

} // namespace

QString zwischenName(const QString &name)
{
    return name + QLatin1Char('.') +
           QString::number(QRandomGenerator::global()->generate(), 16).rightJustified(8, u'0') +
           QStringLiteral(".tmp");
}

Ergebnis ladeGanzHoch(FtpSitzung &client, const QByteArray &daten, const QString &name, bool ascii)
{
    const QString zwischen = zwischenName(name);
    if (const Ergebnis e = client.ladeHoch(daten, zwischen, ascii); e) {
        // Checked before it replaces anything: a server that kept less
        // leaves the old file as it was.
        if (const Ergebnis g = pruefeGroesse(client, daten, zwischen, name, ascii); !g) {
            // Ignored on purpose: the check's failure is what the user sees.
            (void)client.loescheDatei(zwischen);
            return g;
        }
        if (client.benenneUm(zwischen, name))
            return {};
        // Some servers rename only onto a free name. One that does not know
        // the commands at all keeps its old file until the direct upload.
        // The delete's failure does not matter: the rename after it says
        // what counts.
        if (!befehlUnbekannt(client)) {
            (void)client.loescheDatei(name);
            if (client.benenneUm(zwischen, name))
                return {};
        }
        // A server that cannot rename keeps the temporary file; it is
        // removed so that such files do not pile up (should that fail too,
        // one stray file is left, nothing a reader of `name` sees).
        (void)client.loescheDatei(zwischen);
    } else if (e.nummer() != FtpSitzung::ServerReplyError) {
        return e; // the connection broke: a second try would not get through
    }
    if (const Ergebnis e = client.ladeHoch(daten, name, ascii); !e)
        return e;
    return pruefeGroesse(client, daten, name, name, ascii);
}

} // namespace varnek

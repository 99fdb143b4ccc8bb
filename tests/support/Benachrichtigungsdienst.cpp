#include "support/Benachrichtigungsdienst.h"

#include "support/Pfade.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QJsonDocument>

namespace varnek::test
{

Benachrichtigungsdienst::~Benachrichtigungsdienst()
{
    if (proc_.state() == QProcess::NotRunning)
        return;
    // The service ends when its input closes; dbus-run-session then ends
    // the bus.
    proc_.closeWriteChannel();
    if (!proc_.waitForFinished(5000)) {
        proc_.kill();
        proc_.waitForFinished(3000);
    }
}

bool Benachrichtigungsdienst::start(bool markup)
{
    QStringList argumente{QStringLiteral("--"), QStringLiteral("/usr/bin/python3"),
                          quellPfad(QStringLiteral("tests/support/benachrichtigungen.py")),
                          ordner_.filePath(QStringLiteral("meldungen.jsonl"))};
    if (markup)
        argumente << QStringLiteral("--markup");
    proc_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    proc_.start(QStringLiteral("dbus-run-session"), argumente);
    if (!proc_.waitForStarted(5000))
        return false;
    QByteArray out;
    QDeadlineTimer frist(15000);
    while (!out.contains('\n') && !frist.hasExpired()) {
        proc_.waitForReadyRead(200);
        out += proc_.readAllStandardOutput();
    }
    const QByteArray zeile = out.left(out.indexOf('\n')).trimmed();
    if (!zeile.startsWith("READY "))
        return false;
    adresse_ = QString::fromUtf8(zeile.mid(6));
    qputenv("DBUS_SESSION_BUS_ADDRESS", adresse_.toUtf8());
    return true;
}

QList<QJsonObject> Benachrichtigungsdienst::meldungen() const
{
    QList<QJsonObject> liste;
    QFile f(ordner_.filePath(QStringLiteral("meldungen.jsonl")));
    if (!f.open(QIODevice::ReadOnly))
        return liste;
    for (const QByteArray &zeile : f.readAll().split('\n'))
        if (!zeile.trimmed().isEmpty())
            liste << QJsonDocument::fromJson(zeile).object();
    return liste;
}

} // namespace varnek::test

#include "contact/Verbindung.h"

#include "contact/Adresse.h"

#include <QDir>
#include <QFileInfo>

namespace varnek {

namespace {
const QString kAdressBereich = QStringLiteral("/vx/stillbox/vxvx/");

// A name as a plain file name inside one folder: no path, no parent step.
bool einfacherName(const QString &name)
{
    return !name.isEmpty() && name != QLatin1String(".") && name != QLatin1String("..")
           && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\'));
}
} // namespace

QString bereinigeStatus(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        if (c.unicode() == 0)
            continue;
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || c.category() == QChar::Other_Control)
            out += QLatin1Char(' ');
        else
            out += c;
    }
    return out.trimmed();
}

Verbindung::Verbindung(QObject *parent) : QObject(parent) {}

Verbindung::~Verbindung()
{
    client_.close();
}

void Verbindung::setLabel1(const QString &pfad)
{
    if (pfad == label1_)
        return;
    label1_ = pfad;
    Q_EMIT label1Geaendert(pfad);
}

QString Verbindung::basisPfad() const
{
    return serverName_ + QLatin1Char('/') + serverName_ + kAdressBereich;
}

QString Verbindung::antwort() const
{
    if (client_.lastError() == 0)
        return QStringLiteral("Ok");
    return bereinigeStatus(QString::number(client_.lastError()) + QLatin1Char(' ')
                           + client_.lastResponse());
}

void Verbindung::ZeigeAntwort()
{
    ZeigeStatus(antwort());
}

bool Verbindung::herstellen(const Konto &konto, bool passiv)
{
    Q_EMIT beschaeftigt(true);
    setLabel1(serverName_ + QLatin1Char('/'));
    ZeigeStatus(QStringLiteral("Verbinde..."));
    client_.close();
    FtpClient::Options options;
    options.host = konto.host;
    options.port = konto.port;
    options.user = konto.user;
    options.password = konto.password;
    options.passive = passiv;
    options.connectTimeoutMs = connectTimeoutMs;
    options.stallTimeoutMs = stallTimeoutMs;
    const bool ok = client_.connect(options);
    ZeigeAntwort();
    if (ok)
        Q_EMIT verbindungGeaendert(true);
    else
        ZeigeStatus(QStringLiteral("Fehler beim Verbindungsaufbau"));
    Q_EMIT beschaeftigt(false);
    return ok;
}

void Verbindung::abbrechen()
{
    if (!client_.isConnected())
        return;
    ZeigeStatus(QStringLiteral("Log off..."));
    client_.close();
    ZeigeStatus(QStringLiteral("Ok"));
    Q_EMIT verbindungGeaendert(false);
    setLabel1(QString());
}

bool Verbindung::adresseZulaessig(const QString &adresse)
{
    return varnek::adresseZulaessig(adresse);
}

bool Verbindung::adressPfad(const QString &adresse)
{
    if (!adresseZulaessig(adresse)) {
        Q_EMIT meldung(QStringLiteral("Adresse ist nicht gültig!"));
        return false;
    }
    setLabel1(basisPfad() + adresse);
    return true;
}

bool Verbindung::SetzePfad(QString &pfad)
{
    if (pfad.isEmpty())
        return false;
    pfad = pfad.mid(serverName_.size());
    Q_EMIT beschaeftigt(true);
    ZeigeStatus(QStringLiteral("Setze Pfad..."));
    const bool ok = client_.isConnected() && client_.setCurrentDirectory(pfad.isEmpty() ? QStringLiteral("/") : pfad);
    ZeigeAntwort();
    Q_EMIT beschaeftigt(false);
    if (!ok)
        Q_EMIT meldung(QStringLiteral("Kein Kontakt möglich ! Falsche Adresse ?"));
    return ok;
}

bool Verbindung::LadeDatei(const QString &remoteDir, const QString &remoteFile,
                           const QString &localDir)
{
    // A name from a server listing never leads the download out of the folder.
    if (!einfacherName(remoteFile)) {
        Q_EMIT meldung(QStringLiteral("Übertragunsfehler"));
        return false;
    }
    const QString lokal = localDir + QLatin1Char('/') + remoteFile;
    QString dir = remoteDir;
    SetzePfad(dir);
    Q_EMIT beschaeftigt(true);
    ZeigeStatus(QStringLiteral("Lade Datei..."));
    const bool ok = client_.isConnected() && client_.getFile(remoteFile, lokal, Uebertragungsart == 1);
    ZeigeAntwort();
    Q_EMIT beschaeftigt(false);
    if (!ok)
        Q_EMIT meldung(QStringLiteral("Übertragunsfehler"));
    return ok;
}

bool Verbindung::UebertrageDatei(const QString &localPath, int art)
{
    QString pfad = label1_;
    if (!SetzePfad(pfad))
        return false;
    const qsizetype schnitt =
        std::max(localPath.lastIndexOf(QLatin1Char('/')), localPath.lastIndexOf(QLatin1Char('\\')));
    if (schnitt < 0 || schnitt == localPath.size() - 1)
        return false;
    const QString name = localPath.mid(schnitt + 1);
    Q_EMIT beschaeftigt(true);
    ZeigeStatus(QStringLiteral("Übertrage Datei..."));
    const bool ok = client_.putFile(localPath, name, (art < 0 ? Uebertragungsart : art) == 1);
    ZeigeAntwort();
    Q_EMIT beschaeftigt(false);
    if (!ok)
        Q_EMIT meldung(QStringLiteral("Übertragungsfehler!"));
    return ok;
}

std::optional<FtpClient::Listing> Verbindung::liste(const QString &pfad)
{
    QString p = pfad;
    if (!SetzePfad(p))
        return std::nullopt;
    Q_EMIT beschaeftigt(true);
    auto listing = client_.list();
    ZeigeAntwort();
    Q_EMIT beschaeftigt(false);
    if (!listing)
        return FtpClient::Listing{};
    return listing;
}

bool Verbindung::loesche(const QString &name, bool verzeichnis)
{
    QString pfad = label1_;
    if (!SetzePfad(pfad))
        return false;
    bool ok = false;
    if (!verzeichnis) {
        ZeigeStatus(QStringLiteral("Lösche Datei..."));
        ok = client_.deleteFile(name);
    } else if (!name.startsWith(QLatin1Char('.'))) {
        ZeigeStatus(QStringLiteral("Lösche Verzeichnis..."));
        ok = client_.removeDirectory(name);
    }
    ZeigeAntwort();
    if (!ok)
        Q_EMIT meldung(QStringLiteral("Datei kann nicht gelöscht werden!"));
    return ok;
}

bool Verbindung::erstelleVerzeichnis(const QString &name)
{
    QString pfad = label1_;
    if (!SetzePfad(pfad))
        return false;
    ZeigeStatus(QStringLiteral("Erstelle Verzeichnis..."));
    const bool ok = einfacherName(name) && client_.createDirectory(name);
    ZeigeAntwort();
    if (!ok)
        Q_EMIT meldung(QStringLiteral("Verzeichnis kann nicht erstellt werden!"));
    return ok;
}

bool Verbindung::benenneUm(const QString &von, const QString &nach)
{
    QString pfad = label1_;
    if (!SetzePfad(pfad))
        return false;
    ZeigeStatus(QStringLiteral("Benenne um..."));
    const bool ok = einfacherName(nach) && client_.rename(von, nach);
    ZeigeAntwort();
    if (!ok)
        Q_EMIT meldung(QStringLiteral("Umbenennen nicht möglich"));
    return ok;
}

} // namespace varnek

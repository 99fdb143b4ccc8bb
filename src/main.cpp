#include "app/Programm.h"
#include "contact/KontoDatei.h"
#include "contact/Senden.h"
#include "contact/ui/Gast1.h"
#include "platform/Beenden.h"
#include "platform/Passwort.h"
#include "platform/Tls.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fensterdienste.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTextStream>

#include <cstdio>
#include <memory>

namespace
{

struct Aufruf {
    varnek::Einstellungen einstellungen;
    QString sendeAdresse;
    QString sendeText;
    QString klingelAdresse;
    bool senden = false;    // --send, also with an empty address
    bool klingeln = false;  // --ring, likewise
    QString passwortDatei;  // --password-file, else the settings file's choice
    QString passwortFehler; // why the account's password could not be had
};

// The program's options. Parsing needs no application object, so the
// command line decides which one is made.
struct Optionen {
    QCommandLineParser p;
    QCommandLineOption hilfe = p.addHelpOption();
    QCommandLineOption version = p.addVersionOption();
    const QCommandLineOption folder{
        QStringLiteral("folder"),
        QStringLiteral("Programmordner (Gast.txt, K1.txt, Hilfe.txt, ...)."),
        QStringLiteral("DIR")};
    const QCommandLineOption host{QStringLiteral("host"), QStringLiteral("Server-Host."),
                                  QStringLiteral("NAME")};
    const QCommandLineOption ftpPort{QStringLiteral("ftp-port"), QStringLiteral("FTP-Port (21)."),
                                     QStringLiteral("N")};
    const QCommandLineOption httpPort{QStringLiteral("http-port"),
                                      QStringLiteral("HTTP-Port (80, mit --tls 443)."),
                                      QStringLiteral("N")};
    const QCommandLineOption user{QStringLiteral("user"), QStringLiteral("FTP-Benutzer."),
                                  QStringLiteral("NAME")};
    const QCommandLineOption passwordFile{
        QStringLiteral("password-file"),
        QStringLiteral("Passwort aus FILE lesen (erste Zeile; nur für Sie lesbar, chmod 600)."),
        QStringLiteral("FILE")};
    const QCommandLineOption tls{
        QStringLiteral("tls"),
        QStringLiteral("Verschlüsselt: FTP mit TLS (AUTH TLS) und HTTPS zum Lesen.")};
    const QCommandLineOption caFile{
        QStringLiteral("ca-file"),
        QStringLiteral("Zertifizierungsstelle (PEM) des Servers, z. B. eines eigenen Servers."),
        QStringLiteral("FILE")};
    const QCommandLineOption log{
        QStringLiteral("speech-log"),
        QStringLiteral("Alles Gesprochene als UTF-8-Zeilen an FILE anhängen."),
        QStringLiteral("FILE")};
    const QCommandLineOption mute{
        QStringLiteral("mute"),
        QStringLiteral("Keine Tonausgabe (das Protokoll wird trotzdem geschrieben).")};
    const QCommandLineOption watch{QStringLiteral("watch"),
                                   QStringLiteral("ADDRESS vom Start an lesen."),
                                   QStringLiteral("ADDRESS")};
    const QCommandLineOption send{
        QStringLiteral("send"),
        QStringLiteral("Ohne Fenster TEXT an ADDRESS schicken: --send ADDRESS TEXT."),
        QStringLiteral("ADDRESS")};
    const QCommandLineOption ring{QStringLiteral("ring"),
                                  QStringLiteral("Ohne Fenster an ADDRESS klingeln."),
                                  QStringLiteral("ADDRESS")};

    Optionen()
    {
        p.setApplicationDescription(QStringLiteral(
            "Varnek: Nachrichten an eine Kontakt-Adresse schicken und vorlesen lassen."));
        p.addOptions({folder, host, ftpPort, httpPort, user, passwordFile, tls, caFile, log, mute,
                      watch, send, ring});
        p.addPositionalArgument(QStringLiteral("TEXT"), QStringLiteral("Der Text zu --send."),
                                QStringLiteral("[TEXT]"));
    }

    // True when the program runs without a window: sending, ringing, the
    // help and version texts, and a command line it cannot read (whose
    // message goes to the terminal).
    bool ohneFenster(const QStringList &argumente)
    {
        if (!p.parse(argumente))
            return true;
        return p.isSet(hilfe) || p.isSet(QStringLiteral("help-all")) || p.isSet(version) ||
               p.isSet(send) || p.isSet(ring);
    }
};

// Reads the command line; exits for --help, --help-all, --version and errors.
Aufruf lies(Optionen &o, const QStringList &argumente)
{
    QCommandLineParser &p = o.p;
    p.process(argumente);

    Aufruf a;
    varnek::Einstellungen &e = a.einstellungen;
    e.programmOrdner = p.isSet(o.folder)
                           ? p.value(o.folder)
                           : QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    // The settings file first, the command line over it.
    const varnek::kontodatei::Gelesen datei =
        varnek::kontodatei::laden(varnek::kontodatei::standardPfad(), e);
    a.passwortDatei = datei.passwortDatei;
    if (p.isSet(o.tls))
        e.tls = true;
    if (p.isSet(o.host))
        e.host = p.value(o.host);
    const auto port = [&](const QCommandLineOption &option, int &ziel) {
        if (!p.isSet(option))
            return;
        bool ok = false;
        ziel = p.value(option).toInt(&ok);
        if (!ok || ziel <= 0 || ziel > 65535) {
            std::fprintf(stderr, "Ungültiger Port.\n");
            std::exit(2);
        }
    };
    port(o.ftpPort, e.ftpPort);
    port(o.httpPort, e.httpPort);
    // HTTPS answers on 443 unless a port is given.
    if (e.tls && e.httpPort == 80 && !p.isSet(o.httpPort))
        e.httpPort = 443;
    if (p.isSet(o.user))
        e.benutzer = p.value(o.user);
    if (p.isSet(o.passwordFile))
        a.passwortDatei = QFileInfo(p.value(o.passwordFile)).absoluteFilePath();
    if (p.isSet(o.caFile))
        e.caDatei = QFileInfo(p.value(o.caFile)).absoluteFilePath();
    e.sprechProtokoll = p.value(o.log);
    e.stumm = p.isSet(o.mute);
    e.lauschen = p.value(o.watch);
    a.sendeAdresse = p.value(o.send);
    a.sendeText = p.positionalArguments().join(QLatin1Char(' '));
    a.klingelAdresse = p.value(o.ring);
    a.senden = p.isSet(o.send);
    a.klingeln = p.isSet(o.ring);
    return a;
}

// Whether a window system can be reached: the platform named, or an X11 or
// Wayland display. Without one Qt would abort.
bool anzeigeDa()
{
    return !qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
           !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

bool bereiteOrdnerVor(varnek::Einstellungen &e)
{
    QDir dir;
    if (!dir.mkpath(e.programmOrdner) || !QDir::setCurrent(e.programmOrdner)) {
        const QString text = QStringLiteral("Programmordner nicht nutzbar: ") + e.programmOrdner;
        std::fprintf(stderr, "%s\n", qPrintable(text));
        if (qobject_cast<QApplication *>(QCoreApplication::instance()))
            varnek::dialogs::message(nullptr, text, QString(), varnek::dialogs::Icon::Critical);
        return false;
    }
    e.programmOrdner = QDir::currentPath();
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication::setApplicationName(QStringLiteral("varnek"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VARNEK_VERSION));

    QStringList argumente;
    for (int i = 0; i < argc; ++i)
        argumente << QString::fromLocal8Bit(argv[i]);
    Optionen optionen;
    const bool ohneFenster = optionen.ohneFenster(argumente);
    if (!ohneFenster && !anzeigeDa()) {
        std::fprintf(stderr, "Keine Anzeige gefunden (DISPLAY ist nicht gesetzt). Ohne Fenster: "
                             "--send ADDRESS TEXT, --ring ADDRESS, --help.\n");
        return 1;
    }

    std::unique_ptr<QCoreApplication> app(ohneFenster ? new QCoreApplication(argc, argv)
                                                      : new QApplication(argc, argv));
    if (auto *gui = qobject_cast<QApplication *>(app.get()))
        varnek::RichteAnwendungEin(*gui);
    Aufruf aufruf = lies(optionen, argumente);
    // The transcript path is made absolute before the folder becomes the
    // working directory.
    if (!aufruf.einstellungen.sprechProtokoll.isEmpty())
        aufruf.einstellungen.sprechProtokoll =
            QFileInfo(aufruf.einstellungen.sprechProtokoll).absoluteFilePath();
    if (!bereiteOrdnerVor(aufruf.einstellungen))
        return 2;
    varnek::Einstellungen &e = aufruf.einstellungen;
    if (!e.caDatei.isEmpty()) {
        // HTTPS trusts the same authority as FTP.
        if (const varnek::Ergebnis r = varnek::vertraueZertifizierungsstelle(e.caDatei); !r) {
            std::fprintf(stderr, "%s\n", qPrintable(r.grund()));
            return 2;
        }
    }
    {
        const std::unique_ptr<varnek::PasswortAblage> bund = varnek::schluesselbund();
        if (const varnek::Ergebnis r =
                varnek::kontodatei::besorgePasswort(e, aufruf.passwortDatei, *bund);
            !r) {
            aufruf.passwortFehler = r.grund();
            std::fprintf(stderr, "%s\n", qPrintable(r.grund()));
            // Without a window nothing can be asked: nothing is sent.
            if (aufruf.senden || aufruf.klingeln)
                return 1;
        }
    }

    if (aufruf.senden || aufruf.klingeln) {
        QTextStream out(stdout);
        const auto ausgabe = [&out](const QString &t) { out << t << Qt::endl; };
        if (aufruf.klingeln) {
            varnek::KlingelSignal klingel;
            return varnek::sendeOhneFenster(aufruf.einstellungen, aufruf.klingelAdresse,
                                            klingel.klingeln(), ausgabe);
        }
        const QStringList zeilen =
            aufruf.sendeText.isEmpty() ? QStringList() : QStringList{aufruf.sendeText};
        return varnek::sendeOhneFenster(aufruf.einstellungen, aufruf.sendeAdresse, zeilen, ausgabe);
    }

    varnek::Programm programm(aufruf.einstellungen);
    programm.setzePasswortDatei(aufruf.passwortDatei);
    varnek::Gast1 *fenster = programm.gast1();
    fenster->show();
    if (!aufruf.passwortFehler.isEmpty())
        programm.passwortFehlt(aufruf.passwortFehler);
    // A termination signal quits as the menu's "Beenden" does.
    varnek::beiBeendenSignal([fenster] {
        // Nothing waits for a user now: a box still open closes, none opens.
        varnek::dialogs::setQuitting(true);
        fenster->close();
        QCoreApplication::quit();
    });
    if (!aufruf.einstellungen.lauschen.isEmpty())
        fenster->lausche(aufruf.einstellungen.lauschen);
    return app->exec();
}

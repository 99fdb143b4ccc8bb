// Two copies of the program talking through the local server: the guest is
// always a real `varnek` process; the contact is a window in this process or
// a second process.
#include "ContactFixture.h"
#include "support/Pfade.h"
#include "support/Schreibfehler.h"

#include "platform/AnsiText.h"

#include "bell/ui/Klingel2.h"
#include "contact/Quittung.h"
#include "support/Eingabe.h"

#include <QComboBox>
#include <QListWidget>
#include <QProcess>
#include <QScopeGuard>
#include <QSignalSpy>

using namespace varnek;
using namespace varnek::test;

namespace
{

class EndeZuEnde : public ContactFixture
{
  protected:
    // Starts the real program as a contact watching "test", muted, its
    // transcript in protokoll.
    void starteKontakt(QProcess &kontakt, const QString &programmOrdner, const QString &protokoll)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        kontakt.setProcessEnvironment(env);
        kontakt.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        kontakt.start(test::varnekProgramm(),
                      {QStringLiteral("--folder"), programmOrdner, QStringLiteral("--host"),
                       server.host(), QStringLiteral("--ftp-port"),
                       QString::number(server.ftpPort()), QStringLiteral("--http-port"),
                       QString::number(server.httpPort()), QStringLiteral("--watch"),
                       QStringLiteral("test"), QStringLiteral("--speech-log"), protokoll,
                       QStringLiteral("--mute")});
        ASSERT_TRUE(kontakt.waitForStarted(5000));
    }

    // Runs the program without a window; returns its exit code.
    int gast(const QStringList &argumente, QString *ausgabe = nullptr, int ftpPort = -1)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(test::varnekProgramm(),
                QStringList{QStringLiteral("--folder"), gastOrdner.path(), QStringLiteral("--host"),
                            server.host(), QStringLiteral("--ftp-port"),
                            QString::number(ftpPort < 0 ? server.ftpPort() : ftpPort)} +
                    argumente);
        EXPECT_TRUE(p.waitForFinished(30000));
        if (ausgabe)
            *ausgabe = QString::fromUtf8(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir gastOrdner;
};

// "--send" in a program folder on a full or read-only disk uploads nothing
// (the server keeps its message) and exits non-zero with the reason.
TEST_F(EndeZuEnde, CommandLineSendThatCannotWriteSendsNothing)
{
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt"), "alt\r\n");
    const struct {
        bool voll;
        const char *meldung;
    } faelle[] = {{true, "Achtung : Datenträger voll [Gast.txt]!"},
                  {false, "Achtung : Ordner schreibgeschützt [Gast.txt]!"}};
    for (const auto &fall : faelle) {
        KleinesDateisystem fs(64 * 1024);
        VARNEK_BRAUCHT_DATEISYSTEM(fs);
        ASSERT_TRUE(ansi::writeFile(fs.datei(QStringLiteral("Gast.txt")), "vorher\r\n"));
        if (fall.voll)
            fs.fuellen();
        else
            ASSERT_TRUE(fs.schreibschutz(true));
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(test::varnekProgramm(),
                {QStringLiteral("--folder"), fs.pfad(), QStringLiteral("--host"), server.host(),
                 QStringLiteral("--ftp-port"), QString::number(server.ftpPort()),
                 QStringLiteral("--send"), QStringLiteral("test"), QStringLiteral("Neu")});
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString ausgabe = QString::fromUtf8(p.readAll());
        EXPECT_NE(p.exitCode(), 0) << qPrintable(ausgabe);
        EXPECT_TRUE(ausgabe.contains(QString::fromUtf8(fall.meldung))) << qPrintable(ausgabe);
        EXPECT_FALSE(ausgabe.contains(QStringLiteral("OK"))) << qPrintable(ausgabe);
        EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("alt\r\n"));
        EXPECT_EQ(ansi::readFile(fs.datei(QStringLiteral("Gast.txt"))), QByteArray("vorher\r\n"));
    }
}

TEST_F(EndeZuEnde, CommandLineSendAndRingLeaveTheWindowsBytes)
{
    QString ausgabe;
    EXPECT_EQ(
        gast({QStringLiteral("--send"), QStringLiteral("test"), QStringLiteral("Hallo")}, &ausgabe),
        0)
        << qPrintable(ausgabe);
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("Hallo\r\n"));
    EXPECT_TRUE(ausgabe.trimmed().endsWith(QStringLiteral("OK"))) << qPrintable(ausgabe);

    EXPECT_EQ(gast({QStringLiteral("--send"), QStringLiteral("info"), QStringLiteral("Grüße €")}),
              0);
    EXPECT_EQ(remote(QStringLiteral("info")), QByteArray("Gr\xfc\xdf"
                                                         "e \x80\r\n"));

    EXPECT_EQ(gast({QStringLiteral("--ring"), QStringLiteral("test")}), 0);
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("#dingdong#\r\n"));
}

TEST_F(EndeZuEnde, CommandLineFailuresExitNonZeroWithTheMessage)
{
    QString ausgabe;
    EXPECT_NE(gast({QStringLiteral("--send"), QStringLiteral("test"), QStringLiteral("Hallo")},
                   &ausgabe, closedPort()),
              0);
    EXPECT_TRUE(ausgabe.contains(QStringLiteral("Fehler beim Verbindungsaufbau")))
        << qPrintable(ausgabe);

    EXPECT_NE(gast({QStringLiteral("--ring"), QStringLiteral("gibtsnicht")}, &ausgabe), 0);
    EXPECT_TRUE(ausgabe.contains(QStringLiteral("Kein Kontakt möglich ! Falsche Adresse ?")))
        << qPrintable(ausgabe);
}

TEST_F(EndeZuEnde, GuestProcessReachesContactWindowAndRingsItsBell)
{
    Gast1 &kontakt = starte();
    QSignalSpy gesprochen(&programm->sprecher(), &SpeechComponent::spoken);
    kontakt.lausche(QStringLiteral("test"));
    ASSERT_TRUE(kontakt.empfang().abrufTakt().isActive());

    ASSERT_EQ(
        gast({QStringLiteral("--send"), QStringLiteral("test"), QStringLiteral("Hallo Welt")}), 0);
    EXPECT_TRUE(waitUntil(
        [&] {
            for (const auto &args : gesprochen)
                if (args.at(0).toString() == QLatin1String("Hallo Welt"))
                    return true;
            return false;
        },
        10000));
    EXPECT_TRUE(
        waitUntil([&] { return kontakt.text7().startsWith(QLatin1String("Hallo Welt")); }, 5000));

    ASSERT_EQ(gast({QStringLiteral("--ring"), QStringLiteral("test")}), 0);
    ASSERT_TRUE(waitUntil([&] { return programm->klingel2WennGeladen() != nullptr; }, 10000));
    Klingel2 *glocke = programm->klingel2WennGeladen();
    EXPECT_TRUE(glocke->isVisible());
    auto *log = glocke->findChild<QListWidget *>(QStringLiteral("List1"));
    ASSERT_NE(log, nullptr);
    ASSERT_TRUE(waitUntil([&] { return log->count() > 0; }, 5000));
    EXPECT_TRUE(log->item(log->count() - 1)->text().endsWith(QLatin1String("#dingdong#")))
        << qPrintable(log->item(log->count() - 1)->text());
    // The ring code itself is never spoken.
    for (const auto &args : gesprochen)
        EXPECT_FALSE(args.at(0).toString().contains(QLatin1String("dingdong")));
}

TEST_F(EndeZuEnde, TwoProcessesTalk)
{
    QTemporaryDir kontaktOrdner;
    const QString protokoll = kontaktOrdner.filePath(QStringLiteral("gesprochen.log"));
    QProcess kontakt;
    starteKontakt(kontakt, kontaktOrdner.filePath(QStringLiteral("programm")), protokoll);

    ASSERT_EQ(
        gast({QStringLiteral("--send"), QStringLiteral("test"), QStringLiteral("Hallo Welt")}), 0);
    const bool angekommen = waitUntil(
        [&] {
            QFile f(protokoll);
            return f.open(QIODevice::ReadOnly) && f.readAll().contains("Hallo Welt");
        },
        10000);
    kontakt.terminate();
    if (!kontakt.waitForFinished(5000))
        kontakt.kill();
    EXPECT_TRUE(angekommen);
}

// Read receipts between two programs: the contact is a real process
// watching its address (muted, so every text counts as read at once); the
// guest is a contact window here that sends by its keys. With the contact's
// switch on, the guest's status line says when the text was read; off, no
// receipt reaches the server. The guest, which hears its own text in the
// address it watches, never confirms it itself.
struct QuittungsZeile {
    const char *name;
    bool senden; // the contact's "Lesebestätigung senden"
};

void PrintTo(const QuittungsZeile &z, std::ostream *os)
{
    *os << z.name;
}

class Lesebestaetigung : public EndeZuEnde, public ::testing::WithParamInterface<QuittungsZeile>
{
};

TEST_P(Lesebestaetigung, ReachesTheGuestOnlyWhenSwitchedOn)
{
    const QuittungsZeile &z = GetParam();
    QTemporaryDir kontaktOrdner;
    const QString programmOrdner = kontaktOrdner.filePath(QStringLiteral("programm"));
    ASSERT_TRUE(QDir().mkpath(programmOrdner));
    if (!z.senden) {
        ASSERT_TRUE(ansi::writeLines(programmOrdner + QStringLiteral("/Lesebestaetigung"),
                                     {QStringLiteral("False")}));
    }
    const QString protokoll = kontaktOrdner.filePath(QStringLiteral("gesprochen.log"));
    QProcess kontakt;
    starteKontakt(kontakt, programmOrdner, protokoll);
    const auto beende = qScopeGuard([&] {
        kontakt.terminate();
        if (!kontakt.waitForFinished(5000))
            kontakt.kill();
    });

    Gast1 &g = starte();
    g.quittungsAbruf().setIntervallMs(200);
    test::klick(control<QWidget>("kontakt"));
    ASSERT_TRUE(ftpFertig());
    test::waehleAdresse(&g, QStringLiteral("test"));
    test::taste(&g, Qt::Key_M, Qt::ControlModifier);
    ASSERT_EQ(QApplication::focusWidget(), control<QWidget>("TextS"));
    test::schreibe(QStringLiteral("Hallo Welt"));
    test::taste(&g, Qt::Key_Return);
    ASSERT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("Hallo Welt\r\n"));

    const auto gehoert = [&] {
        QFile f(protokoll);
        return f.open(QIODevice::ReadOnly) && f.readAll().contains("Hallo Welt");
    };
    ASSERT_TRUE(waitUntil(gehoert, 15000));
    if (z.senden) {
        ASSERT_TRUE(
            waitUntil([&] { return status().startsWith(QLatin1String("Gelesen ")); }, 20000))
            << qPrintable(status());
        const std::optional<quittung::Gelesen> q =
            quittung::lies(remote(QStringLiteral("test"), QStringLiteral("Gelesen.txt")));
        ASSERT_TRUE(q);
        EXPECT_EQ(q->hash, quittung::hashVon("Hallo Welt\r\n"));
        EXPECT_EQ(status(), quittung::statusText(q->zeit));
        EXPECT_FALSE(g.quittungsAbruf().aktiv());
    } else {
        // Long enough for a receipt to be uploaded and fetched.
        QTest::qWait(3000);
        EXPECT_TRUE(remote(QStringLiteral("test"), QStringLiteral("Gelesen.txt")).isEmpty());
        EXPECT_FALSE(status().startsWith(QLatin1String("Gelesen")));
        EXPECT_TRUE(g.quittungsAbruf().aktiv());
    }
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(ZweiProgramme, Lesebestaetigung,
                         ::testing::Values(QuittungsZeile{"SwitchedOn", true},
                                           QuittungsZeile{"SwitchedOff", false}),
                         [](const ::testing::TestParamInfo<QuittungsZeile> &i) {
                             return std::string(i.param.name);
                         });

// The command line with no display at all (the environment cleared, so no
// DISPLAY and no QT_QPA_PLATFORM): the modes without a window work, the
// others say why they cannot start. None ends by a signal.
struct OhneAnzeigeZeile {
    const char *name;
    QStringList argumente;
    bool mitServer; // --folder, --host and --ftp-port of the test server first
    int exitCode;
    const char *ausgabe;            // part of stdout and stderr
    const char *gesendet = nullptr; // "Gast.txt" of the address "test" afterwards
    bool ordnerIstDatei = false;    // --folder names a file
};

void PrintTo(const OhneAnzeigeZeile &z, std::ostream *os)
{
    *os << z.name;
}

class OhneAnzeige : public EndeZuEnde, public ::testing::WithParamInterface<OhneAnzeigeZeile>
{
};

TEST_P(OhneAnzeige, RunsOrSaysWhyWithoutASignal)
{
    const OhneAnzeigeZeile &z = GetParam();
    QStringList argumente;
    if (z.mitServer)
        argumente = {QStringLiteral("--folder"),
                     z.ordnerIstDatei ? ordner.filePath(QStringLiteral("Gast.txt"))
                                      : gastOrdner.path(),
                     QStringLiteral("--host"),
                     server.host(),
                     QStringLiteral("--ftp-port"),
                     QString::number(server.ftpPort())};
    if (z.ordnerIstDatei) {
        QFile datei(ordner.filePath(QStringLiteral("Gast.txt")));
        ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
    }
    QProcess p;
    p.setProcessEnvironment(QProcessEnvironment());
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(test::varnekProgramm(), argumente + z.argumente);
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString ausgabe = QString::fromUtf8(p.readAll());
    ASSERT_EQ(p.exitStatus(), QProcess::NormalExit) << "signal; output: " << qPrintable(ausgabe);
    EXPECT_EQ(p.exitCode(), z.exitCode) << qPrintable(ausgabe);
    EXPECT_TRUE(ausgabe.contains(QString::fromUtf8(z.ausgabe))) << qPrintable(ausgabe);
    if (z.gesendet) {
        EXPECT_EQ(remote(QStringLiteral("test")), QByteArray(z.gesendet));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Befehlszeile, OhneAnzeige,
    ::testing::Values(
        OhneAnzeigeZeile{"SendWithEquals",
                         {QStringLiteral("--send=test"), QStringLiteral("hallo")},
                         true,
                         0,
                         "OK",
                         "hallo\r\n"},
        OhneAnzeigeZeile{
            "RingWithEquals", {QStringLiteral("--ring=test")}, true, 0, "OK", "#dingdong#\r\n"},
        OhneAnzeigeZeile{"SendWithEmptyAddress",
                         {QStringLiteral("--send="), QStringLiteral("x")},
                         true,
                         1,
                         "Adresse ist nicht gültig!"},
        OhneAnzeigeZeile{"HelpAll", {QStringLiteral("--help-all")}, false, 0, "--send <ADDRESS>"},
        OhneAnzeigeZeile{"Help", {QStringLiteral("-h")}, false, 0, "--ring <ADDRESS>"},
        OhneAnzeigeZeile{"Version", {QStringLiteral("--version")}, false, 0, "varnek 5.0.0"},
        OhneAnzeigeZeile{
            "UnknownOption", {QStringLiteral("--sendd=test")}, false, 1, "Unknown option 'sendd'"},
        OhneAnzeigeZeile{"WindowWithoutDisplay", {}, true, 1, "Keine Anzeige gefunden"},
        OhneAnzeigeZeile{"FolderIsAFile",
                         {QStringLiteral("--send"), QStringLiteral("test"), QStringLiteral("x")},
                         true,
                         2,
                         "Programmordner nicht nutzbar: ",
                         nullptr,
                         true}),
    [](const ::testing::TestParamInfo<OhneAnzeigeZeile> &i) { return std::string(i.param.name); });

} // namespace

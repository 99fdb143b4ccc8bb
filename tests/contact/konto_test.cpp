// One's own account: the settings file (never with the password), the
// password file, the settings window, and sending with --user,
// --password-file, --tls and --ca-file through the local server.
#include "ContactFixture.h"
#include "support/Eingabe.h"
#include "support/Pfade.h"
#include "support/TestCa.h"

#include "contact/KontoDatei.h"
#include "contact/ui/VerbindungEinrichten.h"
#include "platform/Passwort.h"
#include "platform/Tls.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTemporaryDir>

#include <sys/stat.h>

using namespace varnek;
using namespace varnek::test;

namespace
{

QByteArray lies(const QString &pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void schreibe(const QString &pfad, const QByteArray &bytes, mode_t modus)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    ASSERT_EQ(::chmod(QFile::encodeName(pfad).constData(), modus), 0);
}

mode_t modus(const QString &pfad)
{
    struct stat st {
    };
    ::stat(QFile::encodeName(pfad).constData(), &st);
    return st.st_mode & 0777;
}

Einstellungen eigenesKonto()
{
    Einstellungen e;
    e.host = QStringLiteral("web.example.org");
    e.benutzer = QStringLiteral("anna");
    e.passwort = QStringLiteral("geheim-Wort 42");
    e.ftpPort = 2121;
    e.httpPort = 8443;
    e.passiv = true;
    e.adressWurzel = QStringLiteral("/public_html/varnek/");
    e.httpPfad = QStringLiteral("/varnek/");
    e.tls = true;
    e.caDatei = QStringLiteral("/etc/varnek/ca.pem");
    return e;
}

void erwarteGleichesKonto(const Einstellungen &a, const Einstellungen &b)
{
    EXPECT_EQ(a.host, b.host);
    EXPECT_EQ(a.benutzer, b.benutzer);
    EXPECT_EQ(a.ftpPort, b.ftpPort);
    EXPECT_EQ(a.httpPort, b.httpPort);
    EXPECT_EQ(a.passiv, b.passiv);
    EXPECT_EQ(a.adressWurzel, b.adressWurzel);
    EXPECT_EQ(a.httpPfad, b.httpPfad);
    EXPECT_EQ(a.tls, b.tls);
    EXPECT_EQ(a.caDatei, b.caDatei);
}

// The keyring stands in as a password file: both are a PasswortAblage.
TEST(KontoDatei, RoundTripKeepsThePasswordOutOfTheSettingsFile)
{
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("varnek.conf"));
    const QString bund = dir.filePath(QStringLiteral("bund"));
    PasswortDatei ablage(bund);
    const Einstellungen e = eigenesKonto();

    // Password in the "keyring", and in a password file of its own.
    for (const QString &passwortDatei : {QString(), dir.filePath(QStringLiteral("pw"))}) {
        ASSERT_TRUE(kontodatei::speichereKonto(ini, e, passwortDatei, ablage));
        EXPECT_FALSE(lies(ini).contains("geheim")) << lies(ini).constData();
        Einstellungen gelesen;
        const kontodatei::Gelesen g = kontodatei::laden(ini, gelesen);
        EXPECT_TRUE(g.vorhanden);
        EXPECT_EQ(g.passwortDatei, passwortDatei);
        erwarteGleichesKonto(gelesen, e);
        EXPECT_EQ(gelesen.passwort, QString::fromLatin1(Einstellungen::kStandardPasswort));
        ASSERT_TRUE(kontodatei::besorgePasswort(gelesen, g.passwortDatei, ablage));
        EXPECT_EQ(gelesen.passwort, e.passwort);
        EXPECT_EQ(modus(passwortDatei.isEmpty() ? bund : passwortDatei), mode_t(0600));
    }
    EXPECT_EQ(Einstellungen{}.web().pfad, QStringLiteral("/vx/stillbox/vxvx/"));
    EXPECT_EQ(e.ftpAdressWurzel(), QStringLiteral("/public_html/varnek/"));
    EXPECT_EQ(adressUrlText(e.web(), QStringLiteral("test")),
              QStringLiteral("https://web.example.org:8443/varnek/test/Gast.txt"));

    // Without a settings file nothing changes: the built-in account.
    Einstellungen leer;
    EXPECT_FALSE(kontodatei::laden(dir.filePath(QStringLiteral("fehlt.conf")), leer).vorhanden);
    ASSERT_TRUE(kontodatei::besorgePasswort(leer, QString(), ablage));
    EXPECT_EQ(leer.benutzer, QStringLiteral("varnekdb"));
    EXPECT_EQ(leer.passwort, QStringLiteral("Wald2619"));
    EXPECT_EQ(leer.ftpAdressWurzel(), QStringLiteral("/localhost/vx/stillbox/vxvx/"));
}

TEST(PasswortDatei, ReadOnlyWhenNobodyElseMayReadIt)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("pw"));
    const struct {
        mode_t modus;
        bool ok;
    } faelle[] = {{0600, true}, {0400, true}, {0640, false}, {0604, false}, {0620, false}};
    for (const auto &fall : faelle) {
        schreibe(pfad, "Passwort mit Blanks \r\nzweite Zeile\n", fall.modus);
        QString passwort;
        const Ergebnis r = PasswortDatei(pfad).lies(QString(), passwort);
        EXPECT_EQ(bool(r), fall.ok) << std::oct << fall.modus;
        if (fall.ok) {
            EXPECT_EQ(passwort, QStringLiteral("Passwort mit Blanks "));
        } else {
            EXPECT_TRUE(passwort.isEmpty());
            EXPECT_TRUE(r.grund().contains(QStringLiteral("nur für Sie lesbar")))
                << qPrintable(r.grund());
        }
    }
    QString passwort;
    EXPECT_FALSE(PasswortDatei(dir.filePath(QStringLiteral("fehlt"))).lies(QString(), passwort));
    // Rewriting a file others could read leaves one only its owner can.
    schreibe(pfad, "alt\n", 0644);
    ASSERT_TRUE(PasswortDatei(pfad).schreibe(QString(), QStringLiteral("neu")));
    EXPECT_EQ(modus(pfad), mode_t(0600));
    EXPECT_EQ(lies(pfad), QByteArray("neu\n"));
}

class VerbindungEinrichtenTest : public ::testing::Test
{
  protected:
    void SetUp() override { dialogs::setTestMode(true); }
    void tippe(QWidget *fenster, const char *name, const QString &text)
    {
        auto *feld = fenster->findChild<QLineEdit *>(QString::fromLatin1(name));
        ASSERT_TRUE(feld) << name;
        klick(feld);
        QTest::keyClick(fenster->windowHandle(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), text);
    }

    QTemporaryDir dir;
};

TEST_F(VerbindungEinrichtenTest, SavesWhatIsTypedAndThePasswordApart)
{
    const QString ini = dir.filePath(QStringLiteral("varnek.conf"));
    PasswortDatei ablage(dir.filePath(QStringLiteral("bund")));
    Einstellungen start;
    VerbindungEinrichten fenster(start, QString(), ini, ablage);
    QSignalSpy gespeichert(&fenster, &VerbindungEinrichten::gespeichert);
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
    EXPECT_EQ(fenster.windowTitle(), QStringLiteral("Verbindung einrichten"));
    // The built-in account is what the window starts with.
    EXPECT_EQ(fenster.findChild<QLineEdit *>(QStringLiteral("TextBenutzer"))->text(),
              QStringLiteral("varnekdb"));
    EXPECT_EQ(fenster.findChild<QLineEdit *>(QStringLiteral("TextWurzel"))->text(),
              QStringLiteral("/localhost/vx/stillbox/vxvx/"));

    tippe(&fenster, "TextHost", QStringLiteral("verein.example"));
    tippe(&fenster, "TextBenutzer", QStringLiteral("kasse"));
    tippe(&fenster, "TextPasswort", QStringLiteral("Geheim!"));
    tippe(&fenster, "TextHttpPfad", QStringLiteral("varnek"));
    klick(fenster.findChild<QCheckBox *>(QStringLiteral("CheckTls")));
    EXPECT_FALSE(fenster.findChild<QCheckBox *>(QStringLiteral("CheckPassiv"))->isEnabled());
    klick(fenster.findChild<QPushButton *>(QStringLiteral("Speichern")));

    ASSERT_EQ(gespeichert.size(), 1);
    EXPECT_FALSE(fenster.isVisible());
    EXPECT_TRUE(dialogs::shown().isEmpty()) << qPrintable(dialogs::shown().join(QLatin1Char('|')));
    EXPECT_FALSE(lies(ini).contains("Geheim")) << lies(ini).constData();
    Einstellungen gelesen;
    (void)kontodatei::laden(ini, gelesen);
    EXPECT_EQ(gelesen.host, QStringLiteral("verein.example"));
    EXPECT_EQ(gelesen.benutzer, QStringLiteral("kasse"));
    EXPECT_TRUE(gelesen.tls);
    EXPECT_EQ(gelesen.httpPfad, QStringLiteral("/varnek/"));
    // The usual address root follows the host.
    EXPECT_TRUE(gelesen.adressWurzel.isEmpty());
    EXPECT_EQ(gelesen.ftpAdressWurzel(), QStringLiteral("/verein.example/vx/stillbox/vxvx/"));
    ASSERT_TRUE(kontodatei::besorgePasswort(gelesen, QString(), ablage));
    EXPECT_EQ(gelesen.passwort, QStringLiteral("Geheim!"));
}

// The program itself with an account of its own: the local server is given
// another user and password, with TLS or without.
class KontoSenden : public ::testing::Test
{
  protected:
    int gast(const LocalServer &server, const QStringList &argumente, QString &ausgabe)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // No settings file of the user's plays in.
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), konfig.path());
        p.setProcessEnvironment(env);
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(varnekProgramm(),
                QStringList{QStringLiteral("--folder"), ordner.path(), QStringLiteral("--host"),
                            server.host(), QStringLiteral("--ftp-port"),
                            QString::number(server.ftpPort())} +
                    argumente);
        EXPECT_TRUE(p.waitForFinished(30000));
        ausgabe = QString::fromUtf8(p.readAll());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }

    QTemporaryDir ordner, konfig, geheim;
};

TEST_F(KontoSenden, SendsWithUserPasswordFileTlsAndCaOrNotAtAll)
{
    TestCa ca, fremde;
    ASSERT_TRUE(ca.ok() && fremde.ok());
    const QStringList konto{QStringLiteral("--user"), QStringLiteral("anna"),
                            QStringLiteral("--password"), QStringLiteral("Anna-2026")};
    LocalServer mitTls(konto + ca.serverOptionen());
    LocalServer ohneTls(konto);
    ASSERT_TRUE(mitTls.running() && ohneTls.running());
    const QString pw = geheim.filePath(QStringLiteral("pw"));
    const QString pwOffen = geheim.filePath(QStringLiteral("pw-offen"));
    schreibe(pw, "Anna-2026\n", 0600);
    schreibe(pwOffen, "Anna-2026\n", 0644);

    const struct {
        const char *name;
        const LocalServer &server;
        QString passwortDatei;
        bool tls;
        QString caDatei;
        bool ok;
        const char *meldung;
    } faelle[] = {
        {"mit TLS", mitTls, pw, true, ca.ca(), true, ""},
        {"ohne TLS", ohneTls, pw, false, QString(), true, "Verbindung nicht verschlüsselt"},
        {"fremde CA", mitTls, pw, true, fremde.ca(), false, "Zertifikat des Servers"},
        {"Server ohne TLS", ohneTls, pw, true, ca.ca(), false, "keine Verschlüsselung"},
        {"Passwortdatei offen", mitTls, pwOffen, true, ca.ca(), false, "nur für Sie lesbar"},
    };
    int n = 0;
    for (const auto &fall : faelle) {
        const QString text = QStringLiteral("Hallo %1").arg(++n);
        QStringList argumente{QStringLiteral("--user"), QStringLiteral("anna"),
                              QStringLiteral("--password-file"), fall.passwortDatei};
        if (fall.tls)
            argumente << QStringLiteral("--tls") << QStringLiteral("--ca-file") << fall.caDatei;
        argumente << QStringLiteral("--send") << QStringLiteral("test") << text;
        QString ausgabe;
        const int code = gast(fall.server, argumente, ausgabe);
        const QByteArray angekommen =
            fall.server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt"));
        EXPECT_EQ(code == 0, fall.ok) << fall.name << "\n" << qPrintable(ausgabe);
        EXPECT_TRUE(ausgabe.contains(QString::fromUtf8(fall.meldung))) << fall.name << "\n"
                                                                       << qPrintable(ausgabe);
        EXPECT_EQ(ausgabe.contains(QStringLiteral("nicht verschlüsselt")), !fall.tls && fall.ok)
            << fall.name;
        if (fall.ok)
            EXPECT_EQ(angekommen, text.toUtf8() + "\r\n") << fall.name;
        else
            EXPECT_NE(angekommen, text.toUtf8() + "\r\n") << fall.name;
    }
}

// The window with TLS: connects encrypted (no warning in the status line)
// and reads its address over HTTPS.
class Gast1Tls : public ContactFixture
{
  protected:
    static TestCa &ca()
    {
        static TestCa c;
        return c;
    }
    Gast1Tls() : ContactFixture(ca().serverOptionen()) {}
};

TEST_F(Gast1Tls, ConnectsAndReadsEncrypted)
{
    ASSERT_TRUE(ca().ok());
    ASSERT_TRUE(vertraueZertifizierungsstelle(ca().ca()));
    Einstellungen e = einstellungen();
    e.tls = true;
    e.caDatei = ca().ca();
    Gast1 &g = starte(e);
    g.empfang().setIntervalle(100, 50, 50);
    klick(control<QWidget>("kontakt"));
    ASSERT_TRUE(ftpFertig());
    EXPECT_TRUE(g.verbindung().verbunden());
    EXPECT_EQ(status(), QStringLiteral("Ok"));
    EXPECT_TRUE(dialogs::shown().isEmpty()) << qPrintable(dialogs::shown().join(QLatin1Char('|')));

    g.lausche(QStringLiteral("test"));
    EXPECT_TRUE(g.empfang().nachrichtenAdresse().startsWith(QStringLiteral("https://localhost:")))
        << qPrintable(g.empfang().nachrichtenAdresse());
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt"), "Sicher da\r\n");
    EXPECT_TRUE(waitUntil([&] { return g.text7().startsWith(QStringLiteral("Sicher da")); }))
        << qPrintable(g.text7());
}

} // namespace

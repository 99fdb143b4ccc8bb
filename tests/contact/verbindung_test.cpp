#include "contact/Verbindung.h"

#include "contact/Empfang.h"
#include "contact/Hochladen.h"
#include "support/FtpBremse.h"
#include "support/HostileFtpServer.h"
#include "support/LocalServer.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnek;
using namespace varnek::test;

namespace
{

class VerbindungTest : public ::testing::TestWithParam<bool>
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.running());
        v.setzeServerName(QStringLiteral("localhost"));
        v.connectTimeoutMs = 3000;
        QObject::connect(&v, &Verbindung::status, &v, [this](const QString &t) { stati << t; });
        QObject::connect(&v, &Verbindung::meldung, &v,
                         [this](const QString &t) { meldungen << t; });
        QObject::connect(&v, &Verbindung::beschaeftigtGeaendert, &v,
                         [this](bool an) { sanduhr << an; });
        konto.host = QStringLiteral("127.0.0.1");
        konto.port = server.ftpPort();
    }

    // Queues the step, waits for its end and gives its result.
    bool ergebnis(const std::function<void(Verbindung::Fertig)> &schritt, int ms = 15000)
    {
        std::optional<bool> ok;
        schritt([&](bool r) { ok = r; });
        EXPECT_TRUE(waitUntil([&] { return ok.has_value() && !v.beschaeftigt(); }, ms));
        return ok.value_or(false);
    }
    bool herstellen(bool passiv = false)
    {
        return ergebnis([&](Verbindung::Fertig f) { v.herstellen(konto, passiv, f); });
    }
    bool hochladen(const QString &pfad)
    {
        return ergebnis([&](Verbindung::Fertig f) { v.uebertrageDatei(pfad, -1, f); });
    }
    void schreibe(const QString &pfad, const QByteArray &daten)
    {
        QFile f(pfad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(daten);
    }

    LocalServer server;
    QTemporaryDir lokal;
    Verbindung v;
    Verbindung::Konto konto;
    QStringList stati, meldungen;
    QList<bool> sanduhr;
};

TEST_F(VerbindungTest, ConnectsWithTheAccountAndRefusesWrongOnes)
{
    ASSERT_TRUE(herstellen());
    EXPECT_TRUE(v.verbunden());
    EXPECT_EQ(v.antwort(), QStringLiteral("Ok"));
    EXPECT_EQ(v.pfad(), QStringLiteral("localhost/"));
    EXPECT_EQ(stati, (QStringList{QStringLiteral("Verbinde..."), QStringLiteral("Ok")}));
    // The hourglass is on exactly while the step is queued.
    EXPECT_EQ(sanduhr, (QList<bool>{true, false}));
    std::optional<FtpSitzung::Liste> listing;
    v.liste(v.pfad(), [&](std::optional<FtpSitzung::Liste> l) { listing = std::move(l); });
    ASSERT_TRUE(waitUntil([&] { return listing.has_value(); }));
    EXPECT_EQ(v.verzeichnis(), QStringLiteral("/"));

    v.abbrechen();
    EXPECT_FALSE(v.verbunden());
    stati.clear();
    v.abbrechen(); // nothing happens when disconnected
    EXPECT_TRUE(stati.isEmpty());

    // The server answers a wrong password only after a pause of its own.
    v.connectTimeoutMs = 10000;
    konto.password = QStringLiteral("falsch");
    EXPECT_FALSE(herstellen());
    EXPECT_FALSE(v.verbunden());
    EXPECT_EQ(stati.last(), QStringLiteral("Fehler beim Verbindungsaufbau"));
    // The server's reply is shown before, clean of control characters.
    const QString antwort = stati.at(stati.size() - 2);
    EXPECT_TRUE(antwort.startsWith(QStringLiteral("12003 530"))) << qPrintable(antwort);
    for (const QChar c : antwort)
        EXPECT_GE(c.unicode(), 0x20);
}

TEST_P(VerbindungTest, UploadAndDownloadAreByteIdenticalInBinaryMode)
{
    ASSERT_TRUE(herstellen(GetParam()));
    QByteArray daten;
    for (int i = 0; i < 4096; ++i)
        daten += char(i * 7 % 256);
    daten += QByteArray("\r\n\n\r\0", 5);
    const QString quelle = lokal.filePath(QStringLiteral("Foto.bmp"));
    schreibe(quelle, daten);

    v.uebertragungsart = 0;
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    ASSERT_TRUE(hochladen(quelle));
    EXPECT_EQ(server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Foto.bmp")), daten);

    QTemporaryDir ziel;
    ASSERT_TRUE(ergebnis([&](Verbindung::Fertig f) {
        v.ladeDatei(v.pfad(), QStringLiteral("Foto.bmp"), ziel.path(), f);
    }));
    QFile zurueck(ziel.filePath(QStringLiteral("Foto.bmp")));
    ASSERT_TRUE(zurueck.open(QIODevice::ReadOnly));
    EXPECT_EQ(zurueck.readAll(), daten);
    EXPECT_TRUE(meldungen.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(AktivUndPassiv, VerbindungTest, ::testing::Values(false, true));

TEST_F(VerbindungTest, MissingFolderAndBadNamesGiveTheMessages)
{
    ASSERT_TRUE(herstellen(true));
    ASSERT_TRUE(v.adressPfad(QStringLiteral("gibtsnicht")));
    const QString quelle = lokal.filePath(QStringLiteral("Gast.txt"));
    schreibe(quelle, {});
    EXPECT_FALSE(hochladen(quelle));
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Kein Kontakt möglich ! Falsche Adresse ?")});

    // A local file that cannot be read is not uploaded, and says why.
    meldungen.clear();
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    EXPECT_FALSE(hochladen(lokal.filePath(QStringLiteral("nichtda.txt"))));
    EXPECT_TRUE(stati.contains(QStringLiteral("26 Lokale Datei nicht lesbar: ") +
                               lokal.filePath(QStringLiteral("nichtda.txt"))));
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Übertragungsfehler!")});
    EXPECT_FALSE(QFileInfo::exists(server.root() +
                                   QStringLiteral("/localhost/vx/stillbox/vxvx/test/nichtda.txt")));

    // A path without any folder part is not uploaded, and says nothing.
    meldungen.clear();
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    EXPECT_FALSE(hochladen(QStringLiteral("Gast.txt")));
    EXPECT_TRUE(meldungen.isEmpty());

    // A server-given name never leads a download out of the target folder.
    EXPECT_FALSE(ergebnis([&](Verbindung::Fertig f) {
        v.ladeDatei(v.pfad(), QStringLiteral("../Gast.txt"), lokal.path(), f);
    }));
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Übertragunsfehler")});
}

TEST_F(VerbindungTest, QueuedUploadsCarryTheBytesOfTheirMomentInOrder)
{
    // Each upload is stored under its own number, in the order of arrival.
    FtpBremse bremse(server.ftpPort(), {QStringLiteral("--number-stor")});
    ASSERT_TRUE(bremse.running());
    konto.port = bremse.port();
    ASSERT_TRUE(herstellen());
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    const QString quelle = lokal.filePath(QStringLiteral("Gast.txt"));
    int erfolge = 0;
    for (const char *text : {"eins", "zwei", "drei"}) {
        schreibe(quelle, text);
        v.uebertrageDatei(quelle, -1, [&](bool ok) { erfolge += ok ? 1 : 0; });
    }
    ASSERT_TRUE(waitUntil([&] { return !v.beschaeftigt(); }));
    EXPECT_EQ(erfolge, 3);
    const QString datei = QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt.");
    EXPECT_EQ(server.readFile(datei + QLatin1Char('1')), QByteArray("eins"));
    EXPECT_EQ(server.readFile(datei + QLatin1Char('2')), QByteArray("zwei"));
    EXPECT_EQ(server.readFile(datei + QLatin1Char('3')), QByteArray("drei"));
}

TEST_F(VerbindungTest, ContactPollingDuringASlowUploadReadsTheMessageOnceWhole)
{
    // The data connection moves 1000 bytes/s: the upload takes 3 s.
    FtpBremse bremse(server.ftpPort(), {QStringLiteral("--data-rate"), QStringLiteral("1000")});
    ASSERT_TRUE(bremse.running());
    konto.port = bremse.port();
    const QString aufServer = QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt");
    server.writeFile(aufServer, "alte Nachricht\r\n");
    QByteArray neu;
    for (int i = 0; neu.size() < 3000; ++i)
        neu += "Zeile " + QByteArray::number(i) + " der neuen Nachricht\r\n";
    const QString quelle = lokal.filePath(QStringLiteral("Gast.txt"));
    schreibe(quelle, neu);

    QTemporaryDir kontaktOrdner;
    Empfang kontakt(kontaktOrdner.path());
    kontakt.setzeServer(server.host(), server.httpPort());
    kontakt.setIntervalle(100, 1000, 1000);
    ASSERT_TRUE(kontakt.setzeAdresse(QStringLiteral("test")));
    QStringList gelesen;
    QObject::connect(&kontakt, &Empfang::sprechen, &kontakt,
                     [&](const QString &knopf, const QString &text) {
                         if (knopf == QLatin1String("user1"))
                             gelesen << text;
                     });
    kontakt.starteLesen();
    ASSERT_TRUE(waitUntil([&] { return !gelesen.isEmpty(); }));

    ASSERT_TRUE(herstellen(true));
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    v.uebertragungsart = 0; // as the send box sends "Gast.txt"
    QElapsedTimer uhr;
    uhr.start();
    ASSERT_TRUE(hochladen(quelle)) << qPrintable(stati.join(QLatin1Char('|')));
    EXPECT_GE(uhr.elapsed(), 2500);
    EXPECT_EQ(server.readFile(aufServer), neu);
    const QString erwartet = QString::fromLatin1(neu).trimmed();
    EXPECT_TRUE(waitUntil([&] { return gelesen.size() >= 2; }, 3000));
    QTest::qWait(500);
    ASSERT_EQ(gelesen.size(), 2) << qPrintable(gelesen.join(QLatin1Char('|')));
    EXPECT_EQ(gelesen.at(0).trimmed(), QStringLiteral("alte Nachricht"));
    EXPECT_EQ(gelesen.at(1).trimmed(), erwartet);
    EXPECT_TRUE(QDir(server.addressDir(QStringLiteral("test")))
                    .entryList({QStringLiteral("*.tmp")}, QDir::Files)
                    .isEmpty());
}

TEST_F(VerbindungTest, RememberedAddressSurvivesLogOffAndReconnect)
{
    ASSERT_TRUE(herstellen());
    EXPECT_FALSE(v.imAdressVerzeichnis());
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    EXPECT_TRUE(v.imAdressVerzeichnis());
    v.abbrechen();
    EXPECT_TRUE(v.pfad().isEmpty());
    EXPECT_FALSE(v.imAdressVerzeichnis());
    ASSERT_TRUE(herstellen());
    EXPECT_EQ(v.pfad(), v.basisPfad() + QStringLiteral("test"));
    // The base path itself, or an empty address, is no address directory.
    v.setzePfad(v.basisPfad());
    EXPECT_FALSE(v.imAdressVerzeichnis());
    ASSERT_TRUE(v.adressPfad(QStringLiteral(" ")));
    EXPECT_FALSE(v.imAdressVerzeichnis());
}

TEST(StatusLine, ShowsNoNulPaddingOrControlCharacters)
{
    EXPECT_EQ(bereinigeStatus(QStringLiteral("550 No\tsuch\r\nfile") + QString(4, QChar(0))),
              QStringLiteral("550 No such  file"));
}

} // namespace

namespace varnek
{
namespace
{

using test::HostileFtpServer;
using Umbenennen = HostileFtpServer::Config::Umbenennen;
using Modus = HostileFtpServer::Config::Mode;

struct HochladenZeile {
    const char *name;
    Modus modus;
    Umbenennen umbenennen;
    bool ok;
    QByteArray danach;        // "Gast.txt" on the server afterwards
    QStringList befehle;      // verbs or whole commands the server must have seen
    QStringList keineBefehle; // whole commands it must not have seen
};

class GanzHochladen : public ::testing::TestWithParam<HochladenZeile>
{
};

TEST_P(GanzHochladen, ReadersSeeTheOldOrTheNewFileAndNothingStoredIsNoSuccess)
{
    const HochladenZeile &z = GetParam();
    HostileFtpServer::Config config;
    config.mode = z.modus;
    config.umbenennen = z.umbenennen;
    HostileFtpServer server(config);
    ASSERT_TRUE(server.running());
    QFile alt(server.root() + QStringLiteral("/Gast.txt"));
    ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
    alt.write("alt\r\n");
    alt.close();

    FtpSitzung ftp;
    ASSERT_TRUE(ftp.verbinde(server.options()));
    const Ergebnis e =
        ladeGanzHoch(ftp, "Hallo,\r\nneue Nachricht\r\n", QStringLiteral("Gast.txt"), false);
    EXPECT_EQ(e.ok(), z.ok) << qPrintable(e.grund());
    if (!z.ok) {
        EXPECT_EQ(e.nummer(), FtpSitzung::UnvollstaendigError);
        EXPECT_TRUE(e.grund().contains(QStringLiteral("Gast.txt"))) << qPrintable(e.grund());
    }
    QFile danach(server.root() + QStringLiteral("/Gast.txt"));
    ASSERT_TRUE(danach.open(QIODevice::ReadOnly));
    EXPECT_EQ(danach.readAll(), z.danach);
    // No temporary file is left behind.
    EXPECT_TRUE(QDir(server.root()).entryList({QStringLiteral("*.tmp")}, QDir::Files).isEmpty());

    QStringList verben;
    for (const QString &b : server.commands())
        verben << b.section(QLatin1Char(' '), 0, 0);
    for (const QString &b : z.befehle)
        EXPECT_TRUE(verben.contains(b) || server.commands().contains(b)) << qPrintable(b);
    for (const QString &b : z.keineBefehle)
        EXPECT_FALSE(server.commands().contains(b)) << qPrintable(b);
}

const QByteArray kNeu = "Hallo,\r\nneue Nachricht\r\n";

INSTANTIATE_TEST_SUITE_P(Server, GanzHochladen,
                         ::testing::Values(HochladenZeile{"RenamesOverTheOldFile",
                                                          Modus::Listing,
                                                          Umbenennen::Ganz,
                                                          true,
                                                          kNeu,
                                                          {"RNFR", "RNTO", "SIZE"},
                                                          {"DELE /Gast.txt", "STOR /Gast.txt"}},
                                           HochladenZeile{"DeletesFirstWhereRenameWillNotOverwrite",
                                                          Modus::Listing,
                                                          Umbenennen::NichtUeberschreibend,
                                                          true,
                                                          kNeu,
                                                          {"RNTO", "DELE /Gast.txt"},
                                                          {"STOR /Gast.txt"}},
                                           HochladenZeile{"UploadsDirectlyWhereRenameIsUnknown",
                                                          Modus::Listing,
                                                          Umbenennen::Nie,
                                                          true,
                                                          kNeu,
                                                          {"RNFR", "STOR /Gast.txt", "SIZE"},
                                                          {"DELE /Gast.txt"}},
                                           HochladenZeile{"StoredNothingLeavesTheOldFileAndFails",
                                                          Modus::SwallowStor,
                                                          Umbenennen::Ganz,
                                                          false,
                                                          "alt\r\n",
                                                          {"SIZE"},
                                                          {"RNFR", "DELE /Gast.txt"}},
                                           HochladenZeile{"StoredNothingAfterADirectUploadFails",
                                                          Modus::SwallowStor,
                                                          Umbenennen::Nie,
                                                          false,
                                                          "alt\r\n",
                                                          {"SIZE"},
                                                          {"STOR /Gast.txt"}}),
                         [](const ::testing::TestParamInfo<HochladenZeile> &info) {
                             return info.param.name;
                         });

TEST(GanzHochladenFenster, ServerThatStoresNothingShowsWhyAndNeverOk)
{
    HostileFtpServer::Config config;
    config.mode = Modus::SwallowStor;
    HostileFtpServer server(config);
    ASSERT_TRUE(server.running());
    QTemporaryDir lokal;
    const QString quelle = lokal.filePath(QStringLiteral("Gast.txt"));
    QFile f(quelle);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("Hallo\r\n");
    f.close();

    Verbindung v;
    v.setzeServerName(QStringLiteral("localhost"));
    QStringList stati, meldungen;
    QObject::connect(&v, &Verbindung::status, &v, [&](const QString &t) { stati << t; });
    QObject::connect(&v, &Verbindung::meldung, &v, [&](const QString &t) { meldungen << t; });
    Verbindung::Konto konto;
    konto.host = QStringLiteral("127.0.0.1");
    konto.port = server.port();
    std::optional<bool> verbunden, hoch;
    v.herstellen(konto, true, [&](bool ok) { verbunden = ok; });
    ASSERT_TRUE(test::waitUntil([&] { return verbunden.has_value(); }, 10000));
    ASSERT_TRUE(*verbunden);
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    v.uebertrageDatei(quelle, 0, [&](bool ok) { hoch = ok; });
    ASSERT_TRUE(test::waitUntil([&] { return hoch.has_value() && !v.beschaeftigt(); }, 10000));
    EXPECT_FALSE(*hoch);
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Übertragungsfehler!")});
    EXPECT_EQ(stati.last(),
              QStringLiteral("18 Datei nach dem Hochladen nicht auf dem Server: Gast.txt"));
}

} // namespace
} // namespace varnek

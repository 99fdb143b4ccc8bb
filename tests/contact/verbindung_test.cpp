#include "contact/Verbindung.h"
#include "support/LocalServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace varnek;
using namespace varnek::test;

namespace {

class VerbindungTest : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.running());
        v.setServerName(QStringLiteral("localhost"));
        v.connectTimeoutMs = 3000;
        QObject::connect(&v, &Verbindung::status, &v, [this](const QString &t) { stati << t; });
        QObject::connect(&v, &Verbindung::meldung, &v, [this](const QString &t) { meldungen << t; });
        konto.host = QStringLiteral("127.0.0.1");
        konto.port = server.ftpPort();
    }

    LocalServer server;
    QTemporaryDir lokal;
    Verbindung v;
    Verbindung::Konto konto;
    QStringList stati, meldungen;
};

TEST_F(VerbindungTest, ConnectsWithTheAccountAndRefusesWrongOnes)
{
    ASSERT_TRUE(v.herstellen(konto, false));
    EXPECT_TRUE(v.verbunden());
    EXPECT_EQ(v.antwort(), QStringLiteral("Ok"));
    EXPECT_EQ(v.Label1(), QStringLiteral("localhost/"));
    QString root = v.Label1();
    EXPECT_TRUE(v.SetzePfad(root));
    EXPECT_EQ(root, QStringLiteral("/"));
    EXPECT_EQ(v.client().currentDirectory(), QStringLiteral("/"));

    v.abbrechen();
    EXPECT_FALSE(v.verbunden());
    stati.clear();
    v.abbrechen(); // nothing happens when disconnected
    EXPECT_TRUE(stati.isEmpty());

    // The server answers a wrong password only after a pause of its own.
    v.connectTimeoutMs = 10000;
    konto.password = QStringLiteral("falsch");
    EXPECT_FALSE(v.herstellen(konto, false));
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
    const bool passiv = GetParam();
    ASSERT_TRUE(v.herstellen(konto, passiv));
    QByteArray daten;
    for (int i = 0; i < 4096; ++i)
        daten += char(i * 7 % 256);
    daten += "\r\n\n\r\0";
    const QString quelle = lokal.filePath(QStringLiteral("Foto.bmp"));
    QFile f(quelle);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(daten);
    f.close();

    v.Uebertragungsart = 0;
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    ASSERT_TRUE(v.UebertrageDatei(quelle));
    EXPECT_EQ(server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Foto.bmp")), daten);

    QTemporaryDir ziel;
    ASSERT_TRUE(v.LadeDatei(v.Label1(), QStringLiteral("Foto.bmp"), ziel.path()));
    QFile zurueck(ziel.filePath(QStringLiteral("Foto.bmp")));
    ASSERT_TRUE(zurueck.open(QIODevice::ReadOnly));
    EXPECT_EQ(zurueck.readAll(), daten);
    EXPECT_TRUE(meldungen.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(AktivUndPassiv, VerbindungTest, ::testing::Values(false, true));

TEST_F(VerbindungTest, MissingFolderAndBadNamesGiveTheMessages)
{
    ASSERT_TRUE(v.herstellen(konto, true));
    ASSERT_TRUE(v.adressPfad(QStringLiteral("gibtsnicht")));
    const QString quelle = lokal.filePath(QStringLiteral("Gast.txt"));
    QFile f(quelle);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    EXPECT_FALSE(v.UebertrageDatei(quelle));
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Kein Kontakt möglich ! Falsche Adresse ?")});

    // A path without any folder part is not uploaded, and says nothing.
    meldungen.clear();
    ASSERT_TRUE(v.adressPfad(QStringLiteral("test")));
    EXPECT_FALSE(v.UebertrageDatei(QStringLiteral("Gast.txt")));
    EXPECT_TRUE(meldungen.isEmpty());

    // A server-given name never leads a download out of the target folder.
    EXPECT_FALSE(v.LadeDatei(v.Label1(), QStringLiteral("../Gast.txt"), lokal.path()));
    EXPECT_EQ(meldungen, QStringList{QStringLiteral("Übertragunsfehler")});
}

TEST(StatusLine, ShowsNoNulPaddingOrControlCharacters)
{
    EXPECT_EQ(bereinigeStatus(QStringLiteral("550 No\tsuch\r\nfile") + QString(4, QChar(0))),
              QStringLiteral("550 No such  file"));
}

} // namespace

// Read receipts: the receipt text, and its upload by the contact's program.
#include "contact/Quittung.h"

#include "platform/AnsiText.h"
#include "platform/Clock.h"
#include "support/LocalServer.h"
#include "support/Schreibfehler.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>
#include <gtest/gtest.h>

using namespace varnek;
using namespace varnek::test;

namespace
{

const QByteArray kHash = "175fafa305e1a6b217963bc76039061049314671ccfd48077256d75396ee73a6";

TEST(Quittung, HashIsTheSha256OfTheFetchedBytesInHex)
{
    EXPECT_EQ(quittung::hashVon("Hallo\r\n"), kHash);
    EXPECT_NE(quittung::hashVon("Hallo\n"), kHash);
}

struct LeseZeile {
    const char *name;
    QByteArray bytes;
    bool gueltig;
    const char *zeit = nullptr; // UTC, ISO
};

void PrintTo(const LeseZeile &z, std::ostream *os)
{
    *os << z.name;
}

class QuittungLesen : public ::testing::TestWithParam<LeseZeile>
{
};

TEST_P(QuittungLesen, TakesOnlyAHashAndATime)
{
    const LeseZeile &z = GetParam();
    const std::optional<quittung::Gelesen> g = quittung::lies(z.bytes);
    ASSERT_EQ(g.has_value(), z.gueltig);
    if (!g)
        return;
    EXPECT_EQ(g->hash, kHash);
    EXPECT_EQ(g->zeit, QDateTime::fromString(QString::fromLatin1(z.zeit), Qt::ISODate));
    EXPECT_EQ(g->zeit.timeSpec(), Qt::UTC);
}

INSTANTIATE_TEST_SUITE_P(
    Zeilen, QuittungLesen,
    ::testing::Values(
        LeseZeile{"AsWritten", kHash + "\r\n2026-12-09T12:30:05Z\r\n", true,
                  "2026-12-09T12:30:05Z"},
        LeseZeile{"UnixLineEnds", kHash + "\n2026-12-09T12:30:05Z\n", true, "2026-12-09T12:30:05Z"},
        LeseZeile{"NoLastLineEnd", kHash + "\r\n2026-12-09T12:30:05Z", true,
                  "2026-12-09T12:30:05Z"},
        LeseZeile{"UpperCaseHex", kHash.toUpper() + "\r\n2026-12-09T12:30:05Z\r\n", true,
                  "2026-12-09T12:30:05Z"},
        LeseZeile{"OffsetTime", kHash + "\r\n2026-12-09T13:30:05+01:00\r\n", true,
                  "2026-12-09T12:30:05Z"},
        LeseZeile{"TimeWithoutZoneIsUtc", kHash + "\r\n2026-12-09T12:30:05\r\n", true,
                  "2026-12-09T12:30:05Z"},
        LeseZeile{"Empty", "", false}, LeseZeile{"HashOnly", kHash + "\r\n", false},
        LeseZeile{"HashCutShort", kHash.left(63) + "\r\n2026-12-09T12:30:05Z\r\n", false},
        LeseZeile{"HashTooLong", kHash + "0\r\n2026-12-09T12:30:05Z\r\n", false},
        LeseZeile{"NotHex", kHash.left(63) + "g\r\n2026-12-09T12:30:05Z\r\n", false},
        LeseZeile{"NoTime", kHash + "\r\ngestern\r\n", false},
        LeseZeile{"HtmlPage", "<html><body>404 Not Found</body></html>", false}),
    [](const ::testing::TestParamInfo<LeseZeile> &i) { return std::string(i.param.name); });

TEST(Quittung, WrittenLinesReadBackAndShowTheLocalTime)
{
    const QDateTime zeit(QDate(2026, 12, 9), QTime(12, 30, 5), Qt::UTC);
    const QStringList zeilen = quittung::zeilen(kHash, zeit);
    EXPECT_EQ(zeilen,
              (QStringList{QString::fromLatin1(kHash), QStringLiteral("2026-12-09T12:30:05Z")}));
    QTemporaryDir dir;
    const QString pfad = dir.filePath(QStringLiteral("Gelesen.txt"));
    ASSERT_TRUE(ansi::writeLines(pfad, zeilen));
    const std::optional<quittung::Gelesen> g = quittung::lies(ansi::readFile(pfad).value());
    ASSERT_TRUE(g);
    EXPECT_EQ(g->hash, kHash);
    EXPECT_EQ(g->zeit, zeit);
    EXPECT_EQ(quittung::statusText(zeit),
              QStringLiteral("Gelesen ") + zeit.toLocalTime().toString(QStringLiteral("HH:mm:ss")));
}

// The guest's watch for the receipt, against the local web server.
class QuittungsAbrufTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.running());
        abruf.setServer(WebZiel{server.host(), server.httpPort()});
        abruf.setIntervallMs(50);
        clock::setNow([this] { return jetzt; });
    }
    void TearDown() override { clock::setNow({}); }
    void legeAb(const QByteArray &bytes)
    {
        server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Gelesen.txt"), bytes);
    }

    LocalServer server;
    QDateTime jetzt = QDateTime(QDate(2026, 12, 9), QTime(12, 0), Qt::UTC);
    QuittungsAbruf abruf;
    QSignalSpy gelesen{&abruf, &QuittungsAbruf::gelesen};
};

TEST_F(QuittungsAbrufTest, WaitsForTheReceiptOfTheTextSentThenStops)
{
    EXPECT_FALSE(abruf.starte(QStringLiteral("../test"), "Hallo\r\n"));
    EXPECT_FALSE(abruf.aktiv());
    // No receipt yet, then one for an older text, then garbage: still waiting.
    ASSERT_TRUE(abruf.starte(QStringLiteral("test"), "Hallo\r\n"));
    QTest::qWait(200);
    legeAb(quittung::hashVon("Alt\r\n") + "\r\n2026-12-09T11:59:00Z\r\n");
    QTest::qWait(200);
    legeAb("kaputt");
    QTest::qWait(200);
    EXPECT_EQ(gelesen.count(), 0);
    EXPECT_TRUE(abruf.aktiv());
    legeAb(kHash + "\r\n2026-12-09T12:00:07Z\r\n");
    ASSERT_TRUE(waitUntil([&] { return gelesen.count() == 1; }));
    EXPECT_EQ(gelesen.at(0).at(0).toDateTime(),
              QDateTime(QDate(2026, 12, 9), QTime(12, 0, 7), Qt::UTC));
    EXPECT_FALSE(abruf.aktiv());
    QTest::qWait(200);
    EXPECT_EQ(gelesen.count(), 1);
}

TEST_F(QuittungsAbrufTest, ANewSendReplacesTheWatchAndTwoMinutesEndIt)
{
    legeAb(kHash + "\r\n2026-12-09T12:00:07Z\r\n");
    ASSERT_TRUE(abruf.starte(QStringLiteral("test"), "Hallo\r\n"));
    // Sent again before the answer: the receipt of the first text is no
    // receipt of the second.
    ASSERT_TRUE(abruf.starte(QStringLiteral("test"), "Neu\r\n"));
    EXPECT_EQ(abruf.erwarteterHash(), quittung::hashVon("Neu\r\n"));
    QTest::qWait(300);
    EXPECT_EQ(gelesen.count(), 0);
    jetzt = jetzt.addSecs(119);
    QTest::qWait(100);
    EXPECT_TRUE(abruf.aktiv());
    jetzt = jetzt.addSecs(2);
    ASSERT_TRUE(waitUntil([&] { return !abruf.aktiv(); }));
    legeAb(quittung::hashVon("Neu\r\n") + "\r\n2026-12-09T12:02:00Z\r\n");
    QTest::qWait(200);
    EXPECT_EQ(gelesen.count(), 0);
}

class QuittungsVersandTest : public ::testing::Test
{
  protected:
    Einstellungen einstellungen()
    {
        Einstellungen e;
        e.programmOrdner = ordner.path();
        e.host = server.host();
        e.ftpPort = server.ftpPort();
        e.httpPort = server.httpPort();
        return e;
    }
    QByteArray quittungAuf(const QString &adresse)
    {
        return server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/") + adresse +
                               QStringLiteral("/Gelesen.txt"));
    }

    LocalServer server;
    QTemporaryDir ordner;
};

TEST_F(QuittungsVersandTest, UploadsTheReceiptOnceAndAgainForTheNextText)
{
    ASSERT_TRUE(server.running());
    const QDateTime zeit(QDate(2026, 12, 9), QTime(12, 30, 5), Qt::UTC);
    clock::setNow([zeit] { return zeit; });
    const Einstellungen e = einstellungen();
    QuittungsVersand versand(e);
    EXPECT_TRUE(versand.an());
    QSignalSpy hoch(&versand, &QuittungsVersand::hochgeladen);
    versand.gelesen(QStringLiteral("test"), "Hallo\r\n");
    ASSERT_TRUE(waitUntil([&] { return hoch.count() == 1; }, 10000));
    EXPECT_TRUE(hoch.at(0).at(0).toBool());
    EXPECT_EQ(quittungAuf(QStringLiteral("test")), kHash + "\r\n2026-12-09T12:30:05Z\r\n");

    // The same text read again ("Nochmal") sends nothing; the next text does,
    // and of two read while one is on its way the newest goes out.
    versand.gelesen(QStringLiteral("test"), "Hallo\r\n");
    EXPECT_FALSE(versand.beschaeftigt());
    versand.gelesen(QStringLiteral("test"), "Eins\r\n");
    versand.gelesen(QStringLiteral("test"), "Zwei\r\n");
    versand.gelesen(QStringLiteral("test"), "Drei\r\n");
    ASSERT_TRUE(waitUntil([&] { return hoch.count() == 3 && !versand.beschaeftigt(); }, 10000));
    EXPECT_TRUE(quittungAuf(QStringLiteral("test")).startsWith(quittung::hashVon("Drei\r\n")));
    clock::setNow({});
}

TEST_F(QuittungsVersandTest, SwitchIsStoredAndOffSendsNothing)
{
    ASSERT_TRUE(server.running());
    const Einstellungen e = einstellungen();
    {
        QuittungsVersand versand(e);
        ASSERT_TRUE(versand.setzeAn(false));
    }
    EXPECT_EQ(ansi::readFile(e.datei(QStringLiteral("Lesebestaetigung"))), QByteArray("False\r\n"));
    QuittungsVersand versand(e);
    EXPECT_FALSE(versand.an());
    QSignalSpy hoch(&versand, &QuittungsVersand::hochgeladen);
    versand.gelesen(QStringLiteral("test"), "Hallo\r\n");
    EXPECT_FALSE(versand.beschaeftigt());
    ASSERT_TRUE(versand.setzeAn(true));
    EXPECT_TRUE(QuittungsVersand(e).an());
    EXPECT_EQ(hoch.count(), 0);
    EXPECT_TRUE(quittungAuf(QStringLiteral("test")).isEmpty());
}

TEST_F(QuittungsVersandTest, SwitchThatCannotBeStoredStaysAsItWas)
{
    KleinesDateisystem fs(64 * 1024);
    VARNEK_BRAUCHT_DATEISYSTEM(fs);
    Einstellungen e = einstellungen();
    e.programmOrdner = fs.pfad();
    QuittungsVersand versand(e);
    ASSERT_TRUE(fs.schreibschutz(true));
    EXPECT_FALSE(versand.setzeAn(false));
    EXPECT_TRUE(versand.an());
    // Nor can the receipt file be written: nothing goes out, nothing is shown.
    QSignalSpy hoch(&versand, &QuittungsVersand::hochgeladen);
    versand.gelesen(QStringLiteral("test"), "Hallo\r\n");
    ASSERT_EQ(hoch.count(), 1);
    EXPECT_FALSE(hoch.at(0).at(0).toBool());
    EXPECT_FALSE(versand.beschaeftigt());
}

} // namespace

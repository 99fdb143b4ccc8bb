#include "contact/Empfang.h"

#include "platform/AnsiText.h"
#include "platform/Clock.h"
#include "support/LocalServer.h"
#include "support/RohServer.h"

#include <QElapsedTimer>
#include <QFile>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace varnek
{
namespace
{

using test::LocalServer;
using test::waitUntil;

class EmpfangTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(server_.running());
        ASSERT_TRUE(ordner_.isValid());
        empfang_ = std::make_unique<Empfang>(ordner_.path());
        empfang_->setzeServer(server_.host(), server_.httpPort());
        empfang_->setzeAdresse(QStringLiteral("test"));
        QObject::connect(empfang_.get(), &Empfang::sprechen,
                         [this](const QString &b) { gesprochen_.push_back(b); });
        QObject::connect(empfang_.get(), &Empfang::klingeln, [this] { ++klingeln_; });
        QObject::connect(empfang_.get(), &Empfang::meldung,
                         [this](const QString &t) { meldungen_ << t; });
        QObject::connect(empfang_.get(), &Empfang::fokusAdresse, [this] { ++fokus_; });
    }

    void gastTxt(const QByteArray &bytes, const QString &adresse = QStringLiteral("test"))
    {
        server_.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/") + adresse +
                              QStringLiteral("/Gast.txt"),
                          bytes);
    }

    // One poll tick, waiting for its answer.
    void tick()
    {
        empfang_->abrufTick();
        ASSERT_TRUE(waitUntil([this] { return !empfang_->abrufLaeuft(); }, 8000));
    }

    int anzahl(const QString &button) const
    {
        return int(std::count(gesprochen_.begin(), gesprochen_.end(), button));
    }

    QByteArray k1() const
    {
        return ansi::readFile(ordner_.path() + QStringLiteral("/K1.txt"))
            .value_or(QByteArray("<fehlt>"));
    }

    LocalServer server_;
    QTemporaryDir ordner_;
    std::unique_ptr<Empfang> empfang_;
    std::vector<QString> gesprochen_;
    int klingeln_ = 0;
    QStringList meldungen_;
    int fokus_ = 0;
};

const QString user1 = QStringLiteral("user1");
const QString stop = QStringLiteral("Stop");

TEST_F(EmpfangTest, AddressIsShownAsTypedAndFetchedEscaped)
{
    empfang_->setzeAdresse(QStringLiteral("mit blank"));
    EXPECT_EQ(empfang_->nachrichtenAdresse(),
              QStringLiteral("http://localhost:%1/vx/stillbox/vxvx/mit blank/Gast.txt")
                  .arg(server_.httpPort()));
    gastTxt("Servus\r\n", QStringLiteral("mit blank"));
    tick();
    EXPECT_EQ(empfang_->antwortText(), QStringLiteral("Servus\r\n"));
}

TEST_F(EmpfangTest, SameContentOnConsecutiveTicksIsSpokenOnceAndShown)
{
    gastTxt("Hallo Welt\r\n");
    empfang_->setIntervalle(60, 1000, 1000);
    int ticks = 0;
    QObject::connect(&empfang_->abrufTakt(), &QTimer::timeout, [&ticks] { ++ticks; });
    empfang_->starteLesen();
    EXPECT_FALSE(empfang_->liestSichtbar()); // shown by the first tick
    ASSERT_TRUE(waitUntil([&] { return ticks >= 5; }, 8000));
    ASSERT_TRUE(waitUntil([this] { return !empfang_->abrufLaeuft(); }, 8000));

    EXPECT_EQ(anzahl(user1), 1);
    EXPECT_EQ(empfang_->letzterText(), QStringLiteral("Hallo Welt\r\n"));
    EXPECT_EQ(empfang_->gemerkteTexte(), QStringList{QStringLiteral("Hallo Welt\r\n")});
    EXPECT_TRUE(empfang_->liestSichtbar());
    EXPECT_FALSE(empfang_->ruhtSichtbar());
    // After the compare steps neither speak timer is left running.
    EXPECT_FALSE(empfang_->merkTakt().isActive());
    EXPECT_FALSE(empfang_->sprechTakt().laeuft());
    EXPECT_EQ(klingeln_, 0);
    EXPECT_TRUE(meldungen_.isEmpty());

    // A changed file is read at the next tick.
    gastTxt("Neu\r\n");
    ASSERT_TRUE(waitUntil([this] { return anzahl(user1) == 2; }, 8000));
    ASSERT_TRUE(
        waitUntil([this] { return empfang_->letzterText() == QStringLiteral("Neu\r\n"); }, 8000));
    empfang_->stoppeLesen();
}

TEST_F(EmpfangTest, CaseOnlyChangeIsNeitherSpokenNorRung)
{
    gastTxt("Hallo #dingdong#\r\n");
    tick();
    EXPECT_EQ(anzahl(user1), 1);
    EXPECT_EQ(klingeln_, 1);
    EXPECT_EQ(empfang_->letzterText(),
              QStringLiteral("Hallo #dingdong#\r\n")); // shown from the first tick on

    gastTxt("HALLO #dingdong#\r\n");
    tick();
    EXPECT_EQ(anzahl(user1), 1);
    EXPECT_EQ(klingeln_, 1);
    EXPECT_EQ(empfang_->letzterText(), QStringLiteral("HALLO #dingdong#\r\n"));

    // The same ring again is no new text: no second ring.
    tick();
    EXPECT_EQ(klingeln_, 1);
}

TEST_F(EmpfangTest, RingCodeIsMatchedCaseSensitively)
{
    EXPECT_EQ(empfang_->klingelCode(), QStringLiteral("#dingdong#"));
    gastTxt("Bitte #DINGDONG# jetzt\r\n");
    tick();
    EXPECT_EQ(anzahl(user1), 1);
    EXPECT_EQ(klingeln_, 0);

    gastTxt("Bitte#dingdong#jetzt\r\n");
    tick();
    EXPECT_EQ(anzahl(user1), 2);
    EXPECT_EQ(klingeln_, 1);

    // A chosen code replaces the default one.
    empfang_->setzeKlingelCode(QStringLiteral("#huhu#"));
    gastTxt("noch #dingdong#\r\n");
    tick();
    EXPECT_EQ(klingeln_, 1);
    gastTxt("#huhu#\r\n");
    tick();
    EXPECT_EQ(klingeln_, 2);

    // An empty code never rings, and receiving goes on.
    empfang_->setzeKlingelCode(QString());
    gastTxt("irgendwas\r\n");
    tick();
    EXPECT_EQ(klingeln_, 2);
    EXPECT_EQ(anzahl(user1), 5);
}

TEST_F(EmpfangTest, UnchangedFileIsAnswered304AndNothingIsReadAgain)
{
    gastTxt("Hallo #dingdong#\r\n");
    // Changed a while ago: the answer's validators can be trusted.
    QFile datei(server_.addressDir(QStringLiteral("test")) + QStringLiteral("/Gast.txt"));
    ASSERT_TRUE(datei.open(QIODevice::ReadWrite));
    ASSERT_TRUE(datei.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-30),
                                  QFileDevice::FileModificationTime));
    datei.close();
    tick();
    EXPECT_EQ(empfang_->letzterStatus(), 200);
    tick();
    EXPECT_EQ(empfang_->letzterStatus(), 304);
    tick();
    EXPECT_EQ(empfang_->letzterStatus(), 304);
    EXPECT_EQ(anzahl(user1), 1);
    EXPECT_EQ(klingeln_, 1);
    EXPECT_EQ(empfang_->letzterText(), QStringLiteral("Hallo #dingdong#\r\n"));
    EXPECT_FALSE(empfang_->merkTakt().isActive());
    EXPECT_FALSE(empfang_->sprechTakt().laeuft());

    // A new text comes whole at the next poll, and rings.
    gastTxt("Neu #dingdong#\r\n");
    tick();
    EXPECT_EQ(empfang_->letzterStatus(), 200);
    EXPECT_EQ(anzahl(user1), 2);
    EXPECT_EQ(klingeln_, 2);

    // Another address starts without the validators of this one.
    gastTxt("Hallo #dingdong#\r\n", QStringLiteral("info"));
    ASSERT_TRUE(empfang_->setzeAdresse(QStringLiteral("info")));
    tick();
    EXPECT_EQ(empfang_->letzterStatus(), 200);
    EXPECT_EQ(empfang_->letzterText(), QStringLiteral("Hallo #dingdong#\r\n"));
}

// The first answer after an address was chosen rings only for a new file.
struct ErsteAntwortZeile {
    const char *name;
    int uhrVorSekunden;    // the clock this far ahead of the file's change
    bool spaeterGeaendert; // the ring comes while watching
    int klingeln;
};

class ErsteAntwort : public EmpfangTest, public ::testing::WithParamInterface<ErsteAntwortZeile>
{
  protected:
    void TearDown() override { clock::setNow({}); }
};

TEST_P(ErsteAntwort, RingsOnlyWhenTheMessageIsNewAndIsReadAnyway)
{
    const ErsteAntwortZeile &z = GetParam();
    const QDateTime jetzt = QDateTime::currentDateTimeUtc();
    clock::setNow([&] { return jetzt.addSecs(z.uhrVorSekunden); });
    gastTxt(z.spaeterGeaendert ? "Hallo\r\n" : "Hallo #dingdong#\r\n");
    empfang_->starteLesen();
    tick();
    if (z.spaeterGeaendert) {
        gastTxt("Jetzt #dingdong#\r\n");
        tick();
    }
    empfang_->stoppeLesen();
    EXPECT_EQ(klingeln_, z.klingeln);
    EXPECT_EQ(anzahl(user1), z.spaeterGeaendert ? 2 : 1);
    EXPECT_TRUE(empfang_->letzterText().contains(QStringLiteral("#dingdong#")));
}

INSTANTIATE_TEST_SUITE_P(
    Uhr, ErsteAntwort,
    ::testing::Values(ErsteAntwortZeile{"JustWritten", 0, false, 1},
                      ErsteAntwortZeile{"WrittenALittleUnderTwoMinutesAgo", 110, false, 1},
                      ErsteAntwortZeile{"LeftOnTheServerTenMinutesAgo", 600, false, 0},
                      ErsteAntwortZeile{"OldServerFileChangedWhileWatching", 600, true, 1}),
    [](const ::testing::TestParamInfo<ErsteAntwortZeile> &info) { return info.param.name; });

TEST_F(EmpfangTest, LongFileYieldsItsFirst50000Bytes)
{
    QByteArray inhalt;
    for (int i = 0; inhalt.size() < 60000; ++i)
        inhalt += QByteArray("Gr\xFC\xDF") + QByteArray::number(i) + ' ';
    gastTxt(inhalt);
    tick();
    EXPECT_EQ(empfang_->antwortText().size(), 50000);
    EXPECT_EQ(empfang_->antwortText(), ansi::decode(inhalt.left(50000)));
    EXPECT_TRUE(empfang_->antwortText().startsWith(QStringLiteral("Grüß0 Grüß1 ")));
    EXPECT_EQ(k1(), inhalt.left(50000) + "\r\n");
}

TEST_F(EmpfangTest, K1HoldsTheTextAndCrLfInWindows1252)
{
    const QByteArray inhalt("Gr\xFC\xDF"
                            "e aus K\xF6ln\r\nzweite Zeile \x80");
    gastTxt(inhalt);
    tick();
    EXPECT_EQ(empfang_->antwortText(), QStringLiteral("Grüße aus Köln\r\nzweite Zeile €"));
    EXPECT_EQ(k1(), inhalt + "\r\n");
    EXPECT_EQ(empfang_->woerter(), QStringList{empfang_->antwortText()});

    // The file is rewritten whole with each new text.
    gastTxt("kurz");
    tick();
    EXPECT_EQ(k1(), QByteArray("kurz\r\n"));
}

TEST_F(EmpfangTest, MissingFileShowsInvalidAddressAndLeavesText4Empty)
{
    gastTxt("Guten Tag\r\n");
    tick();
    ASSERT_EQ(anzahl(user1), 1);

    empfang_->setzeAdresse(QStringLiteral("gibt-es-nicht"));
    tick();
    EXPECT_TRUE(empfang_->adresseUngueltigSichtbar());
    EXPECT_EQ(empfang_->antwortText(), QString());
    EXPECT_EQ(anzahl(stop), 2);
    EXPECT_EQ(fokus_, 1);
    EXPECT_FALSE(k1().contains("<?xml"));
    EXPECT_FALSE(empfang_->letzterText().contains(QStringLiteral("<?xml")));
    for (const QString &eintrag : empfang_->gemerkteTexte())
        EXPECT_FALSE(eintrag.contains(QStringLiteral("<?xml")));

    // The panel stays while the address stays wrong; the focus is not
    // taken again ...
    tick();
    EXPECT_TRUE(empfang_->adresseUngueltigSichtbar());
    EXPECT_EQ(empfang_->antwortText(), QString());
    EXPECT_EQ(fokus_, 1);

    // ... and goes with the first real message.
    gastTxt("Jetzt da\r\n", QStringLiteral("gibt-es-nicht"));
    tick();
    EXPECT_FALSE(empfang_->adresseUngueltigSichtbar());
    EXPECT_EQ(empfang_->letzterText(), QStringLiteral("Jetzt da\r\n"));

    // ... until the address is not valid again after a valid answer.
    QFile::remove(server_.addressDir(QStringLiteral("gibt-es-nicht")) +
                  QStringLiteral("/Gast.txt"));
    tick();
    EXPECT_TRUE(empfang_->adresseUngueltigSichtbar());
    EXPECT_EQ(fokus_, 2);

    // An address that would leave the address area is refused.
    const QString text6 = empfang_->nachrichtenAdresse();
    EXPECT_FALSE(empfang_->setzeAdresse(QStringLiteral("../test")));
    EXPECT_EQ(empfang_->nachrichtenAdresse(), text6);
}

TEST_F(EmpfangTest, ClientErrorMarksTheAddressServerErrorChangesNothing)
{
    gastTxt("Vorher\r\n");
    tick();
    ASSERT_EQ(anzahl(user1), 1);

    int stopsVorher = 0;
    for (const QByteArray &status :
         {QByteArray("403 Forbidden"), QByteArray("404 Not Found"),
          QByteArray("500 Internal Server Error"), QByteArray("503 Service Unavailable")}) {
        SCOPED_TRACE(status.toStdString());
        const bool serverFehler = status.startsWith('5');
        varnek::test::RohServer fehler("HTTP/1.0 " + status +
                                       "\r\nContent-Type: text/html\r\n\r\n"
                                       "<html><body><h1>Fehler auf dem Server</h1></body></html>");
        empfang_->setzeServer(QStringLiteral("127.0.0.1"), fehler.port());
        empfang_->setzeAdresse(QStringLiteral("test"));
        empfang_->setzeAdresseUngueltigSichtbar(false);
        tick();
        EXPECT_EQ(fehler.verbindungen(), 1);
        EXPECT_EQ(empfang_->adresseUngueltigSichtbar(), !serverFehler);
        EXPECT_EQ(anzahl(stop), stopsVorher + (serverFehler ? 0 : 2));
        stopsVorher = anzahl(stop);
        EXPECT_FALSE(k1().contains("html"));
        EXPECT_FALSE(empfang_->letzterText().contains(QStringLiteral("html")));
        EXPECT_FALSE(empfang_->gemerkteTexte().join(QString()).contains(QStringLiteral("html")));
    }
    // The server errors neither read nor emptied anything.
    EXPECT_EQ(anzahl(user1), 2); // "Vorher", then the empty text of the first client error
    EXPECT_EQ(empfang_->gemerkteTexte(), QStringList{QString()});
}

TEST_F(EmpfangTest, SilentServerNeverBlocksAndTheNextTickRuns)
{
    varnek::test::RohServer still;
    empfang_->setzeServer(QStringLiteral("127.0.0.1"), still.port());
    empfang_->setzeAdresse(QStringLiteral("test"));
    empfang_->setAbrufTimeoutMs(400);
    empfang_->setIntervalle(50, 20, 20);

    int herzschlaege = 0;
    QTimer herz;
    QObject::connect(&herz, &QTimer::timeout, [&herzschlaege] { ++herzschlaege; });
    herz.start(10);

    QElapsedTimer uhr;
    uhr.start();
    empfang_->abrufTick();
    EXPECT_LT(uhr.elapsed(), 100);
    EXPECT_TRUE(empfang_->abrufLaeuft());
    empfang_->starteLesen();

    // While the first fetch is out the window keeps running, later ticks are
    // skipped (one connection only) and the speak timers stay quiet.
    ASSERT_TRUE(waitUntil([&] { return still.verbindungen() == 1; }, 3000));
    waitUntil([] { return false; }, 250);
    EXPECT_TRUE(empfang_->abrufLaeuft());
    EXPECT_EQ(still.verbindungen(), 1);
    EXPECT_GE(herzschlaege, 8);
    EXPECT_TRUE(gesprochen_.empty());

    // The fetch gives up, which changes nothing, and polling goes on.
    ASSERT_TRUE(waitUntil([&] { return still.verbindungen() >= 2; }, 5000));
    waitUntil([] { return false; }, 200);
    EXPECT_EQ(empfang_->antwortText(), QString());
    EXPECT_TRUE(empfang_->gemerkteTexte().isEmpty());
    EXPECT_TRUE(gesprochen_.empty());
    EXPECT_FALSE(empfang_->adresseUngueltigSichtbar());
    EXPECT_GE(herzschlaege, 25);
    empfang_->stoppeLesen();
    EXPECT_FALSE(empfang_->abrufLaeuft());
}

TEST_F(EmpfangTest, StoppingReadingStopsAllTimersAndDropsTheAnswer)
{
    gastTxt("Nicht mehr lesen\r\n");
    empfang_->starteLesen();
    EXPECT_TRUE(empfang_->abrufTakt().isActive());
    EXPECT_EQ(empfang_->abrufTakt().interval(), 2000);

    empfang_->abrufTick();
    EXPECT_TRUE(empfang_->liestSichtbar());
    EXPECT_TRUE(empfang_->merkTakt().isActive());
    EXPECT_TRUE(empfang_->sprechTaktAn());
    EXPECT_FALSE(empfang_->sprechTakt().laeuft()); // no interval before the first new text
    ASSERT_TRUE(empfang_->abrufLaeuft());

    empfang_->stoppeLesen();
    EXPECT_FALSE(empfang_->abrufTakt().isActive());
    EXPECT_FALSE(empfang_->merkTakt().isActive());
    EXPECT_FALSE(empfang_->sprechTakt().laeuft());
    EXPECT_FALSE(empfang_->sprechTaktAn());
    EXPECT_TRUE(empfang_->ruhtSichtbar());
    EXPECT_FALSE(empfang_->liestSichtbar());
    EXPECT_FALSE(empfang_->abrufLaeuft());

    waitUntil([] { return false; }, 300);
    EXPECT_TRUE(gesprochen_.empty());
    EXPECT_EQ(empfang_->antwortText(), QString());

    // Reading can start again.
    tick();
    EXPECT_EQ(anzahl(user1), 1);
    EXPECT_EQ(empfang_->letzterText(), QStringLiteral("Nicht mehr lesen\r\n"));
}

TEST_F(EmpfangTest, WordCheck)
{
    empfang_->setzeAntwortText(QStringLiteral("  eins zwei\r\ndrei  "));
    EXPECT_EQ(empfang_->woerter(), QStringList{QStringLiteral("  eins zwei\r\ndrei  ")});
    empfang_->zerlegeWoerter();
    EXPECT_EQ(empfang_->woerter(),
              QStringList({QString(), QStringLiteral("eins"), QStringLiteral("zwei\r\ndrei")}));
    EXPECT_EQ(empfang_->gewaehltesWort(), QString());

    empfang_->setzeAntwortText(QStringLiteral("erstes zweites"));
    empfang_->zerlegeWoerter();
    EXPECT_EQ(empfang_->gewaehltesWort(), QStringLiteral("erstes"));
    empfang_->waehleWort(1);
    EXPECT_EQ(empfang_->gewaehltesWort(), QStringLiteral("zweites"));

    // Too many words: the message, and no word list.
    QStringList viele;
    for (int i = 0; i < 502; ++i)
        viele << QStringLiteral("w");
    empfang_->setzeAntwortText(viele.join(QLatin1Char(' ')));
    empfang_->zerlegeWoerter();
    EXPECT_EQ(meldungen_, QStringList{QStringLiteral("Zu viele Befehle!")});
    EXPECT_TRUE(empfang_->woerter().isEmpty());
    EXPECT_EQ(empfang_->gewaehltesWort(), QString());

    // The selected word "<?xml" stops the speech and shows the panel.
    empfang_->setzeAdresseUngueltigSichtbar(false);
    empfang_->setzeGewaehltesWort(QStringLiteral("<?xml"));
    EXPECT_EQ(anzahl(stop), 1);
    EXPECT_TRUE(empfang_->adresseUngueltigSichtbar());
}

} // namespace
} // namespace varnek

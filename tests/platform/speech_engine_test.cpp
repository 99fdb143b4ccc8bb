#include "platform/SpeechEngine.h"

#include "support/EigenerSprachdienst.h"
#include "support/LocalServer.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using varnek::SpeechEngine;
using varnek::test::EigenerSprachdienst;
using varnek::test::waitUntil;

namespace
{

const QString langerText = QStringLiteral(
    "Dies ist der lange Text eines anderen Programms, etwa eines Bildschirmlesers, der "
    "weiter gelesen werden muss, was dieses Programm auch tut");

// A private speech-dispatcher for each test; skipped where none can run.
class SpeechEngineService : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        const QString why = EigenerSprachdienst::fehlt();
        if (!why.isEmpty())
            GTEST_SKIP() << why.toStdString();
        if (!dienst.start())
            GTEST_SKIP() << "the private speech-dispatcher did not start: "
                         << dienst.bericht().toStdString();
    }

    // A connected engine; another client of the service when used twice.
    std::unique_ptr<SpeechEngine> verbunden()
    {
        auto e = std::make_unique<SpeechEngine>();
        EXPECT_TRUE(waitUntil([&] { return e->available(); }, 8000)) << bericht();
        return e;
    }

    bool hoert(const QString &text, int ms = 8000)
    {
        return waitUntil([&] { return dienst.begonnen().contains(text); }, ms);
    }
    bool hoertGanz(const QString &text, int ms = 8000)
    {
        return waitUntil([&] { return dienst.ganz().contains(text); }, ms);
    }
    std::string bericht() const { return dienst.bericht().toStdString(); }

    EigenerSprachdienst dienst;
};

struct FremdeSprache {
    const char *name;
    bool spdSay;      // the other client is spd-say, else a second engine
    bool eigenerText; // our text waits behind the other client's
    bool beenden;     // quit, else Stop
};

void PrintTo(const FremdeSprache &f, std::ostream *os)
{
    *os << f.name;
}

class SpeechEngineOtherClient : public SpeechEngineService,
                                public ::testing::WithParamInterface<FremdeSprache>
{
};

} // namespace

// Our Stop and our quit silence only our own speech: another client's long
// text goes on to its end, once, and is never cancelled.
TEST_P(SpeechEngineOtherClient, ItsSpeechSurvivesOurStopAndQuit)
{
    const FremdeSprache &fall = GetParam();
    if (fall.spdSay && QStandardPaths::findExecutable(QStringLiteral("spd-say")).isEmpty())
        GTEST_SKIP() << "spd-say is not installed";
    auto anderer = verbunden();
    auto unser = verbunden();
    QSignalSpy andererAbgebrochen(anderer.get(), &SpeechEngine::abgebrochen);
    QSignalSpy andererBeendet(anderer.get(), &SpeechEngine::beendet);
    QProcess spdSay;
    if (fall.spdSay) {
        spdSay.start(QStringLiteral("spd-say"), {QStringLiteral("-P"), QStringLiteral("message"),
                                                 QStringLiteral("-w"), langerText});
        anderer.reset();
    } else {
        anderer->say(langerText);
    }
    ASSERT_TRUE(hoert(langerText)) << bericht();
    if (fall.eigenerText) {
        unser->say(QStringLiteral("Unser eigener Text"));
        QTest::qWait(300);
    }
    if (fall.beenden)
        unser.reset();
    else
        unser->stop();

    EXPECT_TRUE(hoertGanz(langerText)) << bericht();
    if (anderer) {
        EXPECT_TRUE(waitUntil([&] { return andererBeendet.count() == 1; }, 3000));
        EXPECT_EQ(andererAbgebrochen.count(), 0);
    }
    QTest::qWait(500);
    EXPECT_EQ(dienst.begonnen().count(langerText), 1) << bericht();
    EXPECT_FALSE(dienst.begonnen().contains(QStringLiteral("Unser eigener Text"))) << bericht();
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpeechEngineOtherClient,
    ::testing::Values(FremdeSprache{"StopWhileSilent", false, false, false},
                      FremdeSprache{"QuitWhileOursWaits", false, true, true},
                      FremdeSprache{"SpdSayQuitWhileSilent", true, false, true},
                      FremdeSprache{"SpdSayStopWhileOursWaits", true, true, false}),
    [](const auto &info) { return std::string(info.param.name); });

// Texts that arrive faster than they are spoken are read one after the
// other, each whole, in the order they came.
TEST_F(SpeechEngineService, BurstIsSpokenWholeAndInOrder)
{
    auto engine = verbunden();
    QSignalSpy beendet(engine.get(), &SpeechEngine::beendet);
    QStringList texte;
    for (int i = 1; i <= 5; ++i) {
        texte << QStringLiteral("Nachricht Nummer %1 kommt schnell").arg(i);
        engine->say(texte.last());
        QTest::qWait(200);
    }
    ASSERT_TRUE(hoertGanz(texte.last(), 15000)) << bericht();

    QStringList folge;
    for (const auto &z : dienst.gehoert())
        folge << (z.an ? QStringLiteral("an ") : QStringLiteral("aus ")) + z.text;
    QStringList erwartet;
    for (const QString &t : texte)
        erwartet << QStringLiteral("an ") + t << QStringLiteral("aus ") + t;
    EXPECT_EQ(folge, erwartet) << bericht();
    EXPECT_TRUE(waitUntil([&] { return beendet.count() == 5; }, 2000));
}

// Pause cuts our text, "Weiter" goes on from the sentence that was cut, and
// the service keeps speaking for everyone afterwards.
TEST_F(SpeechEngineService, PauseAndResumeLeaveTheServiceWorking)
{
    auto engine = verbunden();
    const QString eins = QStringLiteral("Der erste Satz ist kurz.");
    const QString zwei = QStringLiteral("Der zweite Satz ist ein wenig länger als der erste.");
    const QString drei = QStringLiteral("Der dritte Satz beendet den Text.");
    QSignalSpy beendet(engine.get(), &SpeechEngine::beendet);
    engine->say(eins + QLatin1Char(' ') + zwei + QLatin1Char(' ') + drei);
    ASSERT_TRUE(hoert(zwei)) << bericht();
    engine->pause();
    QTest::qWait(2000); // longer than the sentence
    EXPECT_FALSE(dienst.ganz().contains(zwei)) << bericht();
    EXPECT_FALSE(dienst.begonnen().contains(drei)) << bericht();
    engine->resume();

    ASSERT_TRUE(hoertGanz(drei)) << bericht();
    EXPECT_EQ(dienst.begonnen(), (QStringList{eins, zwei, zwei, drei})) << bericht();
    EXPECT_TRUE(waitUntil([&] { return beendet.count() == 1; }, 2000));
    // Pausing a second time and going on leaves the service working for
    // another client.
    engine->say(QStringLiteral("Noch ein Text."));
    engine->pause();
    engine->resume();
    auto anderer = verbunden();
    anderer->say(QStringLiteral("Ein anderes Programm spricht"));
    EXPECT_TRUE(hoertGanz(QStringLiteral("Ein anderes Programm spricht"))) << bericht();
    EXPECT_TRUE(hoertGanz(QStringLiteral("Noch ein Text."))) << bericht();
}

// The speech service dies while the program runs and is started again: a
// text that came while it was down is spoken within 3 s of its return, once,
// and so is every text after that.
TEST_F(SpeechEngineService, SpeaksAgainAfterTheServiceDiedAndCameBack)
{
    auto engine = verbunden();
    QSignalSpy beendet(engine.get(), &SpeechEngine::beendet);
    engine->say(QStringLiteral("Erste Nachricht"));
    ASSERT_TRUE(waitUntil([&] { return beendet.count() == 1; }, 8000)) << bericht();

    dienst.kill();
    EXPECT_TRUE(waitUntil([&] { return !engine->available(); }, 1000));
    engine->say(QStringLiteral("Zweite Nachricht"));
    QTest::qWait(1000);
    ASSERT_TRUE(dienst.start()) << bericht();
    QElapsedTimer zurueck;
    zurueck.start();
    EXPECT_TRUE(hoert(QStringLiteral("Zweite Nachricht"), 3000)) << bericht();
    EXPECT_LE(zurueck.elapsed(), 3000);

    engine->say(QStringLiteral("Dritte Nachricht"));
    EXPECT_TRUE(hoertGanz(QStringLiteral("Dritte Nachricht"))) << bericht();
    EXPECT_EQ(dienst.begonnen(),
              (QStringList{QStringLiteral("Erste Nachricht"), QStringLiteral("Zweite Nachricht"),
                           QStringLiteral("Dritte Nachricht")}))
        << bericht();
}

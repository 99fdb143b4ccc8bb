#include "contact/SpeechComponent.h"
#include "platform/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

#include "support/EigenerSprachdienst.h"
#include "support/LocalServer.h"

using varnek::SpeechComponent;

namespace
{

class SpeechComponentTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sprecher.setMuted(true);
        sprecher.setTranscriptFile(dir.filePath(QStringLiteral("protokoll.txt")));
    }

    void schreibe(const QString &name, const QStringList &lines)
    {
        ASSERT_TRUE(varnek::ansi::writeLines(dir.filePath(name), lines));
    }

    QStringList protokoll() const
    {
        QFile f(dir.filePath(QStringLiteral("protokoll.txt")));
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;
    SpeechComponent sprecher{dir.path()};
    QSignalSpy spy{&sprecher, &SpeechComponent::spoken};
};

} // namespace

TEST(SpeechComponentSpeakable, HashFramedWordsAndTextsAreSilent)
{
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("#dingdong#")), QString());
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("Hallo #x# Welt")),
              QStringLiteral("Hallo Welt"));
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("#Das ganze\r\nTextstück#")), QString());
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("a #b c# d #e# f")),
              QStringLiteral("a d f"));
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("Gast #dingdong#")),
              QStringLiteral("Gast"));
}

TEST(SpeechComponentSpeakable, UnclosedHashAndInnerHashAreSpoken)
{
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("Raum #5 frei")),
              QStringLiteral("Raum #5 frei"));
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("C# und F#")), QStringLiteral("C# und F#"));
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("nur #")), QStringLiteral("nur #"));
}

TEST(SpeechComponentSpeakable, LineBreaksAndBlankRunsBecomeOneBlank)
{
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral("  Zeile eins\r\nZeile\tzwei \n\n drei  ")),
              QStringLiteral("Zeile eins Zeile zwei drei"));
    EXPECT_EQ(SpeechComponent::speakable(QStringLiteral(" \r\n ")), QString());
}

TEST_F(SpeechComponentTest, User1ReadsK1WithUmlautsAndWritesTranscript)
{
    schreibe(QStringLiteral("K1.txt"),
             {QStringLiteral("Grüße aus Köln, Straße"), QStringLiteral("zweite Zeile")});
    sprecher.press(QStringLiteral("user1"));

    ASSERT_EQ(spy.count(), 1);
    const QString expected = QStringLiteral("Grüße aus Köln, Straße zweite Zeile");
    EXPECT_EQ(spy.at(0).at(0).toString(), expected);
    EXPECT_EQ(sprecher.lastText(), expected);
    EXPECT_EQ(protokoll(), QStringList{expected});
    EXPECT_FALSE(sprecher.engineStarted());
}

TEST_F(SpeechComponentTest, HilfeReadsHilfeTxt)
{
    schreibe(QStringLiteral("K1.txt"), {QStringLiteral("falsch")});
    schreibe(QStringLiteral("Hilfe.txt"), {QStringLiteral("Hilfetext")});
    sprecher.press(QStringLiteral("Hilfe"));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("Hilfetext"));
}

TEST_F(SpeechComponentTest, RingCodeAloneSpeaksAndWritesNothing)
{
    schreibe(QStringLiteral("K1.txt"), {QStringLiteral("Hallo #x# Welt")});
    sprecher.press(QStringLiteral("user1"));
    schreibe(QStringLiteral("K1.txt"), {QStringLiteral("#dingdong#")});
    sprecher.press(QStringLiteral("user1"));

    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), QStringLiteral("Hallo Welt"));
    EXPECT_EQ(protokoll(), QStringList{QStringLiteral("Hallo Welt")});
    // "Nochmal" repeats what was last heard, not the silent text.
    EXPECT_EQ(sprecher.lastText(), QStringLiteral("Hallo Welt"));
}

TEST_F(SpeechComponentTest, NochmalRepeatsLastTextWithTranscript)
{
    schreibe(QStringLiteral("K1.txt"), {QStringLiteral("Erster")});
    sprecher.press(QStringLiteral("user1"));
    schreibe(QStringLiteral("K1.txt"), {QStringLiteral("Zweiter")});
    sprecher.press(QStringLiteral("Nochmal")); // the file is not read again

    ASSERT_EQ(spy.count(), 2);
    EXPECT_EQ(spy.at(1).at(0).toString(), QStringLiteral("Erster"));
    EXPECT_EQ(protokoll(), (QStringList{QStringLiteral("Erster"), QStringLiteral("Erster")}));
}

TEST_F(SpeechComponentTest, PressesBeforeAnythingLoadedOrUnknownDoNothing)
{
    for (const char *name :
         {"Nochmal", "Stop", "Pause", "Weiter", "user1", "Hilfe", "gibtsnicht", "", "USER1"})
        sprecher.press(QString::fromLatin1(name)); // no K1.txt, no Hilfe.txt

    EXPECT_EQ(spy.count(), 0);
    EXPECT_TRUE(sprecher.lastText().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("protokoll.txt"))));
    EXPECT_FALSE(sprecher.engineStarted());
}

TEST_F(SpeechComponentTest, MissingFileKeepsLastText)
{
    schreibe(QStringLiteral("K1.txt"), {QStringLiteral("Bleibt")});
    sprecher.press(QStringLiteral("user1"));
    QFile::remove(dir.filePath(QStringLiteral("K1.txt")));
    sprecher.press(QStringLiteral("user1"));
    sprecher.press(QStringLiteral("Stop"));
    sprecher.press(QStringLiteral("Pause"));
    sprecher.press(QStringLiteral("Weiter"));

    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(sprecher.lastText(), QStringLiteral("Bleibt"));
}

TEST(SpeechComponentTranscript, WithoutTranscriptFileStillSpeaks)
{
    QTemporaryDir dir;
    ASSERT_TRUE(
        varnek::ansi::writeLines(dir.filePath(QStringLiteral("K1.txt")), {QStringLiteral("Text")}));
    SpeechComponent sprecher(dir.path());
    sprecher.setMuted(true);
    QSignalSpy spy(&sprecher, &SpeechComponent::spoken);
    sprecher.press(QStringLiteral("user1"));
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("K1.txt")});
}

TEST_F(SpeechComponentTest, NochmalRepeatsTheLastMessageNotTheLastHint)
{
    schreibe(QStringLiteral("K1.txt"), {QStringLiteral("Nachricht")});
    sprecher.press(QStringLiteral("user1"));
    schreibe(QStringLiteral("Hilfe.txt"), {QStringLiteral(" Programm beenden!")});
    sprecher.press(QStringLiteral("Hilfe"));
    sprecher.press(QStringLiteral("Nochmal"));

    ASSERT_EQ(spy.count(), 3);
    EXPECT_EQ(spy.at(2).at(0).toString(), QStringLiteral("Nachricht"));
}

// Muted, a message counts as heard to its end at once; a hint is never
// reported as a message heard.
TEST_F(SpeechComponentTest, MessagesHeardToTheirEndAreReportedHintsAreNot)
{
    QSignalSpy ganz(&sprecher, &SpeechComponent::gehoert);
    schreibe(QStringLiteral("Hilfe.txt"), {QStringLiteral("Ein Hinweis")});
    sprecher.press(QStringLiteral("Hilfe"));
    EXPECT_EQ(ganz.count(), 0);
    sprecher.press(QStringLiteral("user1"), QStringLiteral("Hallo #dingdong# Welt"));
    ASSERT_EQ(ganz.count(), 1);
    EXPECT_EQ(ganz.at(0).at(0).toString(), QStringLiteral("Hallo Welt"));
    sprecher.press(QStringLiteral("Nochmal"));
    EXPECT_EQ(ganz.count(), 2);
    sprecher.press(QStringLiteral("user1"), QStringLiteral("#dingdong#"));
    EXPECT_EQ(ganz.count(), 2);
}

TEST(SpeechComponentEngine, StartsAtOnceUnlessMuted)
{
    QTemporaryDir dir;
    SpeechComponent stumm(dir.path());
    stumm.setMuted(true);
    EXPECT_FALSE(stumm.engineStarted());
    SpeechComponent laut(dir.path());
    laut.setMuted(false);
    // Started before anything is said, so the first message is not late.
    EXPECT_TRUE(laut.engineStarted());
}

namespace
{

// One press of the speech component, after its file ("Hilfe.txt" for
// "Hilfe", else "K1.txt") got a new text (when text is set); then waits
// until the service starts saying wartenAuf (when set) and checks the
// transcript (when protokoll is set).
struct Druck {
    const char *text;
    const char *taste;
    const char *wartenAuf;
    QStringList protokoll = {};
};

struct Vorlesen {
    const char *name;
    std::vector<Druck> druecke;
    bool beenden;          // the program quits right after the last press
    QStringList gehoert;   // what the service started to say, in order
    QStringList protokoll; // the transcript in the end
    // The messages heard to their end (gehoert()), when checked.
    std::optional<QStringList> ganzGehoert = std::nullopt;
};

void PrintTo(const Vorlesen &v, std::ostream *os)
{
    *os << v.name;
}

class SpeechComponentService : public ::testing::TestWithParam<Vorlesen>
{
};

std::string kette(const QStringList &zeilen)
{
    return zeilen.join(QLatin1Char('|')).toStdString();
}

} // namespace

// Against a real speech service: a line is written when its text starts to
// be heard, and a text cut or dropped says so on its line.
TEST_P(SpeechComponentService, TranscriptTellsWhatWasHeard)
{
    const QString why = varnek::test::EigenerSprachdienst::fehlt();
    if (!why.isEmpty())
        GTEST_SKIP() << why.toStdString();
    varnek::test::EigenerSprachdienst dienst;
    if (!dienst.start())
        GTEST_SKIP() << "the private speech-dispatcher did not start";
    QTemporaryDir dir;
    QStringList ganz;
    const QString protokoll = dir.filePath(QStringLiteral("protokoll.txt"));
    const auto zeilen = [&] {
        QFile f(protokoll);
        if (!f.open(QIODevice::ReadOnly))
            return QStringList();
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    };
    {
        SpeechComponent sprecher(dir.path());
        QObject::connect(&sprecher, &SpeechComponent::gehoert, &sprecher,
                         [&ganz](const QString &t) { ganz << t; });
        sprecher.setTranscriptFile(protokoll);
        sprecher.setMuted(false);
        for (const Druck &d : GetParam().druecke) {
            if (d.text) {
                const QString datei = qstrcmp(d.taste, "Hilfe") == 0 ? QStringLiteral("Hilfe.txt")
                                                                     : QStringLiteral("K1.txt");
                ASSERT_TRUE(
                    varnek::ansi::writeLines(dir.filePath(datei), {QString::fromUtf8(d.text)}));
            }
            sprecher.press(QString::fromLatin1(d.taste));
            if (d.wartenAuf) {
                ASSERT_TRUE(varnek::test::waitUntil(
                    [&] { return dienst.begonnen().contains(QString::fromUtf8(d.wartenAuf)); },
                    8000))
                    << dienst.bericht().toStdString();
                // The program has heard from the service that it started.
                ASSERT_TRUE(varnek::test::waitUntil([&] { return !zeilen().isEmpty(); }, 2000));
            }
            if (!d.protokoll.isEmpty()) {
                QTest::qWait(300);
                EXPECT_EQ(kette(zeilen()), kette(d.protokoll)) << d.taste;
            }
        }
        if (!GetParam().beenden) {
            EXPECT_TRUE(varnek::test::waitUntil([&] { return !sprecher.speaking(); }, 10000));
        }
    }
    QTest::qWait(300);
    EXPECT_EQ(kette(dienst.begonnen()), kette(GetParam().gehoert))
        << dienst.bericht().toStdString();
    EXPECT_EQ(kette(zeilen()), kette(GetParam().protokoll));
    if (GetParam().ganzGehoert) {
        EXPECT_EQ(kette(ganz), kette(*GetParam().ganzGehoert));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SpeechComponentService,
    ::testing::Values(
        // Stop cuts the text being said and drops the one waiting; the
        // waiting one has no line before.
        Vorlesen{
            "StopCutsAndDrops",
            {{"Ein langer Text mit sehr vielen Wörtern darin, der lange dauert",
              "user1",
              "Ein langer Text mit sehr vielen Wörtern darin, der lange dauert",
              {QStringLiteral("Ein langer Text mit sehr vielen Wörtern darin, der lange dauert")}},
             {"Der zweite Text",
              "user1",
              nullptr,
              {QStringLiteral("Ein langer Text mit sehr vielen Wörtern darin, der lange dauert")}},
             {nullptr, "Stop", nullptr}},
            false,
            {QStringLiteral("Ein langer Text mit sehr vielen Wörtern darin, der lange dauert")},
            {QStringLiteral(
                 "Ein langer Text mit sehr vielen Wörtern darin, der lange dauert [abgebrochen]"),
             QStringLiteral("Der zweite Text [verworfen]")},
            QStringList{}},
        // "Nochmal" queues the repeat behind the text being said.
        Vorlesen{"NochmalQueues",
                 {{"Kurz gesagt", "user1", nullptr}, {nullptr, "Nochmal", nullptr}},
                 false,
                 {QStringLiteral("Kurz gesagt"), QStringLiteral("Kurz gesagt")},
                 {QStringLiteral("Kurz gesagt"), QStringLiteral("Kurz gesagt")},
                 QStringList{QStringLiteral("Kurz gesagt"), QStringLiteral("Kurz gesagt")}},
        // Pause and "Weiter" say the cut sentence again; the text keeps one
        // plain line.
        Vorlesen{"PauseAndWeiter",
                 {{"Satz eins. Satz zwei ist lang genug zum Anhalten.", "user1",
                   "Satz zwei ist lang genug zum Anhalten."},
                  {nullptr, "Pause", nullptr},
                  {nullptr, "Weiter", nullptr}},
                 false,
                 {QStringLiteral("Satz eins."),
                  QStringLiteral("Satz zwei ist lang genug zum Anhalten."),
                  QStringLiteral("Satz zwei ist lang genug zum Anhalten.")},
                 {QStringLiteral("Satz eins. Satz zwei ist lang genug zum Anhalten.")}},
        // A hint replaces the hint being said, never the message.
        Vorlesen{"HintReplacesHintsOnly",
                 {{"Ein langer Hinweis mit vielen Wörtern, der gerade gesagt wird", "Hilfe",
                   "Ein langer Hinweis mit vielen Wörtern, der gerade gesagt wird"},
                  {"Der nächste Hinweis", "Hilfe", "Der nächste Hinweis"},
                  {"Eine lange Nachricht, die ganz gehört werden muss", "user1",
                   "Eine lange Nachricht, die ganz gehört werden muss"},
                  {"Ein Hinweis danach", "Hilfe", nullptr}},
                 false,
                 {QStringLiteral("Ein langer Hinweis mit vielen Wörtern, der gerade gesagt wird"),
                  QStringLiteral("Der nächste Hinweis"),
                  QStringLiteral("Eine lange Nachricht, die ganz gehört werden muss"),
                  QStringLiteral("Ein Hinweis danach")},
                 {QStringLiteral("Ein langer Hinweis mit vielen Wörtern, der gerade gesagt wird"
                                 " [abgebrochen]"),
                  QStringLiteral("Der nächste Hinweis"),
                  QStringLiteral("Eine lange Nachricht, die ganz gehört werden muss"),
                  QStringLiteral("Ein Hinweis danach")},
                 QStringList{QStringLiteral("Eine lange Nachricht, die ganz gehört werden muss")}},
        // Quitting in the middle cuts the text; what waits is dropped.
        Vorlesen{"QuitCutsAndDrops",
                 {{"Noch ein langer Text, der beim Beenden gerade gesagt wird", "user1",
                   "Noch ein langer Text, der beim Beenden gerade gesagt wird"},
                  {"Wartet noch", "user1", nullptr}},
                 true,
                 {QStringLiteral("Noch ein langer Text, der beim Beenden gerade gesagt wird")},
                 {QStringLiteral("Noch ein langer Text, der beim Beenden gerade gesagt wird"
                                 " [abgebrochen]"),
                  QStringLiteral("Wartet noch [verworfen]")}}),
    [](const auto &info) { return std::string(info.param.name); });

// No speech service at all, and none can be started: every text still gets
// its plain line at once, and nothing is shown.
TEST(SpeechComponentEngine, WithoutServiceTheTranscriptIsStillWritten)
{
    varnek::test::EigenerSprachdienst nieGestartet;
    QTemporaryDir dir;
    ASSERT_TRUE(
        varnek::ansi::writeLines(dir.filePath(QStringLiteral("K1.txt")), {QStringLiteral("Text")}));
    SpeechComponent sprecher(dir.path());
    sprecher.setTranscriptFile(dir.filePath(QStringLiteral("protokoll.txt")));
    sprecher.setMuted(false);
    QSignalSpy spy(&sprecher, &SpeechComponent::spoken);
    sprecher.press(QStringLiteral("user1"));
    sprecher.press(QStringLiteral("Nochmal"));
    EXPECT_TRUE(varnek::test::waitUntil([&] { return spy.count() == 2; }, 5000));
    QFile f(dir.filePath(QStringLiteral("protokoll.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("Text\nText\n"));
    EXPECT_FALSE(sprecher.speaking());
}

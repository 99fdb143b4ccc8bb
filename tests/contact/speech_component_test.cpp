#include "contact/SpeechComponent.h"
#include "platform/AnsiText.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

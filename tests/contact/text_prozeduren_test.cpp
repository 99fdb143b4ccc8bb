#include "contact/TextProzeduren.h"

#include <QElapsedTimer>

#include <gtest/gtest.h>

namespace varnek
{
namespace
{

QString woerter(int anzahl, const QString &zwischen = QStringLiteral(" "))
{
    QStringList liste;
    for (int i = 0; i < anzahl; ++i)
        liste << QStringLiteral("w%1").arg(i);
    return liste.join(zwischen);
}

TEST(ZeichenErsetzen, ReplacesEveryOccurrenceLeftToRight)
{
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("<?xml a <?xml b"), QStringLiteral("<?xml"),
                              QStringLiteral(".")),
              QStringLiteral(". a . b"));
    EXPECT_EQ(
        ZeichenErsetzen(QStringLiteral("<?xml<?xml"), QStringLiteral("<?xml"), QStringLiteral(".")),
        QStringLiteral(".."));
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("kein Treffer"), QStringLiteral("<?xml"),
                              QStringLiteral(".")),
              QStringLiteral("kein Treffer"));
    // No overlap: "aaa" holds "aa" once from the left.
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("aaa"), QStringLiteral("aa"), QStringLiteral("b")),
              QStringLiteral("ba"));
    // Case-sensitive.
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("#DINGDONG#"), QStringLiteral("#dingdong#"),
                              QStringLiteral(".")),
              QStringLiteral("#DINGDONG#"));
    // Shorter and longer replacements keep the rest of the text in place.
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("x#ab#y#ab#"), QStringLiteral("#ab#"), QString()),
              QStringLiteral("xy"));
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("ä-ö-ü"), QStringLiteral("-"), QStringLiteral("\r\n")),
              QStringLiteral("ä\r\nö\r\nü"));
}

TEST(ZeichenErsetzen, InsertedTextIsNeverSearchedAgain)
{
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("aXa"), QStringLiteral("a"), QStringLiteral("aa")),
              QStringLiteral("aaXaa"));
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("##"), QStringLiteral("#"), QStringLiteral("x#x")),
              QStringLiteral("x#xx#x"));
    // The replacement together with the following text does not form a new
    // occurrence that is replaced again.
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("abc"), QStringLiteral("b"), QStringLiteral("a")),
              QStringLiteral("aac"));
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("ab"), QStringLiteral("ab"), QStringLiteral("a")),
              QStringLiteral("a"));
}

TEST(ZeichenErsetzen, EmptySearchTextReturnsTheTextUnchanged)
{
    EXPECT_EQ(ZeichenErsetzen(QStringLiteral("Hallo"), QString(), QStringLiteral(".")),
              QStringLiteral("Hallo"));
    EXPECT_EQ(ZeichenErsetzen(QString(), QString(), QString()), QString());
    EXPECT_EQ(ZeichenErsetzen(QString(), QStringLiteral("a"), QStringLiteral("b")), QString());
}

TEST(Enthaelt, AnswersThePresenceQuestion)
{
    EXPECT_TRUE(enthaelt(QStringLiteral("Bitte #dingdong# jetzt"), QStringLiteral("#dingdong#")));
    EXPECT_FALSE(enthaelt(QStringLiteral("Bitte #DINGDONG# jetzt"), QStringLiteral("#dingdong#")));
    EXPECT_FALSE(enthaelt(QStringLiteral("Bitte"), QString()));
    EXPECT_FALSE(enthaelt(QString(), QString()));
    EXPECT_TRUE(enthaelt(QStringLiteral("Ende."), QStringLiteral(".")));
}

TEST(Parsing, SplitsAtBlankRuns)
{
    EXPECT_EQ(Parsing(QStringLiteral("eins  zwei")),
              QStringList({QStringLiteral("eins"), QStringLiteral("zwei")}));
    EXPECT_EQ(
        Parsing(QStringLiteral("eins zwei   drei")),
        QStringList({QStringLiteral("eins"), QStringLiteral("zwei"), QStringLiteral("drei")}));
    EXPECT_EQ(Parsing(QStringLiteral("wort")), QStringList({QStringLiteral("wort")}));
    // Only the blank separates; line breaks and tabs are word characters.
    EXPECT_EQ(Parsing(QStringLiteral("a\r\nb\tc d")),
              QStringList({QStringLiteral("a\r\nb\tc"), QStringLiteral("d")}));
}

TEST(Parsing, LeadingAndTrailingBlanks)
{
    EXPECT_EQ(Parsing(QStringLiteral(" wort")), QStringList({QString(), QStringLiteral("wort")}));
    EXPECT_EQ(Parsing(QStringLiteral("   wort")), QStringList({QString(), QStringLiteral("wort")}));
    EXPECT_EQ(Parsing(QStringLiteral("wort ")), QStringList({QStringLiteral("wort")}));
    EXPECT_EQ(Parsing(QStringLiteral("wort   ")), QStringList({QStringLiteral("wort")}));
    EXPECT_EQ(Parsing(QString()), QStringList({QString()}));
    EXPECT_EQ(Parsing(QStringLiteral(" ")), QStringList({QString()}));
    EXPECT_EQ(Parsing(QStringLiteral("  ")), QStringList({QString()}));
}

TEST(Parsing, AcceptsAtMost501Words)
{
    const auto w501 = Parsing(woerter(501));
    ASSERT_TRUE(w501.has_value());
    ASSERT_EQ(w501->size(), 501);
    EXPECT_EQ(w501->first(), QStringLiteral("w0"));
    EXPECT_EQ(w501->last(), QStringLiteral("w500"));

    EXPECT_FALSE(Parsing(woerter(502)).has_value());
    EXPECT_FALSE(Parsing(woerter(502, QStringLiteral("   "))).has_value());
    EXPECT_FALSE(Parsing(woerter(2000)).has_value());

    // Trailing blanks do not make a word; a leading blank does.
    EXPECT_TRUE(Parsing(woerter(501) + QStringLiteral("   ")).has_value());
    EXPECT_TRUE(Parsing(QStringLiteral(" ") + woerter(500)).has_value());
    EXPECT_FALSE(Parsing(QStringLiteral(" ") + woerter(501)).has_value());
}

TEST(SprechbarerText, LeavesOutHashFramedWordsOnly)
{
    const struct {
        const char *text;
        const char *gehoert;
    } faelle[] = {
        {"# a #", ""},        {"#", "#"},         {"a # b", "a # b"},
        {"#a #b c#", ""},     {"#a #b", "#a #b"}, {"x\t#y\r\nz# w", "x w"},
        {"#a# #b c", "#b c"}, {"  ", ""},
    };
    for (const auto &f : faelle)
        EXPECT_EQ(sprechbarerText(QString::fromUtf8(f.text)), QString::fromUtf8(f.gehoert))
            << f.text;
}

// 50 000 bytes of a received text never hold the window: every procedure
// takes well under the time of one frame on any kind of text.
TEST(TextProzeduren, FiftyThousandBytesTakeMilliseconds)
{
    for (const char *stueck : {"x", "#a ", "# ", "a ", "#dingdong# "}) {
        QString text;
        while (text.size() < 50000)
            text += QString::fromLatin1(stueck);
        QElapsedTimer uhr;
        uhr.start();
        sprechbarerText(text);
        ZeichenErsetzen(text, QStringLiteral("#dingdong#"), QStringLiteral("."));
        Parsing(text);
        ohneSteuerzeichen(text);
        EXPECT_LT(uhr.elapsed(), 50) << stueck;
    }
}

} // namespace
} // namespace varnek

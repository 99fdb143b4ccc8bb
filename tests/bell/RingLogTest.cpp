#include "bell/RingLog.h"
#include "platform/Zeitgeber.h"

#include "platform/AnsiText.h"
#include "support/LocalServer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace varnek;

namespace
{

QDateTime um(int jahr, int monat, int tag, int stunde, int minute)
{
    return QDateTime(QDate(jahr, monat, tag), QTime(stunde, minute, 42));
}

void schreibe(const QString &pfad, const QByteArray &bytes)
{
    QFile f(pfad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(RingLog, EntryIsDateTimeAndText)
{
    EXPECT_EQ(ringlog::eintrag(um(2026, 12, 7, 14, 35), QStringLiteral("Hallo")),
              QStringLiteral("07.12.26..14:35.Hallo"));
    // Leading zeros, 24-hour clock, seconds left out.
    EXPECT_EQ(ringlog::eintrag(um(2001, 1, 3, 9, 5), QString()),
              QStringLiteral("03.01.01..09:05."));
}

TEST(RingLog, ReceivedTextBecomesOneLine)
{
    EXPECT_EQ(ringlog::einzeilig(QStringLiteral("Hallo\r\n\r\n\n")), QStringLiteral("Hallo"));
    EXPECT_EQ(ringlog::einzeilig(QStringLiteral("a\r\nb\nc\rd")), QStringLiteral("a b c d"));
    EXPECT_EQ(ringlog::einzeilig(QStringLiteral("a\r\n\r\nb")), QStringLiteral("a  b"));
    EXPECT_EQ(ringlog::einzeilig(QStringLiteral("a") + QChar(QChar::ParagraphSeparator) +
                                 QStringLiteral("b")),
              QStringLiteral("a b"));
    // Blanks are the guest's own and stay.
    EXPECT_EQ(ringlog::einzeilig(QStringLiteral(" #dingdong# ")), QStringLiteral(" #dingdong# "));
    EXPECT_EQ(ringlog::eintrag(um(2026, 12, 7, 14, 35), QStringLiteral("Hallo\r\nGast\r\n")),
              QStringLiteral("07.12.26..14:35.Hallo Gast"));
}

TEST(RingLog, SavedLogLoadsBackUnchanged)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(ringlog::logDatei);
    EXPECT_TRUE(ringlog::lade(pfad).isEmpty());

    const QStringList eintraege = {QStringLiteral("\"zitiert\", 1,2"),
                                   QStringLiteral("07.12.26..14:36.Grüße; €"), QString()};
    ASSERT_TRUE(ringlog::speichere(pfad, eintraege));
    const auto bytes = ansi::readFile(pfad);
    ASSERT_TRUE(bytes);
    EXPECT_EQ(*bytes, QByteArray("\"zitiert\", 1,2\r\n07.12.26..14:36.Gr\xFC\xDF"
                                 "e; \x80\r\n\r\n"));
    EXPECT_EQ(ringlog::lade(pfad), eintraege);

    // Saving replaces the file.
    ASSERT_TRUE(ringlog::speichere(pfad, {QStringLiteral("eins")}));
    EXPECT_EQ(ringlog::lade(pfad), QStringList{QStringLiteral("eins")});
}

TEST(RingLog, BooleanLines)
{
    EXPECT_EQ(ringlog::alsBoolean(QStringLiteral("True")), true);
    EXPECT_EQ(ringlog::alsBoolean(QStringLiteral("FALSE")), false);
    EXPECT_EQ(ringlog::alsBoolean(QStringLiteral(" true ")), true);
    EXPECT_EQ(ringlog::alsBoolean(QStringLiteral("-1")), true);
    EXPECT_EQ(ringlog::alsBoolean(QStringLiteral("0")), false);
    EXPECT_EQ(ringlog::alsBoolean(QString()), std::nullopt);
    EXPECT_EQ(ringlog::alsBoolean(QStringLiteral("Truex")), std::nullopt);
}

TEST(RingLog, ModeFileSelectsOneOption)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(ringlog::modusDatei);
    // No file: nothing selected, so the message box.
    EXPECT_EQ(ringlog::leseModus(pfad), -1);

    for (int i = -1; i < ringlog::optionen; ++i) {
        ASSERT_TRUE(ringlog::schreibeModus(pfad, i));
        EXPECT_EQ(ringlog::leseModus(pfad), i);
    }
    EXPECT_EQ(ansi::readFile(pfad).value_or(QByteArray()),
              QByteArray("False\r\nFalse\r\nTrue\r\n"));

    // The options are exclusive: a later "True" wins.
    schreibe(pfad, "True\r\nTrue\r\nFalse\r\n");
    EXPECT_EQ(ringlog::leseModus(pfad), 1);
    // Lines that are no Boolean, and missing lines, leave the option alone.
    schreibe(pfad, "Quatsch\r\n\r\n");
    EXPECT_EQ(ringlog::leseModus(pfad, 2), 2);
    schreibe(pfad, "0\r\n1\r\n");
    EXPECT_EQ(ringlog::leseModus(pfad), 1);
    // "False" for the selected option lets go of it.
    schreibe(pfad, "x\r\nx\r\nfalse\r\n");
    EXPECT_EQ(ringlog::leseModus(pfad, 2), -1);
    EXPECT_EQ(ringlog::leseModus(pfad, 1), 1);
}

TEST(RingLog, FourthModeLineIsRingUntilAnswered)
{
    QTemporaryDir dir;
    const QString pfad = dir.filePath(ringlog::modusDatei);
    EXPECT_FALSE(ringlog::leseBisAntwort(pfad));
    const struct {
        QByteArray datei;
        int modus;
        bool bisAntwort;
    } faelle[] = {
        {"False\r\nTrue\r\nFalse\r\n", 1, false},
        {"False\r\nTrue\r\nFalse\r\nTrue\r\n", 1, true},
        {"False\r\nFalse\r\nFalse\r\nfalse\r\n", -1, false},
        {"x\r\nx\r\nx\r\n-1\r\n", -1, true},
        {"\r\n\r\n\r\nQuatsch\r\n", -1, false},
    };
    for (const auto &f : faelle) {
        SCOPED_TRACE(f.datei.constData());
        schreibe(pfad, f.datei);
        EXPECT_EQ(ringlog::leseModus(pfad), f.modus);
        EXPECT_EQ(ringlog::leseBisAntwort(pfad), f.bisAntwort);
    }
    // Off, the file has the three lines it always had.
    ASSERT_TRUE(ringlog::schreibeModus(pfad, 0, true));
    EXPECT_EQ(ansi::readFile(pfad).value_or(QByteArray()),
              QByteArray("True\r\nFalse\r\nFalse\r\nTrue\r\n"));
    ASSERT_TRUE(ringlog::schreibeModus(pfad, 0, false));
    EXPECT_EQ(ansi::readFile(pfad).value_or(QByteArray()),
              QByteArray("True\r\nFalse\r\nFalse\r\n"));

    EXPECT_EQ(ringlog::beantwortet(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3))),
              QStringLiteral("beantwortet 09:05:03"));
}

TEST(Zeitgeber, FiresOnlyWhenOnAndWithPeriod)
{
    Zeitgeber t;
    int ticks = 0;
    QObject::connect(&t, &Zeitgeber::tick, [&] { ++ticks; });
    t.setEnabled(true);
    EXPECT_FALSE(t.laeuft());
    test::waitUntil([] { return false; }, 60);
    EXPECT_EQ(ticks, 0);

    t.setInterval(20);
    EXPECT_TRUE(t.laeuft());
    EXPECT_TRUE(test::waitUntil([&] { return ticks >= 2; }, 2000));

    t.setEnabled(false);
    const int bisher = ticks;
    test::waitUntil([] { return false; }, 60);
    EXPECT_EQ(ticks, bisher);
    EXPECT_EQ(t.interval(), 20);
}

#include "addressbook/AdressDatensatz.h"

#include <gtest/gtest.h>

using varnek::AdressDatensatz;
using Feld = AdressDatensatz::Feld;

namespace
{

QByteArray allByteValues(int length)
{
    QByteArray b(length, '\0');
    for (int i = 0; i < length; ++i)
        b[i] = static_cast<char>((i * 7 + 3) % 256);
    return b;
}

} // namespace

TEST(AdressDatensatz, LayoutMatchesTheFile)
{
    const Feld felder[] = {Feld::Nummer,   Feld::Komentar, Feld::Reserve1,   Feld::Reserve2,
                           Feld::Reserve3, Feld::Reserve4, Feld::Reserve5,   Feld::Reserve6,
                           Feld::Reserve7, Feld::Reserve8, Feld::Webadresse, Feld::Bildpfad};
    const int breiten[] = {60, 60, 200, 60, 60, 60, 60, 60, 60, 60, 60, 70};
    int versatz = 0;
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(AdressDatensatz::versatz(felder[i]), versatz) << i;
        EXPECT_EQ(AdressDatensatz::breite(felder[i]), breiten[i]) << i;
        versatz += breiten[i];
    }
    EXPECT_EQ(versatz, 870);
    EXPECT_EQ(AdressDatensatz().bytes(), QByteArray(870, ' '));
}

TEST(AdressDatensatz, BytesRoundTripExactlyAndFieldsComeFromTheirOffsets)
{
    const QByteArray disk = allByteValues(870);
    const AdressDatensatz satz = AdressDatensatz::fromBytes(disk);
    EXPECT_EQ(satz.bytes(), disk);
    EXPECT_EQ(satz.raw(Feld::Reserve1), disk.mid(120, 200));
    EXPECT_EQ(satz.raw(Feld::Bildpfad), disk.mid(800, 70));

    // Changing the shown fields leaves every other byte as it was.
    AdressDatensatz geaendert = satz;
    geaendert.setText(Feld::Nummer, QStringLiteral("4711"));
    geaendert.setText(Feld::Webadresse, QStringLiteral("www.example.de"));
    const QByteArray out = geaendert.bytes();
    EXPECT_EQ(out.mid(0, 60), QByteArray("4711").leftJustified(60, ' '));
    EXPECT_EQ(out.mid(60, 680), disk.mid(60, 680));
    EXPECT_EQ(out.mid(740, 60), QByteArray("www.example.de").leftJustified(60, ' '));
    EXPECT_EQ(out.mid(800), disk.mid(800));
}

TEST(AdressDatensatz, StoringCutsAndPadsShowingTrims)
{
    AdressDatensatz satz;
    const QString komentar75 =
        QString(QStringLiteral("0123456789")).repeated(7) + QStringLiteral("abcde");
    const QString bild80 = QStringLiteral("C:\\") + QString(77, QLatin1Char('b'));
    satz.setText(Feld::Komentar, komentar75);
    satz.setText(Feld::Bildpfad, bild80);
    satz.setText(Feld::Nummer, QStringLiteral("  12 34  "));
    EXPECT_EQ(satz.text(Feld::Komentar), komentar75.left(60));
    EXPECT_EQ(satz.text(Feld::Bildpfad), bild80.left(70));
    EXPECT_EQ(satz.text(Feld::Nummer), QStringLiteral("12 34"));
    EXPECT_EQ(satz.raw(Feld::Nummer), QByteArray("  12 34  ").leftJustified(60, ' '));
    EXPECT_EQ(satz.bytes().size(), 870);

    // A shorter text replaces a longer one completely.
    satz.setText(Feld::Komentar, QStringLiteral("kurz"));
    EXPECT_EQ(satz.text(Feld::Komentar), QStringLiteral("kurz"));
}

TEST(AdressDatensatz, UmlautsTakeOneWindows1252Byte)
{
    AdressDatensatz satz;
    satz.setText(Feld::Komentar, QString::fromUtf8("Müller Äöüß €"));
    const QByteArray raw = satz.raw(Feld::Komentar);
    EXPECT_EQ(raw.left(13), QByteArray("M\xFCller \xC4\xF6\xFC\xDF \x80"));
    EXPECT_EQ(satz.text(Feld::Komentar), QString::fromUtf8("Müller Äöüß €"));

    // A character the code page lacks still takes exactly one byte.
    satz.setText(Feld::Nummer, QString::fromUtf8("a\u0141b\U0001F600c"));
    EXPECT_EQ(satz.raw(Feld::Nummer).left(5), QByteArray("a?b?c"));

    // Sixty umlauts still fill exactly sixty bytes.
    satz.setText(Feld::Komentar, QString(70, QChar(0xE4)));
    EXPECT_EQ(satz.raw(Feld::Komentar), QByteArray(60, '\xE4'));
}

TEST(AdressDatensatz, ZeroBytesShowAsBlanks)
{
    QByteArray disk(870, '\0');
    disk.replace(2, 3, "abc");
    const AdressDatensatz satz = AdressDatensatz::fromBytes(disk);
    EXPECT_EQ(satz.text(Feld::Nummer), QStringLiteral("abc"));
    EXPECT_EQ(satz.text(Feld::Komentar), QString());
}

#include "photo/FotoDatei.h"

#include <gtest/gtest.h>

using namespace varnek;

TEST(FotoDatei, ProposedNameIsDateAndTwentyFourHourTimeZeroPadded)
{
    EXPECT_EQ(foto::vorschlag(QDateTime(QDate(2026, 1, 5), QTime(3, 4, 9))),
              QStringLiteral("20260105_030409.bmp"));
    EXPECT_EQ(foto::vorschlag(QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58))),
              QStringLiteral("20261231_235958.bmp"));
}

TEST(FotoDatei, ModesNameGastOrFotoInTheProgramFolderAndAskingNamesNothing)
{
    EXPECT_EQ(foto::datei(foto::GastBild, QStringLiteral("/p")), QStringLiteral("/p/Gast.bmp"));
    EXPECT_EQ(foto::datei(foto::FotoBild, QStringLiteral("/p")), QStringLiteral("/p/Foto.bmp"));
    EXPECT_EQ(foto::datei(foto::Fragen, QStringLiteral("/p")), QString());
    EXPECT_EQ(foto::datei(7, QStringLiteral("/p")), QString());
}

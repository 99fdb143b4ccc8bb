// The contact window while it watches an address: what the user types goes
// where the user put the focus, and an address outside the address area is
// refused on every way in.
#include "ContactFixture.h"

#include "contact/SpeechComponent.h"
#include "platform/AnsiText.h"
#include "support/Schreibfehler.h"
#include "support/Stockung.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTimer>

#include <algorithm>

using namespace varnek;
using namespace varnek::test;

namespace
{

class EmpfangFensterTest : public ContactFixture
{
  protected:
    bool adressfeldHatFokus()
    {
        auto *combo = control<QComboBox>("Combo2");
        return QApplication::focusWidget() == combo ||
               QApplication::focusWidget() == combo->lineEdit();
    }

    // Types the text key by key into the window, as a keyboard does, with a
    // pause after each key so that polls run in between.
    void tippe(Gast1 &g, const QByteArray &text)
    {
        for (const char c : text) {
            QTest::keyClick(g.windowHandle(), c);
            QTest::qWait(30);
        }
    }

    void klicke(Gast1 &g, QWidget *w)
    {
        QTest::mouseClick(g.windowHandle(), Qt::LeftButton, {}, w->mapTo(&g, w->rect().center()));
    }
};

TEST_F(EmpfangFensterTest, PollsOfAMissingAddressLeaveTheTypedTextInTheSendBox)
{
    Gast1 &g = starte();
    g.empfang().setIntervalle(100, 50, 50);
    auto *textS = control<QLineEdit>("TextS");
    auto *combo = control<QComboBox>("Combo2");
    auto *panel = control<QLabel>("Picture28");

    g.lausche(QStringLiteral("neu")); // no message file there yet
    // The first answer marks the address not valid: the focus goes to the
    // address field, once.
    ASSERT_TRUE(waitUntil([&] { return panel->isVisible(); }));
    EXPECT_TRUE(adressfeldHatFokus());

    // The guest clicks into the send box and types while the polls go on.
    klicke(g, textS);
    ASSERT_EQ(QApplication::focusWidget(), textS);
    tippe(g, "Hallo Kontakt");
    EXPECT_EQ(textS->text(), QStringLiteral("Hallo Kontakt"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("neu"));
    EXPECT_EQ(QApplication::focusWidget(), textS);
    EXPECT_TRUE(panel->isVisible());

    // The address becomes valid and then not valid again while the guest is
    // typing: the focus stays in the send box.
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/neu/Gast.txt"), "Jetzt da\r\n");
    ASSERT_TRUE(waitUntil(
        [&] { return g.text7().startsWith(QStringLiteral("Jetzt da")) && !panel->isVisible(); }));
    QFile::remove(server.addressDir(QStringLiteral("neu")) + QStringLiteral("/Gast.txt"));
    ASSERT_TRUE(waitUntil([&] { return panel->isVisible(); }));
    tippe(g, " und weiter");
    EXPECT_EQ(textS->text(), QStringLiteral("Hallo Kontakt und weiter"));
    EXPECT_EQ(combo->currentText(), QStringLiteral("neu"));
    EXPECT_EQ(QApplication::focusWidget(), textS);
    g.stopLesen();
}

// A received text of one 50 000-character word never holds the window, at
// the first poll or any later one.
TEST_F(EmpfangFensterTest, FiftyThousandCharacterWordNeverFreezesTheWindow)
{
    Gast1 &g = starte();
    g.show();
    g.empfang().setIntervalle(200, 100, 100);
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt"),
                     QByteArray(50000, 'x'));
    test::Stockung stockung;
    g.lausche(QStringLiteral("test"));
    ASSERT_TRUE(waitUntil([&] { return g.text7().size() == 50000; }, 15000));
    QTest::qWait(1500); // more polls of the same text
    g.stopLesen();
    EXPECT_LT(stockung.laengste(), 250);
}

TEST_F(EmpfangFensterTest, AddressOutsideTheAreaIsRefusedFromOutsideToo)
{
    Gast1 &g = starte();
    g.setzeAdresse(QStringLiteral("test")); // as the address book does
    const QString label1 = g.verbindung().pfad();
    const QString text6 = g.empfang().nachrichtenAdresse();
    EXPECT_EQ(label1, QStringLiteral("localhost/localhost/vx/stillbox/vxvx/test"));
    EXPECT_TRUE(text6.endsWith(QStringLiteral("/vx/stillbox/vxvx/test/Gast.txt")));

    dialogs::clearShown();
    for (const QString &adresse : {QStringLiteral("../../x"), QStringLiteral(".."),
                                   QStringLiteral("a\\b"), QStringLiteral("."), QString()}) {
        SCOPED_TRACE(adresse.toStdString());
        g.setzeAdresse(adresse);
        EXPECT_EQ(g.verbindung().pfad(), label1);
        EXPECT_EQ(g.empfang().nachrichtenAdresse(), text6);
        g.setzeEmpfangsAdresse();
        EXPECT_EQ(g.empfang().nachrichtenAdresse(), text6);
    }
    EXPECT_EQ(dialogs::shown().size(), 5);
    EXPECT_EQ(dialogs::shown().value(0), QStringLiteral("Adresse ist nicht gültig!"));
}

// What is read aloud is the received text that is shown, also when
// "K1.txt" cannot be written (the file keeps its old text, whole).
class K1NichtSchreibbar : public EmpfangFensterTest, public ::testing::WithParamInterface<int>
{
};

TEST_P(K1NichtSchreibbar, DerEmpfangeneTextWirdGelesen)
{
    Gast1 &g = starte();
    g.empfang().setIntervalle(100, 5000, 5000);
    const QString k1 = ordner.filePath(QStringLiteral("K1.txt"));
    ASSERT_TRUE(ansi::writeFile(k1, "Alter Text\r\n"));
    QSignalSpy gesprochen(&programm->sprecher(), &SpeechComponent::spoken);
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/neu/Gast.txt"), "Neu da\r\n");
    {
        std::optional<SchreibProbe> probe;
        if (GetParam())
            probe.emplace(GetParam(), 2);
        else
            QFile::setPermissions(k1, QFileDevice::ReadOwner);
        g.lausche(QStringLiteral("neu"));
        ASSERT_TRUE(waitUntil([&] { return !gesprochen.isEmpty(); }));
    }
    g.stopLesen();
    QFile::setPermissions(k1, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(gesprochen.value(0).value(0).toString(), QStringLiteral("Neu da"));
    EXPECT_TRUE(g.text7().startsWith(QStringLiteral("Neu da")));
    EXPECT_EQ(ansi::readFile(k1), QByteArray("Alter Text\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Empfang, K1NichtSchreibbar, ::testing::Values(0, ENOSPC, EROFS));

} // namespace

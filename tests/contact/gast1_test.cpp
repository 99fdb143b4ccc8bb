#include "ContactFixture.h"

#include "contact/ui/KlingelCodeRahmen.h"
#include "contact_extras/ui/FernBrowser.h"
#include "help/ui/Hilfe2.h"
#include "help/ui/Hinweise.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace varnek;
using namespace varnek::test;

namespace {

class Gast1Test : public ContactFixture {
protected:
    // Connects and chooses an address, as a guest does.
    Gast1 &verbundenMit(const QString &adresse)
    {
        Gast1 &g = starte();
        QTest::mouseClick(control<QPushButton>("kontakt"), Qt::LeftButton);
        EXPECT_TRUE(ftpFertig());
        EXPECT_TRUE(g.verbindung().verbunden());
        auto *combo = control<QComboBox>("Combo2");
        combo->setCurrentIndex(combo->findText(adresse));
        Q_EMIT combo->activated(combo->currentIndex());
        return g;
    }

    void tippe(const QString &text)
    {
        auto *s = control<QLineEdit>("TextS");
        s->setText(text);
        QTest::keyClick(s, Qt::Key_Return);
        EXPECT_TRUE(ftpFertig());
    }
};

TEST_F(Gast1Test, StartsDisconnectedWithEmptyMessageFile)
{
    Gast1 &g = starte();
    EXPECT_EQ(g.windowTitle(), QStringLiteral("     Varnek-5-VX:"));
    EXPECT_EQ(status(), QStringLiteral("Klicke-Kontakt-Herstellen"));
    EXPECT_EQ(lokal(QStringLiteral("Gast.txt")), QByteArray());
    EXPECT_FALSE(g.verbindung().verbunden());
    EXPECT_TRUE(control<QPushButton>("Command5")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Command4")->isEnabled());
    EXPECT_FALSE(control<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("kontakt")->isVisible());
    EXPECT_FALSE(control<QPushButton>("abbr")->isVisible());
    EXPECT_FALSE(control<QLabel>("Picture28")->isVisible());
    EXPECT_TRUE(control<QLabel>("Picture3")->isVisible());
    EXPECT_FALSE(control<QLabel>("Picture4")->isVisible());
    EXPECT_EQ(g.verbindung().Label1(), QStringLiteral("localhost/localhost/vx/stillbox/vxvx/ Adresse  eingeben [V-VX-Nr:]"));
    EXPECT_FALSE(g.empfang().timer41().isActive());
}

TEST_F(Gast1Test, ContactConnectsListsAndStartsReading)
{
    Gast1 &g = starte();
    QTest::mouseClick(control<QPushButton>("kontakt"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_TRUE(g.verbindung().verbunden());
    EXPECT_EQ(status(), QStringLiteral("Ok"));
    EXPECT_FALSE(control<QPushButton>("Command5")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("Command4")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("abbr")->isVisible());
    EXPECT_TRUE(g.empfang().timer41().isActive());
    EXPECT_EQ(g.verbindung().Label1(), QStringLiteral("localhost/"));
    // "Gast.txt" is the selected local file afterwards.
    const auto files = control<QListWidget>("File1")->selectedItems();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files.first()->text(), QStringLiteral("Gast.txt"));

    QTest::mouseClick(control<QPushButton>("abbr"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_FALSE(g.verbindung().verbunden());
    EXPECT_EQ(status(), QStringLiteral("Klicke-Kontakt-Herstellen"));
    EXPECT_EQ(control<QListWidget>("List1")->count(), 0);
    EXPECT_TRUE(g.verbindung().Label1().isEmpty());
    EXPECT_FALSE(g.empfang().timer41().isActive());
    EXPECT_TRUE(control<QPushButton>("kontakt")->isVisible());
}

TEST_F(Gast1Test, ClosedPortLeavesWindowDisconnected)
{
    Gast1 &g = starte(closedPort());
    g.Command5();
    EXPECT_TRUE(ftpFertig());
    EXPECT_FALSE(g.verbindung().verbunden());
    EXPECT_EQ(status(), QStringLiteral("Fehler beim Verbindungsaufbau"));
    // Log off while disconnected changes nothing.
    g.Command4();
    EXPECT_EQ(status(), QStringLiteral("Fehler beim Verbindungsaufbau"));
}

TEST_F(Gast1Test, EnterSendsTheTextAsWindows1252Line)
{
    verbundenMit(QStringLiteral("test"));
    tippe(QStringLiteral("Hallo"));
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("Hallo\r\n"));
    EXPECT_TRUE(control<QLineEdit>("TextS")->text().isEmpty());
    EXPECT_EQ(status(), QStringLiteral("OK"));

    tippe(QStringLiteral("äöüß€"));
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("\xe4\xf6\xfc\xdf\x80\r\n"));

    tippe(QString());
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray());
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

TEST_F(Gast1Test, RingByMouseThenByMenuAccumulatesLines)
{
    Gast1 &g = verbundenMit(QStringLiteral("info"));
    QTest::mouseClick(control<QPushButton>("KL1"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("info")), QByteArray("#dingdong#\r\n"));
    for (int i = 0; i < 3; ++i)
        g.menuepunkt(QStringLiteral("Klingel1"))->trigger();
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("info")), QByteArray("#dingdong#\r\n").repeated(4));
    // A new mouse press starts over.
    QTest::mouseClick(control<QPushButton>("KL1"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("info")), QByteArray("#dingdong#\r\n"));
}

TEST_F(Gast1Test, SendingAfterLogOffSaysThereIsNoAddress)
{
    Gast1 &g = verbundenMit(QStringLiteral("test"));
    g.abbrClick();
    dialogs::clearShown();
    tippe(QStringLiteral("Hallo"));
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Sie haben keine Empfänger Adresse angegeben!")});
    EXPECT_NE(status(), QStringLiteral("OK"));
    EXPECT_EQ(lokal(QStringLiteral("Gast.txt")), QByteArray("Hallo\r\n"));
}

TEST_F(Gast1Test, MissingAddressFolderGivesMessage)
{
    Gast1 &g = starte();
    g.Command5();
    EXPECT_TRUE(ftpFertig());
    auto *combo = control<QComboBox>("Combo2");
    combo->setEditText(QStringLiteral("gibtsnicht"));
    g.Command19();
    tippe(QStringLiteral("Hallo"));
    EXPECT_TRUE(dialogs::shown().contains(QStringLiteral("Kein Kontakt möglich ! Falsche Adresse ?")));
}

TEST_F(Gast1Test, AddressLeavingTheAddressAreaIsRefused)
{
    Gast1 &g = starte();
    g.Command5();
    EXPECT_TRUE(ftpFertig());
    const QString vorher = g.verbindung().Label1();
    for (const char *adresse : {"../test", "a/b", "a\\b", "..", "x\ty"}) {
        dialogs::clearShown();
        control<QComboBox>("Combo2")->setEditText(QString::fromLatin1(adresse));
        g.Command19();
        EXPECT_EQ(g.verbindung().Label1(), vorher) << adresse;
        EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Adresse ist nicht gültig!")}) << adresse;
    }
}

TEST_F(Gast1Test, RingCodeListSavesOncePerCodeIgnoringCase)
{
    Gast1 &g = starte();
    auto *combo3 = control<QComboBox>("Combo3");
    g.klingelCode().ladeKC();
    EXPECT_EQ(combo3->count(), 0);
    EXPECT_EQ(combo3->currentText(), QStringLiteral("#dingdong#"));

    combo3->setEditText(QStringLiteral("#Tür#"));
    g.klingelCode().klinelcodspeichern();
    g.klingelCode().klinelcodspeichern();
    combo3->setEditText(QStringLiteral("#TÜR#"));
    g.klingelCode().klinelcodspeichern();
    EXPECT_EQ(dialogs::shown(), (QStringList{QStringLiteral("Bereits da!"), QStringLiteral("Bereits da!")}));
    EXPECT_EQ(lokal(QStringLiteral("Kaco.txt")), QByteArray("#T\xfcr#\r\n"));

    QFile f(ordner.filePath(QStringLiteral("Kaco.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#eins#, zwei\r\n#drei#\r\n");
    f.close();
    g.klingelCode().ladeKC();
    EXPECT_EQ(g.klingelCode().List6, (QStringList{QStringLiteral("#eins#, zwei"), QStringLiteral("#drei#")}));

    // Choosing a code makes it the one watched for.
    combo3->setCurrentIndex(1);
    Q_EMIT combo3->activated(1);
    EXPECT_EQ(g.empfang().text9(), QStringLiteral("#drei#"));
    // Taking it over replaces the send box.
    control<QLineEdit>("TextS")->setText(QStringLiteral("alt"));
    g.Command22();
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("#drei#"));
}

TEST_F(Gast1Test, ShortcutsAndHotKeysReachTheirActions)
{
    Gast1 &g = starte();
    QSignalSpy gesprochen(&programm->sprecher(), &SpeechComponent::spoken);
    QFile k1(ordner.filePath(QStringLiteral("K1.txt")));
    ASSERT_TRUE(k1.open(QIODevice::WriteOnly));
    k1.write("Guten Tag\r\n");
    k1.close();

    QTest::keyClick(&g, Qt::Key_P, Qt::ControlModifier); // Play
    ASSERT_EQ(gesprochen.size(), 1);
    EXPECT_EQ(gesprochen.at(0).at(0).toString(), QStringLiteral("Guten Tag"));
    QTest::keyClick(&g, Qt::Key_F4); // Nochmal
    EXPECT_EQ(gesprochen.size(), 2);

    auto *frame3 = control<QGroupBox>("Frame3");
    QTest::keyClick(&g, Qt::Key_F9);
    EXPECT_TRUE(frame3->isVisible());
    EXPECT_TRUE(g.menuepunkt(QStringLiteral("KlingelSignal1"))->isChecked());
    QTest::keyClick(&g, Qt::Key_F9);
    EXPECT_FALSE(frame3->isVisible());

    QTest::keyClick(&g, Qt::Key_F8);
    ASSERT_NE(programm->hilfe2WennGeladen(), nullptr);
    EXPECT_TRUE(programm->hilfe2WennGeladen()->automatisch());
    QTest::keyClick(&g, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(programm->hilfe2WennGeladen()->automatisch());

    control<QLineEdit>("TextS")->setText(QStringLiteral("per Strg+G"));
    QTest::keyClick(&g, Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(lokal(QStringLiteral("Gast.txt")), QByteArray("per Strg+G\r\n"));

    QTest::keyClick(&g, Qt::Key_F1);
    EXPECT_TRUE(programm->hilfe2WennGeladen()->isVisible());

    QTest::keyClick(&g, Qt::Key_Escape);
    EXPECT_FALSE(g.isVisible());
}

TEST_F(Gast1Test, HintsReachTheHintLineWithTheirColours)
{
    Gast1 &g = starte();
    auto *kontakt = control<QPushButton>("kontakt");
    kontakt->setFocus();
    ASSERT_TRUE(waitUntil([&] { return kontakt->hasFocus(); }));
    EXPECT_EQ(programm->hilfe2()->text(), QStringLiteral(" Kontakt herstellen!"));
    EXPECT_EQ(Hinweise::background(kontakt), farbe::gelb);
    control<QLineEdit>("TextS")->setFocus();
    ASSERT_TRUE(waitUntil([&] { return !kontakt->hasFocus(); }));
    EXPECT_EQ(Hinweise::background(kontakt), farbe::pfirsich);
    EXPECT_EQ(programm->hilfe2()->text(),
              QStringLiteral(" Textfeld mit Enter wird ihr Text an die ausgewählte Adresse verschickt und beim Empfänger automatisch vorgelesen!"));

    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(control<QWidget>("PictureWeiter"), &enter);
    EXPECT_EQ(programm->hilfe2()->text(), QStringLiteral(" Play-Weiter:"));
    EXPECT_EQ(Hinweise::background(control<QPushButton>("beende3")), farbe::lachs);
    (void)g;
}

TEST_F(Gast1Test, AutomaticReadingWritesHelpFileOncePerHint)
{
    Gast1 &g = starte();
    QSignalSpy gesprochen(&programm->sprecher(), &SpeechComponent::spoken);
    g.menuepunkt(QStringLiteral("hilfetex"))->trigger();
    gesprochen.clear();
    QEvent enter(QEvent::Enter);
    QApplication::sendEvent(control<QWidget>("PicturePlay"), &enter);
    EXPECT_EQ(lokal(QStringLiteral("Hilfe.txt")), QByteArray(" Play:\r\n"));
    QApplication::sendEvent(control<QWidget>("PictureStop"), &enter);
    EXPECT_EQ(lokal(QStringLiteral("Hilfe.txt")), QByteArray(" Play-Stop:\r\n"));
    ASSERT_EQ(gesprochen.size(), 2);
    EXPECT_EQ(gesprochen.at(1).at(0).toString(), QStringLiteral("Play-Stop:"));
}

TEST_F(Gast1Test, QuitWithoutOpenWindowsOpensNoBellWindow)
{
    Gast1 &g = starte();
    g.beende3();
    EXPECT_FALSE(g.isVisible());
    EXPECT_EQ(programm->klingel2WennGeladen(), nullptr);
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

TEST_F(Gast1Test, AddressDropDownIsLimitedToHalfTheScreen)
{
    Gast1 &g = starte();
    const int halb = QGuiApplication::primaryScreen()->geometry().height() / 2;
    g.SetzeListenHoehe(700);
    EXPECT_EQ(g.listenHoehe(), std::min(700, halb));
    g.SetzeListenHoehe(100000);
    EXPECT_EQ(g.listenHoehe(), halb);
}

} // namespace

namespace {

TEST_F(Gast1Test, ReadOnlyMessageFileIsReportedAndTheOldFileSent)
{
    Gast1 &g = verbundenMit(QStringLiteral("test"));
    tippe(QStringLiteral("erste"));
    QFile::setPermissions(ordner.filePath(QStringLiteral("Gast.txt")), QFileDevice::ReadOwner);
    tippe(QStringLiteral("zweite"));
    QFile::setPermissions(ordner.filePath(QStringLiteral("Gast.txt")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Achtung : Schreibschutz entfernen [Gast.txt]!")});
    // The upload that follows sends what is on disk, and ends at "OK".
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("erste\r\n"));
    EXPECT_EQ(status(), QStringLiteral("OK"));
    EXPECT_TRUE(g.List2.isEmpty());
}

} // namespace

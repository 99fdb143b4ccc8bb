#include "ContactFixture.h"

#include "contact/ui/KlingelCodeRahmen.h"
#include "contact_extras/ui/FernBrowser.h"
#include "help/ui/Hilfe2.h"
#include "help/ui/Hinweise.h"
#include "platform/AnsiText.h"
#include "support/Eingabe.h"
#include "support/Schreibfehler.h"

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace varnek;
using namespace varnek::test;

namespace
{

// Input arrives as the platform delivers it: keys to the window, which
// hands them to the focus widget after the shortcuts had their turn, and
// clicks at a control's place in the window.
class Gast1Test : public ContactFixture
{
  protected:
    QWindow *fenster() { return programm->gast1()->windowHandle(); }

    void taste(Qt::Key key, Qt::KeyboardModifiers mod = Qt::NoModifier)
    {
        test::taste(programm->gast1(), key, mod);
    }
    static void schreibe(const QString &text) { test::schreibe(text); }
    void klick(QWidget *w) { test::klick(w); }
    void klick(const char *name) { test::klick(control<QWidget>(name)); }
    void waehleAdresse(const QString &adresse) { test::waehleAdresse(programm->gast1(), adresse); }

    // Connects and chooses an address, as a guest does.
    Gast1 &verbundenMit(const QString &adresse)
    {
        Gast1 &g = starte();
        klick("kontakt");
        EXPECT_TRUE(ftpFertig());
        EXPECT_TRUE(g.verbindung().verbunden());
        waehleAdresse(adresse);
        return g;
    }

    // The send box by its shortcut, a text, Enter.
    void tippe(const QString &text)
    {
        taste(Qt::Key_M, Qt::ControlModifier);
        EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("TextS"));
        schreibe(text);
        taste(Qt::Key_Return);
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
    EXPECT_FALSE(control<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("kontakt")->isVisible());
    EXPECT_FALSE(control<QPushButton>("abbr")->isVisible());
    EXPECT_FALSE(control<QLabel>("Picture28")->isVisible());
    EXPECT_TRUE(control<QLabel>("Picture3")->isVisible());
    EXPECT_FALSE(control<QLabel>("Picture4")->isVisible());
    EXPECT_EQ(g.verbindung().pfad(),
              QStringLiteral("localhost/localhost/vx/stillbox/vxvx/ Adresse  eingeben [V-VX-Nr:]"));
    EXPECT_FALSE(g.empfang().abrufTakt().isActive());
}

TEST_F(Gast1Test, ContactConnectsListsAndStartsReading)
{
    Gast1 &g = starte();
    klick("kontakt");
    EXPECT_TRUE(ftpFertig());
    EXPECT_TRUE(g.verbindung().verbunden());
    EXPECT_EQ(status(), QStringLiteral("Ok - Verbindung nicht verschlüsselt"));
    EXPECT_TRUE(control<QPushButton>("Command1")->isEnabled());
    EXPECT_TRUE(control<QPushButton>("abbr")->isVisible());
    EXPECT_TRUE(g.empfang().abrufTakt().isActive());
    EXPECT_EQ(g.verbindung().pfad(), QStringLiteral("localhost/"));
    // "Gast.txt" is the selected local file afterwards.
    const auto files = control<QListWidget>("File1")->selectedItems();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(files.first()->text(), QStringLiteral("Gast.txt"));

    klick("abbr");
    EXPECT_TRUE(ftpFertig());
    EXPECT_FALSE(g.verbindung().verbunden());
    EXPECT_EQ(status(), QStringLiteral("Klicke-Kontakt-Herstellen"));
    EXPECT_EQ(control<QListWidget>("List1")->count(), 0);
    EXPECT_TRUE(g.verbindung().pfad().isEmpty());
    EXPECT_FALSE(g.empfang().abrufTakt().isActive());
    EXPECT_TRUE(control<QPushButton>("kontakt")->isVisible());
}

TEST_F(Gast1Test, ClosedPortLeavesWindowDisconnected)
{
    Gast1 &g = starte(closedPort());
    taste(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(ftpFertig());
    EXPECT_FALSE(g.verbindung().verbunden());
    EXPECT_EQ(status(), QStringLiteral("Fehler beim Verbindungsaufbau"));
    // Log off while disconnected changes nothing but the reading.
    taste(Qt::Key_A, Qt::ControlModifier);
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
    verbundenMit(QStringLiteral("info"));
    klick("KL1");
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("info")), QByteArray("#dingdong#\r\n"));
    for (int i = 0; i < 3; ++i)
        taste(Qt::Key_K, Qt::ControlModifier);
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("info")), QByteArray("#dingdong#\r\n").repeated(4));
    // A new mouse press starts over.
    klick("KL1");
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("info")), QByteArray("#dingdong#\r\n"));
}

TEST_F(Gast1Test, SendingAfterLogOffSaysThereIsNoAddress)
{
    verbundenMit(QStringLiteral("test"));
    klick("abbr");
    dialogs::clearShown();
    tippe(QStringLiteral("Hallo"));
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Sie haben keine Empfänger Adresse angegeben!")});
    EXPECT_NE(status(), QStringLiteral("OK"));
    EXPECT_EQ(lokal(QStringLiteral("Gast.txt")), QByteArray("Hallo\r\n"));
}

// Right after start-up the address field shows its design text, which is no
// address.
TEST_F(Gast1Test, SendingBeforeAnyAddressWasChosenSaysThereIsNoAddress)
{
    starte();
    dialogs::clearShown();
    tippe(QStringLiteral("Hallo"));
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Sie haben keine Empfänger Adresse angegeben!")});
    EXPECT_NE(status(), QStringLiteral("OK"));
}

TEST_F(Gast1Test, SendingToAnAddressWithoutConnectionNeverSaysOk)
{
    starte();
    waehleAdresse(QStringLiteral("test"));
    dialogs::clearShown();
    tippe(QStringLiteral("Hallo"));
    EXPECT_TRUE(ftpFertig());
    EXPECT_TRUE(
        dialogs::shown().contains(QStringLiteral("Kein Kontakt möglich ! Falsche Adresse ?")));
    EXPECT_NE(status(), QStringLiteral("OK"));
    EXPECT_NE(status(), QStringLiteral("Ok"));
    EXPECT_TRUE(remote(QStringLiteral("test")).isEmpty());
}

TEST_F(Gast1Test, MissingAddressFolderGivesMessage)
{
    starte();
    taste(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(ftpFertig());
    waehleAdresse(QStringLiteral("gibtsnicht"));
    dialogs::clearShown();
    tippe(QStringLiteral("Hallo"));
    EXPECT_TRUE(
        dialogs::shown().contains(QStringLiteral("Kein Kontakt möglich ! Falsche Adresse ?")));
}

TEST_F(Gast1Test, AddressLeavingTheAddressAreaIsRefused)
{
    Gast1 &g = starte();
    taste(Qt::Key_H, Qt::ControlModifier);
    EXPECT_TRUE(ftpFertig());
    const QString vorher = g.verbindung().pfad();
    for (const char *adresse : {"../test", "a/b", "a\\b", ".."}) {
        dialogs::clearShown();
        waehleAdresse(QString::fromLatin1(adresse));
        EXPECT_EQ(g.verbindung().pfad(), vorher) << adresse;
        EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Adresse ist nicht gültig!")})
            << adresse;
    }
}

TEST_F(Gast1Test, RingCodeListSavesOncePerCodeIgnoringCase)
{
    Gast1 &g = starte();
    auto *combo3 = control<QComboBox>("Combo3");
    taste(Qt::Key_F9); // the panel opens with the focus in the chooser
    ASSERT_EQ(QApplication::focusWidget(), combo3);
    klick("ladeKC");
    EXPECT_EQ(combo3->count(), 0);
    EXPECT_EQ(combo3->currentText(), QStringLiteral("#dingdong#"));

    const auto ersetze = [&](const QString &code) {
        combo3->setFocus(Qt::MouseFocusReason);
        taste(Qt::Key_Home);
        taste(Qt::Key_End, Qt::ShiftModifier);
        schreibe(code);
    };
    ersetze(QStringLiteral("#Tür#"));
    klick("klinelcodspeichern");
    klick("klinelcodspeichern");
    ersetze(QStringLiteral("#TÜR#"));
    klick("klinelcodspeichern");
    EXPECT_EQ(dialogs::shown(),
              (QStringList{QStringLiteral("Bereits da!"), QStringLiteral("Bereits da!")}));
    EXPECT_EQ(lokal(QStringLiteral("Kaco.txt")), QByteArray("#T\xfcr#\r\n"));

    QFile f(ordner.filePath(QStringLiteral("Kaco.txt")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#eins#, zwei\r\n#drei#\r\n");
    f.close();
    klick("ladeKC");
    EXPECT_EQ(g.klingelCode().List6,
              (QStringList{QStringLiteral("#eins#, zwei"), QStringLiteral("#drei#")}));

    // Choosing a code with the arrow keys makes it the one watched for.
    combo3->setFocus(Qt::MouseFocusReason);
    taste(Qt::Key_Down);
    taste(Qt::Key_Down);
    EXPECT_EQ(g.empfang().klingelCode(), QStringLiteral("#drei#"));
    // Taking it over replaces the send box.
    klick("Command22");
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("#drei#"));
    EXPECT_FALSE(control<QWidget>("Frame3")->isVisible());

    // A "Kaco.txt" that cannot be written (here a folder of that name) is said so.
    ASSERT_TRUE(QFile::remove(ordner.filePath(QStringLiteral("Kaco.txt"))));
    ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("Kaco.txt")));
    taste(Qt::Key_F9);
    ersetze(QStringLiteral("#neu#"));
    klick("klinelcodspeichern");
    ASSERT_FALSE(dialogs::shown().isEmpty());
    EXPECT_EQ(dialogs::shown().last(), QStringLiteral("Kaco.txt kann nicht gespeichert werden!"));
}

TEST_F(Gast1Test, EnterInTheAddressFieldChoosesTheAddressAndStartsReading)
{
    Gast1 &g = starte();
    taste(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(ftpFertig());
    ASSERT_TRUE(g.verbindung().verbunden());
    g.empfang().stoppeLesen();
    waehleAdresse(QStringLiteral("test"));
    EXPECT_EQ(g.verbindung().pfad(), QStringLiteral("localhost/localhost/vx/stillbox/vxvx/test"));
    EXPECT_TRUE(g.empfang().nachrichtenAdresse().endsWith(
        QStringLiteral("/vx/stillbox/vxvx/test/Gast.txt")));
    EXPECT_TRUE(g.empfang().abrufTakt().isActive());
    // The focus moves on to the send box, where the message is written.
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("TextS"));
    tippe(QStringLiteral("Hallo"));
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("Hallo\r\n"));
}

TEST_F(Gast1Test, EnterInTheRingCodeFieldTakesTheCodeOverAndClosesThePanel)
{
    starte();
    taste(Qt::Key_F9);
    auto *combo3 = control<QComboBox>("Combo3");
    ASSERT_EQ(QApplication::focusWidget(), combo3);
    taste(Qt::Key_End);
    schreibe(QStringLiteral("x"));
    EXPECT_EQ(Hinweise::background(combo3), farbe::gelb); // a key press turns it yellow
    taste(Qt::Key_Return);
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("#dingdong#x"));
    EXPECT_FALSE(control<QWidget>("Frame3")->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), control<QWidget>("TextS"));
    // The caret stands behind the code: the message follows it.
    schreibe(QStringLiteral(" Hallo"));
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("#dingdong#x Hallo"));
}

TEST_F(Gast1Test, MenuShortcutsWinOverTheTextFieldWithTheFocus)
{
    Gast1 &g = starte();
    taste(Qt::Key_H, Qt::ControlModifier);
    ASSERT_TRUE(ftpFertig());
    ASSERT_TRUE(g.verbindung().verbunden());
    // Ctrl+A in the send box logs off instead of selecting the text.
    taste(Qt::Key_M, Qt::ControlModifier);
    schreibe(QStringLiteral("bleibt"));
    taste(Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(g.verbindung().verbunden());
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("bleibt"));
    EXPECT_FALSE(control<QLineEdit>("TextS")->hasSelectedText());

    // Ctrl+U in the address field narrows the window instead of erasing the line.
    taste(Qt::Key_D, Qt::ControlModifier);
    const QString adresse = control<QComboBox>("Combo2")->currentText();
    taste(Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(g.width(), 7875 / 15);
    EXPECT_EQ(control<QComboBox>("Combo2")->currentText(), adresse);

    // Keys no shortcut takes still work in the field: copy and paste.
    taste(Qt::Key_M, Qt::ControlModifier);
    taste(Qt::Key_Home);
    taste(Qt::Key_End, Qt::ShiftModifier);
    taste(Qt::Key_C, Qt::ControlModifier);
    taste(Qt::Key_End);
    taste(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("bleibtbleibt"));

    // Ctrl+X quits instead of cutting.
    taste(Qt::Key_X, Qt::ControlModifier);
    EXPECT_FALSE(g.isVisible());
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("bleibtbleibt"));
}

TEST_F(Gast1Test, ShortcutsAndHotKeysReachTheirActions)
{
    Gast1 &g = starte();
    QSignalSpy gesprochen(&programm->sprecher(), &SpeechComponent::spoken);
    QFile k1(ordner.filePath(QStringLiteral("K1.txt")));
    ASSERT_TRUE(k1.open(QIODevice::WriteOnly));
    k1.write("Guten Tag\r\n");
    k1.close();

    taste(Qt::Key_P, Qt::ControlModifier); // Play
    ASSERT_EQ(gesprochen.size(), 1);
    EXPECT_EQ(gesprochen.at(0).at(0).toString(), QStringLiteral("Guten Tag"));
    taste(Qt::Key_F4); // Nochmal
    EXPECT_EQ(gesprochen.size(), 2);

    auto *frame3 = control<QGroupBox>("Frame3");
    taste(Qt::Key_F9);
    EXPECT_TRUE(frame3->isVisible());
    EXPECT_TRUE(g.menue().klingelCode()->isChecked());
    taste(Qt::Key_F9);
    EXPECT_FALSE(frame3->isVisible());

    taste(Qt::Key_F8);
    ASSERT_NE(programm->hilfe2WennGeladen(), nullptr);
    EXPECT_TRUE(programm->hilfe2WennGeladen()->automatisch());
    EXPECT_TRUE(g.menue().hilfeVorlesen()->isChecked());
    taste(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(programm->hilfe2WennGeladen()->automatisch());
    EXPECT_FALSE(g.menue().hilfeVorlesen()->isChecked());

    taste(Qt::Key_M, Qt::ControlModifier);
    schreibe(QStringLiteral("per Strg+G"));
    taste(Qt::Key_G, Qt::ControlModifier);
    EXPECT_EQ(lokal(QStringLiteral("Gast.txt")), QByteArray("per Strg+G\r\n"));

    taste(Qt::Key_F1);
    EXPECT_TRUE(programm->hilfe2WennGeladen()->isVisible());

    // Back in the contact window, as by a click into it.
    QApplication::setActiveWindow(&g);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    taste(Qt::Key_Escape);
    EXPECT_FALSE(g.isVisible());
}

// "Lesebestätigung senden" is on until the user turns it off in the menu;
// the switch is kept in the program folder.
TEST_F(Gast1Test, ReceiptSwitchIsOnUntilTurnedOffInTheMenu)
{
    Gast1 &g = starte();
    QAction *schalter = g.menue().lesebestaetigung();
    ASSERT_NE(schalter, nullptr);
    EXPECT_EQ(schalter->text(), QStringLiteral("Lesebestätigung senden"));
    EXPECT_TRUE(schalter->isCheckable());
    EXPECT_TRUE(schalter->isChecked());
    EXPECT_TRUE(programm->lesebestaetigungSenden());
    for (const char *gespeichert : {"False\r\n", "True\r\n"}) {
        QTest::keyClick(g.windowHandle(), Qt::Key_E, Qt::AltModifier);
        ASSERT_TRUE(waitUntil([] { return QApplication::activePopupWidget(); }));
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (int i = 0; i < 5 && menu->activeAction() != schalter; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        ASSERT_EQ(menu->activeAction(), schalter);
        QTest::keyClick(menu, Qt::Key_Return);
        ASSERT_TRUE(waitUntil([] { return !QApplication::activePopupWidget(); }));
        EXPECT_EQ(lokal(QStringLiteral("Lesebestaetigung")), QByteArray(gespeichert));
        const bool an = qstrcmp(gespeichert, "True\r\n") == 0;
        EXPECT_EQ(programm->lesebestaetigungSenden(), an);
        EXPECT_EQ(schalter->isChecked(), an);
    }
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

TEST_F(Gast1Test, NochmalRepeatsTheLastMessageAfterAHintWasRead)
{
    starte();
    QSignalSpy gesprochen(&programm->sprecher(), &SpeechComponent::spoken);
    QFile k1(ordner.filePath(QStringLiteral("K1.txt")));
    ASSERT_TRUE(k1.open(QIODevice::WriteOnly));
    k1.write("Die Nachricht\r\n");
    k1.close();
    taste(Qt::Key_P, Qt::ControlModifier);
    taste(Qt::Key_M, Qt::ControlModifier); // a hint in the hint line
    taste(Qt::Key_F8);                     // read automatically: the hint is spoken
    taste(Qt::Key_F2);                     // and once more on request
    ASSERT_EQ(gesprochen.size(), 3);
    EXPECT_NE(gesprochen.at(2).at(0).toString(), QStringLiteral("Die Nachricht"));
    taste(Qt::Key_F4);
    ASSERT_EQ(gesprochen.size(), 4);
    EXPECT_EQ(gesprochen.at(3).at(0).toString(), QStringLiteral("Die Nachricht"));
}

TEST_F(Gast1Test, HintsReachTheHintLineWithTheirColours)
{
    starte();
    auto *kontakt = control<QPushButton>("kontakt");
    // Tab order starts at the connect button.
    kontakt->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(waitUntil([&] { return kontakt->hasFocus(); }));
    EXPECT_EQ(programm->hilfe2()->text(), QStringLiteral(" Kontakt herstellen!"));
    EXPECT_EQ(Hinweise::background(kontakt), farbe::gelb);
    taste(Qt::Key_M, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return !kontakt->hasFocus(); }));
    EXPECT_EQ(Hinweise::background(kontakt), farbe::pfirsich);
    EXPECT_EQ(programm->hilfe2()->text(),
              QStringLiteral(" Textfeld mit Enter wird ihr Text an die ausgewählte Adresse "
                             "verschickt und beim Empfänger automatisch vorgelesen!"));

    QWidget *weiter = control<QWidget>("PictureWeiter");
    QTest::mouseMove(fenster(), weiter->mapTo(weiter->window(), weiter->rect().center()));
    ASSERT_TRUE(
        waitUntil([&] { return programm->hilfe2()->text() == QStringLiteral(" Play-Weiter:"); }));
    EXPECT_EQ(Hinweise::background(control<QPushButton>("beende3")), farbe::lachs);
}

TEST_F(Gast1Test, AutomaticReadingWritesHelpFileOncePerHint)
{
    starte();
    QSignalSpy gesprochen(&programm->sprecher(), &SpeechComponent::spoken);
    taste(Qt::Key_Q, Qt::ControlModifier);
    gesprochen.clear();
    const auto ueber = [&](const char *name) {
        QWidget *w = control<QWidget>(name);
        QTest::mouseMove(fenster(), w->mapTo(w->window(), w->rect().center()));
        QCoreApplication::processEvents();
    };
    ueber("PicturePlay");
    EXPECT_EQ(lokal(QStringLiteral("Hilfe.txt")), QByteArray(" Play:\r\n"));
    ueber("PictureStop");
    EXPECT_EQ(lokal(QStringLiteral("Hilfe.txt")), QByteArray(" Play-Stop:\r\n"));
    ASSERT_EQ(gesprochen.size(), 2);
    EXPECT_EQ(gesprochen.at(1).at(0).toString(), QStringLiteral("Play-Stop:"));
}

TEST_F(Gast1Test, QuitWithoutOpenWindowsOpensNoBellWindow)
{
    Gast1 &g = starte();
    klick("beende3");
    EXPECT_FALSE(g.isVisible());
    EXPECT_EQ(programm->klingel2WennGeladen(), nullptr);
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

// Every way out, with the focus in a text field and the help and bell
// windows open: the program ends and its windows are destroyed cleanly.
TEST_F(Gast1Test, EveryWayOutEndsCleanly)
{
    for (int weg = 0; weg < 4; ++weg) {
        Gast1 &g = starte();
        taste(Qt::Key_F1);
        taste(Qt::Key_F12);
        QApplication::setActiveWindow(&g);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
        taste(Qt::Key_D, Qt::ControlModifier);
        ASSERT_EQ(QApplication::focusWidget(), control<QWidget>("Combo2"));
        switch (weg) {
        case 0:
            taste(Qt::Key_Escape);
            break;
        case 1:
            klick("beende3");
            break;
        case 2:
            taste(Qt::Key_X, Qt::ControlModifier);
            break;
        case 3:
            fenster()->close();
            break; // the close box
        }
        EXPECT_FALSE(g.isVisible()) << weg;
        EXPECT_EQ(programm->klingel2WennGeladen(), nullptr) << weg;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        programm.reset(); // must not crash while the controls lose the focus
    }
}

TEST_F(Gast1Test, AddressDropDownIsLimitedToHalfTheScreen)
{
    Gast1 &g = starte();
    const int halb = QGuiApplication::primaryScreen()->geometry().height() / 2;
    g.setzeListenHoehe(700);
    EXPECT_EQ(g.listenHoehe(), std::min(700, halb));
    g.setzeListenHoehe(100000);
    EXPECT_EQ(g.listenHoehe(), halb);
}

} // namespace

namespace
{

// A message file that cannot be written whole is not sent: the old file
// on the server stays, the typed text stays in the send box, and the message
// says why.
struct NachrichtFehler {
    const char *name;
    int fehlerNummer; // 0: "Gast.txt" marked read-only
    const char *meldung;
};

class Gast1NachrichtFehler : public Gast1Test, public ::testing::WithParamInterface<NachrichtFehler>
{
};

TEST_P(Gast1NachrichtFehler, NichtsGesendetTextBleibt)
{
    const NachrichtFehler &fall = GetParam();
    Gast1 &g = verbundenMit(QStringLiteral("test"));
    tippe(QStringLiteral("erste"));
    const QString datei = ordner.filePath(QStringLiteral("Gast.txt"));
    {
        std::optional<SchreibProbe> probe;
        if (fall.fehlerNummer)
            probe.emplace(fall.fehlerNummer, 3);
        else
            QFile::setPermissions(datei, QFileDevice::ReadOwner);
        tippe(QStringLiteral("zweite"));
    }
    QFile::setPermissions(datei, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(dialogs::shown(), QStringList{QString::fromUtf8(fall.meldung)});
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("erste\r\n"));
    EXPECT_EQ(ansi::readFile(datei), QByteArray("erste\r\n"));
    EXPECT_EQ(status(), QStringLiteral("Fehler"));
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("zweite"));
    EXPECT_TRUE(g.List2.isEmpty());

    // Once the disk takes it again, Enter sends the kept text.
    taste(Qt::Key_M, Qt::ControlModifier);
    taste(Qt::Key_Return);
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("zweite\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Gast1, Gast1NachrichtFehler,
    ::testing::Values(NachrichtFehler{"DateiSchreibgeschuetzt", 0,
                                      "Achtung : Schreibschutz entfernen [Gast.txt]!"},
                      NachrichtFehler{"DatentraegerVoll", ENOSPC,
                                      "Achtung : Datenträger voll [Gast.txt]!"},
                      NachrichtFehler{"OrdnerSchreibgeschuetzt", EROFS,
                                      "Achtung : Ordner schreibgeschützt [Gast.txt]!"}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace

namespace
{

TEST_F(Gast1Test, EnlargedWindowShowsNoProcedureButtonsAndNoControlOnAnother)
{
    Gast1 &g = starte();
    g.resize(1200, 900);
    QCoreApplication::processEvents();
    for (const char *name :
         {"Command5", "Command4", "Command19", "Command10", "start1", "stoplesen", "Commandsend",
          "g1S", "h1", "Combo1", "foc1", "foc2", "Command12"})
        EXPECT_EQ(g.findChild<QWidget *>(QLatin1String(name)), nullptr) << name;
    // What an enlarged window shows below is the remote browser.
    EXPECT_TRUE(control<QWidget>("File1")->isVisible());
    QList<QWidget *> bedienbar;
    for (QWidget *w : g.centralWidget()->findChildren<QWidget *>())
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus) && !w->focusProxy() &&
            !w->objectName().isEmpty())
            bedienbar << w;
    for (QWidget *a : bedienbar)
        for (QWidget *b : bedienbar)
            if (a < b && !a->isAncestorOf(b) && !b->isAncestorOf(a)) {
                EXPECT_FALSE(QRect(a->mapTo(&g, QPoint()), a->size())
                                 .intersects(QRect(b->mapTo(&g, QPoint()), b->size())))
                    << qPrintable(a->objectName()) << " on " << qPrintable(b->objectName());
            }
}

// The views a user reaches by keys; in each, Tab walks only through controls
// the window shows, the content fits the window and never scrolls.
struct Ansicht {
    const char *name;
    std::vector<std::pair<Qt::Key, Qt::KeyboardModifiers>> tasten;
    int hoeheTwips; // 0: as at start
};

class Gast1Ansicht : public Gast1Test, public ::testing::WithParamInterface<Ansicht>
{
  protected:
    // The named control a focus widget belongs to.
    static QString benannterTeil(QWidget *w)
    {
        while (w && w->objectName().isEmpty())
            w = w->parentWidget();
        return w ? w->objectName() : QString();
    }
};

TEST_P(Gast1Ansicht, TabVisitsOnlyShownControlsAndTheContentFits)
{
    Gast1 &g = starte();
    taste(Qt::Key_M, Qt::ControlModifier);
    for (const auto &[key, mod] : GetParam().tasten)
        taste(key, mod);
    QCoreApplication::processEvents();
    if (GetParam().hoeheTwips) {
        EXPECT_TRUE(waitUntil([&] { return g.height() == GetParam().hoeheTwips / 15; }))
            << g.height();
    }
    // Where the content lies in the window (the menu bar may have gone).
    QWidget *kontakt = control<QWidget>("kontakt");
    const QPoint ursprung = kontakt->mapTo(g.centralWidget(), QPoint());
    const QRect sicht(g.centralWidget()->mapTo(&g, QPoint()), g.centralWidget()->size());
    const auto imBild = [&](QWidget *w, int rand) {
        return sicht.adjusted(0, 0, -rand, -rand)
            .contains(QRect(w->mapTo(&g, QPoint()), w->size()));
    };
    QStringList besucht;
    for (int i = 0; i < 40; ++i) {
        taste(Qt::Key_Tab);
        QWidget *f = QApplication::focusWidget();
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->isVisible() && imBild(f, 0)) << qPrintable(benannterTeil(f));
        if (besucht.contains(benannterTeil(f)))
            break;
        besucht << benannterTeil(f);
        EXPECT_EQ(kontakt->mapTo(g.centralWidget(), QPoint()), ursprung)
            << "scrolled at " << qPrintable(besucht.last());
    }
    EXPECT_TRUE(besucht.contains(QStringLiteral("TextS"))) << qPrintable(besucht.join(' '));
    if (QString::fromLatin1(GetParam().name) == QLatin1String("start")) {
        EXPECT_EQ(besucht, (QStringList{"KL1", "Command11", "Command20", "Check2", "Text7",
                                        "PicturePlay", "PicturePause", "PictureStop",
                                        "PictureWeiter", "kontakt", "beende3", "Combo2", "TextS"}));
    }
    // Everything of the upper part is whole and keeps off the window's edges.
    for (const char *name : {"Text7", "Picture3", "PicturePlay", "PicturePause", "PictureStop",
                             "PictureWeiter", "Check2", "Label16", "TextS", "KL1"}) {
        QWidget *w = control<QWidget>(name);
        EXPECT_TRUE(imBild(w, 2)) << name;
    }
    EXPECT_FALSE(control<QWidget>("Text7")->geometry().intersects(
        control<QWidget>("PicturePlay")->geometry()));
    EXPECT_FALSE(
        control<QWidget>("Label16")->geometry().intersects(control<QWidget>("KL1")->geometry()));
}

INSTANTIATE_TEST_SUITE_P(
    Ansichten, Gast1Ansicht,
    ::testing::Values(Ansicht{"start", {}, 3900},
                      Ansicht{"schmal", {{Qt::Key_U, Qt::ControlModifier}}, 0},
                      Ansicht{"kompakt", {{Qt::Key_T, Qt::ControlModifier}}, 2100},
                      Ansicht{"kompakt_und_zurueck",
                              {{Qt::Key_T, Qt::ControlModifier}, {Qt::Key_M, Qt::AltModifier}},
                              3120},
                      // The ring-code panel opened and closed while its field has the focus.
                      Ansicht{"klingelcode_auf_und_zu", {{Qt::Key_F9, {}}, {Qt::Key_F9, {}}}, 3900},
                      Ansicht{"ganze_breite", {{Qt::Key_F11, {}}}, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(Gast1Test, NarrowWindowKeepsIndicatorsMenusAndGuideInView)
{
    Gast1 &g = starte();
    const auto imFenster = [&](const char *name) {
        QWidget *w = control<QWidget>(name);
        const QRect r(w->mapTo(&g, QPoint(0, 0)), w->size());
        return g.rect().contains(r);
    };
    for (int breite : {9525, 7875}) {
        taste(breite == 7875 ? Qt::Key_U : Qt::Key_F, Qt::ControlModifier);
        QCoreApplication::processEvents();
        ASSERT_EQ(g.width(), breite / 15);
        for (const char *name : {"Picture3", "PicturePlay", "PicturePause", "PictureStop",
                                 "PictureWeiter", "Label16", "Combo2", "KL1"})
            EXPECT_TRUE(imFenster(name)) << name << " at " << breite;
        EXPECT_FALSE(control<QWidget>("Text7")->geometry().intersects(
            control<QWidget>("PicturePlay")->geometry()));
        // Every menu has its place in the bar: none is pushed into an overflow button.
        QMenuBar *leiste = g.menuBar();
        for (QAction *a : leiste->actions())
            EXPECT_LE(leiste->actionGeometry(a).right(), leiste->width())
                << qPrintable(a->text()) << " at " << breite;
        // The guide shows its whole text, on two lines if need be.
        auto *guide = control<QLabel>("Label16");
        EXPECT_GE(guide->height(), guide->heightForWidth(guide->width())) << breite;
        EXPECT_GE(guide->width() * (guide->height() / guide->fontMetrics().height()),
                  guide->fontMetrics().horizontalAdvance(guide->text()) - 4);
    }
    // The address field's design text fits into it.
    auto *combo = control<QComboBox>("Combo2");
    EXPECT_GE(combo->lineEdit()->width(),
              combo->fontMetrics().horizontalAdvance(combo->currentText()));
}

TEST_F(Gast1Test, RingCodePanelIsOpaqueAndLeavesTheStatusLine)
{
    starte();
    taste(Qt::Key_F9);
    QWidget *panel = control<QWidget>("Frame3");
    ASSERT_TRUE(panel->isVisible());
    EXPECT_TRUE(panel->autoFillBackground());
    EXPECT_FALSE(panel->geometry().intersects(control<QWidget>("Label9")->geometry()));
    // No line of the received text shows beneath it.
    const QRect text7 = control<QWidget>("Text7")->geometry();
    EXPECT_GE(panel->geometry().bottom(), text7.bottom());
    EXPECT_LE(panel->geometry().left(), text7.left());
}

TEST_F(Gast1Test, RingInMessageBoxModeReadsTheTextOnce)
{
    Gast1 &g = starte();
    QSignalSpy gesprochen(&programm->sprecher(), &SpeechComponent::spoken);
    // The bell window's alert box stays open a while, as when someone reads it.
    dialogs::setTestModalMs(1500);
    g.empfang().setIntervalle(300, 100, 100);
    QDir().mkpath(server.addressDir(QStringLiteral("test")));
    QFile f(server.addressDir(QStringLiteral("test")) + QStringLiteral("/Gast.txt"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#dingdong# Hallo\r\n");
    f.close();
    // Watching from the start, as with --watch test.
    g.lausche(QStringLiteral("test"));
    g.empfang().setIntervalle(300, 100, 100);
    ASSERT_TRUE(waitUntil(
        [&] {
            return dialogs::shown().contains(QStringLiteral("Achtung ein Gast hat geklingelt !"));
        },
        8000));
    QTest::qWait(2000);
    int hallo = 0;
    for (const auto &args : gesprochen)
        hallo += args.at(0).toString() == QStringLiteral("Hallo");
    EXPECT_EQ(hallo, 1);
    dialogs::setTestModalMs(0);
}

} // namespace

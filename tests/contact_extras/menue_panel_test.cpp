#include "contact/ContactFixture.h"

#include "bell/ui/Klingel2.h"
#include "contact_extras/ui/MenuePanel.h"
#include "help/ui/Hilfe2.h"
#include "help/ui/Hinweise.h"
#include "platform/ui/Fensterdienste.h"
#include "platform/ui/Twips.h"
#include "support/Eingabe.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace varnek;
using namespace varnek::test;

namespace
{

class MenuePanelTest : public ContactFixture
{
  protected:
    QWindow *fenster() { return programm->gast1()->windowHandle(); }

    // A working button below the visible part, clicked where it lies.
    void taste(int key, Qt::KeyboardModifiers mod = {})
    {
        test::taste(programm->gast1(), static_cast<Qt::Key>(key), mod);
    }
    void tippe(const QString &text) { test::tippeInFenster(programm->gast1(), text); }
    void waehleAdresse(const QString &adresse) { test::waehleAdresse(programm->gast1(), adresse); }
    QString hinweis() { return programm->hilfe2()->text(); }
    bool empfangen(const QString &text)
    {
        return waitUntil(
            [&] { return control<QPlainTextEdit>("Text7")->toPlainText().contains(text); }, 8000);
    }
    void legeAufServer(const QString &adresse, const QByteArray &inhalt)
    {
        server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/") + adresse +
                             QStringLiteral("/Gast.txt"),
                         inhalt);
    }
};

TEST_F(MenuePanelTest, CompactViewHidesTheMenusAndMenuButtonBringsThemBack)
{
    Gast1 &g = starte();
    auto *menuee = control<QPushButton>("Menuee");
    EXPECT_TRUE(g.menuBar()->isVisible());
    EXPECT_FALSE(menuee->isVisible());

    taste(Qt::Key_T, Qt::ControlModifier);
    EXPECT_TRUE(waitUntil([&] { return g.size() == QSize(twips(7875), twips(2100)); }))
        << g.width() << "x" << g.height();
    EXPECT_FALSE(g.menuBar()->isVisible());
    EXPECT_TRUE(menuee->isVisible());
    EXPECT_EQ(menuee->text(), QStringLiteral("&Menü öffnen"));
    // The button can be seen inside the compact window.
    EXPECT_TRUE(g.rect().contains(menuee->mapTo(&g, menuee->rect().bottomRight())));
    // The keys of the hidden menus still work.
    taste(Qt::Key_M, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>("TextS"));

    taste(Qt::Key_M, Qt::AltModifier);
    EXPECT_TRUE(waitUntil([&] { return g.height() == twips(3120); })) << g.height();
    EXPECT_EQ(g.width(), twips(7875));
    EXPECT_TRUE(g.menuBar()->isVisible());
    EXPECT_FALSE(menuee->isVisible());
    for (QAction *a : g.menuBar()->actions())
        EXPECT_TRUE(a->isVisible()) << qPrintable(a->text());
}

TEST_F(MenuePanelTest, LinkSendWritesTheTypedLineAndEmptiesTheSendBox)
{
    Gast1 &g = starte();
    klick(control<QPushButton>("kontakt"));
    ASSERT_TRUE(ftpFertig());
    ASSERT_TRUE(g.verbindung().verbunden());
    waehleAdresse(QStringLiteral("test"));
    auto *textS = control<QLineEdit>("TextS");
    ASSERT_EQ(QApplication::focusWidget(), textS);
    tippe(QStringLiteral("https://example.org/a?b=1"));
    taste(Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(ftpFertig());

    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("https://example.org/a?b=1\r\n"));
    EXPECT_EQ(lokal(QStringLiteral("Gast.txt")), QByteArray("https://example.org/a?b=1\r\n"));
    EXPECT_TRUE(textS->text().isEmpty());
    EXPECT_TRUE(g.List2.isEmpty());
    EXPECT_EQ(QApplication::focusWidget(), textS);

    // Lines left from before never go along with the link.
    g.List2 << QStringLiteral("alt");
    tippe(QStringLiteral("www.example.org"));
    taste(Qt::Key_L, Qt::ControlModifier);
    ASSERT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray("www.example.org\r\n"));
}

TEST_F(MenuePanelTest, FocusShortcutsMenusButtonsAndTheInvalidAddressPanel)
{
    starte();
    auto *textS = control<QLineEdit>("TextS");
    auto *combo2 = control<QComboBox>("Combo2");
    taste(Qt::Key_D, Qt::ControlModifier); // "Focus Textfeld 2.  Adresse "
    EXPECT_TRUE(combo2->hasFocus());
    // What is typed then replaces the address field's design text.
    for (const char c : QByteArray("info"))
        QTest::keyClick(QApplication::focusWidget(), c);
    EXPECT_EQ(combo2->currentText(), QStringLiteral("info"));
    taste(Qt::Key_M, Qt::ControlModifier); // "Focus Textfeld Gast  Senden "
    EXPECT_TRUE(textS->hasFocus());
    taste(Qt::Key_2, Qt::AltModifier); // foc&2
    EXPECT_TRUE(waitUntil([&] { return combo2->hasFocus(); }));
    taste(Qt::Key_1, Qt::AltModifier); // foc&1
    EXPECT_TRUE(waitUntil([&] { return textS->hasFocus(); }));

    // An address that does not exist shows the red panel; a click on it puts
    // the caret at the end of the address.
    waehleAdresse(QStringLiteral("gibtsnicht"));
    auto *panel = control<QLabel>("Picture28");
    ASSERT_TRUE(waitUntil([&] { return panel->isVisible(); }, 8000));
    taste(Qt::Key_M, Qt::ControlModifier);
    ASSERT_TRUE(textS->hasFocus());
    combo2->lineEdit()->setCursorPosition(0);
    klick(panel);
    EXPECT_TRUE(combo2->hasFocus());
    EXPECT_EQ(combo2->lineEdit()->cursorPosition(), combo2->currentText().size());
}

TEST_F(MenuePanelTest, HighlightingAMenuItemShowsItsCaptionInTheHintLine)
{
    Gast1 &g = starte();
    taste(Qt::Key_V, Qt::AltModifier); // opens "&Verbindung"
    ASSERT_TRUE(waitUntil([] { return QApplication::activePopupWidget() != nullptr; }));
    QWidget *popup = QApplication::activePopupWidget();
    auto *menu = qobject_cast<QMenu *>(popup);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), QStringLiteral("verbindung"));
    if (menu->activeAction() == nullptr)
        QTest::keyClick(popup, Qt::Key_Down);
    EXPECT_EQ(hinweis(), QStringLiteral("Lesen...."));
    QTest::keyClick(popup, Qt::Key_Down); // "Lesen-Stop"
    EXPECT_EQ(hinweis(), QStringLiteral("Lesen-Stop"));
    // A click beside the menu closes it and leaves the last hint.
    QTest::mouseClick(fenster(), Qt::LeftButton, {}, QPoint(g.width() - 5, g.height() - 5));
    EXPECT_TRUE(waitUntil([] { return QApplication::activePopupWidget() == nullptr; }));
    EXPECT_EQ(hinweis(), QStringLiteral("Lesen-Stop"));
}

TEST_F(MenuePanelTest, PasteTakesClipboardTextCutTo32767AndLeavesPicturesAlone)
{
    starte();
    auto *textS = control<QLineEdit>("TextS");
    auto *bild = control<QLabel>("ImageG");
    QClipboard *ablage = QApplication::clipboard();

    // The send box keeps the focus, so Enter sends what was pasted.
    taste(Qt::Key_M, Qt::ControlModifier);
    ablage->setText(QStringLiteral("Hallo"));
    klick(bild);
    EXPECT_EQ(textS->text(), QStringLiteral("Hallo"));
    EXPECT_EQ(QApplication::focusWidget(), textS);
    EXPECT_EQ(textS->cursorPosition(), 5);

    QString lang(40000, QLatin1Char('x'));
    lang[32766] = QLatin1Char('E');
    ablage->setText(lang);
    klick(bild);
    EXPECT_EQ(textS->text().size(), 32767);
    EXPECT_TRUE(textS->text().endsWith(QLatin1Char('E')));

    QImage foto(8, 8, QImage::Format_RGB32);
    foto.fill(Qt::red);
    ablage->setImage(foto);
    klick(bild);
    EXPECT_EQ(textS->text().size(), 32767);
}

TEST_F(MenuePanelTest, OnlyReceivedWebAddressesAreHandedToTheDesktop)
{
    starte();
    waehleAdresse(QStringLiteral("test"));
    auto *command11 = control<QPushButton>("Command11");

    legeAufServer(QStringLiteral("test"), "file:///etc/passwd\r\n");
    ASSERT_TRUE(empfangen(QStringLiteral("file:///etc/passwd")));
    klick(command11);
    EXPECT_TRUE(desktop::opened().isEmpty());
    EXPECT_EQ(dialogs::shown(), QStringList{MenuePanel::keineAdresseText()});

    legeAufServer(QStringLiteral("test"), "rm -rf ~\r\n");
    ASSERT_TRUE(empfangen(QStringLiteral("rm -rf ~")));
    taste(Qt::Key_B, Qt::ControlModifier); // "Link mit Standard Browser öffnen"
    EXPECT_TRUE(desktop::opened().isEmpty());
    EXPECT_EQ(dialogs::shown().size(), 2);

    legeAufServer(QStringLiteral("test"), "https://example.org/\r\n");
    ASSERT_TRUE(empfangen(QStringLiteral("https://example.org/")));
    taste(Qt::Key_B, Qt::ControlModifier);
    klick(command11);
    EXPECT_EQ(desktop::opened(), (QStringList{QStringLiteral("https://example.org/"),
                                              QStringLiteral("https://example.org/")}));
    EXPECT_EQ(dialogs::shown().size(), 2);
}

TEST_F(MenuePanelTest, FixedLinksDescriptionHelpAndBellWindow)
{
    Gast1 &g = starte();
    auto *links = g.findChild<QMenu *>(QStringLiteral("links1"));
    ASSERT_NE(links, nullptr);
    QStringList titel;
    for (QAction *a : links->actions())
        titel << (a->isSeparator() ? QStringLiteral("-") : a->text());
    EXPECT_EQ(titel, (QStringList{QStringLiteral("Link mit Standard Browser öffnen"),
                                  QStringLiteral("-"), QStringLiteral("codeberg.org"),
                                  QStringLiteral("espeak.sourceforge.net"), QStringLiteral("-"),
                                  QStringLiteral("www.ebay.de"), QStringLiteral("www.google.de")}));
    for (QAction *a : links->actions())
        if (!a->isSeparator() && a->objectName() != QLatin1String("linkmenue"))
            a->trigger();
    EXPECT_EQ(desktop::opened(), (QStringList{QStringLiteral("https://codeberg.org/"),
                                              QStringLiteral("https://espeak.sourceforge.net/"),
                                              QStringLiteral("https://www.ebay.de/"),
                                              QStringLiteral("https://www.google.de/")}));

    // The description page is found although the working folder is elsewhere.
    desktop::reset();
    g.menue().beschreibung()->trigger();
    ASSERT_EQ(desktop::opened().size(), 1);
    EXPECT_TRUE(desktop::opened().first().endsWith(QStringLiteral("/hilfe-Vx.html")));
    EXPECT_TRUE(QFileInfo::exists(desktop::opened().first()));

    // Automatic reading: the mark follows Ctrl+Q, help clears only the mark.
    QAction *hilfetex = g.menue().hilfeVorlesen();
    taste(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_TRUE(hilfetex->isChecked());
    EXPECT_TRUE(programm->hilfe2()->automatisch());
    taste(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(hilfetex->isChecked());
    EXPECT_FALSE(programm->hilfe2()->automatisch());
    taste(Qt::Key_Q, Qt::ControlModifier);
    taste(Qt::Key_F1);
    EXPECT_FALSE(hilfetex->isChecked());
    EXPECT_TRUE(programm->hilfe2()->automatisch());
    EXPECT_TRUE(programm->hilfe2()->isVisible());

    klick(control<QPushButton>("Command20"));
    ASSERT_NE(programm->klingel2WennGeladen(), nullptr);
    EXPECT_TRUE(programm->klingel2WennGeladen()->isVisible());
}

TEST_F(MenuePanelTest, KeepInForegroundFollowsTheBoxOnEveryRepaint)
{
    Gast1 &g = starte();
    auto *check2 = control<QCheckBox>("Check2");
    klick(check2);
    ASSERT_TRUE(check2->isChecked());
    EXPECT_TRUE(waitUntil([&] { return istImVordergrund(&g); }));
    EXPECT_TRUE(g.isVisible());

    // Whatever took the window out of the band, the next repaint puts it back.
    SetzeVordergrund(&g, false);
    g.update();
    EXPECT_TRUE(waitUntil([&] { return istImVordergrund(&g); }));

    klick(check2);
    EXPECT_FALSE(check2->isChecked());
    EXPECT_TRUE(waitUntil([&] { return !istImVordergrund(&g); }));
}

TEST_F(MenuePanelTest, HintsAndColoursOfThePanelControls)
{
    starte();
    auto *command11 = control<QPushButton>("Command11");
    auto *command20 = control<QPushButton>("Command20");
    EXPECT_EQ(Hinweise::background(command11), farbe::blau);
    command11->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(hinweis(), QStringLiteral("  Empfangene Internet-Adresse öffnen!"));
    EXPECT_EQ(Hinweise::background(command11), farbe::gelb);
    command20->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(hinweis(), QStringLiteral(" Klingelfenster öffnen"));
    EXPECT_EQ(Hinweise::background(command11), farbe::blau);
    EXPECT_EQ(Hinweise::background(command20), farbe::gelb);
    auto *check2 = control<QCheckBox>("Check2");
    check2->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(hinweis(), QStringLiteral(" Fenster in Vordergrund halten!"));
    EXPECT_EQ(check2->palette().color(QPalette::WindowText), farbe::gelb);
    EXPECT_EQ(Hinweise::background(command20), farbe::weiss);
    command11->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(check2->palette().color(QPalette::WindowText), farbe::weiss);
}

} // namespace

namespace
{
// Enter typed into the address field and the ring-code field reaches their
// handlers also when the key comes to the combo box, as it does from the keyboard.
TEST_F(MenuePanelTest, EnterTypedIntoTheAddressAndRingCodeFields)
{
    Gast1 &g = starte();
    waehleAdresse(QStringLiteral("info"));
    EXPECT_EQ(QApplication::focusWidget(), control<QLineEdit>("TextS"));
    EXPECT_TRUE(g.empfang().abrufTakt().isActive());
    EXPECT_TRUE(g.verbindung().pfad().endsWith(QStringLiteral("/vx/stillbox/vxvx/info")));

    taste(Qt::Key_F9); // the ring-code panel, focus in its field
    auto *combo3 = control<QComboBox>("Combo3");
    ASSERT_TRUE(waitUntil([&] { return combo3->hasFocus(); }));
    taste(Qt::Key_Home);
    taste(Qt::Key_End, Qt::ShiftModifier);
    tippe(QStringLiteral("#hallo#"));
    taste(Qt::Key_Return);
    EXPECT_EQ(control<QLineEdit>("TextS")->text(), QStringLiteral("#hallo#"));
    EXPECT_FALSE(combo3->isVisible());
}
} // namespace

#include "app/Programm.h"
#include "contact/SpeechComponent.h"
#include "contact/ui/Gast1.h"
#include "help/ui/Hilfe2.h"
#include "platform/ui/Dialogs.h"
#include "support/Eingabe.h"
#include "support/LocalServer.h"
#include "support/Schreibfehler.h"

#include <QApplication>
#include <QCheckBox>
#include <QEnterEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnek;
using varnek::test::mitte;

namespace
{

Einstellungen stummIn(const QString &ordner)
{
    Einstellungen e;
    e.programmOrdner = ordner;
    e.stumm = true;
    return e;
}

class Hilfe2Test : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        dialogs::setTestMode(true);
        ASSERT_TRUE(dir.isValid());
        hilfe = programm.hilfe2();
        label1 = hilfe->findChild<QLabel *>(QStringLiteral("Label1"));
        label2 = hilfe->findChild<QLabel *>(QStringLiteral("Label2"));
        check1 = hilfe->findChild<QCheckBox *>(QStringLiteral("Check1"));
        ASSERT_TRUE(label1 && label2 && check1);
    }

    // Keys go to the shown window, which hands them to the focus widget.
    void taste(Qt::Key key)
    {
        QApplication::setActiveWindow(hilfe);
        QTest::keyClick(hilfe->windowHandle(), key);
    }

    QString datei() const { return dir.filePath(QStringLiteral("Hilfe.txt")); }
    QByteArray hilfeTxt() const
    {
        QFile f(datei());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QStringList gesprochen() const
    {
        QStringList out;
        for (const auto &args : spy)
            out << args.at(0).toString();
        return out;
    }

    QTemporaryDir dir;
    Programm programm{stummIn(dir.path())};
    QSignalSpy spy{&programm.sprecher(), &SpeechComponent::spoken};
    QPointer<Hilfe2> hilfe;
    QLabel *label1 = nullptr;
    QLabel *label2 = nullptr;
    QCheckBox *check1 = nullptr;
};

} // namespace

TEST_F(Hilfe2Test, LoadsHiddenBlackWithNormalViewAndEmptyLine)
{
    EXPECT_FALSE(hilfe->isVisible());
    EXPECT_EQ(hilfe->windowTitle(), QStringLiteral("Hilfe-Fenster"));
    EXPECT_EQ(hilfe->size(), QSize(519, 110));
    EXPECT_EQ(hilfe->palette().color(QPalette::Window), QColor(Qt::black));
    EXPECT_EQ(label1->palette().color(QPalette::WindowText), QColor(255, 255, 0));
    EXPECT_TRUE(label1->text().isEmpty());
    EXPECT_TRUE(label2->isHidden());
    EXPECT_TRUE(check1->text().isEmpty());
    EXPECT_FALSE(check1->isChecked());
    EXPECT_FALSE(hilfe->automatisch());
}

TEST_F(Hilfe2Test, WithoutAutomaticReadingTextChangesButNothingIsWrittenOrSpoken)
{
    programm.hinweis(QStringLiteral("  Erster Hinweis"));
    hilfe->setText(QStringLiteral("<b>Zweiter</b> Hinweis"));

    EXPECT_EQ(label1->text(), QStringLiteral("<b>Zweiter</b> Hinweis"));
    EXPECT_EQ(label2->text(), label1->text());
    EXPECT_EQ(hilfe->text(), label1->text());
    EXPECT_FALSE(QFile::exists(datei()));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(Hilfe2Test, AutomaticReadingWritesAndSpeaksEveryChange)
{
    hilfe->setAutomatisch(true); // empty text: the file is written, nothing is heard
    EXPECT_EQ(hilfeTxt(), QByteArray("\r\n"));
    EXPECT_EQ(spy.count(), 0);

    const QStringList texte{QStringLiteral("Eins"), QStringLiteral("Zwei"),
                            QStringLiteral("Grüße")};
    const QList<QByteArray> dateien{"Eins\r\n", "Zwei\r\n",
                                    "Gr\xfc\xdf"
                                    "e\r\n"};
    for (int i = 0; i < texte.size(); ++i) {
        hilfe->setText(texte.at(i));
        EXPECT_EQ(hilfeTxt(), dateien.at(i));
        EXPECT_EQ(hilfe->List1(), QStringList{texte.at(i)});
    }
    EXPECT_EQ(gesprochen(), texte);

    // The same text again is no change; a new one is read again.
    hilfe->setText(QStringLiteral("Grüße"));
    hilfe->setText(QStringLiteral("Eins"));
    EXPECT_EQ(spy.count(), 4);
}

// A "Hilfe.txt" that cannot be written is said once, not at every hint, and
// again after a write that worked; the text is still read aloud.
TEST_F(Hilfe2Test, AFullDiskIsSaidOnceUntilHilfeTxtCanBeWrittenAgain)
{
    hilfe->setAutomatisch(true);
    hilfe->setText(QStringLiteral("Eins"));
    dialogs::clearShown();
    const QString voll = QStringLiteral("Achtung : Datenträger voll [Hilfe.txt]!");
    {
        test::SchreibProbe probe(ENOSPC, 0);
        hilfe->setText(QStringLiteral("Zwei"));
        hilfe->setText(QStringLiteral("Drei"));
    }
    EXPECT_EQ(dialogs::shown(), QStringList{voll});
    EXPECT_EQ(hilfeTxt(), QByteArray("Eins\r\n"));
    EXPECT_EQ(gesprochen().size(), 3);
    hilfe->setText(QStringLiteral("Vier"));
    {
        test::SchreibProbe probe(ENOSPC, 0);
        hilfe->setText(QStringLiteral("F\u00fcnf"));
    }
    EXPECT_EQ(dialogs::shown(), (QStringList{voll, voll}));
}

TEST_F(Hilfe2Test, TickingReadsOnlyOnChangeAndUntickingStopsAutomaticReading)
{
    hilfe->setText(QStringLiteral("Schon da"));
    check1->setChecked(true); // as the user's click does
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Schon da")});
    hilfe->setAutomatisch(true); // already ticked: no second reading
    EXPECT_EQ(spy.count(), 1);

    hilfe->setAutomatisch(false);
    hilfe->setText(QStringLiteral("Neu"));
    EXPECT_EQ(spy.count(), 1);
}

TEST_F(Hilfe2Test, KeysWorkWhicheverControlHasTheFocus)
{
    hilfe->zeigen();
    hilfe->setText(QStringLiteral("Vorlesen"));

    ASSERT_TRUE(QTest::qWaitForWindowExposed(hilfe));
    // The mouse rests on the text, away from the check box and its hint.
    QTest::mouseMove(hilfe->windowHandle(), mitte(label1));
    QCoreApplication::processEvents();
    hilfe->setText(QStringLiteral("Vorlesen"));
    check1->setFocus(Qt::TabFocusReason); // the check box itself has the focus
    taste(Qt::Key_F7);
    EXPECT_TRUE(check1->isChecked());
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Vorlesen")});

    check1->clearFocus();
    taste(Qt::Key_F8);
    EXPECT_FALSE(check1->isChecked());
    hilfe->setText(QStringLiteral("Still"));
    EXPECT_EQ(spy.count(), 1);

    check1->setFocus(Qt::TabFocusReason);
    taste(Qt::Key_F2);
    taste(Qt::Key_F3); // stop: nothing more is heard
    EXPECT_EQ(gesprochen(), (QStringList{QStringLiteral("Vorlesen"), QStringLiteral("Still")}));

    taste(Qt::Key_Escape);
    EXPECT_TRUE(test::waitUntil([&] { return hilfe.isNull(); }, 2000));
    EXPECT_EQ(programm.hilfe2WennGeladen(), nullptr);
}

TEST_F(Hilfe2Test, LineBreaksAreWrittenUnchangedWithOneLineEnd)
{
    hilfe->setText(QStringLiteral("Zeile eins\r\nZeile zwei"));
    hilfe->Play();
    EXPECT_EQ(hilfeTxt(), QByteArray("Zeile eins\r\nZeile zwei\r\n"));
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Zeile eins Zeile zwei")});
}

TEST_F(Hilfe2Test, ClickReadsAndDoubleClickSwitchesViews)
{
    hilfe->zeigen();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(hilfe));
    hilfe->setText(QStringLiteral("Klick"));
    QWindow *w = hilfe->windowHandle();
    QTest::mouseClick(w, Qt::LeftButton, {}, mitte(label1));
    EXPECT_EQ(spy.count(), 1);
    QTest::mouseClick(w, Qt::RightButton, {}, mitte(label1));
    EXPECT_EQ(spy.count(), 1);

    QTest::mouseDClick(w, Qt::LeftButton, {}, mitte(label1));
    EXPECT_GE(spy.count(), 2);
    EXPECT_TRUE(label2->isVisible());
    EXPECT_EQ(label2->text(), QStringLiteral("Klick"));
    EXPECT_EQ(label2->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_EQ(hilfe->frameGeometry().width(), 11415 / 15);

    const int gelesen = spy.count();
    QTest::mouseDClick(w, Qt::LeftButton, {}, mitte(label2));
    EXPECT_FALSE(label2->isVisible());
    EXPECT_EQ(hilfe->frameGeometry().width(), 7875 / 15);
    EXPECT_EQ(spy.count(), gelesen);
}

TEST_F(Hilfe2Test, MouseOverCheckBoxWritesItsHint)
{
    hilfe->zeigen();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(hilfe));
    QTest::mouseMove(hilfe->windowHandle(), mitte(check1));
    QCoreApplication::processEvents();
    EXPECT_EQ(hilfe->text(),
              QStringLiteral("Den Hilfetext automatisch vorlesen lassen!      [F8]!"));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(Hilfe2Test, DocksAboveTheContactWindowOrAnotherWindow)
{
    Gast1 *gast = programm.gast1();
    gast->move(300, 400);
    hilfe->zeigen();
    hilfe->platziereUeber(gast, gast->sendeFeld(), 10, false);
    EXPECT_TRUE(test::waitUntil([&] { return hilfe->pos() == QPoint(300, 260); }, 2000));

    // The newest request wins: the pending contact window placement is dropped.
    QWidget buch;
    buch.move(200, 30);
    buch.show();
    hilfe->platziereUeber(gast, gast->sendeFeld(), 20, false);
    hilfe->platziereUeber(&buch, nullptr, 10);
    // No room above it: the help window docks below.
    const QPoint unten(200, buch.frameGeometry().bottom() + 1);
    EXPECT_TRUE(test::waitUntil([&] { return hilfe->pos() == unten; }, 2000));
    QTest::qWait(60);
    EXPECT_EQ(hilfe->pos(), unten);
}

TEST_F(Hilfe2Test, DockedHelpStaysOnScreenAndLeavesTheContactWindowFree)
{
    Gast1 *gast = programm.gast1();
    gast->show();
    const QRect schirm = gast->screen()->availableGeometry();
    for (int oben : {schirm.top(), schirm.top() + 60, schirm.top() + 400}) {
        gast->move(schirm.left() + 50, oben);
        hilfe->zeigen();
        hilfe->platziereUeber(gast, gast->sendeFeld(), 10, false);
        QTest::qWait(80);
        const QRect h = hilfe->frameGeometry();
        EXPECT_TRUE(schirm.contains(h)) << oben;
        // Menu bar, address field and send box stay uncovered.
        for (const char *name : {"Combo2", "TextS"}) {
            QWidget *c = gast->findChild<QWidget *>(QString::fromLatin1(name));
            EXPECT_FALSE(h.intersects(QRect(c->mapToGlobal(QPoint(0, 0)), c->size())))
                << name << " " << oben;
        }
        QWidget *menue = gast->menuWidget();
        EXPECT_FALSE(h.intersects(QRect(menue->mapToGlobal(QPoint(0, 0)), menue->size()))) << oben;
    }
}

TEST_F(Hilfe2Test, CheckBoxIsSeenOnTheBlackWindow)
{
    hilfe->zeigen();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(hilfe));
    const QImage bild = check1->grab().toImage();
    int hell = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            hell += qGray(bild.pixel(x, y)) > 160;
    EXPECT_GT(hell, bild.width() * bild.height() / 4);
}

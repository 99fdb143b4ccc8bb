#include "bell/ui/Klingel2.h"
#include "bell/RingLog.h"
#include "platform/Zeitgeber.h"

#include "app/Programm.h"
#include "contact/ui/Gast1.h"
#include "help/ui/Hilfe2.h"
#include "help/ui/Hinweise.h"
#include "platform/AnsiText.h"
#include "platform/Clock.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "support/LocalServer.h"

#include "support/Schreibfehler.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

using namespace varnek;

namespace
{

const QString meldung = QStringLiteral("Achtung ein Gast hat geklingelt !");

void warte(int ms)
{
    test::waitUntil([] { return false; }, ms);
}

// Input as the platform delivers it: the window is on screen, a click lands
// at the control's place in the window, keys go to the window, which hands
// them to the control with the focus.
QWindow *zeige(QWidget *w)
{
    QWidget *fenster = w->window();
    if (!fenster->isVisible()) {
        fenster->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(fenster));
    }
    QApplication::setActiveWindow(fenster);
    return fenster->windowHandle();
}

void klickAuf(QWidget *w)
{
    QWindow *fenster = zeige(w);
    QTest::mouseClick(fenster, Qt::LeftButton, {}, w->mapTo(w->window(), w->rect().center()));
}

void mausAuf(QWidget *w, QPoint wo = {-1, -1})
{
    QWindow *fenster = zeige(w);
    if (wo.x() < 0)
        wo = w->rect().center();
    QTest::mouseMove(fenster, w->mapTo(w->window(), wo));
    QCoreApplication::processEvents();
}

// The focus goes to w (as by Tab or a click), then the key is pressed.
void tasteIn(QWidget *w, Qt::Key key)
{
    QWindow *fenster = zeige(w);
    w->setFocus(Qt::TabFocusReason);
    QTest::keyClick(fenster, key);
}

class KlingelFenster : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        dialogs::setTestMode(true);
        dialogs::clearShown();
        desktop::setTestMode(true);
        altesVerzeichnis = QDir::currentPath();
        QDir::setCurrent(dir.path());
        clock::setNow([] { return QDateTime(QDate(2026, 12, 7), QTime(14, 35, 12)); });
        Einstellungen e;
        e.programmOrdner = dir.path();
        e.stumm = true;
        programm = std::make_unique<Programm>(e);
    }

    void TearDown() override
    {
        programm.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        clock::setNow({});
        QDir::setCurrent(altesVerzeichnis);
    }

    QString pfad(const QString &name) const { return dir.filePath(name); }
    void schreibe(const QString &name, const QByteArray &bytes) const
    {
        QFile f(pfad(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray lies(const QString &name) const
    {
        return ansi::readFile(pfad(name)).value_or(QByteArray());
    }
    void modus(int option)
    {
        ASSERT_TRUE(ringlog::schreibeModus(pfad(QStringLiteral("Kling")), option));
    }
    void text7(const QString &text)
    {
        programm->gast1()->findChild<QPlainTextEdit *>(QStringLiteral("Text7"))->setPlainText(text);
    }

    // What the contact window does on a ring.
    Klingel2 *klingeln()
    {
        Klingel2 *k = programm->klingel2();
        k->zeigen();
        k->klingelnEmpfangen(programm->gast1()->text7());
        return k;
    }
    // Closed windows are deleted when the event loop comes round.
    void aufraeumen() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  public:
    static QListWidget *liste(Klingel2 *k)
    {
        return k->findChild<QListWidget *>(QStringLiteral("List1"));
    }
    static QStringList eintraege(Klingel2 *k)
    {
        QStringList l;
        for (int i = 0; i < liste(k)->count(); ++i)
            l << liste(k)->item(i)->text();
        return l;
    }
    static QPushButton *knopf(Klingel2 *k, const char *name)
    {
        return k->findChild<QPushButton *>(QString::fromLatin1(name));
    }
    static QRadioButton *option(Klingel2 *k, int index)
    {
        for (QRadioButton *o : k->findChildren<QRadioButton *>(QStringLiteral("Option1")))
            if (o->property("Index").toInt() == index)
                return o;
        return nullptr;
    }
    static QColor schrift(Klingel2 *k)
    {
        return k->findChild<QLabel *>(QStringLiteral("Label1"))
            ->palette()
            .color(QPalette::WindowText);
    }

  protected:
    QTemporaryDir dir;
    QString altesVerzeichnis;
    std::unique_ptr<Programm> programm;
};

TEST_F(KlingelFenster, LoadWithoutModeFileShowsMessageAndLoadsLog)
{
    schreibe(QStringLiteral("aufnahme.txt"), "06.12.26..10:00.eins\r\n06.12.26..11:00.zwei\r\n");
    Klingel2 *k = programm->klingel2();

    EXPECT_EQ(dialogs::shown(), QStringList{meldung});
    EXPECT_EQ(k->gewaehlteOption(), -1);
    EXPECT_EQ(eintraege(k), (QStringList{QStringLiteral("06.12.26..10:00.eins"),
                                         QStringLiteral("06.12.26..11:00.zwei")}));
    EXPECT_EQ(k->findChild<QLabel *>(QStringLiteral("Label3"))->text(), QStringLiteral("14:35:12"));
    EXPECT_EQ(liste(k)->geometry(), QRect(8, 112, 225, 82));
    // Mode 0 has no sound and nothing that fires.
    EXPECT_FALSE(k->Timer1().laeuft());
    EXPECT_FALSE(k->Timer2().laeuft());
    EXPECT_TRUE(k->Timer3().laeuft());
    EXPECT_TRUE(k->Timer4().laeuft());
    EXPECT_EQ(desktop::beeps(), 0);
}

TEST_F(KlingelFenster, RingLogsTheReceivedTextHalfASecondLater)
{
    text7(QStringLiteral("Hallo"));
    Klingel2 *k = klingeln();
    EXPECT_TRUE(k->isVisible());
    EXPECT_TRUE(eintraege(k).isEmpty());
    ASSERT_TRUE(test::waitUntil([&] { return liste(k)->count() == 1; }, 3000));
    EXPECT_EQ(eintraege(k), QStringList{QStringLiteral("07.12.26..14:35.Hallo")});
    EXPECT_FALSE(k->Timer5().laeuft());

    // A second ring while the window is open: another entry, no new alert.
    clock::setNow([] { return QDateTime(QDate(2026, 12, 7), QTime(14, 36, 0)); });
    text7(QStringLiteral("Noch mal"));
    EXPECT_EQ(klingeln(), k);
    warte(100);
    EXPECT_EQ(liste(k)->count(), 1);
    ASSERT_TRUE(test::waitUntil([&] { return liste(k)->count() == 2; }, 3000));
    EXPECT_EQ(eintraege(k).last(), QStringLiteral("07.12.26..14:36.Noch mal"));
    EXPECT_EQ(dialogs::shown(), QStringList{meldung});

    // The bell menu logs at once.
    k->trageEin(programm->gast1()->text7());
    EXPECT_EQ(liste(k)->count(), 3);
}

TEST_F(KlingelFenster, ReceivedTextWithLineBreaksGivesOneEntry)
{
    text7(QStringLiteral("Hallo\r\nwie geht's?\r\n"));
    Klingel2 *k = programm->klingel2();
    k->trageEin(programm->gast1()->text7());
    EXPECT_EQ(eintraege(k), QStringList{QStringLiteral("07.12.26..14:35.Hallo wie geht's?")});
    klickAuf(knopf(k, "speichermList1"));
    EXPECT_EQ(lies(QStringLiteral("aufnahme.txt")),
              QByteArray("07.12.26..14:35.Hallo wie geht's?\r\n"));
}

TEST_F(KlingelFenster, SingleRingBeepsTwiceAfterOneSecond)
{
    modus(2);
    QElapsedTimer uhr;
    uhr.start();
    Klingel2 *k = klingeln();
    EXPECT_TRUE(dialogs::shown().isEmpty());
    EXPECT_EQ(k->gewaehlteOption(), 2);
    EXPECT_EQ(desktop::beeps(), 0);
    ASSERT_TRUE(test::waitUntil([] { return desktop::beeps() >= 2; }, 3000));
    EXPECT_GE(uhr.elapsed(), 900);
    EXPECT_FALSE(k->Timer1().laeuft());
    EXPECT_FALSE(k->Timer2().laeuft());
    // Label1 has flashed light yellow by now.
    EXPECT_EQ(schrift(k), farbe::gelb);
    warte(600);
    EXPECT_EQ(desktop::beeps(), 2);
}

TEST_F(KlingelFenster, RepeatRingSurfacesAndBeepsEveryThreeSeconds)
{
    modus(1);
    QElapsedTimer uhr;
    uhr.start();
    Klingel2 *k = programm->klingel2(); // loaded but not shown
    EXPECT_TRUE(dialogs::shown().isEmpty());
    EXPECT_TRUE(k->Timer1().laeuft());
    EXPECT_FALSE(k->isVisible());

    // The alert line alternates: light yellow after one second, white after two.
    ASSERT_TRUE(test::waitUntil([&] { return uhr.elapsed() >= 1300; }, 5000));
    EXPECT_EQ(schrift(k), farbe::gelb);
    ASSERT_TRUE(test::waitUntil([&] { return uhr.elapsed() >= 2400; }, 5000));
    EXPECT_EQ(schrift(k), farbe::weiss);
    EXPECT_EQ(desktop::beeps(), 0);

    ASSERT_TRUE(test::waitUntil([] { return desktop::beeps() >= 1; }, 3000));
    EXPECT_GE(uhr.elapsed(), 2900);
    EXPECT_TRUE(k->isVisible());
    ASSERT_TRUE(test::waitUntil([&] { return uhr.elapsed() >= 3300; }, 5000));
    EXPECT_EQ(schrift(k), farbe::gelb);
    ASSERT_TRUE(test::waitUntil([] { return desktop::beeps() >= 9; }, 3000));
    EXPECT_TRUE(k->Timer1().laeuft());

    // OK stops it for good.
    QPointer<Klingel2> fenster = k;
    klickAuf(knopf(k, "Command2"));
    aufraeumen();
    EXPECT_TRUE(fenster.isNull());
    EXPECT_EQ(programm->klingel2WennGeladen(), nullptr);
}

TEST_F(KlingelFenster, RepeatRingStopsOnListClickReadOrOptionClick)
{
    schreibe(QStringLiteral("aufnahme.txt"), "06.12.26..10:00.eins\r\n");
    modus(1);
    for (int weg = 0; weg < 3; ++weg) {
        SCOPED_TRACE(weg);
        Klingel2 *k = programm->klingel2();
        ASSERT_TRUE(k->Timer1().laeuft());
        switch (weg) {
        case 0: {
            k->zeigen();
            QListWidget *l = liste(k);
            QWindow *fenster = zeige(l);
            QTest::mouseClick(fenster, Qt::LeftButton, {},
                              l->viewport()->mapTo(k, l->visualItemRect(l->item(0)).center()));
            EXPECT_EQ(k->gewaehlterEintrag(), QStringLiteral("06.12.26..10:00.eins"));
            break;
        }
        case 1:
            klickAuf(knopf(k, "lese1"));
            break;
        case 2:
            klickAuf(option(k, 1));
            break;
        }
        EXPECT_FALSE(k->Timer1().laeuft());
        // The flashing goes on.
        EXPECT_TRUE(k->Timer3().laeuft());
        k->close();
        aufraeumen();
        ASSERT_EQ(programm->klingel2WennGeladen(), nullptr);
    }
    EXPECT_EQ(desktop::beeps(), 0);
}

TEST_F(KlingelFenster, OptionClickStoresModeForNextLoad)
{
    Klingel2 *k = programm->klingel2();
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("Kling"))));
    klickAuf(option(k, 2));
    EXPECT_EQ(lies(QStringLiteral("Kling")), QByteArray("False\r\nFalse\r\nTrue\r\n"));
    // The new mode applies to the next alert only.
    EXPECT_FALSE(k->Timer2().laeuft());
    klickAuf(option(k, 0));
    klickAuf(option(k, 1));
    EXPECT_EQ(lies(QStringLiteral("Kling")), QByteArray("False\r\nTrue\r\nFalse\r\n"));
    k->bestaetige();
    aufraeumen();

    dialogs::clearShown();
    k = programm->klingel2();
    EXPECT_EQ(k->gewaehlteOption(), 1);
    EXPECT_TRUE(option(k, 1)->isChecked());
    EXPECT_EQ(k->Timer1().interval(), 3000);
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

TEST_F(KlingelFenster, EntryWithCommasAndQuotesSurvivesSaveAndLoad)
{
    const QString text = QStringLiteral("Hallo, \"Gast\", 1,2; Grüße");
    text7(text);
    Klingel2 *k = programm->klingel2();
    k->trageEin(programm->gast1()->text7());
    klickAuf(knopf(k, "speichermList1"));
    EXPECT_TRUE(dialogs::shown() == QStringList{meldung});
    k->bestaetige();
    aufraeumen();

    k = programm->klingel2();
    EXPECT_EQ(eintraege(k), QStringList{QStringLiteral("07.12.26..14:35.") + text});
}

TEST_F(KlingelFenster, LoadButtonAppendsTheLogAgain)
{
    schreibe(QStringLiteral("aufnahme.txt"), "a\r\nb\r\n");
    Klingel2 *k = programm->klingel2();
    klickAuf(knopf(k, "laden"));
    EXPECT_EQ(eintraege(k), (QStringList{QStringLiteral("a"), QStringLiteral("b"),
                                         QStringLiteral("a"), QStringLiteral("b")}));
    // Without a file it does nothing.
    QFile::remove(pfad(QStringLiteral("aufnahme.txt")));
    klickAuf(knopf(k, "laden"));
    EXPECT_EQ(liste(k)->count(), 4);
}

// A log that cannot be saved stays whole on disk, and the message says why.
struct LogFehler {
    int fehlerNummer; // 0: "aufnahme.txt" marked read-only
    const char *meldung;
};

class KlingelLogFehler : public KlingelFenster, public ::testing::WithParamInterface<LogFehler>
{
};

TEST_P(KlingelLogFehler, SavingLeavesTheOldLogAndSaysWhy)
{
    schreibe(QStringLiteral("aufnahme.txt"), "alt\r\n");
    if (!GetParam().fehlerNummer)
        QFile::setPermissions(pfad(QStringLiteral("aufnahme.txt")),
                              QFile::ReadOwner | QFile::ReadGroup);
    Klingel2 *k = programm->klingel2();
    k->trageEin(programm->gast1()->text7());
    dialogs::clearShown();
    {
        std::optional<test::SchreibProbe> probe;
        if (GetParam().fehlerNummer)
            probe.emplace(GetParam().fehlerNummer, 10);
        klickAuf(knopf(k, "speichermList1"));
    }
    EXPECT_EQ(dialogs::shown(), QStringList{QString::fromUtf8(GetParam().meldung)});
    EXPECT_EQ(lies(QStringLiteral("aufnahme.txt")), QByteArray("alt\r\n"));
}

INSTANTIATE_TEST_SUITE_P(
    Klingel2, KlingelLogFehler,
    ::testing::Values(LogFehler{0, "Achtung : Schreibschutz entfernen [aufnahme.txt]!"},
                      LogFehler{ENOSPC, "Achtung : Datenträger voll [aufnahme.txt]!"},
                      LogFehler{EROFS, "Achtung : Ordner schreibgeschützt [aufnahme.txt]!"}));

// A mode that cannot be stored is said at the click; "Kling" stays as it was.
TEST_F(KlingelFenster, OptionClickThatCannotStoreTheModeSaysWhy)
{
    const struct {
        int fehlerNummer; // 0: "Kling" marked read-only
        const char *meldung;
    } faelle[] = {{0, "Achtung : Schreibschutz entfernen [Kling]!"},
                  {ENOSPC, "Achtung : Datenträger voll [Kling]!"}};
    for (const auto &f : faelle) {
        modus(0);
        if (!f.fehlerNummer)
            QFile::setPermissions(pfad(QStringLiteral("Kling")), QFile::ReadOwner);
        Klingel2 *k = programm->klingel2();
        dialogs::clearShown();
        {
            std::optional<test::SchreibProbe> probe;
            if (f.fehlerNummer)
                probe.emplace(f.fehlerNummer, 0);
            klickAuf(option(k, 2));
        }
        EXPECT_EQ(dialogs::shown(), QStringList{QString::fromUtf8(f.meldung)});
        EXPECT_EQ(lies(QStringLiteral("Kling")), QByteArray("True\r\nFalse\r\nFalse\r\n"));
        EXPECT_TRUE(option(k, 2)->isChecked());
        QFile::setPermissions(pfad(QStringLiteral("Kling")), QFile::ReadOwner | QFile::WriteOwner);
        k->bestaetige();
        aufraeumen();
    }
}

TEST_F(KlingelFenster, ClearingAndClosingLeavesTheFile)
{
    schreibe(QStringLiteral("aufnahme.txt"), "a\r\nb\r\n");
    Klingel2 *k = programm->klingel2();
    k->trageEin(programm->gast1()->text7());
    klickAuf(knopf(k, "loesche1"));
    EXPECT_EQ(liste(k)->count(), 0);
    tasteIn(liste(k), Qt::Key_Escape);
    aufraeumen();
    EXPECT_EQ(programm->klingel2WennGeladen(), nullptr);
    EXPECT_EQ(lies(QStringLiteral("aufnahme.txt")), QByteArray("a\r\nb\r\n"));
}

TEST_F(KlingelFenster, ReadWritesQuotedEntryAndSetsHelpText)
{
    schreibe(QStringLiteral("aufnahme.txt"), "06.12.26..10:00.eins\r\n06.12.26..11:00.zwei\r\n");
    Klingel2 *k = programm->klingel2();
    liste(k)->setCurrentRow(1);
    EXPECT_EQ(k->gewaehlterEintrag(), QStringLiteral("06.12.26..11:00.zwei"));

    // Enter in the list reads the selection.
    tasteIn(liste(k), Qt::Key_Return);
    EXPECT_EQ(programm->hilfe2()->text(), QStringLiteral("06.12.26..11:00.zwei"));
    EXPECT_EQ(lies(QStringLiteral("Hilfe.txt")), QByteArray("\"06.12.26..11:00.zwei\"\r\n"));

    // F2 with the focus anywhere in the window does the same.
    liste(k)->setCurrentRow(0);
    tasteIn(knopf(k, "laden"), Qt::Key_F2);
    EXPECT_EQ(lies(QStringLiteral("Hilfe.txt")), QByteArray("\"06.12.26..10:00.eins\"\r\n"));
    EXPECT_EQ(liste(k)->count(), 2);

    // A "Hilfe.txt" that cannot be written gives the error.
    QFile::remove(pfad(QStringLiteral("Hilfe.txt")));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("Hilfe.txt")));
    dialogs::clearShown();
    klickAuf(knopf(k, "lese1"));
    ASSERT_EQ(dialogs::shown().size(), 1);
    EXPECT_FALSE(dialogs::shown().first().isEmpty());
}

TEST_F(KlingelFenster, KeysAndSmallButtons)
{
    Klingel2 *k = programm->klingel2();
    klickAuf(knopf(k, "Command4"));
    EXPECT_EQ(desktop::opened(), QStringList{pfad(QStringLiteral("aufnahme.txt"))});

    tasteIn(option(k, 0), Qt::Key_F1);
    ASSERT_NE(programm->hilfe2WennGeladen(), nullptr);
    EXPECT_TRUE(programm->hilfe2()->isVisible());

    // Clicking the alert line turns it light yellow.
    auto *label1 = k->findChild<QLabel *>(QStringLiteral("Label1"));
    klickAuf(label1);
    EXPECT_EQ(schrift(k), farbe::gelb);
}

TEST_F(KlingelFenster, HintsAndButtonHighlights)
{
    Klingel2 *k = programm->klingel2();
    zeige(k);
    liste(k)->setFocus(Qt::TabFocusReason);
    mausAuf(knopf(k, "laden"));
    EXPECT_EQ(programm->hilfe2()->text(), QStringLiteral(" Lade-Klingelbuch!"));
    EXPECT_EQ(Hinweise::background(knopf(k, "laden")), farbe::gelb);

    // OK lights up without resetting the others ...
    knopf(k, "Command2")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(programm->hilfe2()->text(), QStringLiteral(" OK Fenster zu!"));
    EXPECT_EQ(Hinweise::background(knopf(k, "Command2")), farbe::gelb);
    EXPECT_EQ(Hinweise::background(knopf(k, "laden")), farbe::gelb);
    // ... and losing the focus resets all six.
    liste(k)->setFocus(Qt::TabFocusReason);
    for (const char *name :
         {"laden", "loesche1", "speichermList1", "Command4", "lese1", "Command2"})
        EXPECT_EQ(Hinweise::background(knopf(k, name)), farbe::weiss) << name;

    mausAuf(knopf(k, "loesche1"));
    EXPECT_EQ(programm->hilfe2()->text(), QStringLiteral(" Lösche-Klingelbuch!"));
    mausAuf(option(k, 2));
    EXPECT_EQ(programm->hilfe2()->text(), QStringLiteral(" Klingel Intervall ein und aus!"));
    EXPECT_EQ(Hinweise::background(knopf(k, "loesche1")), farbe::gelb);
    // The window background resets.
    mausAuf(k, QPoint(2, 2));
    EXPECT_EQ(Hinweise::background(knopf(k, "loesche1")), farbe::weiss);
}

TEST_F(KlingelFenster, ClosingBeforeTheDelayedEntryIsSafe)
{
    modus(1);
    Klingel2 *k = klingeln();
    QPointer<Klingel2> fenster = k;
    k->close();
    EXPECT_FALSE(k->Timer1().laeuft());
    EXPECT_FALSE(k->Timer3().laeuft());
    EXPECT_FALSE(k->Timer5().laeuft());
    warte(700);
    aufraeumen();
    EXPECT_TRUE(fenster.isNull());
    EXPECT_EQ(desktop::beeps(), 0);
}

// "Klingeln bis Antwort": the ring repeats until the user answers in the window.
class KlingelnBisAntwort : public KlingelFenster
{
  protected:
    void SetUp() override
    {
        KlingelFenster::SetUp();
        clock::setNow([this] { return jetzt; });
    }
    // Mode 0 (a message box, no sound of its own) with the option on.
    void bisAntwortAn() { schreibe(QStringLiteral("Kling"), "True\r\nFalse\r\nFalse\r\nTrue\r\n"); }
    Klingel2 *klingelnSchnell()
    {
        Klingel2 *k = klingeln();
        // Long enough for the three beeps of one repeat (150 ms apart).
        k->setzeWiederholAbstand(400);
        return k;
    }
    static QCheckBox *check1(Klingel2 *k)
    {
        return k->findChild<QCheckBox *>(QStringLiteral("Check1"));
    }

    QDateTime jetzt{QDate(2026, 12, 7), QTime(14, 35, 12)};
};

struct Antwort {
    const char *wie;
    std::function<void(Klingel2 *)> gib;
};

void PrintTo(const Antwort &a, std::ostream *os)
{
    *os << a.wie;
}

class KlingelAntwort : public KlingelnBisAntwort, public ::testing::WithParamInterface<Antwort>
{
};

TEST_P(KlingelAntwort, RepeatsUntilAnsweredThenLogsTheAnswer)
{
    bisAntwortAn();
    text7(QStringLiteral("Hallo"));
    Klingel2 *k = klingelnSchnell();
    EXPECT_TRUE(check1(k)->isChecked());
    ASSERT_TRUE(test::waitUntil([&] { return liste(k)->count() == 1; }, 3000));
    // Hidden again, the next repeat brings the window back with its beeps.
    k->hide();
    ASSERT_TRUE(test::waitUntil([] { return desktop::beeps() >= 6; }, 3000));
    EXPECT_TRUE(test::waitUntil([&] { return k->isVisible(); }, 1000));
    EXPECT_TRUE(k->klingeltBisAntwort());

    jetzt = jetzt.addSecs(28);
    GetParam().gib(k);
    EXPECT_FALSE(k->klingeltBisAntwort());
    EXPECT_EQ(eintraege(k).mid(0, 2), (QStringList{QStringLiteral("07.12.26..14:35.Hallo"),
                                                   QStringLiteral("beantwortet 14:35:40")}));
    warte(200);
    const int beeps = desktop::beeps();
    warte(200);
    EXPECT_EQ(desktop::beeps(), beeps);
    EXPECT_EQ(eintraege(k).count(QStringLiteral("beantwortet 14:35:40")), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Klingel2, KlingelAntwort,
    ::testing::Values(
        Antwort{"Buchstabe", [](Klingel2 *k) { tasteIn(KlingelFenster::liste(k), Qt::Key_A); }},
        // A hot key of the window is answered as well as a plain key.
        Antwort{"F3", [](Klingel2 *k) { tasteIn(KlingelFenster::knopf(k, "laden"), Qt::Key_F3); }},
        Antwort{"KlickAlarmzeile",
                [](Klingel2 *k) { klickAuf(k->findChild<QLabel *>(QStringLiteral("Label1"))); }},
        Antwort{"KlickHintergrund",
                [](Klingel2 *k) { QTest::mouseClick(zeige(k), Qt::LeftButton, {}, QPoint(2, 2)); }},
        Antwort{"KlickListe", [](Klingel2 *k) { klickAuf(KlingelFenster::liste(k)); }}),
    [](const ::testing::TestParamInfo<Antwort> &info) { return std::string(info.param.wie); });

TEST_F(KlingelnBisAntwort, AnAnswerBeforeTheEntryIsLoggedAfterIt)
{
    bisAntwortAn();
    text7(QStringLiteral("Hallo"));
    Klingel2 *k = klingeln();
    tasteIn(liste(k), Qt::Key_Space);
    EXPECT_EQ(eintraege(k), (QStringList{QStringLiteral("07.12.26..14:35.Hallo"),
                                         QStringLiteral("beantwortet 14:35:12")}));
    warte(700);
    EXPECT_EQ(liste(k)->count(), 2);

    // The next ring waits for an answer of its own.
    jetzt = jetzt.addSecs(60);
    klingeln();
    EXPECT_TRUE(k->klingeltBisAntwort());
    ASSERT_TRUE(test::waitUntil([&] { return liste(k)->count() == 3; }, 3000));
    klickAuf(liste(k));
    EXPECT_EQ(eintraege(k).last(), QStringLiteral("beantwortet 14:36:12"));
}

// In mode 0 the message box comes before the ring's entry: a key to the box
// answers the ring, which then neither repeats nor logs before its entry.
TEST_F(KlingelnBisAntwort, AKeyToTheMessageBoxAnswers)
{
    bisAntwortAn();
    dialogs::setTestAnsicht([this](QDialog &box) {
        jetzt = jetzt.addSecs(5);
        QTest::keyClick(box.windowHandle(), Qt::Key_Shift);
    });
    text7(QStringLiteral("Hallo"));
    Klingel2 *k = klingeln();
    dialogs::setTestAnsicht({});
    EXPECT_EQ(dialogs::shown(), QStringList{meldung});
    EXPECT_FALSE(k->klingeltBisAntwort());
    ASSERT_TRUE(test::waitUntil([&] { return liste(k)->count() == 2; }, 3000));
    EXPECT_EQ(eintraege(k), (QStringList{QStringLiteral("07.12.26..14:35.Hallo"),
                                         QStringLiteral("beantwortet 14:35:17")}));
    // The next ring waits for its answer again.
    k->klingelnEmpfangen(QStringLiteral("Noch mal"));
    EXPECT_TRUE(k->klingeltBisAntwort());
    k->bestaetige();
    aufraeumen();

    // Opened from the contact window: the entry, then the answer.
    dialogs::setTestAnsicht(
        [](QDialog &box) { QTest::keyClick(box.windowHandle(), Qt::Key_Shift); });
    k = programm->klingel2();
    dialogs::setTestAnsicht({});
    k->zeigen();
    k->trageEin(QStringLiteral("Hallo"));
    EXPECT_FALSE(k->klingeltBisAntwort());
    EXPECT_EQ(eintraege(k).last(), QStringLiteral("beantwortet 14:35:17"));
    EXPECT_EQ(eintraege(k).at(eintraege(k).size() - 2), QStringLiteral("07.12.26..14:35.Hallo"));
}

TEST_F(KlingelnBisAntwort, StopsAfterHalfAnHourWithoutAnswer)
{
    bisAntwortAn();
    Klingel2 *k = klingelnSchnell();
    jetzt = jetzt.addSecs(30 * 60 - 1);
    const int bisher = desktop::beeps();
    ASSERT_TRUE(test::waitUntil([&] { return desktop::beeps() >= bisher + 3; }, 3000));
    EXPECT_TRUE(k->klingeltBisAntwort());

    jetzt = jetzt.addSecs(1);
    ASSERT_TRUE(test::waitUntil([&] { return !k->klingeltBisAntwort(); }, 3000));
    warte(300);
    const int zuletzt = desktop::beeps();
    warte(200);
    EXPECT_EQ(desktop::beeps(), zuletzt);
    EXPECT_FALSE(eintraege(k).join(QLatin1Char('|')).contains(QStringLiteral("beantwortet")));
}

TEST_F(KlingelnBisAntwort, OffByDefaultAndWithoutTheFourthLine)
{
    for (const QByteArray &kling : {QByteArray(), QByteArray("False\r\nTrue\r\nFalse\r\n"),
                                    QByteArray("False\r\nTrue\r\nFalse\r\nFalse\r\n")}) {
        SCOPED_TRACE(kling.constData());
        if (!kling.isEmpty())
            schreibe(QStringLiteral("Kling"), kling);
        Klingel2 *k = klingelnSchnell();
        EXPECT_FALSE(check1(k)->isChecked());
        EXPECT_FALSE(k->klingeltBisAntwort());
        warte(150);
        EXPECT_FALSE(k->klingeltBisAntwort());
        klickAuf(liste(k));
        EXPECT_FALSE(eintraege(k).join(QLatin1Char('|')).contains(QStringLiteral("beantwortet")));
        k->bestaetige();
        aufraeumen();
    }
    EXPECT_EQ(desktop::beeps(), 0);
}

TEST_F(KlingelnBisAntwort, CheckBoxIsStoredWithTheModeForTheNextLoad)
{
    Klingel2 *k = programm->klingel2();
    QCheckBox *c = check1(k);
    zeige(k);
    EXPECT_TRUE(k->rect().contains(c->geometry()));
    EXPECT_EQ(c->text(), QStringLiteral("Klingeln bis Antwort"));
    klickAuf(c);
    EXPECT_EQ(lies(QStringLiteral("Kling")), QByteArray("False\r\nFalse\r\nFalse\r\nTrue\r\n"));
    // The mode's option keeps it; turning it off leaves the three lines of old.
    klickAuf(option(k, 2));
    EXPECT_EQ(lies(QStringLiteral("Kling")), QByteArray("False\r\nFalse\r\nTrue\r\nTrue\r\n"));
    mausAuf(c);
    EXPECT_TRUE(programm->hilfe2()->text().startsWith(QStringLiteral(" Klingeln bis Antwort")));
    k->bestaetige();
    aufraeumen();

    k = programm->klingel2();
    EXPECT_TRUE(check1(k)->isChecked());
    EXPECT_TRUE(k->klingeltBisAntwort());
    // Turning it off by the keyboard answers the ring and stops it.
    tasteIn(check1(k), Qt::Key_Space);
    EXPECT_FALSE(check1(k)->isChecked());
    EXPECT_FALSE(k->klingeltBisAntwort());
    EXPECT_EQ(lies(QStringLiteral("Kling")), QByteArray("False\r\nFalse\r\nTrue\r\n"));
}

// The window goes before its repeat: nothing rings for a closed window.
TEST_F(KlingelnBisAntwort, ClosingStopsTheRepeat)
{
    bisAntwortAn();
    Klingel2 *k = klingelnSchnell();
    QPointer<Klingel2> fenster = k;
    k->close();
    EXPECT_FALSE(k->klingeltBisAntwort());
    aufraeumen();
    EXPECT_TRUE(fenster.isNull());
    warte(150);
    EXPECT_EQ(desktop::beeps(), 0);
}

// What a screen reader is told of each control: its caption or the short
// name of its hint, and the hint as the description.
TEST_F(KlingelFenster, EveryControlHasANameAndItsHintAsDescription)
{
    Klingel2 *k = programm->klingel2();
    zeige(k);
    const struct {
        QWidget *w;
        const char *name, *beschreibung;
    } faelle[] = {
        {knopf(k, "Command2"), "OK", "OK Fenster zu!"},
        {knopf(k, "lese1"), "lese", "Lese-Auswahl-Klingelbuch!"},
        {liste(k), "Klingelbuch", "Klingelbuch!"},
        {option(k, 2), "Klingel Intervall Aus", "Klingel Intervall ein und aus!"},
        {k->findChild<QCheckBox *>(QStringLiteral("Check1")), "Klingeln bis Antwort",
         "Klingeln bis Antwort: alle 10 Sekunden, bis eine Taste oder ein Klick im Fenster "
         "antwortet, höchstens 30 Minuten!"},
    };
    for (const auto &f : faelle) {
        QAccessibleInterface *a = QAccessible::queryAccessibleInterface(f.w);
        ASSERT_TRUE(a) << f.name;
        EXPECT_EQ(a->text(QAccessible::Name), QString::fromUtf8(f.name));
        EXPECT_EQ(a->text(QAccessible::Description), QString::fromUtf8(f.beschreibung));
    }
    for (QWidget *w : k->findChildren<QWidget *>()) {
        if (w->focusPolicy() == Qt::NoFocus || !w->isVisibleTo(k) || w->window() != k)
            continue;
        const QString name = QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
        EXPECT_TRUE(name.contains(QRegularExpression(QStringLiteral("\\w"))))
            << qPrintable(w->objectName()) << " " << qPrintable(name);
        EXPECT_FALSE(name.contains(QLatin1Char('&'))) << qPrintable(w->objectName());
    }
}

} // namespace

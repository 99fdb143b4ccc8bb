// The contact window while the FTP server is slow or silent: the window
// keeps answering, log off and quit never wait, and queued sends arrive in
// order with their own text.
#include "ContactFixture.h"

#include "support/Eingabe.h"
#include "support/FtpBremse.h"

#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace varnek;
using namespace varnek::test;

namespace
{

class FtpFensterTest : public ContactFixture
{
  protected:
    // Longest time the event loop takes to run a zero timer, sampled for ms.
    qint64 laengsteStockung(int ms)
    {
        qint64 laengste = 0;
        QElapsedTimer gesamt;
        gesamt.start();
        while (gesamt.elapsed() < ms) {
            QElapsedTimer t;
            t.start();
            bool gelaufen = false;
            QTimer::singleShot(0, [&] { gelaufen = true; });
            while (!gelaufen)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 1000);
            laengste = std::max(laengste, t.elapsed());
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        return laengste;
    }

    QWindow *fenster() { return programm->gast1()->windowHandle(); }
    void klick(const char *name) { test::klick(control<QPushButton>(name)); }
    // Focus by a click, as a user gives it.
    void fokus(QWidget *w)
    {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(w->width() / 2, w->height() / 2));
        ASSERT_TRUE(waitUntil([&] { return w->hasFocus(); }, 2000)) << qPrintable(w->objectName());
    }
    // The second entry of the address list ("info"), chosen with the keys.
    void waehleInfo()
    {
        fokus(control<QComboBox>("Combo2"));
        QTest::keyClick(fenster(), Qt::Key_Down);
    }
    void sende(const QString &text)
    {
        for (const QChar c : text)
            QTest::keyClick(fenster(), c.toLatin1());
        QTest::keyClick(fenster(), Qt::Key_Return);
    }
    bool ftpFrei(int ms = 15000)
    {
        return waitUntil([&] { return !programm->gast1()->verbindung().beschaeftigt(); }, ms);
    }
};

TEST_F(FtpFensterTest, SilentServerNeverFreezesTheWindowAndLogOffAndQuitAreImmediate)
{
    // The server greets and logs in, then never answers a change of directory.
    FtpBremse bremse(server.ftpPort(), {QStringLiteral("--stall-on"), QStringLiteral("CWD")});
    ASSERT_TRUE(bremse.running());
    Gast1 &g = starte(bremse.port());
    klick("kontakt");
    auto *TextS = control<QLineEdit>("TextS");
    fokus(TextS);
    ASSERT_TRUE(waitUntil([&] { return status() == QStringLiteral("Setze Pfad..."); }));
    EXPECT_TRUE(g.verbindung().beschaeftigt());
    EXPECT_EQ(g.cursor().shape(), Qt::WaitCursor);

    // While the server is silent, a key typed is in the send box at once
    // and the window answers every event quickly.
    QElapsedTimer t;
    t.start();
    QTest::keyClick(fenster(), Qt::Key_A);
    EXPECT_EQ(TextS->text(), QStringLiteral("a"));
    EXPECT_LT(t.elapsed(), 50);
    EXPECT_LT(laengsteStockung(1000), 50);
    EXPECT_TRUE(g.verbindung().beschaeftigt());

    // Log off returns at once and leaves nothing running.
    t.restart();
    klick("abbr");
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_FALSE(g.verbindung().verbunden());
    EXPECT_FALSE(g.verbindung().beschaeftigt());
    EXPECT_NE(g.cursor().shape(), Qt::WaitCursor);
    EXPECT_EQ(status(), QStringLiteral("Klicke-Kontakt-Herstellen"));
    // Nothing of the cancelled steps reaches the window later.
    laengsteStockung(300);
    EXPECT_EQ(status(), QStringLiteral("Klicke-Kontakt-Herstellen"));
    EXPECT_TRUE(dialogs::shown().isEmpty());

    // Quitting in the middle of a stalled step: the window and its
    // connection are gone within a second.
    klick("kontakt");
    ASSERT_TRUE(waitUntil([&] { return status() == QStringLiteral("Setze Pfad..."); }));
    t.restart();
    klick("beende3");
    programm.reset();
    EXPECT_LT(t.elapsed(), 1000);
}

TEST_F(FtpFensterTest, NoGreetingDoesNotHoldUpLogOff)
{
    FtpBremse bremse(server.ftpPort(), {QStringLiteral("--stall-greeting")});
    ASSERT_TRUE(bremse.running());
    Gast1 &g = starte(bremse.port());
    klick("kontakt");
    ASSERT_TRUE(waitUntil([&] { return status() == QStringLiteral("Verbinde..."); }));
    EXPECT_LT(laengsteStockung(500), 50);
    QElapsedTimer t;
    t.start();
    klick("abbr");
    EXPECT_LT(t.elapsed(), 1000);
    EXPECT_FALSE(g.verbindung().beschaeftigt());
    EXPECT_FALSE(g.verbindung().verbunden());
}

TEST_F(FtpFensterTest, MessagesSentWhileUploadsAreSlowArriveInOrderWithTheirOwnText)
{
    FtpBremse bremse(server.ftpPort(), {QStringLiteral("--stor-delay-ms"), QStringLiteral("500"),
                                        QStringLiteral("--number-stor")});
    ASSERT_TRUE(bremse.running());
    starte(bremse.port());
    klick("kontakt");
    ASSERT_TRUE(ftpFrei());
    waehleInfo();
    fokus(control<QLineEdit>("TextS"));
    QElapsedTimer t;
    t.start();
    sende(QStringLiteral("eins"));
    sende(QStringLiteral("zwei"));
    sende(QStringLiteral("drei"));
    // Typing never waited for the uploads.
    EXPECT_LT(t.elapsed(), 400);
    ASSERT_TRUE(ftpFrei());
    EXPECT_EQ(status(), QStringLiteral("OK"));

    // Every upload left its own numbered file, in the order they arrived.
    EXPECT_EQ(remote(QStringLiteral("info"), QStringLiteral("Gast.txt.1")), QByteArray("eins\r\n"));
    EXPECT_EQ(remote(QStringLiteral("info"), QStringLiteral("Gast.txt.2")), QByteArray("zwei\r\n"));
    EXPECT_EQ(remote(QStringLiteral("info"), QStringLiteral("Gast.txt.3")), QByteArray("drei\r\n"));
    EXPECT_EQ(QDir(server.addressDir(QStringLiteral("info")))
                  .entryList({QStringLiteral("Gast.txt*")})
                  .size(),
              3);
    EXPECT_EQ(lokal(QStringLiteral("Gast.txt")), QByteArray("drei\r\n"));
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

TEST_F(FtpFensterTest, TextsGoOnlyIntoAnAddressAndReconnectKeepsIt)
{
    Gast1 &g = starte();
    klick("kontakt");
    ASSERT_TRUE(ftpFrei());
    // Connected, no address chosen: the text reaches nobody and says so.
    fokus(control<QLineEdit>("TextS"));
    sende(QStringLiteral("ins Leere"));
    ASSERT_TRUE(ftpFrei());
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Sie haben keine Empfänger Adresse angegeben!")});
    EXPECT_NE(status(), QStringLiteral("OK"));
    EXPECT_TRUE(server.readFile(QStringLiteral("Gast.txt")).isEmpty());

    waehleInfo();
    ASSERT_EQ(g.verbindung().pfad(), g.verbindung().basisPfad() + QStringLiteral("info"));
    // After log off the same.
    klick("abbr");
    dialogs::clearShown();
    fokus(control<QLineEdit>("TextS"));
    sende(QStringLiteral("abgemeldet"));
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Sie haben keine Empfänger Adresse angegeben!")});
    EXPECT_NE(status(), QStringLiteral("OK"));

    // Connecting again goes back to the address chosen before.
    dialogs::clearShown();
    klick("kontakt");
    ASSERT_TRUE(ftpFrei());
    EXPECT_EQ(g.verbindung().pfad(), g.verbindung().basisPfad() + QStringLiteral("info"));
    fokus(control<QLineEdit>("TextS"));
    sende(QStringLiteral("wieder da"));
    ASSERT_TRUE(ftpFrei());
    EXPECT_EQ(remote(QStringLiteral("info")), QByteArray("wieder da\r\n"));
    EXPECT_EQ(status(), QStringLiteral("OK"));
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

} // namespace

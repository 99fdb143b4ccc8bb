// The remote browser of the contact window against a server whose listing
// is too long: the list is cut and the status line says so.

#include "contact/ContactFixture.h"
#include "support/HostileFtpServer.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QPushButton>

using namespace varnek;
using namespace varnek::test;

namespace
{

class FernBrowserHostileTest : public ContactFixture
{
};

TEST_F(FernBrowserHostileTest, OverlongListingIsCutAndTheStatusLineSaysSo)
{
    HostileFtpServer::Config config;
    config.listing = "-rw-r--r-- 1 a b 1 Mar 5 14:05 f.txt\r\n";
    config.repeat = 150000;
    HostileFtpServer hostile(config);
    ASSERT_TRUE(hostile.running());

    Gast1 &g = starte(hostile.port());
    g.stelleVerbindungHer();
    ASSERT_TRUE(waitUntil([&] { return g.verbindung().verbunden(); }, 20000));
    // The connect's listing says so, and the connect's last step keeps it.
    const QString erwartet = QStringLiteral("Liste gekürzt: nur die ersten 100000 Einträge");
    ASSERT_TRUE(waitUntil([&] { return !g.verbindung().beschaeftigt(); }, 20000));
    QTest::qWait(100);
    EXPECT_EQ(status(), erwartet);
    QTest::mouseClick(control<QPushButton>("Command3_1"), Qt::LeftButton); // Refresh
    EXPECT_TRUE(waitUntil([&] { return status() == erwartet; }, 20000)) << qPrintable(status());
    EXPECT_EQ(control<QListWidget>("List1")->count(), 100002);
}

TEST_F(FernBrowserHostileTest, ListingDrippedAtTwoBytesASecondEndsWithinTheLimit)
{
    HostileFtpServer::Config config;
    config.listing = QByteArray("-rw-r--r-- 1 a b 1 Mar 5 14:05 f.txt\r\n").repeated(50);
    config.rate = 2;
    HostileFtpServer hostile(config);
    ASSERT_TRUE(hostile.running());

    Gast1 &g = starte(hostile.port());
    g.verbindung().stallTimeoutMs = 2000; // fewer than 100 bytes/s for 2 s fails
    QElapsedTimer timer;
    timer.start();
    g.stelleVerbindungHer(); // connecting lists the root
    const QString grund =
        QStringLiteral("28 Übertragung zu langsam: weniger als 100 Bytes/s in 2 s");
    EXPECT_TRUE(waitUntil([&] { return status() == grund; }, 10000)) << qPrintable(status());
    EXPECT_LT(timer.elapsed(), 8000) << qPrintable(hostile.commands().join(QLatin1Char('|')));
    EXPECT_TRUE(g.verbindung().verbunden());
    EXPECT_EQ(control<QListWidget>("List1")->count(), 2); // only "." and ".."
}

} // namespace

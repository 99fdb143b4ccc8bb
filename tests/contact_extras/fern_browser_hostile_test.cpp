// The remote browser of the contact window against a server whose listing
// is too long: the list is cut and the status line says so.

#include "contact/ContactFixture.h"
#include "support/HostileFtpServer.h"

#include <QListWidget>
#include <QPushButton>

using namespace varnek;
using namespace varnek::test;

namespace {

class FernBrowserHostileTest : public ContactFixture {};

TEST_F(FernBrowserHostileTest, OverlongListingIsCutAndTheStatusLineSaysSo)
{
    HostileFtpServer::Config config;
    config.listing = "-rw-r--r-- 1 a b 1 Mar 5 14:05 f.txt\r\n";
    config.repeat = 150000;
    HostileFtpServer hostile(config);
    ASSERT_TRUE(hostile.running());

    Gast1 &g = starte(hostile.port());
    g.Command5();
    ASSERT_TRUE(waitUntil([&] { return g.verbindung().verbunden(); }, 20000));
    QTest::mouseClick(control<QPushButton>("Command3_1"), Qt::LeftButton); // Refresh
    const QString erwartet = QStringLiteral("Liste gekürzt: nur die ersten 100000 Einträge");
    EXPECT_TRUE(waitUntil([&] { return status() == erwartet; }, 20000)) << qPrintable(status());
    EXPECT_EQ(control<QListWidget>("List1")->count(), 100002);
}

} // namespace

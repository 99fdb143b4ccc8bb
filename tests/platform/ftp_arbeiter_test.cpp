// The FTP session's worker thread: order, cancel, and an end that never
// waits for an operation that does not stop.

#include "platform/FtpArbeiter.h"

#include "support/LocalServer.h"

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using varnek::FtpArbeiter;
using varnek::FtpSitzung;
using varnek::test::waitUntil;

namespace
{

// An operation that reports `text` on the context's thread.
FtpArbeiter::Auftrag meldet(QStringList &liste, const QString &text)
{
    return [&liste, text](FtpSitzung &, const FtpArbeiter::Melder &melde) {
        melde([&liste, text] { liste << text; });
    };
}

TEST(FtpArbeiter, RunsInOrderAndCancelDropsWhatWaitsAndWhatTheCancelledOneReports)
{
    QObject kontext;
    FtpArbeiter arbeiter(&kontext);
    QStringList gemeldet;
    std::atomic<bool> haengt{false};
    arbeiter.einreihen(meldet(gemeldet, QStringLiteral("eins")));
    // Stands for a call on a silent server: it ends only when cancelled.
    arbeiter.einreihen([&](FtpSitzung &c, const FtpArbeiter::Melder &melde) {
        haengt = true;
        while (!c.abgebrochen())
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        melde([&] { gemeldet << QStringLiteral("abgebrochen"); });
    });
    arbeiter.einreihen(meldet(gemeldet, QStringLiteral("wartet")));
    ASSERT_TRUE(waitUntil([&] { return haengt && gemeldet.size() == 1; }));
    EXPECT_FALSE(arbeiter.warte(50));

    arbeiter.abbrechen();
    arbeiter.einreihen(meldet(gemeldet, QStringLiteral("danach")));
    EXPECT_TRUE(arbeiter.warte(2000));
    EXPECT_TRUE(waitUntil([&] { return gemeldet.size() == 2; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(gemeldet, (QStringList{QStringLiteral("eins"), QStringLiteral("danach")}));
}

TEST(FtpArbeiter, EndsAtOnceAndLeavesAnOperationThatDoesNotStopBehind)
{
    auto kontext = std::make_unique<QObject>();
    auto arbeiter = std::make_unique<FtpArbeiter>(kontext.get());
    auto laeuft = std::make_shared<std::atomic<int>>(0); // 1 running, 2 done
    auto gemeldet = std::make_shared<std::atomic<bool>>(false);
    arbeiter->einreihen([laeuft, gemeldet](FtpSitzung &, const FtpArbeiter::Melder &melde) {
        *laeuft = 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(1200)); // deaf to the cancel
        melde([gemeldet] { *gemeldet = true; });
        *laeuft = 2;
    });
    ASSERT_TRUE(waitUntil([&] { return *laeuft == 1; }));
    QElapsedTimer t;
    t.start();
    arbeiter.reset();
    EXPECT_LT(t.elapsed(), 1000);
    kontext.reset();
    // The operation ends later, on the thread left behind; its report lands
    // nowhere.
    EXPECT_TRUE(waitUntil([&] { return *laeuft == 2; }, 3000));
    QCoreApplication::processEvents();
    EXPECT_FALSE(*gemeldet);
}

} // namespace

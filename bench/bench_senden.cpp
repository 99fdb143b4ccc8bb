// Sending while the server is slow, in two parts.
//
// 1. The contact window against the local server behind a relay that adds
//    a latency to every server reply (default 100 ms): 20 texts typed and
//    sent with Enter, one after the other as fast as the keys come. Reported:
//    the longest time the window's event loop did not answer (a 1 ms timer
//    measures it), the time for all uploads to arrive, and that each
//    message arrived (numbered stores keep them all).
// 2. Side by side in the same run, one send (STOR + re-list) over the
//    connection kept open, against a fresh connection and login per upload,
//    with the same added latency.
//
//   build/bench/bench_senden [sends] [latency-ms]
#include "app/Programm.h"
#include "contact/ui/Gast1.h"
#include "platform/FtpSitzung.h"
#include "platform/ui/Dialogs.h"
#include "support/FtpBremse.h"
#include "support/LocalServer.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace varnek;

namespace
{

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// One send as the window makes it: change into the address, upload, list.
bool senden(FtpSitzung &c, const QString &dir, const QByteArray &daten)
{
    return c.wechsleVerzeichnis(dir) && c.ladeHoch(daten, QStringLiteral("Gast.txt"), false) &&
           c.liste();
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int anzahl = argc > 1 ? std::atoi(argv[1]) : 20;
    const int latenz = argc > 2 ? std::atoi(argv[2]) : 100;

    test::LocalServer server;
    if (!server.running()) {
        std::fprintf(stderr, "local server did not start\n");
        return 1;
    }
    dialogs::setTestMode(true);
    QDir().mkpath(server.addressDir(QStringLiteral("test")));

    // --- 1: the window -------------------------------------------------------
    {
        test::FtpBremse bremse(server.ftpPort(),
                               {QStringLiteral("--reply-delay-ms"), QString::number(latenz),
                                QStringLiteral("--number-stor")});
        if (!bremse.running())
            return 1;
        QTemporaryDir ordner;
        QDir::setCurrent(ordner.path());
        Einstellungen e;
        e.programmOrdner = ordner.path();
        e.host = server.host();
        e.ftpPort = bremse.port();
        e.httpPort = server.httpPort();
        e.stumm = true;
        Programm programm(e);
        Gast1 &g = *programm.gast1();
        g.show();
        QApplication::setActiveWindow(&g);
        if (!QTest::qWaitForWindowActive(&g))
            return 1;

        QElapsedTimer uhr;
        qint64 letzter = 0, laengste = 0;
        bool messen = false;
        QTimer takt;
        takt.setTimerType(Qt::PreciseTimer);
        takt.setInterval(1);
        QObject::connect(&takt, &QTimer::timeout, [&] {
            const qint64 jetzt = uhr.nsecsElapsed();
            if (messen)
                laengste = std::max(laengste, jetzt - letzter);
            letzter = jetzt;
        });
        uhr.start();
        takt.start();

        g.herstellen();
        test::waitUntil([&] { return !g.verbindung().beschaeftigt(); }, 30000);
        g.verbindung().adressPfad(QStringLiteral("test"));
        auto *TextS = g.findChild<QLineEdit *>(QStringLiteral("TextS"));
        TextS->setFocus();
        test::waitUntil([&] { return TextS->hasFocus(); }, 2000);
        QWindow *fenster = g.windowHandle();

        QElapsedTimer gesamt;
        gesamt.start();
        letzter = uhr.nsecsElapsed();
        messen = true;
        for (int i = 0; i < anzahl; ++i) {
            for (const QChar c : QStringLiteral("Nachricht %1").arg(i))
                QTest::keyClick(fenster, c.toLatin1());
            QTest::keyClick(fenster, Qt::Key_Return);
            QCoreApplication::processEvents();
        }
        const double tippenMs = gesamt.nsecsElapsed() / 1e6;
        test::waitUntil([&] { return !g.verbindung().beschaeftigt(); }, 120000);
        messen = false;
        const double alleMs = gesamt.nsecsElapsed() / 1e6;
        int angekommen = 0;
        for (int i = 1; i <= anzahl; ++i)
            angekommen +=
                server.readFile(
                    QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt.%1").arg(i)) ==
                        QStringLiteral("Nachricht %1\r\n").arg(i - 1).toLatin1()
                    ? 1
                    : 0;
        std::printf("window, %d sends, %d ms added per reply:\n", anzahl, latenz);
        std::printf("  longest event-loop stall: %.1f ms\n", laengste / 1e6);
        std::printf(
            "  typing all sends: %.0f ms; all uploads done after %.0f ms (%.0f ms per send)\n",
            tippenMs, alleMs, alleMs / anzahl);
        std::printf("  arrived in order with their own text: %d of %d\n", angekommen, anzahl);
        g.close();
    }

    // --- 2: reused against fresh connections ---------------------------------
    {
        test::FtpBremse bremse(server.ftpPort(),
                               {QStringLiteral("--reply-delay-ms"), QString::number(latenz)});
        if (!bremse.running())
            return 1;
        FtpSitzung::Optionen o;
        o.host = QStringLiteral("127.0.0.1");
        o.port = bremse.port();
        o.user = QStringLiteral("varnekdb");
        o.password = QStringLiteral("Wald2619");
        const QString dir = QStringLiteral("/localhost/vx/stillbox/vxvx/test");
        const QByteArray daten("Nachricht\r\n");
        std::vector<double> wieder, frisch;
        FtpSitzung offen;
        if (!offen.verbinde(o))
            return 1;
        const int runden = std::min(anzahl, 10);
        for (int i = 0; i < runden; ++i) {
            QElapsedTimer t;
            t.start();
            if (!senden(offen, dir, daten))
                return 1;
            wieder.push_back(t.nsecsElapsed() / 1e6);
            t.restart();
            FtpSitzung neu;
            if (!neu.verbinde(o) || !senden(neu, dir, daten))
                return 1;
            neu.schliesse();
            frisch.push_back(t.nsecsElapsed() / 1e6);
        }
        std::printf("one send (STOR + re-list), %d ms added per reply, median of %d:\n", latenz,
                    runden);
        std::printf("  connection kept open:     %7.1f ms\n", median(wieder));
        std::printf("  fresh connection + login: %7.1f ms\n", median(frisch));
    }
    return 0;
}

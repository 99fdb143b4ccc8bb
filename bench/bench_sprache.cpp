// Speech against a private speech-dispatcher whose output module writes a
// time stamp when it starts a text: the time from a text being handed to
// the speech engine to the output module starting it,
//   - for the first text after the program starts, with the service running
//     and with the program starting the service,
//   - in the steady state (each text handed over once the last one ended),
// and the recovery after the service is killed: from the service being
// back to the text that came while it was down starting.
//
//   build/bench/bench_sprache [runs=5] [steady=20]
#include "platform/SpeechEngine.h"
#include "support/EigenerSprachdienst.h"
#include "support/LocalServer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

using namespace varnek;

namespace
{

qint64 jetztNs()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000000;
}

// Module start of text, minus the hand-over, in ms; -1 when it never started.
double bisModul(const test::EigenerSprachdienst &dienst, const QString &text, qint64 seitNs)
{
    if (!test::waitUntil([&] { return dienst.begonnen().contains(text); }, 15000))
        return -1;
    for (const auto &z : dienst.gehoert())
        if (z.an && z.text == text)
            return (z.ns - seitNs) / 1e6;
    return -1;
}

void bericht(const char *was, std::vector<double> ms)
{
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    std::printf("%-44s median %7.1f ms  min %7.1f  max %7.1f  (n=%zu)\n", was, ms[ms.size() / 2],
                ms.front(), ms.back(), ms.size());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int laeufe = argc > 1 ? std::atoi(argv[1]) : 5;
    const int stetig = argc > 2 ? std::atoi(argv[2]) : 20;
    if (!test::EigenerSprachdienst::fehlt().isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(test::EigenerSprachdienst::fehlt()));
        return 1;
    }

    std::vector<double> ersteLaufend, ersteGestartet, dauer, erholung;
    for (int lauf = 0; lauf < laeufe; ++lauf) {
        for (bool gestartet : {false, true}) {
            test::EigenerSprachdienst dienst;
            if (gestartet)
                dienst.erlaubeStart();
            else if (!dienst.start())
                return 1;
            // The program starts and its first message arrives at once.
            auto engine = std::make_unique<SpeechEngine>();
            engine->available();
            const QString text = QStringLiteral("Erste Nachricht %1").arg(lauf);
            const qint64 t0 = jetztNs();
            engine->say(text);
            (gestartet ? ersteGestartet : ersteLaufend).push_back(bisModul(dienst, text, t0));
            if (gestartet)
                continue;

            QSignalSpy beendet(engine.get(), &SpeechEngine::beendet);
            test::waitUntil([&] { return beendet.count() >= 1; }, 5000);
            for (int i = 0; i < stetig / laeufe + 1; ++i) {
                const int vorher = beendet.count();
                const QString t = QStringLiteral("Nachricht %1").arg(i);
                const qint64 s = jetztNs();
                engine->say(t);
                dauer.push_back(bisModul(dienst, t, s));
                test::waitUntil([&] { return beendet.count() > vorher; }, 5000);
            }

            dienst.kill();
            QTest::qWait(300);
            const QString weg = QStringLiteral("Während der Dienst weg war %1").arg(lauf);
            engine->say(weg);
            QTest::qWait(700);
            if (!dienst.start())
                return 1;
            erholung.push_back(bisModul(dienst, weg, jetztNs()));
        }
    }
    bericht("first message, service running", ersteLaufend);
    bericht("first message, the program starts the service", ersteGestartet);
    bericht("steady state", dauer);
    bericht("after a kill: service back -> text spoken", erholung);
    return 0;
}

// Guest to contact on loopback: the time from the guest's Enter (the message
// file written and uploaded) to the text reaching the contact's speech
// engine, over 20 messages, with the contact polling every 2 s as usual.
// The sends are spread evenly over the poll period (one each 1/20 of it, in
// shuffled order), so the polling floor is known: a median of about 1000 ms
// and a 95th percentile of about 1900 ms. "overhead" is what the program adds
// to the wait for the next poll.
//
//   build/bench/bench_empfang [messages]
#include "contact/Empfang.h"
#include "contact/Senden.h"
#include "contact/SpeechComponent.h"
#include "contact/Verbindung.h"
#include "support/LocalServer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>

using namespace varnek;

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int anzahl = argc > 1 ? std::atoi(argv[1]) : 20;

    test::LocalServer server;
    if (!server.running()) {
        std::fprintf(stderr, "local server did not start\n");
        return 1;
    }
    QTemporaryDir gastOrdner, kontaktOrdner;

    // Contact: receiving model and speech component, as the window wires them.
    Empfang empfang(kontaktOrdner.path());
    SpeechComponent sprecher(kontaktOrdner.path());
    sprecher.setMuted(true);
    QObject::connect(&empfang, &Empfang::sprechen, &sprecher, &SpeechComponent::press);
    empfang.setzeServer(server.host(), server.httpPort());
    empfang.setzeAdresse(QStringLiteral("test"));
    empfang.starteLesen();

    // Guest: one connection, the address chosen.
    Verbindung gast;
    gast.setzeServerName(server.host());
    Verbindung::Konto konto;
    konto.host = server.host();
    konto.port = server.ftpPort();
    std::optional<bool> verbunden;
    gast.herstellen(konto, true, [&](bool ok) { verbunden = ok; });
    test::waitUntil([&] { return verbunden.has_value(); }, 15000);
    if (!verbunden.value_or(false) || !gast.adressPfad(QStringLiteral("test")))
        return 1;

    QString erwartet;
    qint64 ankunft = -1;
    QElapsedTimer uhr;
    QObject::connect(&sprecher, &SpeechComponent::spoken, [&](const QString &text) {
        if (text == erwartet && ankunft < 0)
            ankunft = uhr.nsecsElapsed();
    });

    qint64 letzterTick = 0;
    QElapsedTimer seitStart;
    seitStart.start();
    QObject::connect(&empfang.abrufTakt(), &QTimer::timeout,
                     [&] { letzterTick = seitStart.nsecsElapsed(); });

    std::vector<double> ms, mehr;
    for (int i = 0; i < anzahl; ++i) {
        // Wait for a poll, then send at the i-th slot of the period.
        const qint64 tick = letzterTick;
        test::waitUntil([&] { return letzterTick != tick; }, 5000);
        const int slot = (i * 7) % anzahl;
        const double versatzMs = (slot + 0.5) * Empfang::kPollMs / anzahl;
        const qint64 sendenUm = letzterTick + qint64(versatzMs * 1e6);
        test::waitUntil([&] { return seitStart.nsecsElapsed() >= sendenUm; }, 5000);
        const double bodenMs =
            (letzterTick + qint64(Empfang::kPollMs) * 1000000 - seitStart.nsecsElapsed()) / 1e6;
        erwartet = QStringLiteral("Nachricht %1").arg(i);
        ankunft = -1;
        uhr.start();
        if (!schreibeNachricht(gastOrdner.path(), {erwartet}))
            return 1;
        gast.uebertrageDatei(nachrichtPfad(gastOrdner.path()), 0);
        if (!test::waitUntil([&] { return ankunft >= 0; }, 10000)) {
            std::fprintf(stderr, "message %d did not arrive\n", i);
            return 1;
        }
        ms.push_back(double(ankunft) / 1e6);
        mehr.push_back(ms.back() - bodenMs);
        std::printf("message %2d: %7.1f ms (next poll was due in %6.1f ms)\n", i, ms.back(),
                    bodenMs);
    }
    const auto perzentil = [](std::vector<double> v, double p) {
        std::sort(v.begin(), v.end());
        return v[std::min(v.size() - 1, size_t(p * double(v.size() - 1) + 0.5))];
    };
    std::printf("messages: %d  median: %.1f ms  p95: %.1f ms  max: %.1f ms\n", anzahl,
                perzentil(ms, 0.5), perzentil(ms, 0.95), perzentil(ms, 1.0));
    std::printf("overhead above the poll: median %.1f ms  p95 %.1f ms\n", perzentil(mehr, 0.5),
                perzentil(mehr, 0.95));
    return 0;
}

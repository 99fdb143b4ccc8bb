// Idle polling on loopback: what one contact costs the server per hour while
// the message does not change. A counting TCP relay stands in front of the
// local server's HTTP port (which answers like nginx: ETag, Last-Modified,
// 304, keep-alive) and counts the bytes both ways and the TCP connections.
//
//   before  every poll a new connection, no conditional request (a fresh
//           HttpAbruf per poll, as the program polled before)
//   after   the contact's receiving model as it runs: one kept connection,
//           If-None-Match from the last answer, 304 while unchanged
//
// Payload bytes only (no TCP/IP headers); per hour = per poll x 1800 (one
// poll every 2 s).
//
//   build/bench/bench_abfrage [polls=200]
#include "contact/Empfang.h"
#include "platform/HttpAbruf.h"
#include "support/LocalServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include <cstdio>

using namespace varnek;

namespace
{

// Relays every connection to the target port and counts what passes.
class ZaehlRelais
{
  public:
    explicit ZaehlRelais(int zielPort) : zielPort_(zielPort)
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket *kunde = server_.nextPendingConnection()) {
                ++verbindungen;
                auto *ziel = new QTcpSocket(kunde);
                ziel->connectToHost(QHostAddress::LocalHost, quint16(zielPort_));
                QObject::connect(kunde, &QTcpSocket::readyRead, kunde, [this, kunde, ziel] {
                    const QByteArray d = kunde->readAll();
                    hin += d.size();
                    ziel->write(d);
                });
                QObject::connect(ziel, &QTcpSocket::readyRead, kunde, [this, kunde, ziel] {
                    const QByteArray d = ziel->readAll();
                    zurueck += d.size();
                    kunde->write(d);
                });
                QObject::connect(ziel, &QTcpSocket::disconnected, kunde,
                                 &QTcpSocket::disconnectFromHost);
                QObject::connect(kunde, &QTcpSocket::disconnected, kunde, [kunde, ziel] {
                    ziel->disconnectFromHost();
                    kunde->deleteLater();
                });
            }
        });
    }
    int port() const { return server_.serverPort(); }
    void nullen() { hin = zurueck = verbindungen = 0; }

    qint64 hin = 0, zurueck = 0, verbindungen = 0;

  private:
    QTcpServer server_;
    int zielPort_;
};

void zeile(const char *art, qint64 groesse, const ZaehlRelais &r, int polls)
{
    const double proPoll = double(r.hin + r.zurueck) / polls;
    std::printf("%-7s %6lld  %8.0f  %8.0f  %10.2f  %8.0f\n", art, static_cast<long long>(groesse),
                double(r.hin) / polls, double(r.zurueck) / polls, proPoll * 1800 / 1e6,
                double(r.verbindungen) * 1800 / polls);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int polls = argc > 1 ? std::atoi(argv[1]) : 200;
    test::LocalServer server;
    if (!server.running()) {
        std::fprintf(stderr, "local server did not start\n");
        return 1;
    }
    ZaehlRelais relais(server.httpPort());
    const QString datei = server.addressDir(QStringLiteral("test")) + QStringLiteral("/Gast.txt");

    std::printf("mode    message  up/poll  down/poll  MB/hour  connections/hour\n");
    for (const qint64 groesse : {30, 300, 3000}) {
        server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt"),
                         QByteArray(groesse - 2, 'a') + "\r\n");
        // Changed a while ago, as a message waiting to be replaced.
        QFile f(datei);
        if (f.open(QIODevice::ReadWrite))
            (void)f.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-60),
                                QFileDevice::FileModificationTime);
        f.close();
        const QUrl url(QStringLiteral("http://127.0.0.1:%1/vx/stillbox/vxvx/test/Gast.txt")
                           .arg(relais.port()));

        relais.nullen();
        for (int i = 0; i < polls; ++i) {
            HttpAbruf abruf;
            bool fertig = false;
            QObject::connect(&abruf, &HttpAbruf::fertig, &abruf,
                             [&](const HttpAbruf::Antwort &) { fertig = true; });
            abruf.starte(url);
            test::waitUntil([&] { return fertig; }, 5000);
        }
        test::waitUntil([] { return false; }, 100);
        zeile("before", groesse, relais, polls);

        QTemporaryDir ordner;
        Empfang empfang(ordner.path());
        empfang.setzeServer(QStringLiteral("127.0.0.1"), relais.port());
        empfang.setzeAdresse(QStringLiteral("test"));
        relais.nullen();
        int unveraendert = 0;
        for (int i = 0; i < polls; ++i) {
            empfang.abrufTick();
            test::waitUntil([&] { return !empfang.abrufLaeuft(); }, 5000);
            unveraendert += empfang.letzterStatus() == 304 ? 1 : 0;
        }
        test::waitUntil([] { return false; }, 100);
        zeile("after", groesse, relais, polls);
        if (unveraendert != polls - 1)
            std::fprintf(stderr, "only %d of %d polls were answered 304\n", unveraendert, polls);
    }
    return 0;
}

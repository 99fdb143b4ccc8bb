#include "platform/HttpAbruf.h"

#include "contact/Adresse.h"
#include "contact/AntwortPruefung.h"

#include "support/FeindServer.h"
#include "support/LocalServer.h"
#include "support/RohServer.h"

#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <optional>

#include <time.h>

using varnek::HttpAbruf;
using varnek::test::LocalServer;
using varnek::test::waitUntil;

namespace
{

// Counts the answers of one HttpAbruf and keeps the last.
struct Answers {
    explicit Answers(HttpAbruf &fetch)
    {
        QObject::connect(&fetch, &HttpAbruf::fertig, &fetch, [this](const HttpAbruf::Antwort &r) {
            ++count;
            last = r;
        });
    }
    int count = 0;
    std::optional<HttpAbruf::Antwort> last;
};

// A silent server: takes the request, never answers.
struct SilentServer : varnek::test::RohServer {
    QUrl url() const { return QUrl(QStringLiteral("http://127.0.0.1:%1/Gast.txt").arg(port())); }
};

class HttpFetchTest : public ::testing::Test
{
  protected:
    void SetUp() override { ASSERT_TRUE(server.running()); }

    QUrl url(const QString &address) const
    {
        return varnek::adressUrl(server.host(), server.httpPort(), address).value_or(QUrl());
    }

    void put(const QString &address, const QByteArray &bytes) const
    {
        server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/") + address +
                             QStringLiteral("/Gast.txt"),
                         bytes);
    }

    LocalServer server;
    HttpAbruf fetch;
    Answers answers{fetch};
};

TEST_F(HttpFetchTest, FetchesTheMessageFileAndAnswersOnceLater)
{
    put(QStringLiteral("test"), "Hallo Welt #dingdong#\r\n"_qba);

    ASSERT_TRUE(fetch.starte(url(QStringLiteral("test"))));
    EXPECT_EQ(answers.count, 0); // never from inside start()
    EXPECT_TRUE(fetch.laeuft());
    EXPECT_FALSE(fetch.starte(url(QStringLiteral("info"))));

    ASSERT_TRUE(waitUntil([&] { return answers.count > 0; }));
    EXPECT_TRUE(answers.last->ok);
    EXPECT_FALSE(answers.last->timedOut);
    EXPECT_EQ(answers.last->status, 200);
    EXPECT_EQ(answers.last->body, "Hallo Welt #dingdong#\r\n"_qba);
    EXPECT_FALSE(fetch.laeuft());

    // The refused second start left no answer behind; a new start works and
    // sees the changed file (nothing is cached).
    put(QStringLiteral("test"), "zweiter Text"_qba);
    ASSERT_TRUE(fetch.starte(url(QStringLiteral("test"))));
    ASSERT_TRUE(waitUntil([&] { return answers.count > 1; }));
    EXPECT_EQ(answers.last->body, "zweiter Text"_qba);
    QTest::qWait(200);
    EXPECT_EQ(answers.count, 2);
}

TEST_F(HttpFetchTest, MissingFileIsAnAnswerWithStatus404)
{
    ASSERT_TRUE(fetch.starte(url(QStringLiteral("gibtsnicht"))));
    ASSERT_TRUE(waitUntil([&] { return answers.count > 0; }));
    EXPECT_TRUE(answers.last->ok);
    EXPECT_EQ(answers.last->status, 404);
    EXPECT_TRUE(answers.last->body.startsWith("<?xml")) << answers.last->body.toStdString();
}

TEST_F(HttpFetchTest, KeepsOnlyTheFirst50000Bytes)
{
    QByteArray big;
    for (int i = 0; big.size() < 300000; ++i)
        big += QByteArray::number(i) + ' ';
    put(QStringLiteral("test"), big);

    ASSERT_TRUE(fetch.starte(url(QStringLiteral("test"))));
    ASSERT_TRUE(waitUntil([&] { return answers.count > 0; }));
    EXPECT_TRUE(answers.last->ok);
    EXPECT_EQ(answers.last->status, 200);
    EXPECT_EQ(answers.last->body, big.left(50000));

    // Exactly the limit is kept whole; a smaller limit cuts there.
    put(QStringLiteral("test"), big.left(50000));
    ASSERT_TRUE(fetch.starte(url(QStringLiteral("test"))));
    ASSERT_TRUE(waitUntil([&] { return answers.count > 1; }));
    EXPECT_EQ(answers.last->body, big.left(50000));

    fetch.setzeMaxBytes(10);
    ASSERT_TRUE(fetch.starte(url(QStringLiteral("test"))));
    ASSERT_TRUE(waitUntil([&] { return answers.count > 2; }));
    EXPECT_TRUE(answers.last->ok);
    EXPECT_EQ(answers.last->body, big.left(10));
    QTest::qWait(200);
    EXPECT_EQ(answers.count, 3);
}

TEST_F(HttpFetchTest, SilentServerTimesOutWhileTheWindowKeepsRunning)
{
    SilentServer silent;
    fetch.setzeTimeoutMs(800);
    int ticks = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, &ticker, [&] { ++ticks; });
    ticker.start(10);

    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(fetch.starte(silent.url()));
    EXPECT_LT(clock.elapsed(), 100);
    EXPECT_FALSE(fetch.starte(silent.url()));

    ASSERT_TRUE(waitUntil([&] { return answers.count > 0; }, 5000));
    const qint64 waited = clock.elapsed();
    EXPECT_GE(waited, 700);
    EXPECT_LT(waited, 3000);
    EXPECT_GT(ticks, 30); // the event loop turned all the time
    EXPECT_FALSE(answers.last->ok);
    EXPECT_TRUE(answers.last->timedOut);
    EXPECT_FALSE(fetch.laeuft());

    // The request asked for a fresh answer, past every cache.
    const QByteArray request = silent.empfangen().toLower();
    EXPECT_TRUE(request.startsWith("get /gast.txt http/1.1\r\n"))
        << silent.empfangen().toStdString();
    EXPECT_TRUE(request.contains("\r\ncache-control: no-cache\r\n"));
    EXPECT_TRUE(request.contains("\r\npragma: no-cache\r\n"));

    QTest::qWait(300);
    EXPECT_EQ(answers.count, 1);
}

TEST_F(HttpFetchTest, PollsAskConditionallyOverOneKeptConnection)
{
    put(QStringLiteral("test"), "eins\r\n");
    const auto holen = [&](int nummer) {
        EXPECT_TRUE(fetch.starte(url(QStringLiteral("test"))));
        EXPECT_TRUE(waitUntil([&] { return answers.count == nummer; }));
        return answers.last.value_or(HttpAbruf::Antwort{});
    };
    const HttpAbruf::Antwort erste = holen(1);
    ASSERT_TRUE(erste.ok);
    EXPECT_EQ(erste.status, 200);
    EXPECT_EQ(erste.neueVerbindungen, 1);
    EXPECT_TRUE(fetch.verbindungOffen());
    const QByteArray etag = varnek::kopfWert(erste.headers, "ETag");
    const QByteArray geaendert = varnek::kopfWert(erste.headers, "Last-Modified");
    ASSERT_FALSE(etag.isEmpty());
    ASSERT_FALSE(geaendert.isEmpty());

    // Unchanged: 304 without a body, on the same connection.
    fetch.setBedingung(etag, geaendert);
    const HttpAbruf::Antwort zweite = holen(2);
    EXPECT_TRUE(zweite.ok);
    EXPECT_EQ(zweite.status, 304);
    EXPECT_TRUE(zweite.body.isEmpty());
    EXPECT_EQ(zweite.neueVerbindungen, 0);

    // Changed: the whole file, still on the same connection.
    put(QStringLiteral("test"), "zwei!\r\n");
    const HttpAbruf::Antwort dritte = holen(3);
    EXPECT_EQ(dritte.status, 200);
    EXPECT_EQ(dritte.body, "zwei!\r\n");
    EXPECT_EQ(dritte.neueVerbindungen, 0);

    // Without an ETag the date is asked about.
    fetch.setBedingung({}, "Fri, 31 Dec 2100 23:59:59 GMT");
    EXPECT_EQ(holen(4).status, 304);
    fetch.setBedingung({}, {});
    EXPECT_EQ(holen(5).status, 200);
}

TEST(HttpFetchKeepAlive, KeptConnectionClosedByTheServerIsRetriedOnceOnANewOne)
{
    varnek::test::RohServer server("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    server.setOffenFuer(1);
    ASSERT_TRUE(server.running());
    HttpAbruf fetch;
    Answers answers(fetch);
    const QUrl url(QStringLiteral("http://127.0.0.1:%1/Gast.txt").arg(server.port()));
    for (int i = 1; i <= 3; ++i) {
        ASSERT_TRUE(fetch.starte(url));
        ASSERT_TRUE(waitUntil([&] { return answers.count == i; }));
        EXPECT_TRUE(answers.last->ok) << i;
        EXPECT_EQ(answers.last->body, "ok");
        EXPECT_EQ(answers.last->requests, 1);
        EXPECT_EQ(answers.last->neueVerbindungen, 1);
    }
    // Each later fetch found the kept socket closed unanswered and went again.
    EXPECT_EQ(server.verbindungen(), 3);

    // "Connection: close" and HTTP/1.0 answers are not kept.
    for (const QByteArray &antwort :
         {"HTTP/1.1 200 OK\r\nConnection: close\r\nContent-Length: 2\r\n\r\nok"_qba,
          "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"_qba}) {
        varnek::test::RohServer einmal(antwort);
        einmal.setOffenFuer(5);
        HttpAbruf f;
        Answers a(f);
        ASSERT_TRUE(f.starte(QUrl(QStringLiteral("http://127.0.0.1:%1/").arg(einmal.port()))));
        ASSERT_TRUE(waitUntil([&] { return a.count == 1; }));
        EXPECT_FALSE(f.verbindungOffen()) << antwort.constData();
    }
}

TEST_F(HttpFetchTest, UnreachableServerAndAbortAnswerOnce)
{
    const QUrl closed(
        QStringLiteral("http://127.0.0.1:%1/Gast.txt").arg(varnek::test::closedPort()));
    ASSERT_TRUE(fetch.starte(closed));
    EXPECT_EQ(answers.count, 0);
    ASSERT_TRUE(waitUntil([&] { return answers.count > 0; }));
    EXPECT_FALSE(answers.last->ok);
    EXPECT_FALSE(answers.last->timedOut);
    EXPECT_EQ(answers.last->status, 0);

    // An unusable URL is answered from the event loop as well.
    ASSERT_TRUE(fetch.starte(QUrl(QStringLiteral("kaputt://x"))));
    EXPECT_EQ(answers.count, 1);
    ASSERT_TRUE(waitUntil([&] { return answers.count > 1; }));
    EXPECT_FALSE(answers.last->ok);

    SilentServer silent;
    ASSERT_TRUE(fetch.starte(silent.url()));
    fetch.brichAb();
    EXPECT_EQ(answers.count, 3);
    EXPECT_FALSE(answers.last->ok);
    EXPECT_FALSE(fetch.laeuft());
    fetch.brichAb(); // idle: nothing
    QTest::qWait(300);
    EXPECT_EQ(answers.count, 3);
}

TEST_F(HttpFetchTest, AddressUrlEscapesWhatTheUrlNeeds)
{
    EXPECT_EQ(varnek::adressUrl(QStringLiteral("example.org"), 80, QStringLiteral("d-bw-001"))
                  ->toEncoded(),
              "http://example.org/vx/stillbox/vxvx/d-bw-001/Gast.txt"_qba);
    EXPECT_EQ(varnek::adressUrlText(QStringLiteral("example.org"), 80, QStringLiteral("d-bw-001")),
              QStringLiteral("http://example.org/vx/stillbox/vxvx/d-bw-001/Gast.txt"));

    const QString odd = QStringLiteral("Jörg 7#?%41");
    EXPECT_EQ(varnek::adressUrl(QStringLiteral("example.org"), 8080, odd)->toEncoded(),
              "http://example.org:8080/vx/stillbox/vxvx/J%C3%B6rg%207%23%3F%2541/Gast.txt"_qba);
    EXPECT_EQ(varnek::adressUrlText(QStringLiteral("example.org"), 8080, odd),
              QStringLiteral("http://example.org:8080/vx/stillbox/vxvx/Jörg 7#?%41/Gast.txt"));

    // No URL is ever built for an address that would leave its area.
    for (const QString &weg :
         {QStringLiteral("../../x"), QStringLiteral(".."), QStringLiteral("."),
          QStringLiteral("a/b"), QStringLiteral("a\\b"), QString(), QStringLiteral("a\tb")}) {
        EXPECT_FALSE(varnek::adressUrl(QStringLiteral("example.org"), 80, weg).has_value())
            << weg.toStdString();
        EXPECT_EQ(varnek::adressUrlText(QStringLiteral("example.org"), 80, weg), QString());
    }

    // ... and lands on that folder's file, not on a look-alike.
    put(odd, "richtig"_qba);
    put(QStringLiteral("Jörg 7#?A"), "falsch"_qba);
    ASSERT_TRUE(fetch.starte(url(odd)));
    ASSERT_TRUE(waitUntil([&] { return answers.count > 0; }));
    EXPECT_EQ(answers.last->status, 200);
    EXPECT_EQ(answers.last->body, "richtig"_qba);
}

// What the misbehaving server sends, as the fetch reports it.
TEST(HttpFetchFeind, CutOffBodyRedirectsAndHtmlAsReported)
{
    HttpAbruf fetch;
    Answers answers{fetch};
    const auto hole = [&](const QString &modus,
                          const QString &pfad = QStringLiteral("/vx/stillbox/vxvx/test/Gast.txt")) {
        varnek::test::FeindServer server(modus);
        EXPECT_TRUE(server.running());
        const int vorher = answers.count;
        EXPECT_TRUE(fetch.starte(QUrl(
            QStringLiteral("http://%1:%2%3").arg(server.host()).arg(server.port()).arg(pfad))));
        EXPECT_TRUE(waitUntil([&] { return answers.count > vorher; }));
        return std::make_pair(*answers.last, server.anfragen());
    };

    // 300 of 1000 promised bytes, then a reset: no answer at all.
    auto [gekappt, a1] = hole(QStringLiteral("truncated"));
    EXPECT_FALSE(gekappt.ok);
    EXPECT_EQ(gekappt.status, 0);
    EXPECT_TRUE(gekappt.body.isEmpty());

    // A loop: the first request and three redirects, then it stops there.
    auto [schleife, a2] = hole(QStringLiteral("redirect"));
    EXPECT_TRUE(schleife.ok);
    EXPECT_TRUE(schleife.redirectRefused);
    EXPECT_EQ(schleife.status, 302);
    EXPECT_EQ(schleife.redirects, 3);
    EXPECT_EQ(schleife.requests, 4);
    EXPECT_EQ(a2.size(), 4);

    auto [fremd, a3] = hole(QStringLiteral("foreign"));
    EXPECT_TRUE(fremd.redirectRefused);
    EXPECT_EQ(fremd.requests, 1);

    auto [umgezogen, a4] = hole(QStringLiteral("redirect1"));
    EXPECT_TRUE(umgezogen.ok);
    EXPECT_FALSE(umgezogen.redirectRefused);
    EXPECT_EQ(umgezogen.status, 200);
    EXPECT_EQ(umgezogen.redirects, 1);
    EXPECT_EQ(umgezogen.body, QByteArray("Hallo Welt\r\n"));

    // Chunks are put together; 1xx interim answers are skipped.
    for (const char *modus : {"chunked", "interim102", "interim103"}) {
        auto [stuecke, a] = hole(QString::fromLatin1(modus));
        EXPECT_TRUE(stuecke.ok) << modus;
        EXPECT_EQ(stuecke.status, 200) << modus;
        EXPECT_EQ(stuecke.body, QByteArray("Hallo Welt\r\n")) << modus;
    }

    auto [html, a5] = hole(QStringLiteral("html"));
    EXPECT_TRUE(html.ok);
    EXPECT_EQ(html.contentType, QByteArray("text/html; charset=utf-8"));

    // The limit is the caller's: a large one takes the whole body.
    fetch.setzeMaxBytes(20 * 1024 * 1024);
    auto [gross, a6] = hole(QStringLiteral("good"));
    EXPECT_EQ(gross.body, QByteArray("Hallo Welt\r\n"));
    EXPECT_FALSE(gross.truncated);
}

} // namespace

// CPU time of this process so far, in milliseconds.
double cpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1000.0 + double(t.tv_nsec) / 1e6;
}

// A header section over 64 KB ends the fetch at once, before Qt spends
// seconds on it, and the next fetch works.
TEST(HttpFetchFeind, HeaderSectionOver64KbEndsTheFetch)
{
    for (const char *modus : {"bigheader", "hugeline"}) {
        SCOPED_TRACE(modus);
        varnek::test::FeindServer server(QString::fromLatin1(modus));
        ASSERT_TRUE(server.running());
        HttpAbruf fetch;
        fetch.setzeTimeoutMs(3000);
        Answers answers{fetch};
        QElapsedTimer uhr;
        uhr.start();
        const double cpu = cpuMs();
        ASSERT_TRUE(fetch.starte(
            QUrl(QStringLiteral("http://%1:%2/Gast.txt").arg(server.host()).arg(server.port()))));
        ASSERT_TRUE(waitUntil([&] { return answers.count > 0; }, 20000));
        EXPECT_FALSE(answers.last->ok);
        EXPECT_TRUE(answers.last->headerTooLarge);
        EXPECT_LT(uhr.elapsed(), 1500);
        QTest::qWait(300);
        EXPECT_LT(cpuMs() - cpu, 1000.0);
    }
}

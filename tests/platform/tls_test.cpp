// FTP with explicit TLS and HTTPS against the local server started with
// --tls and a certificate authority made by the test.
#include "platform/FtpSitzung.h"
#include "platform/HttpAbruf.h"
#include "platform/Tls.h"

#include "contact/Adresse.h"

#include "support/LocalServer.h"
#include "support/TestCa.h"

#include <QSslConfiguration>

#include <gtest/gtest.h>

#include <optional>

using varnek::FtpSitzung;
using varnek::HttpAbruf;
using varnek::test::LocalServer;
using varnek::test::TestCa;
using varnek::test::waitUntil;

namespace
{

const QString kAdresse = QStringLiteral("localhost/vx/stillbox/vxvx/test");

FtpSitzung::Optionen optionen(const LocalServer &server, const QString &caDatei, bool passiv)
{
    FtpSitzung::Optionen o;
    o.host = server.host();
    o.port = server.ftpPort();
    o.user = QStringLiteral("varnekdb");
    o.password = QStringLiteral("Wald2619");
    o.passive = passiv;
    o.tls = true;
    o.caFile = caDatei;
    o.connectTimeoutMs = 5000;
    o.stallTimeoutMs = 5000;
    return o;
}

// The authority the test made, the one a stranger made, and none.
enum class Ca { Eigene, Fremde, Keine };

struct Fall {
    const char *name;
    bool serverTls;
    Ca ca;
    bool passiv;
    bool erwartetOk;
    const char *meldung; // part of the reason on failure
};

void PrintTo(const Fall &fall, std::ostream *os)
{
    *os << fall.name;
}

class FtpTls : public ::testing::TestWithParam<Fall>
{
};

TEST_P(FtpTls, SendsOnlyOverAVerifiedEncryptedConnection)
{
    const Fall &fall = GetParam();
    TestCa ca, fremde;
    ASSERT_TRUE(ca.ok() && fremde.ok());
    LocalServer server(fall.serverTls ? ca.serverOptionen() : QStringList{});
    ASSERT_TRUE(server.running());
    const QString caDatei = fall.ca == Ca::Eigene   ? ca.ca()
                            : fall.ca == Ca::Fremde ? fremde.ca()
                                                    : QString();

    FtpSitzung client;
    const varnek::Ergebnis verbunden = client.verbinde(optionen(server, caDatei, fall.passiv));
    if (!fall.erwartetOk) {
        EXPECT_FALSE(verbunden);
        EXPECT_FALSE(client.verbunden());
        EXPECT_EQ(client.letzterFehler(), FtpSitzung::TlsError)
            << qPrintable(client.letzteAntwort());
        EXPECT_TRUE(client.letzteAntwort().contains(QString::fromUtf8(fall.meldung)))
            << qPrintable(client.letzteAntwort());
        // Whatever is tried after, nothing reaches the server.
        EXPECT_FALSE(client.ladeHoch("geheim\r\n", kAdresse + QStringLiteral("/Gast.txt"), false));
        EXPECT_TRUE(server.readFile(kAdresse + QStringLiteral("/Gast.txt")).isEmpty());
        return;
    }
    ASSERT_TRUE(verbunden) << qPrintable(client.letzteAntwort());
    ASSERT_TRUE(client.wechsleVerzeichnis(QLatin1Char('/') + kAdresse));
    ASSERT_TRUE(client.ladeHoch("Hallo verschlüsselt\r\n", QStringLiteral("Gast.txt"), false))
        << qPrintable(client.letzteAntwort());
    EXPECT_EQ(server.readFile(kAdresse + QStringLiteral("/Gast.txt")),
              QByteArray("Hallo verschlüsselt\r\n"));
    const std::optional<FtpSitzung::Liste> liste = client.liste();
    ASSERT_TRUE(liste);
    EXPECT_TRUE(liste->text.contains("Gast.txt"));
}

INSTANTIATE_TEST_SUITE_P(
    Faelle, FtpTls,
    ::testing::Values(
        Fall{"EigeneCaPassiv", true, Ca::Eigene, true, true, ""},
        // Active mode asked for: TLS transfers go passive.
        Fall{"EigeneCaAktivGewuenscht", true, Ca::Eigene, false, true, ""},
        Fall{"FremdeCa", true, Ca::Fremde, true, false, "Zertifikat des Servers"},
        Fall{"OhneCaDerSystemeigenen", true, Ca::Keine, true, false, "Zertifikat des Servers"},
        Fall{"ServerOhneTls", false, Ca::Eigene, true, false, "keine Verschlüsselung"}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(FtpTlsCaDatei, MissingAuthorityFileFailsWithItsName)
{
    TestCa ca;
    ASSERT_TRUE(ca.ok());
    LocalServer server(ca.serverOptionen());
    ASSERT_TRUE(server.running());
    FtpSitzung client;
    EXPECT_FALSE(client.verbinde(optionen(server, QStringLiteral("/gibt/es/nicht.pem"), true)));
    EXPECT_EQ(client.letzterFehler(), FtpSitzung::TlsError);
    EXPECT_TRUE(client.letzteAntwort().contains(QStringLiteral("/gibt/es/nicht.pem")))
        << qPrintable(client.letzteAntwort());
}

// HTTPS reads with the authority the program was given, and says why a
// certificate it cannot trust is refused.
TEST(HttpsAbruf, ReadsWithTheGivenAuthorityAndRefusesAStrangersCertificate)
{
    TestCa ca, fremde;
    ASSERT_TRUE(ca.ok() && fremde.ok());
    LocalServer server(ca.serverOptionen());
    ASSERT_TRUE(server.running());
    server.writeFile(kAdresse + QStringLiteral("/Gast.txt"), "Hallo\r\n");
    const QSslConfiguration vorher = QSslConfiguration::defaultConfiguration();
    varnek::WebZiel ziel{server.host(), server.httpPort(), true};
    const QUrl url = varnek::adressUrl(ziel, QStringLiteral("test")).value();
    EXPECT_EQ(url.scheme(), QStringLiteral("https"));

    const auto hole = [&] {
        HttpAbruf abruf;
        std::optional<HttpAbruf::Antwort> r;
        QObject::connect(&abruf, &HttpAbruf::fertig, &abruf,
                         [&](const HttpAbruf::Antwort &x) { r = x; });
        EXPECT_TRUE(abruf.starte(url));
        EXPECT_TRUE(waitUntil([&] { return r.has_value(); }, 8000));
        return r.value_or(HttpAbruf::Antwort{});
    };
    ASSERT_TRUE(varnek::vertraueZertifizierungsstelle(ca.ca()));
    const HttpAbruf::Antwort gut = hole();
    EXPECT_TRUE(gut.ok);
    EXPECT_EQ(gut.status, 200);
    EXPECT_EQ(gut.body, QByteArray("Hallo\r\n"));
    EXPECT_TRUE(gut.tlsFehler.isEmpty());

    ASSERT_TRUE(varnek::vertraueZertifizierungsstelle(fremde.ca()));
    const HttpAbruf::Antwort schlecht = hole();
    EXPECT_FALSE(schlecht.ok);
    EXPECT_TRUE(schlecht.body.isEmpty());
    EXPECT_TRUE(schlecht.tlsFehler.startsWith(QStringLiteral("Zertifikat des Servers")))
        << qPrintable(schlecht.tlsFehler);

    // A file without a certificate changes nothing.
    EXPECT_FALSE(varnek::vertraueZertifizierungsstelle(server.root() + QStringLiteral("/x")));
    QSslConfiguration::setDefaultConfiguration(vorher);
}

} // namespace

// Receiving from a server that misbehaves: what is read aloud is only ever a
// whole, real message, and the watched address never leaves its area.
#include "contact/AntwortPruefung.h"
#include "contact/Empfang.h"
#include "contact/SpeechComponent.h"
#include "contact/TextProzeduren.h"
#include "support/Pfade.h"

#include "platform/AnsiText.h"
#include "platform/ui/Dialogs.h"
#include "support/EigenerXServer.h"
#include "support/FeindServer.h"
#include "support/LocalServer.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace varnek
{
namespace
{

using test::FeindServer;
using test::waitUntil;

// Receiving against one hostile server; every "user1" press is recorded with
// the text "K1.txt" held at that moment.
class EmpfangFeindTest : public ::testing::Test
{
  protected:
    void starte(const QString &modus, const QString &text = QString())
    {
        server_ = std::make_unique<FeindServer>(modus, text);
        ASSERT_TRUE(server_->running());
        ASSERT_TRUE(ordner_.isValid());
        empfang_ = std::make_unique<Empfang>(ordner_.path());
        empfang_->setzeServer(server_->host(), server_->port());
        ASSERT_TRUE(empfang_->setzeAdresse(QStringLiteral("test")));
        QObject::connect(empfang_.get(), &Empfang::sprechen, [this](const QString &b) {
            if (b == QLatin1String("user1"))
                vorgelesen_.push_back(k1());
            else
                ++stopps_;
        });
        QObject::connect(empfang_.get(), &Empfang::klingeln, [this] { ++klingeln_; });
    }

    void tick()
    {
        empfang_->abrufTick();
        ASSERT_TRUE(waitUntil([this] { return !empfang_->abrufLaeuft(); }, 8000));
    }

    QString k1() const
    {
        return ansi::decode(
            ansi::readFile(ordner_.path() + QStringLiteral("/K1.txt")).value_or(QByteArray()));
    }

    // What the speech component would say for each "user1" press.
    QStringList gesprochen() const
    {
        QStringList out;
        for (const QString &k : vorgelesen_) {
            const QString s = SpeechComponent::speakable(k);
            if (!s.isEmpty())
                out << s;
        }
        return out;
    }

    std::unique_ptr<FeindServer> server_;
    QTemporaryDir ordner_;
    std::unique_ptr<Empfang> empfang_;
    std::vector<QString> vorgelesen_;
    int stopps_ = 0;
    int klingeln_ = 0;
};

TEST_F(EmpfangFeindTest, FlappingServerReadsTheMessageOnceAndRingsOnce)
{
    // Every other poll fails: a reset, a 500, a refused connection. Real
    // poll and speak intervals.
    starte(QStringLiteral("flapping"), QStringLiteral("Hallo Welt #dingdong#\r\n"));
    empfang_->starteLesen();
    waitUntil([] { return false; }, 12000);
    empfang_->stoppeLesen();

    EXPECT_GE(server_->anfragen().size(), 4); // the server was asked again and again
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Hallo Welt")});
    EXPECT_EQ(vorgelesen_.size(), 1u);
    EXPECT_EQ(klingeln_, 1);
    EXPECT_EQ(empfang_->gemerkteTexte(), QStringList{QStringLiteral("Hallo Welt #dingdong#\r\n")});
    EXPECT_EQ(empfang_->letzterText(), QStringLiteral("Hallo Welt #dingdong#\r\n"));
    EXPECT_FALSE(empfang_->adresseUngueltigSichtbar());
}

TEST_F(EmpfangFeindTest, BodyCutOffByAResetIsNeverRead)
{
    starte(QStringLiteral("truncated"));
    tick();
    tick();
    EXPECT_EQ(server_->anfragen().size(), 2);
    EXPECT_TRUE(vorgelesen_.empty());
    EXPECT_TRUE(empfang_->gemerkteTexte().isEmpty());
    EXPECT_EQ(empfang_->letzterText(), QString());
    EXPECT_FALSE(QFile::exists(ordner_.path() + QStringLiteral("/K1.txt")));
    // Not an answer that marks the address: it may just be a bad moment.
    EXPECT_FALSE(empfang_->adresseUngueltigSichtbar());
    EXPECT_FALSE(empfang_->merkTakt().isActive());
    EXPECT_FALSE(empfang_->sprechTaktAn());
}

TEST_F(EmpfangFeindTest, RedirectsAreFollowedThreeTimesOnTheSameHostOnly)
{
    starte(QStringLiteral("redirect"));
    tick();
    EXPECT_EQ(server_->anfragen().size(), 4)
        << server_->anfragen().join(QLatin1Char(' ')).toStdString();
    EXPECT_TRUE(empfang_->adresseUngueltigSichtbar());
    EXPECT_EQ(stopps_, 2);
    tick();
    EXPECT_EQ(server_->anfragen().size(), 8);
    EXPECT_TRUE(gesprochen().isEmpty());

    // A redirect to another host is not followed.
    vorgelesen_.clear();
    starte(QStringLiteral("foreign"));
    tick();
    EXPECT_EQ(server_->anfragen().size(), 1);
    EXPECT_TRUE(empfang_->adresseUngueltigSichtbar());
    EXPECT_TRUE(gesprochen().isEmpty());

    // One redirect on the same host leads to the message.
    vorgelesen_.clear();
    starte(QStringLiteral("redirect1"));
    tick();
    EXPECT_EQ(server_->anfragen(), QStringList({QStringLiteral("/vx/stillbox/vxvx/test/Gast.txt"),
                                                QStringLiteral("/umgezogen/Gast.txt")}));
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Hallo Welt")});
    EXPECT_FALSE(empfang_->adresseUngueltigSichtbar());
}

TEST_F(EmpfangFeindTest, HtmlPageMarksTheAddressNotValid)
{
    for (const QString &modus : {QStringLiteral("html"), QStringLiteral("html-plain")}) {
        SCOPED_TRACE(modus.toStdString());
        vorgelesen_.clear();
        stopps_ = 0;
        starte(modus);
        tick();
        EXPECT_TRUE(empfang_->adresseUngueltigSichtbar());
        EXPECT_EQ(stopps_, 2);
        EXPECT_EQ(empfang_->antwortText(), QString());
        EXPECT_TRUE(gesprochen().isEmpty());
        EXPECT_FALSE(k1().contains(QStringLiteral("html"), Qt::CaseInsensitive));
        EXPECT_FALSE(empfang_->letzterText().contains(QStringLiteral("html"), Qt::CaseInsensitive));
    }
    EXPECT_TRUE(istHtml("Text/HTML; charset=utf-8", "Hallo"));
    EXPECT_TRUE(istHtml("", "\xEF\xBB\xBF\r\n <!doctype HTML>"));
    EXPECT_FALSE(istHtml("text/plain", "Hallo <html> da"));
}

// Answers that are no message, polled three times: nothing is read aloud,
// rung or kept; only a whole answer that is plainly no text marks the
// address. A 304 after a message leaves it as it was; interim 1xx answers
// before the message are skipped, so it is read once.
struct KeineNachricht {
    const char *modus;
    bool ungueltig;     // Picture28 shown
    bool einmalGelesen; // the first answer was a message, read once
};

class EmpfangKeineNachrichtTest : public EmpfangFeindTest,
                                  public ::testing::WithParamInterface<KeineNachricht>
{
};

TEST_P(EmpfangKeineNachrichtTest, IsNeverReadAgain)
{
    const KeineNachricht fall = GetParam();
    starte(QString::fromLatin1(fall.modus));
    for (int i = 0; i < 3; ++i)
        tick();
    EXPECT_EQ(server_->anfragen().size(), 3);
    EXPECT_EQ(empfang_->adresseUngueltigSichtbar(), fall.ungueltig);
    EXPECT_EQ(klingeln_, 0);
    if (fall.einmalGelesen) {
        EXPECT_EQ(vorgelesen_.size(), 1u);
        EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Hallo Welt")});
        EXPECT_EQ(empfang_->letzterText(), QStringLiteral("Hallo Welt\r\n"));
        return;
    }
    EXPECT_TRUE(gesprochen().isEmpty());
    EXPECT_EQ(empfang_->gemerkteTexte().join(QString()), QString());
    EXPECT_EQ(empfang_->letzterText(), QString());
    // A failed fetch does not even take part in the compare step.
    EXPECT_EQ(vorgelesen_.empty(), !fall.ungueltig);
}

INSTANTIATE_TEST_SUITE_P(Modi, EmpfangKeineNachrichtTest,
                         ::testing::Values(KeineNachricht{"interim102", false, true},
                                           KeineNachricht{"interim103", false, true},
                                           KeineNachricht{"gzip", true, false},
                                           KeineNachricht{"deflate", true, false},
                                           KeineNachricht{"nul", true, false},
                                           KeineNachricht{"bigheader", false, false},
                                           KeineNachricht{"hugeline", false, false},
                                           KeineNachricht{"notmodified", false, true}),
                         [](const auto &info) { return std::string(info.param.modus); });

TEST_F(EmpfangFeindTest, ControlCharactersAreNeitherShownNorSpoken)
{
    starte(QStringLiteral("control"));
    tick();
    ASSERT_EQ(vorgelesen_.size(), 1u);
    // "K1.txt" keeps the message as it came.
    EXPECT_TRUE(k1().startsWith(QStringLiteral("Hallo \x1b[31mWelt")));
    EXPECT_EQ(gesprochen(), QStringList{QStringLiteral("Hallo Welt da zwei drei vier")});
    tick(); // the text again: now it is shown
    EXPECT_EQ(empfang_->letzterText(), QStringLiteral("Hallo Welt\tda\r\nzwei drei vier\r\n"));
    EXPECT_EQ(vorgelesen_.size(), 1u);

    EXPECT_EQ(ohneSteuerzeichen(QStringLiteral("a\x1b[1;31mb\x1b(Bc\x1b]2;x\x1b\\d\x1b")),
              QStringLiteral("abcd"));
    EXPECT_EQ(ohneSteuerzeichen(QStringLiteral("a\r\nb\rc\nd\te")), QStringLiteral("a b c d e"));
    EXPECT_EQ(ohneSteuerzeichen(QStringLiteral("Grüße \u0081€ ok")), QStringLiteral("Grüße € ok"));
}

// The real program watching an address of a hostile server.
class ProgrammFeindTest : public ::testing::Test
{
  protected:
    struct Lauf {
        std::unique_ptr<FeindServer> server;
        std::unique_ptr<QTemporaryDir> ordner;
        std::unique_ptr<QProcess> prozess;
        QString protokoll() const { return ordner->filePath(QStringLiteral("gesprochen.log")); }
        QByteArray gesprochen() const
        {
            QFile f(protokoll());
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }
    };

    static Lauf starte(const QString &modus, const QString &adresse)
    {
        Lauf l;
        l.server = std::make_unique<FeindServer>(modus);
        l.ordner = std::make_unique<QTemporaryDir>();
        l.prozess = std::make_unique<QProcess>();
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        l.prozess->setProcessEnvironment(env);
        l.prozess->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        l.prozess->start(test::varnekProgramm(),
                         {QStringLiteral("--folder"),
                          l.ordner->filePath(QStringLiteral("programm")), QStringLiteral("--host"),
                          l.server->host(), QStringLiteral("--ftp-port"),
                          QString::number(test::closedPort()), QStringLiteral("--http-port"),
                          QString::number(l.server->port()), QStringLiteral("--watch"), adresse,
                          QStringLiteral("--speech-log"), l.protokoll(), QStringLiteral("--mute")});
        return l;
    }

    static void beende(Lauf &l)
    {
        l.prozess->terminate();
        if (!l.prozess->waitForFinished(5000)) {
            l.prozess->kill();
            l.prozess->waitForFinished(3000);
        }
    }
};

TEST_F(ProgrammFeindTest, ResetBodyAndHtmlPagesAreNeverSpoken)
{
    std::vector<Lauf> laeufe;
    for (const QString &modus :
         {QStringLiteral("truncated"), QStringLiteral("html"), QStringLiteral("html-plain"),
          QStringLiteral("control"), QStringLiteral("good")})
        laeufe.push_back(starte(modus, QStringLiteral("test")));
    for (Lauf &l : laeufe) {
        ASSERT_TRUE(l.server->running());
        ASSERT_TRUE(l.prozess->waitForStarted(5000));
    }
    // Two polls each at least.
    for (Lauf &l : laeufe)
        EXPECT_TRUE(waitUntil([&l] { return l.server->anfragen().size() >= 2; }, 15000));
    waitUntil([] { return false; }, 500);
    for (Lauf &l : laeufe)
        beende(l);

    EXPECT_EQ(laeufe[0].gesprochen(), QByteArray()); // the cut-off body
    EXPECT_EQ(laeufe[1].gesprochen(), QByteArray());
    EXPECT_EQ(laeufe[2].gesprochen(), QByteArray());
    EXPECT_EQ(laeufe[3].gesprochen(), QByteArray("Hallo Welt da zwei drei vier\n"));
    EXPECT_EQ(laeufe[4].gesprochen(), QByteArray("Hallo Welt\n"));
}

// An X display of its own (Xvfb picks a free number), for runs that need a
// key pressed in a message box.
class XAnzeige
{
  public:
    QString name() const
    {
        return QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty()
                   ? QString()
                   : server_.display();
    }
    // xdotool on this display; its output.
    QByteArray xdotool(const QStringList &argumente) const
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), name());
        p.setProcessEnvironment(env);
        p.start(QStringLiteral("xdotool"), argumente);
        p.waitForFinished(5000);
        return p.readAllStandardOutput();
    }

  private:
    test::EigenerXServer server_;
};

TEST_F(ProgrammFeindTest, WatchedAddressWithParentStepsIsNeverFetched)
{
    XAnzeige x;
    if (x.name().isEmpty())
        GTEST_SKIP() << "Xvfb and xdotool are needed";
    FeindServer server(QStringLiteral("good"));
    ASSERT_TRUE(server.running());
    QTemporaryDir ordner;
    QProcess varnek;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), x.name());
    varnek.setProcessEnvironment(env);
    varnek.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QString protokoll = ordner.filePath(QStringLiteral("gesprochen.log"));
    varnek.start(test::varnekProgramm(),
                 {QStringLiteral("--folder"), ordner.filePath(QStringLiteral("programm")),
                  QStringLiteral("--host"), server.host(), QStringLiteral("--ftp-port"),
                  QString::number(test::closedPort()), QStringLiteral("--http-port"),
                  QString::number(server.port()), QStringLiteral("--watch"),
                  QStringLiteral("../../x"), QStringLiteral("--speech-log"), protokoll,
                  QStringLiteral("--mute")});
    ASSERT_TRUE(varnek.waitForStarted(5000));

    // The message box says the address is not valid; the user presses Enter
    // on it, as anyone would, and the program goes on running.
    const bool box = waitUntil(
        [&] {
            return !x.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                               QStringLiteral("--name"),
                               QStringLiteral("^") + dialogs::programTitle() + QStringLiteral("$")})
                        .trimmed()
                        .isEmpty();
        },
        15000);
    EXPECT_TRUE(box);
    waitUntil([] { return false; }, 300);
    x.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    waitUntil([] { return false; }, 5000); // two polls and more
    EXPECT_EQ(varnek.state(), QProcess::Running);
    varnek.terminate();
    if (!varnek.waitForFinished(5000))
        varnek.kill();

    for (const QString &pfad : server.anfragen())
        EXPECT_TRUE(pfad.startsWith(QStringLiteral("/vx/stillbox/vxvx/")) &&
                    !pfad.contains(QStringLiteral("..")))
            << pfad.toStdString();
    EXPECT_TRUE(server.anfragen().isEmpty());
    QFile f(protokoll);
    EXPECT_FALSE(f.open(QIODevice::ReadOnly) && f.readAll().contains("Hallo"));
}

} // namespace
} // namespace varnek

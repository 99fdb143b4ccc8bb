#include "platform/SpeechEngine.h"

#include "support/LocalServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextToSpeech>

#include <gtest/gtest.h>

#include <signal.h>

using varnek::SpeechEngine;
using varnek::test::waitUntil;

namespace
{

const QString moduleDir = QStringLiteral("/usr/lib/speech-dispatcher-modules");

// A speech-dispatcher of the test's own: own socket, own configuration, and
// as its only output module the generic one, whose "synthesiser" appends
// each text to a file. What reaches that file is what a listener hears; no
// sound device is needed.
class PrivateDispatcher
{
  public:
    explicit PrivateDispatcher(const QString &root) : root_(root)
    {
        QDir(root_).mkpath(QStringLiteral("conf/modules"));
        QDir(root_).mkpath(QStringLiteral("run"));
        QDir(root_).mkpath(QStringLiteral("log"));
        write(QStringLiteral("conf/speechd.conf"),
              QStringLiteral("CommunicationMethod \"unix_socket\"\n"
                             "SocketPath \"%1\"\n"
                             "LogLevel 3\n"
                             "LogDir \"%2\"\n"
                             "AudioOutputMethod \"alsa\"\n"
                             "AudioALSADevice \"null\"\n"
                             "AddModule \"protokoll\" \"sd_generic\" \"generic.conf\"\n"
                             "DefaultModule protokoll\n"
                             "DefaultLanguage \"de\"\n")
                  .arg(socket(), path(QStringLiteral("log"))));
        write(QStringLiteral("conf/modules/generic.conf"),
              QStringLiteral("GenericExecuteSynth \"printf '%s\\\\n' \\'$DATA\\' >> %1\"\n"
                             "GenericLanguage \"de\" \"de\" \"utf-8\"\n"
                             "GenericLanguage \"en\" \"en\" \"utf-8\"\n"
                             "AddVoice \"de\" \"MALE1\" \"de\"\n"
                             "AddVoice \"en\" \"MALE1\" \"en\"\n")
                  .arg(heardFile()));
    }

    ~PrivateDispatcher() { kill(); }

    QString socket() const { return path(QStringLiteral("run/speechd.sock")); }
    QString heardFile() const { return path(QStringLiteral("heard.txt")); }

    QStringList heard() const
    {
        QFile f(heardFile());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    // Starts the dispatcher and waits for its socket; false when it does not
    // come up.
    bool start()
    {
        QFile::remove(socket());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
        env.insert(QStringLiteral("HOME"), root_);
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::MergedChannels);
        process_.setStandardOutputFile(path(QStringLiteral("dispatcher.out")), QIODevice::Append);
        process_.start(QStringLiteral("speech-dispatcher"),
                       {QStringLiteral("-s"), QStringLiteral("-t"), QStringLiteral("0"),
                        QStringLiteral("-C"), path(QStringLiteral("conf")), QStringLiteral("-m"),
                        moduleDir, QStringLiteral("-c"), QStringLiteral("unix_socket"),
                        QStringLiteral("-S"), socket()});
        if (!process_.waitForStarted(3000))
            return false;
        return waitUntil([this] { return QFileInfo::exists(socket()); }, 5000) &&
               process_.state() == QProcess::Running;
    }

    // The service dies: no goodbye to its clients.
    void kill()
    {
        if (process_.state() == QProcess::NotRunning)
            return;
        ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
        process_.waitForFinished(3000);
    }

    QString log() const
    {
        QFile f(path(QStringLiteral("dispatcher.out")));
        QFile g(path(QStringLiteral("log/speech-dispatcher.log")));
        QString text;
        if (f.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(f.readAll());
        if (g.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(g.readAll());
        return text.right(3000);
    }

  private:
    QString path(const QString &name) const { return QDir(root_).filePath(name); }

    void write(const QString &name, const QString &text)
    {
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }

    QString root_;
    QProcess process_;
};

// Points the speech library at the private dispatcher for one test, and
// forbids it to start a dispatcher of the system's own configuration when
// the private one is gone.
class SpeechdEnvironment
{
  public:
    explicit SpeechdEnvironment(const QString &socket)
        : address_(qgetenv("SPEECHD_ADDRESS")), command_(qgetenv("SPEECHD_CMD"))
    {
        qputenv("SPEECHD_ADDRESS", QByteArray("unix_socket:") + socket.toUtf8());
        qputenv("SPEECHD_CMD", "/bin/false");
    }
    ~SpeechdEnvironment()
    {
        restore("SPEECHD_ADDRESS", address_);
        restore("SPEECHD_CMD", command_);
    }

  private:
    static void restore(const char *name, const QByteArray &value)
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    QByteArray address_;
    QByteArray command_;
};

bool dispatcherInstalled(QString *why)
{
    if (QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")).isEmpty()) {
        *why = QStringLiteral("speech-dispatcher is not installed");
        return false;
    }
    if (!QFileInfo(moduleDir + QStringLiteral("/sd_generic")).isExecutable()) {
        *why = QStringLiteral("the generic speech-dispatcher module sd_generic is not installed");
        return false;
    }
    if (!QTextToSpeech::availableEngines().contains(QStringLiteral("speechd"))) {
        *why = QStringLiteral("the speechd plugin of Qt TextToSpeech is not installed");
        return false;
    }
    return true;
}

} // namespace

// The speech service dies while the program runs and is started again: the
// first text after it is back is heard, and so is every text after that.
TEST(SpeechEngineService, SpeaksAgainAfterTheServiceDiedAndCameBack)
{
    QString why;
    if (!dispatcherInstalled(&why))
        GTEST_SKIP() << why.toStdString();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PrivateDispatcher dispatcher(dir.path());
    if (!dispatcher.start())
        GTEST_SKIP() << "the private speech-dispatcher did not start: "
                     << dispatcher.log().toStdString();
    SpeechdEnvironment env(dispatcher.socket());

    SpeechEngine engine;
    ASSERT_TRUE(waitUntil([&] { return engine.available(); }, 8000))
        << dispatcher.log().toStdString();
    engine.say(QStringLiteral("Erste Nachricht"));
    ASSERT_TRUE(waitUntil(
        [&] { return dispatcher.heard().contains(QStringLiteral("Erste Nachricht")); }, 5000))
        << dispatcher.log().toStdString();

    dispatcher.kill();
    ASSERT_TRUE(dispatcher.start()) << dispatcher.log().toStdString();

    engine.say(QStringLiteral("Zweite Nachricht"));
    EXPECT_TRUE(waitUntil(
        [&] { return dispatcher.heard().contains(QStringLiteral("Zweite Nachricht")); }, 8000))
        << "heard: " << dispatcher.heard().join(QLatin1Char('|')).toStdString() << "\n"
        << dispatcher.log().toStdString();
    engine.say(QStringLiteral("Dritte Nachricht"));
    EXPECT_TRUE(waitUntil(
        [&] { return dispatcher.heard().contains(QStringLiteral("Dritte Nachricht")); }, 5000))
        << "heard: " << dispatcher.heard().join(QLatin1Char('|')).toStdString();
    // Each text is heard once: the fresh engine does not repeat old ones.
    EXPECT_EQ(dispatcher.heard().count(QStringLiteral("Erste Nachricht")), 1);
    EXPECT_EQ(dispatcher.heard().count(QStringLiteral("Zweite Nachricht")), 1);
}

#include "support/EigenerSprachdienst.h"

#include "support/LocalServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <signal.h>

namespace varnek::test
{

namespace
{

const QString moduleDir = QStringLiteral("/usr/lib/speech-dispatcher-modules");

void schreibe(const QString &path, const QString &text)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(text.toUtf8());
}

void setzeZurueck(const char *name, const QByteArray &value)
{
    if (value.isNull())
        qunsetenv(name);
    else
        qputenv(name, value);
}

} // namespace

EigenerSprachdienst::EigenerSprachdienst()
    : address_(qgetenv("SPEECHD_ADDRESS")), command_(qgetenv("SPEECHD_CMD"))
{
    QDir(dir_.path()).mkpath(QStringLiteral("conf/modules"));
    QDir(dir_.path()).mkpath(QStringLiteral("run"));
    QDir(dir_.path()).mkpath(QStringLiteral("log"));
    schreibe(path(QStringLiteral("conf/speechd.conf")),
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
    const QString modul = path(QStringLiteral("modul.sh"));
    schreibe(modul, QStringLiteral("t=\"$1\"\n"
                                   "printf 'an %s %s\\n' \"$(date +%s%N)\" \"$t\" >> '%1'\n"
                                   "sleep \"$(printf '%s\\n' \"$t\" | awk '{ printf \"%.2f\", "
                                   "NF * 0.15 }')\"\n"
                                   "printf 'aus %s\\n' \"$t\" >> '%1'\n")
                        .arg(protokollDatei()));
    // exec: a cancelled text kills the script itself, so its end is not
    // written.
    schreibe(path(QStringLiteral("conf/modules/generic.conf")),
             QStringLiteral("GenericExecuteSynth \"exec /bin/sh %1 \\'$DATA\\'\"\n"
                            "GenericLanguage \"de\" \"de\" \"utf-8\"\n"
                            "GenericLanguage \"en\" \"en\" \"utf-8\"\n"
                            "AddVoice \"de\" \"MALE1\" \"de\"\n"
                            "AddVoice \"en\" \"MALE1\" \"en\"\n")
                 .arg(modul));
    qputenv("SPEECHD_ADDRESS", QByteArray("unix_socket:") + socket().toUtf8());
    qputenv("SPEECHD_CMD", "/bin/false");
}

EigenerSprachdienst::~EigenerSprachdienst()
{
    kill();
    setzeZurueck("SPEECHD_ADDRESS", address_);
    setzeZurueck("SPEECHD_CMD", command_);
}

QString EigenerSprachdienst::fehlt()
{
    if (QStandardPaths::findExecutable(QStringLiteral("speech-dispatcher")).isEmpty())
        return QStringLiteral("speech-dispatcher is not installed");
    if (!QFileInfo(moduleDir + QStringLiteral("/sd_generic")).isExecutable())
        return QStringLiteral("the generic speech-dispatcher module sd_generic is not installed");
    return QString();
}

bool EigenerSprachdienst::start()
{
    QFile::remove(socket());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), path(QStringLiteral("run")));
    env.insert(QStringLiteral("HOME"), dir_.path());
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

void EigenerSprachdienst::erlaubeStart()
{
    const QString skript = path(QStringLiteral("starte.sh"));
    schreibe(skript,
             QStringLiteral("export XDG_RUNTIME_DIR='%1' HOME='%2'\n"
                            "exec speech-dispatcher -t 0 -C '%3' -m '%4' -P '%5' \"$@\"\n")
                 .arg(path(QStringLiteral("run")), dir_.path(), path(QStringLiteral("conf")),
                      moduleDir, path(QStringLiteral("run/pid"))));
    QFile::setPermissions(skript, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("SPEECHD_CMD", skript.toUtf8());
    selbstGestartet_ = true;
}

void EigenerSprachdienst::kill()
{
    if (selbstGestartet_) {
        QFile pid(path(QStringLiteral("run/pid")));
        if (pid.open(QIODevice::ReadOnly)) {
            const pid_t n = static_cast<pid_t>(pid.readAll().trimmed().toInt());
            if (n > 0)
                ::kill(n, SIGKILL);
        }
    }
    if (process_.state() == QProcess::NotRunning)
        return;
    ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
    process_.waitForFinished(3000);
}

QString EigenerSprachdienst::socket() const
{
    return path(QStringLiteral("run/speechd.sock"));
}

QList<EigenerSprachdienst::Zeile> EigenerSprachdienst::gehoert() const
{
    QFile f(protokollDatei());
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QList<Zeile> zeilen;
    for (const QString &z : QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'))) {
        if (z.startsWith(QLatin1String("an "))) {
            const qsizetype blank = z.indexOf(QLatin1Char(' '), 3);
            zeilen.append({true, z.mid(3, blank - 3).toLongLong(), z.mid(blank + 1)});
        } else if (z.startsWith(QLatin1String("aus "))) {
            zeilen.append({false, 0, z.mid(4)});
        }
    }
    return zeilen;
}

QStringList EigenerSprachdienst::begonnen() const
{
    QStringList s;
    for (const Zeile &z : gehoert())
        if (z.an)
            s << z.text;
    return s;
}

QStringList EigenerSprachdienst::ganz() const
{
    QStringList s;
    for (const Zeile &z : gehoert())
        if (!z.an)
            s << z.text;
    return s;
}

QString EigenerSprachdienst::bericht() const
{
    QString text;
    for (const QString &name : {protokollDatei(), path(QStringLiteral("dispatcher.out")),
                                path(QStringLiteral("log/speech-dispatcher.log"))}) {
        QFile f(name);
        if (f.open(QIODevice::ReadOnly))
            text += QString::fromUtf8(f.readAll()).right(2000) + QLatin1Char('\n');
    }
    return text;
}

QString EigenerSprachdienst::path(const QString &name) const
{
    return QDir(dir_.path()).filePath(name);
}

QString EigenerSprachdienst::protokollDatei() const
{
    return path(QStringLiteral("gehoert.txt"));
}

} // namespace varnek::test

// The autostart entry: written whole where the desktop looks for it, valid
// for the desktop's tools, and its Exec line gives the program exactly the
// arguments it was written with, whatever characters they hold.
#include "platform/Autostart.h"

#include "support/Pfade.h"
#include "support/Schreibfehler.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace varnek;

namespace
{

// XDG_CONFIG_HOME set for the test, the old value back afterwards.
class Konfiguration
{
  public:
    explicit Konfiguration(const QByteArray &wert) : alt_(qgetenv("XDG_CONFIG_HOME"))
    {
        hatte_ = qEnvironmentVariableIsSet("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", wert);
    }
    ~Konfiguration()
    {
        if (hatte_)
            qputenv("XDG_CONFIG_HOME", alt_);
        else
            qunsetenv("XDG_CONFIG_HOME");
    }

  private:
    QByteArray alt_;
    bool hatte_ = false;
};

QString pruefe(const QString &datei)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(QStringLiteral("desktop-file-validate"), {datei});
    if (!p.waitForFinished(10000))
        return QStringLiteral("desktop-file-validate did not finish");
    return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAll());
}

struct Aufrufzeile {
    const char *name;
    QStringList argumente; // after the program
    const char *exec;      // the Exec value after the program's path
};

class AutostartExec : public ::testing::TestWithParam<Aufrufzeile>
{
};

TEST_P(AutostartExec, TheDesktopStartsTheProgramWithExactlyTheseArguments)
{
    const Aufrufzeile &z = GetParam();
    QTemporaryDir home;
    Konfiguration konfig(home.filePath(QStringLiteral("konfig")).toUtf8());
    // The program: a script in a folder whose name needs quoting too, that
    // writes the arguments it gets, each ended by NUL.
    const QString ordner = home.filePath(QStringLiteral("mein Programm $1"));
    ASSERT_TRUE(QDir().mkpath(ordner));
    const QString programm = ordner + QStringLiteral("/var\"nek");
    const QString ausgabe = home.filePath(QStringLiteral("argumente"));
    {
        QFile f(programm);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("#!/bin/sh\nprintf '%s\\0' \"$@\" > \"$VARNEK_ARGUMENTE\"\n");
    }
    QFile::setPermissions(programm, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const QStringList argumente = QStringList{programm} + z.argumente;
    ASSERT_TRUE(autostart::schreibe(argumente));
    const QString eintrag = autostart::eintragPfad();
    EXPECT_EQ(eintrag, home.filePath(QStringLiteral("konfig/autostart/varnek.desktop")));
    EXPECT_EQ(pruefe(eintrag), QString());
    EXPECT_EQ(autostart::execZeile(argumente),
              autostart::execZeile({programm}) + QString::fromUtf8(z.exec));

    QProcess start;
    QProcessEnvironment umgebung = QProcessEnvironment::systemEnvironment();
    umgebung.insert(QStringLiteral("VARNEK_ARGUMENTE"), ausgabe);
    start.setProcessEnvironment(umgebung);
    start.setProcessChannelMode(QProcess::ForwardedChannels);
    start.start(QStringLiteral("/usr/bin/python3"),
                {test::quellPfad(QStringLiteral("tests/support/desktop_start.py")), eintrag});
    ASSERT_TRUE(start.waitForFinished(15000));
    QFile f(ausgabe);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "the program was not started";
    QStringList erhalten = QString::fromUtf8(f.readAll()).split(QChar(0));
    erhalten.removeLast(); // after the last NUL
    EXPECT_EQ(erhalten, z.argumente);
}

INSTANTIATE_TEST_SUITE_P(
    Zeilen, AutostartExec,
    ::testing::Values(
        Aufrufzeile{"Plain", {"--watch", "test"}, " --watch test"},
        Aufrufzeile{"BlanksAndQuotes",
                    {"--folder", "/home/a b/Varnek \"neu\"", "--watch", "d-bw-001"},
                    " --folder \"/home/a b/Varnek \\\\\"neu\\\\\"\" --watch d-bw-001"},
        Aufrufzeile{"ShellCharacters",
                    {"--folder", "/tmp/$HOME`id`;x|y&z", "--watch", "o'neil"},
                    " --folder \"/tmp/\\\\$HOME\\\\`id\\\\`;x|y&z\" --watch \"o'neil\""},
        Aufrufzeile{"BackslashAndFieldCodes",
                    {"--folder", "C:\\Varnek %f %%", "--watch", "100%"},
                    " --folder \"C:\\\\\\\\Varnek %%f %%%%\" --watch 100%%"},
        Aufrufzeile{"NonAsciiAndEmpty",
                    {"--folder", "/home/jürgen/Größe", "--watch", ""},
                    " --folder /home/jürgen/Größe --watch \"\""}),
    [](const auto &info) { return std::string(info.param.name); });

struct Ortzeile {
    const char *name;
    const char *xdg; // nullptr: use the temporary folder
    bool imHome;     // the entry lies under ~/.config
};

class AutostartOrt : public ::testing::TestWithParam<Ortzeile>
{
};

TEST_P(AutostartOrt, FollowsXdgConfigHomeOnlyWhenItIsAnAbsolutePath)
{
    QTemporaryDir dir;
    const Ortzeile &z = GetParam();
    Konfiguration konfig(z.xdg ? QByteArray(z.xdg) : dir.path().toUtf8());
    const QString erwartet = z.imHome ? QDir::homePath() + QStringLiteral("/.config") : dir.path();
    EXPECT_EQ(autostart::eintragPfad(), erwartet + QStringLiteral("/autostart/varnek.desktop"));
}

INSTANTIATE_TEST_SUITE_P(Zeilen, AutostartOrt,
                         ::testing::Values(Ortzeile{"Absolute", nullptr, false},
                                           Ortzeile{"Empty", "", true},
                                           Ortzeile{"Relative", "konfig", true}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Autostart, AFailedWriteLeavesTheOldEntryAndRemovingTwiceSucceeds)
{
    QTemporaryDir home;
    Konfiguration konfig(home.path().toUtf8());
    ASSERT_TRUE(autostart::schreibe(
        {QStringLiteral("/usr/bin/varnek"), QStringLiteral("--watch"), QStringLiteral("alt")}));
    QFile f(autostart::eintragPfad());
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray alt = f.readAll();
    f.close();
    {
        test::SchreibProbe voll(ENOSPC, 10);
        const Ergebnis e = autostart::schreibe(
            {QStringLiteral("/usr/bin/varnek"), QStringLiteral("--watch"), QStringLiteral("neu")});
        EXPECT_FALSE(e);
        EXPECT_EQ(e.grund(), QStringLiteral("Datenträger voll"));
    }
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), alt);
    f.close();
    EXPECT_TRUE(autostart::entferne());
    EXPECT_FALSE(autostart::vorhanden());
    EXPECT_TRUE(autostart::entferne());

    // A configuration folder that cannot be created: the reason, no entry.
    QFile sperre(home.filePath(QStringLiteral("datei")));
    ASSERT_TRUE(sperre.open(QIODevice::WriteOnly));
    sperre.close();
    Konfiguration keinOrdner(home.filePath(QStringLiteral("datei")).toUtf8());
    const Ergebnis e = autostart::schreibe({QStringLiteral("/usr/bin/varnek")});
    EXPECT_FALSE(e);
    EXPECT_FALSE(e.grund().isEmpty());
    EXPECT_FALSE(autostart::vorhanden());
}

} // namespace

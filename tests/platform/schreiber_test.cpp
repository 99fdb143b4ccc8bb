#include "platform/AnsiText.h"
#include "platform/Schreiber.h"

#include "support/Schreibfehler.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#include <sys/wait.h>
#include <unistd.h>

using namespace varnek;
using varnek::test::KleinesDateisystem;
using varnek::test::SchreibProbe;

namespace
{

enum class Stoerung {
    Keine,
    VollSofort,
    VollNachBytes,
    Lesefehler,
    DateisystemVoll,
    OrdnerNurLesen,
    DateiNurLesen
};

struct SchreibFall {
    const char *name;
    Stoerung stoerung;
    const char *grund; // expected German reason; nullptr: the write succeeds
};

class GanzOderGarNicht : public ::testing::TestWithParam<SchreibFall>
{
};

// Every file the program writes goes through ansi::writeFile: after a failed
// write the old file is there byte for byte and no temporary file is left.
TEST_P(GanzOderGarNicht, AlteDateiBleibtUnberuehrt)
{
    const SchreibFall &fall = GetParam();
    KleinesDateisystem fs(64 * 1024);
    VARNEK_BRAUCHT_DATEISYSTEM(fs);
    const QString pfad = fs.datei(QStringLiteral("Gast.txt"));
    const QByteArray alt = "vorher getippt\r\n";
    ASSERT_TRUE(ansi::writeFile(pfad, alt));

    const QByteArray neu = QByteArray(2000, 'n') + "\r\n";
    Ergebnis ok;
    {
        std::optional<SchreibProbe> probe;
        switch (fall.stoerung) {
        case Stoerung::Keine:
            break;
        case Stoerung::VollSofort:
            probe.emplace(ENOSPC, 0);
            break;
        case Stoerung::VollNachBytes:
            probe.emplace(ENOSPC, 100);
            break;
        case Stoerung::Lesefehler:
            probe.emplace(EIO, 10);
            break;
        case Stoerung::DateisystemVoll:
            fs.fuellen();
            break;
        case Stoerung::OrdnerNurLesen:
            ASSERT_TRUE(fs.schreibschutz(true));
            break;
        case Stoerung::DateiNurLesen:
            QFile::setPermissions(pfad, QFile::ReadOwner | QFile::ReadGroup);
            break;
        }
        ok = ansi::writeFile(pfad, neu);
    }
    fs.schreibschutz(false);
    fs.leeren();

    if (!fall.grund) {
        EXPECT_TRUE(ok) << ok.grund().toStdString();
        EXPECT_EQ(ansi::readFile(pfad), neu);
    } else {
        EXPECT_FALSE(ok);
        EXPECT_EQ(ok.grund(), QString::fromUtf8(fall.grund));
        EXPECT_EQ(ansi::readFile(pfad), alt);
    }
    EXPECT_EQ(QDir(fs.pfad()).entryList(QDir::Files | QDir::Hidden),
              QStringList{QStringLiteral("Gast.txt")});
}

INSTANTIATE_TEST_SUITE_P(
    Schreiber, GanzOderGarNicht,
    ::testing::Values(
        SchreibFall{"Gesund", Stoerung::Keine, nullptr},
        SchreibFall{"VollSofort", Stoerung::VollSofort, "Datenträger voll"},
        SchreibFall{"VollNachBytes", Stoerung::VollNachBytes, "Datenträger voll"},
        SchreibFall{"Lesefehler", Stoerung::Lesefehler,
                    "Lese- oder Schreibfehler des Datenträgers"},
        SchreibFall{"DateisystemVoll", Stoerung::DateisystemVoll, "Datenträger voll"},
        SchreibFall{"OrdnerNurLesen", Stoerung::OrdnerNurLesen, "Ordner schreibgeschützt"},
        SchreibFall{"DateiNurLesen", Stoerung::DateiNurLesen, "Datei schreibgeschützt"}),
    [](const ::testing::TestParamInfo<SchreibFall> &info) { return std::string(info.param.name); });

// At start-up the temporary files of a writer that was killed go; those of
// a process still alive, of other programs' files and of other patterns stay.
TEST(SchreiberReste, NurTempDateienToterProzesseEigenerDateienGehen)
{
    const pid_t kind = ::fork();
    if (kind == 0)
        ::_exit(0);
    ASSERT_GT(kind, 0);
    ::waitpid(kind, nullptr, 0); // now a pid no process has
    const QString tot = QString::number(kind), lebt = QString::number(::getppid());
    const QString selbst = QString::number(::getpid());
    struct Rest {
        QString name;
        bool geht;
    };
    const Rest reste[] = {
        {"Gast.txt." + tot + ".0.tmp", true},   {"K1.txt." + tot + ".17.tmp", true},
        {"Gast.txt." + lebt + ".0.tmp", false}, {"Gast.txt." + selbst + ".0.tmp", false},
        {"brief.doc." + tot + ".0.tmp", false}, {"Gast.txt." + tot + ".tmp", false},
        {"Gast.txt." + tot + ".0.tmp~", false}, {"Gast.txt", false},
    };
    QTemporaryDir ordner;
    for (const Rest &r : reste)
        ASSERT_TRUE(ansi::writeFile(ordner.filePath(r.name), "halb"));
    const auto eigen = [](const QString &n) { return n == "Gast.txt" || n == "K1.txt"; };
    EXPECT_EQ(schreiber::entferneReste(ordner.path(), eigen), 2);
    for (const Rest &r : reste)
        EXPECT_EQ(QFileInfo::exists(ordner.filePath(r.name)), !r.geht) << qPrintable(r.name);
}

} // namespace

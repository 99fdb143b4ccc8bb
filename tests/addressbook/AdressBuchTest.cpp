#include "addressbook/AdressBuch.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "support/Schreibfehler.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

using namespace varnek;
using Feld = AdressDatensatz::Feld;

namespace
{

// A record as another program (or an earlier run) left it: number, comment,
// and Reserve fields full of odd bytes that must survive unchanged.
QByteArray record(const QString &nummer, const QString &komentar = QString(), char reserve = 'r')
{
    AdressDatensatz satz;
    satz.setText(Feld::Nummer, nummer);
    satz.setText(Feld::Komentar, komentar);
    QByteArray r1(200, reserve);
    r1[0] = '\0';
    r1[1] = '\x81';
    satz.setRaw(Feld::Reserve1, r1);
    satz.setRaw(Feld::Reserve8, QByteArray(60, reserve));
    satz.setText(Feld::Webadresse, QStringLiteral("www.") + nummer + QStringLiteral(".de"));
    satz.setText(Feld::Bildpfad, QStringLiteral("C:\\bilder\\") + nummer + QStringLiteral(".jpg"));
    return satz.bytes();
}

QByteArray book(int n)
{
    QByteArray out;
    for (int i = 1; i <= n; ++i)
        out += record(QString::number(i), QStringLiteral("K%1").arg(i), char('a' + i % 26));
    return out;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray();
    return f.readAll();
}

void writeAll(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

QByteArray recordsOf(const QByteArray &file, std::initializer_list<int> numbers)
{
    QByteArray out;
    for (int n : numbers)
        out += file.mid((n - 1) * 870, 870);
    return out;
}

class AdressBuchTest : public ::testing::Test
{
  protected:
    QTemporaryDir dir;
    QString pre() const { return dir.filePath(QStringLiteral("Adress.PRE")); }
    QString tmp() const { return dir.filePath(QStringLiteral("Daten.TMP")); }
};

} // namespace

TEST_F(AdressBuchTest, MissingFileIsCreatedAndTheFirstCloseWritesOneRecord)
{
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    EXPECT_TRUE(QFileInfo::exists(pre()));
    EXPECT_EQ(QFileInfo(pre()).size(), 0);
    EXPECT_EQ(buch.anzahlSaetze(), 1);
    EXPECT_EQ(buch.aktuellerSatz(), 1);

    const AdressAnzeige a = buch.anzeigen();
    EXPECT_EQ(a.felder.nummer, QString());
    EXPECT_EQ(a.felder.komentar, QString());
    EXPECT_EQ(a.felder.webadresse, QString());
    EXPECT_EQ(a.felder.bildpfad, QString());
    EXPECT_EQ(a.titel, QString::fromUtf8("Einträge 1/ 1"));

    EXPECT_TRUE(buch.schliessen({QStringLiteral("V-1"), {}, {}, {}}));
    EXPECT_FALSE(buch.istOffen());
    EXPECT_EQ(QFileInfo(pre()).size(), 870);

    // A second close writes nothing.
    EXPECT_TRUE(buch.schliessen({QStringLiteral("anders"), {}, {}, {}}));
    const QByteArray disk = readAll(pre());
    EXPECT_EQ(disk.size(), 870);
    EXPECT_EQ(AdressDatensatz::fromBytes(disk).text(Feld::Nummer), QStringLiteral("V-1"));
}

TEST_F(AdressBuchTest, DefaultFolderIsTheWorkingDirectory)
{
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    {
        AdressBuch buch;
        EXPECT_TRUE(buch.oeffnen());
        EXPECT_TRUE(buch.schliessen({}));
    }
    QDir::setCurrent(before);
    EXPECT_EQ(QFileInfo(pre()).size(), 870);
}

TEST_F(AdressBuchTest, RecordCountRoundsHalvesToEven)
{
    EXPECT_EQ(AdressBuch::zaehleSaetze(0), 1);
    EXPECT_EQ(AdressBuch::zaehleSaetze(435), 1); // half of one: 0, then at least 1
    EXPECT_EQ(AdressBuch::zaehleSaetze(436), 1);
    EXPECT_EQ(AdressBuch::zaehleSaetze(1304), 1);
    EXPECT_EQ(AdressBuch::zaehleSaetze(1305), 2);
    EXPECT_EQ(AdressBuch::zaehleSaetze(2175), 2);
    EXPECT_EQ(AdressBuch::zaehleSaetze(2176), 3);
    EXPECT_EQ(AdressBuch::zaehleSaetze(3045), 4);
    EXPECT_EQ(AdressBuch::zaehleSaetze(870 * 7), 7);

    for (int laenge : {1305, 2175}) {
        writeAll(pre(), book(3).left(laenge));
        AdressBuch buch(dir.path());
        ASSERT_TRUE(buch.oeffnen());
        EXPECT_EQ(buch.anzahlSaetze(), 2) << laenge;
    }
}

TEST_F(AdressBuchTest, HalfRecordAtTheEndIsReadButNeverCut)
{
    const QByteArray disk = book(2).left(1305);
    writeAll(pre(), disk);
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    buch.setAktuellerSatz(2);
    const AdressAnzeige a = buch.anzeigen();
    EXPECT_EQ(a.felder.nummer, QStringLiteral("2"));
    EXPECT_EQ(a.felder.bildpfad, QString()); // lies past the end
    EXPECT_EQ(a.titel, QString::fromUtf8("Einträge 2/ 2"));
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Komentar, QStringLiteral("k2")), 2);
    EXPECT_EQ(buch.satzLesen(9).bytes(), QByteArray(870, ' '));
    EXPECT_EQ(readAll(pre()), disk);

    // Appending behind it (while record 1 is shown) fills the gap after the
    // half record with blanks, not zero bytes.
    buch.setAktuellerSatz(1);
    const AdressAnzeige eins = buch.anzeigen();
    ASSERT_TRUE(buch.neuerSatz(eins.felder));
    EXPECT_EQ(buch.aktuellerSatz(), 3);
    const QByteArray after = readAll(pre());
    ASSERT_EQ(after.size(), 3 * 870);
    EXPECT_EQ(after.left(1305), disk);
    EXPECT_EQ(after.mid(1305, 435), QByteArray(435, ' '));
}

TEST_F(AdressBuchTest, SavingCutsTrimsAndKeepsReserveBytes)
{
    const QByteArray disk = book(2);
    writeAll(pre(), disk);
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    buch.setAktuellerSatz(2);
    buch.anzeigen();

    const QString komentar75 = QString(75, QLatin1Char('k'));
    const QString bild80 = QString(80, QLatin1Char('p'));
    ASSERT_TRUE(buch.speichern(
        {QStringLiteral("  4711  "), komentar75, QString::fromUtf8("www.über.de"), bild80}));

    const QByteArray after = readAll(pre());
    ASSERT_EQ(after.size(), 2 * 870);
    EXPECT_EQ(after.left(870), disk.left(870));
    const QByteArray zwei = after.mid(870);
    EXPECT_EQ(zwei.mid(60, 60), QByteArray(60, 'k'));
    EXPECT_EQ(zwei.mid(800, 70), QByteArray(70, 'p'));
    EXPECT_EQ(zwei.mid(740, 12), QByteArray("www.\xFC"
                                            "ber.de "));
    EXPECT_EQ(zwei.mid(120, 620), disk.mid(870 + 120, 620)); // Reserve1..8 byte for byte

    const AdressAnzeige a = buch.anzeigen();
    EXPECT_EQ(a.felder.nummer, QStringLiteral("4711"));
    EXPECT_EQ(a.felder.komentar, komentar75.left(60));
    EXPECT_EQ(a.felder.webadresse, QString::fromUtf8("www.über.de"));
    EXPECT_EQ(a.felder.bildpfad, bild80.left(70));
}

TEST_F(AdressBuchTest, NewRecordAfterTheLastCarriesItsReserveFields)
{
    const QByteArray disk = book(3);
    writeAll(pre(), disk);
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    buch.setAktuellerSatz(3);
    buch.anzeigen();
    ASSERT_TRUE(buch.neuerSatz({QStringLiteral("3b"), QStringLiteral("geändert"), {}, {}}));
    EXPECT_EQ(buch.anzahlSaetze(), 4);
    EXPECT_EQ(buch.aktuellerSatz(), 4);

    const QByteArray after = readAll(pre());
    ASSERT_EQ(after.size(), 4 * 870);
    EXPECT_EQ(AdressDatensatz::fromBytes(after.mid(2 * 870)).text(Feld::Nummer),
              QStringLiteral("3b"));
    const AdressDatensatz vier = AdressDatensatz::fromBytes(after.mid(3 * 870));
    EXPECT_EQ(vier.raw(Feld::Nummer), QByteArray(60, ' '));
    EXPECT_EQ(vier.raw(Feld::Komentar), QByteArray(60, ' '));
    EXPECT_EQ(vier.raw(Feld::Webadresse), QByteArray(60, ' '));
    EXPECT_EQ(vier.raw(Feld::Bildpfad), QByteArray(70, ' '));
    EXPECT_EQ(after.mid(3 * 870 + 120, 620), disk.mid(2 * 870 + 120, 620));

    const AdressAnzeige a = buch.anzeigen();
    EXPECT_EQ(a.felder.nummer, QString());
    EXPECT_EQ(a.titel, QString::fromUtf8("Einträge 4/ 4"));
}

TEST_F(AdressBuchTest, DeleteTheOnlyRecordLeavesAnEmptyBook)
{
    writeAll(pre(), book(1));
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    const Ergebnis e = buch.satzLoeschen();
    ASSERT_TRUE(e) << qPrintable(e.grund());
    EXPECT_EQ(QFileInfo(pre()).size(), 0);
    EXPECT_FALSE(QFileInfo::exists(tmp()));
    const AdressAnzeige a = buch.anzeigen();
    EXPECT_EQ(a.felder.nummer, QString());
    EXPECT_EQ(a.titel, QString::fromUtf8("Einträge 1/ 1"));

    // The book stays usable: the next save writes record 1 again.
    ASSERT_TRUE(buch.speichern({QStringLiteral("neu"), {}, {}, {}}));
    EXPECT_EQ(QFileInfo(pre()).size(), 870);
}

TEST_F(AdressBuchTest, DeleteShowsTheFollowingOrTheNewLastRecord)
{
    const QByteArray disk = book(5);
    writeAll(pre(), disk);
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());

    buch.setAktuellerSatz(2);
    buch.anzeigen();
    // An unsaved edit goes with the deleted record; nothing is saved first.
    ASSERT_TRUE(buch.satzLoeschen());
    AdressAnzeige a = buch.anzeigen();
    EXPECT_EQ(a.felder.nummer, QStringLiteral("3"));
    EXPECT_EQ(a.titel, QString::fromUtf8("Einträge 2/ 4"));
    EXPECT_EQ(readAll(pre()), recordsOf(disk, {1, 3, 4, 5}));

    writeAll(pre(), disk);
    ASSERT_TRUE(buch.oeffnen());
    buch.setAktuellerSatz(5);
    ASSERT_TRUE(buch.satzLoeschen());
    a = buch.anzeigen();
    EXPECT_EQ(a.felder.nummer, QStringLiteral("4"));
    EXPECT_EQ(a.titel, QString::fromUtf8("Einträge 4/ 4"));
    EXPECT_EQ(readAll(pre()), disk.left(4 * 870));

    // The reopened file takes further saves.
    ASSERT_TRUE(buch.speichern({QStringLiteral("vier"), {}, {}, {}}));
    EXPECT_EQ(AdressDatensatz::fromBytes(readAll(pre()).mid(3 * 870)).text(Feld::Nummer),
              QStringLiteral("vier"));
}

TEST_F(AdressBuchTest, LeftoverTmpBesideTheBookIsReplaced)
{
    const QByteArray disk = book(3);
    writeAll(pre(), disk);
    writeAll(tmp(), QByteArray("stale leftover"));
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    EXPECT_EQ(buch.anzahlSaetze(), 3);      // the book wins over the leftover
    EXPECT_FALSE(QFileInfo::exists(tmp())); // and the leftover goes at once
    buch.setAktuellerSatz(1);
    ASSERT_TRUE(buch.satzLoeschen());
    EXPECT_FALSE(QFileInfo::exists(tmp()));
    EXPECT_EQ(readAll(pre()), recordsOf(disk, {2, 3}));
}

TEST_F(AdressBuchTest, TmpWithoutBookIsTakenOverAtOpen)
{
    const QByteArray disk = book(3);
    writeAll(tmp(), disk);
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    EXPECT_EQ(buch.anzahlSaetze(), 3);
    EXPECT_FALSE(QFileInfo::exists(tmp()));
    EXPECT_EQ(readAll(pre()), disk);
}

TEST_F(AdressBuchTest, SearchMatchesWholeTrimmedFieldIgnoringCase)
{
    QByteArray disk;
    disk += record(QStringLiteral("100"), QStringLiteral("Meier-Schulz"));
    disk += record(QStringLiteral("200"), QStringLiteral("  Meier"));
    disk += record(QStringLiteral("300"), QStringLiteral("MEIER"));
    disk += record(QStringLiteral("400"), QString::fromUtf8("MÜLLER"));
    writeAll(pre(), disk);
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    buch.setAktuellerSatz(3);
    buch.anzeigen();
    const AdressDatensatz vorher = buch.datensatz();

    EXPECT_EQ(buch.satzSuchen(SuchFeld::Komentar, QStringLiteral("meier")), 2);
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Komentar, QString::fromUtf8("müller")), 4);
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Komentar, QStringLiteral("meier-schulz")), 1);
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Komentar, QStringLiteral("schulz")), std::nullopt);
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Komentar, QStringLiteral("200")), std::nullopt);
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Nummer, QStringLiteral("300")), 3);
    EXPECT_EQ(buch.aktuellerSatz(), 3);
    EXPECT_EQ(buch.datensatz(), vorher);

    // The scan reads the file: a saved change is found, the buffer is not.
    ASSERT_TRUE(buch.speichern({QStringLiteral("300"), QStringLiteral("Neu"), {}, {}}));
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Komentar, QStringLiteral("neu")), 3);
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Komentar, QStringLiteral("meier")), 2);
}

TEST_F(AdressBuchTest, BookThatCannotBeOpenedStillMovesItsCounters)
{
    AdressBuch buch(dir.filePath(QStringLiteral("fehlt/nicht/da")));
    const Ergebnis e = buch.oeffnen();
    EXPECT_FALSE(e);
    EXPECT_FALSE(e.grund().isEmpty());
    EXPECT_EQ(buch.anzeigen().titel, QString::fromUtf8("Einträge 1/ 1"));
    EXPECT_FALSE(buch.neuerSatz({QStringLiteral("x"), {}, {}, {}}));
    EXPECT_EQ(buch.anzeigen().titel, QString::fromUtf8("Einträge 2/ 2"));
    EXPECT_EQ(buch.anzeigen().felder.nummer, QString());
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Nummer, QStringLiteral("x")), std::nullopt);
    EXPECT_FALSE(buch.satzLoeschen());
    EXPECT_EQ(buch.anzeigen().titel, QString::fromUtf8("Einträge 1/ 1"));
    EXPECT_TRUE(buch.schliessen({}));
}

// A step of the delete that fails leaves the old book whole, open and
// usable; a failure after the rename leaves the new book whole.
// A full disk: saving, adding and deleting fail with the reason, leave the
// file byte for byte as it was (no stray bytes of a half record), count no
// phantom record and leave no "Daten.TMP".
enum class BuchSchritt { Speichern, Neu, Loeschen };
struct VollFall {
    const char *name;
    BuchSchritt schritt;
    bool echtesDateisystem; // a full tmpfs, else the write probe
    qint64 nachBytes;       // probe: bytes that still go through
};

class AdressBuchVoll : public ::testing::TestWithParam<VollFall>
{
};

TEST_P(AdressBuchVoll, NichtsGeaendertUndGrundGenannt)
{
    const VollFall &fall = GetParam();
    test::KleinesDateisystem fs(64 * 1024);
    VARNEK_BRAUCHT_DATEISYSTEM(fs);
    const QString pre = fs.datei(QStringLiteral("Adress.PRE"));
    const QByteArray disk = book(4); // 3480 bytes: the next record needs a new page
    writeAll(pre, disk);
    AdressBuch buch(fs.pfad());
    ASSERT_TRUE(buch.oeffnen());
    buch.setAktuellerSatz(2);
    const AdressFelder gezeigt = buch.anzeigen().felder;
    AdressFelder geaendert = gezeigt;
    geaendert.komentar = QStringLiteral("geändert");

    Ergebnis ok;
    {
        std::optional<test::SchreibProbe> probe;
        if (fall.echtesDateisystem)
            fs.fuellen();
        else
            probe.emplace(ENOSPC, fall.nachBytes);
        switch (fall.schritt) {
        case BuchSchritt::Speichern:
            ok = buch.speichern(geaendert);
            break;
        case BuchSchritt::Neu:
            ok = buch.neuerSatz(gezeigt);
            break;
        case BuchSchritt::Loeschen:
            ok = buch.satzLoeschen();
            break;
        }
    }
    fs.leeren();
    EXPECT_FALSE(ok);
    EXPECT_TRUE(ok.grund().contains(QString::fromUtf8("Datenträger voll")))
        << ok.grund().toStdString();
    EXPECT_EQ(readAll(pre), disk);
    EXPECT_EQ(buch.anzahlSaetze(), 4);
    EXPECT_EQ(buch.anzeigen().titel, QString::fromUtf8("Einträge 2/ 4"));
    EXPECT_FALSE(QFileInfo::exists(fs.datei(QStringLiteral("Daten.TMP"))));
    // With room again, the same step goes through.
    EXPECT_TRUE(buch.neuerSatz(gezeigt));
    EXPECT_EQ(buch.anzahlSaetze(), 5);
}

INSTANTIATE_TEST_SUITE_P(
    AdressBuch, AdressBuchVoll,
    ::testing::Values(VollFall{"SpeichernProbe", BuchSchritt::Speichern, false, 0},
                      VollFall{"NeuProbe", BuchSchritt::Neu, false, 870 + 100},
                      VollFall{"NeuVoll", BuchSchritt::Neu, true, 0},
                      VollFall{"LoeschenProbe", BuchSchritt::Loeschen, false, 1000},
                      VollFall{"LoeschenVoll", BuchSchritt::Loeschen, true, 0}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(AdressBuchTest, FailingDeleteStepKeepsEveryRecord)
{
    const QByteArray disk = book(5);
    const LoeschSchritt vorDemErsetzen[] = {
        LoeschSchritt::AltesTmpEntfernen,     LoeschSchritt::TmpAnlegen,
        LoeschSchritt::SaetzeKopieren,        LoeschSchritt::TmpSichern,
        LoeschSchritt::AdressDateiSchliessen, LoeschSchritt::Ersetzen};
    for (LoeschSchritt schritt : vorDemErsetzen) {
        SCOPED_TRACE(static_cast<int>(schritt));
        writeAll(pre(), disk);
        AdressBuch buch(dir.path());
        ASSERT_TRUE(buch.oeffnen());
        writeAll(tmp(), QByteArray("stale")); // appears while the book is open
        buch.setAktuellerSatz(2);
        buch.setLoeschPruefung([schritt](LoeschSchritt s) { return s != schritt; });
        const Ergebnis e = buch.satzLoeschen();
        EXPECT_FALSE(e);
        EXPECT_FALSE(e.grund().isEmpty());
        EXPECT_EQ(readAll(pre()), disk);
        EXPECT_EQ(buch.anzahlSaetze(), 5);
        EXPECT_EQ(buch.aktuellerSatz(), 2);
        EXPECT_TRUE(buch.istOffen());
        if (schritt != LoeschSchritt::AltesTmpEntfernen) {
            EXPECT_FALSE(QFileInfo::exists(tmp()));
        }
        EXPECT_EQ(buch.anzeigen().felder.nummer, QStringLiteral("2"));

        // Once the obstacle is gone the same delete goes through.
        buch.setLoeschPruefung({});
        ASSERT_TRUE(buch.satzLoeschen());
        EXPECT_EQ(readAll(pre()), recordsOf(disk, {1, 3, 4, 5}));
    }

    writeAll(pre(), disk);
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    buch.setAktuellerSatz(2);
    buch.setLoeschPruefung([](LoeschSchritt s) { return s != LoeschSchritt::NeuOeffnen; });
    const Ergebnis e = buch.satzLoeschen();
    EXPECT_FALSE(e);
    EXPECT_TRUE(e.grund().contains(QStringLiteral("gelöscht")));
    EXPECT_EQ(readAll(pre()), recordsOf(disk, {1, 3, 4, 5}));
    EXPECT_EQ(buch.anzeigen().titel, QString::fromUtf8("Einträge 2/ 4"));
    ASSERT_TRUE(buch.oeffnen());
    EXPECT_EQ(buch.anzahlSaetze(), 4);
}

namespace
{

// Runs a delete of record `satz` in a child process that dies without any
// clean-up at the `mal`-th arrival at `schritt`. Returns true if it died there.
bool deleteDiesAt(const QString &folder, int satz, LoeschSchritt schritt, int mal = 1)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        AdressBuch buch(folder);
        if (!buch.oeffnen())
            ::_exit(2);
        buch.setAktuellerSatz(satz);
        int ankunft = 0;
        buch.setLoeschPruefung([&](LoeschSchritt s) {
            if (s == schritt && ++ankunft == mal)
                ::_exit(0);
            return true;
        });
        (void)buch.satzLoeschen(); // the child is killed in the middle of it
        ::_exit(1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST_F(AdressBuchTest, DeleteKilledAtAnyStepLosesNoSurvivor)
{
    const QByteArray disk = book(5);
    const QByteArray ohneZwei = recordsOf(disk, {1, 3, 4, 5});
    // (A leftover "Daten.TMP" is gone once the book opens, so the delete
    // never reaches AltesTmpEntfernen here.)
    const LoeschSchritt schritte[] = {
        LoeschSchritt::TmpAnlegen, LoeschSchritt::SaetzeKopieren,
        LoeschSchritt::TmpSichern, LoeschSchritt::AdressDateiSchliessen,
        LoeschSchritt::Ersetzen,   LoeschSchritt::OrdnerSichern,
        LoeschSchritt::NeuOeffnen};
    for (LoeschSchritt schritt : schritte) {
        SCOPED_TRACE(static_cast<int>(schritt));
        writeAll(pre(), disk);
        writeAll(tmp(), QByteArray("stale"));
        ASSERT_TRUE(deleteDiesAt(dir.path(), 2, schritt));

        AdressBuch buch(dir.path());
        ASSERT_TRUE(buch.oeffnen());
        const QByteArray nachher = readAll(pre());
        EXPECT_TRUE(nachher == disk || nachher == ohneZwei);

        // The next delete must not throw survivors away with the leftover.
        const int vorher = buch.anzahlSaetze();
        buch.setAktuellerSatz(1);
        ASSERT_TRUE(buch.satzLoeschen());
        EXPECT_EQ(readAll(pre()), nachher.mid(870));
        EXPECT_EQ(buch.anzahlSaetze(), vorher - 1);
        EXPECT_FALSE(QFileInfo::exists(tmp()));
    }
}

TEST_F(AdressBuchTest, DeleteKilledHalfwayThroughCopyingLosesNoSurvivor)
{
    const QByteArray disk = book(1200); // more than one block of records
    writeAll(pre(), disk);
    ASSERT_TRUE(deleteDiesAt(dir.path(), 7, LoeschSchritt::SaetzeKopieren, 2));
    ASSERT_TRUE(QFileInfo::exists(tmp()));
    EXPECT_LT(QFileInfo(tmp()).size(), qint64(1199) * 870);

    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    EXPECT_FALSE(QFileInfo::exists(tmp())); // the half copy goes when the book opens
    EXPECT_EQ(buch.anzahlSaetze(), 1200);
    EXPECT_EQ(readAll(pre()), disk);
    buch.setAktuellerSatz(7);
    ASSERT_TRUE(buch.satzLoeschen());
    EXPECT_EQ(readAll(pre()), disk.left(6 * 870) + disk.mid(7 * 870));
    EXPECT_EQ(buch.satzSuchen(SuchFeld::Nummer, QStringLiteral("1200")), 1199);
}

TEST_F(AdressBuchTest, FolderWithUmlautsWorksForDeleteAndRecovery)
{
    const QString ordner = dir.filePath(QString::fromUtf8("Übersicht äöü"));
    ASSERT_TRUE(QDir().mkpath(ordner));
    const QByteArray disk = book(3);
    writeAll(QDir(ordner).filePath(QStringLiteral("Daten.TMP")), disk);
    AdressBuch buch(ordner);
    ASSERT_TRUE(buch.oeffnen());
    EXPECT_EQ(buch.anzahlSaetze(), 3);
    ASSERT_TRUE(buch.satzLoeschen());
    EXPECT_EQ(readAll(QDir(ordner).filePath(QStringLiteral("Adress.PRE"))),
              recordsOf(disk, {2, 3}));
}

// A book without write permission stays as it is, even for root, who could
// write it anyway; paging through it is still possible.
TEST_F(AdressBuchTest, ReadOnlyBookIsNeverWrittenAlsoByRoot)
{
    const QByteArray disk = book(3);
    writeAll(pre(), disk);
    ASSERT_TRUE(QFile::setPermissions(pre(), QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    const AdressAnzeige eins = buch.anzeigen();
    EXPECT_TRUE(buch.speichern(eins.felder)); // unchanged: nothing to write

    AdressFelder neu = eins.felder;
    neu.komentar = QStringLiteral("geändert");
    const Ergebnis e = buch.speichern(neu);
    EXPECT_FALSE(e);
    EXPECT_TRUE(e.grund().contains(QString::fromUtf8("schreibgeschützt")))
        << e.grund().toStdString();
    EXPECT_FALSE(buch.neuerSatz(neu));
    buch.setAktuellerSatz(2);
    EXPECT_FALSE(buch.satzLoeschen());
    EXPECT_FALSE(QFile::exists(tmp()));
    EXPECT_FALSE(buch.schliessen(neu));
    EXPECT_EQ(readAll(pre()), disk);
}

// Bytes behind the last counted record (fewer than half a record, so the
// count rounds them away) survive a new record and a delete.
TEST_F(AdressBuchTest, CutShortLastRecordIsKeptByNewAndDelete)
{
    const QByteArray disk = book(3).left(2 * 870 + 400);
    writeAll(pre(), disk);
    AdressBuch buch(dir.path());
    ASSERT_TRUE(buch.oeffnen());
    ASSERT_EQ(buch.anzahlSaetze(), 2);
    EXPECT_EQ(buch.restBytes(), 400);

    buch.setAktuellerSatz(2);
    ASSERT_TRUE(buch.neuerSatz(buch.anzeigen().felder));
    // The cut record is record 3, padded with blanks; the new one is 4.
    EXPECT_EQ(buch.aktuellerSatz(), 4);
    EXPECT_EQ(buch.anzahlSaetze(), 4);
    const QByteArray after = readAll(pre());
    ASSERT_EQ(after.size(), 4 * 870);
    EXPECT_EQ(after.left(2 * 870 + 400), disk);
    EXPECT_EQ(after.mid(2 * 870 + 400, 470), QByteArray(470, ' '));
    buch.setAktuellerSatz(3);
    EXPECT_EQ(buch.anzeigen().felder.nummer, QStringLiteral("3"));

    // A delete copies such bytes along.
    writeAll(pre(), disk);
    ASSERT_TRUE(buch.oeffnen());
    buch.setAktuellerSatz(1);
    ASSERT_TRUE(buch.satzLoeschen());
    EXPECT_EQ(readAll(pre()), disk.mid(870));
    EXPECT_EQ(buch.anzahlSaetze(), 1);
}

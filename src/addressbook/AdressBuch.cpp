#include "addressbook/AdressBuch.h"

#include "platform/AnsiText.h"
#include "platform/Schreiber.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace varnek
{

namespace
{

// Records moved per read/write while copying or scanning.
constexpr int kBlockSaetze = 512;

using Feld = AdressDatensatz::Feld;

QString quoted(const QString &name)
{
    return QLatin1Char('"') + name + QLatin1Char('"');
}

const QString &abgelehnt()
{
    static const QString text = QStringLiteral("Vorgang abgelehnt");
    return text;
}

// Makes a rename inside the folder durable.
void syncFolder(const QString &folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

std::filesystem::path fsPath(const QString &path)
{
#ifdef Q_OS_WIN
    return std::filesystem::path(path.toStdU16String());
#else
    // The same bytes QFile uses for the name.
    return std::filesystem::path(QFile::encodeName(path).toStdString());
#endif
}

} // namespace

const QString AdressBuch::DateiName = QStringLiteral("Adress.PRE");
const QString AdressBuch::TmpName = QStringLiteral("Daten.TMP");

AdressBuch::AdressBuch(QString ordner) : ordner_(std::move(ordner)) {}

AdressBuch::~AdressBuch()
{
    file_.close();
}

int AdressBuch::zaehleSaetze(qint64 laenge)
{
    if (laenge <= 0)
        return 1;
    qint64 saetze = laenge / Satzlaenge;
    const qint64 rest = laenge % Satzlaenge;
    // Nearest whole number; an exact half goes to the even neighbour.
    if (2 * rest > Satzlaenge || (2 * rest == Satzlaenge && saetze % 2 == 1))
        ++saetze;
    return static_cast<int>(std::clamp<qint64>(saetze, 1, INT_MAX));
}

QString AdressBuch::pfad() const
{
    const QString ordner = !ordnerBeimOeffnen_.isEmpty() ? ordnerBeimOeffnen_
                           : !ordner_.isEmpty()          ? ordner_
                                                         : QDir::currentPath();
    return QDir(ordner).filePath(DateiName);
}

QString AdressBuch::tmpPfad() const
{
    return QFileInfo(pfad()).dir().filePath(TmpName);
}

Ergebnis AdressBuch::dateiOeffnen()
{
    file_.setFileName(pfad());
    // A book the user marked read-only is only read, even by a user the
    // system would let write anyway (the administrator).
    if (!ansi::schreibgeschuetzt(pfad()) &&
        file_.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        return {};
    const QString grund = file_.errorString();
    // A write-protected book can still be read.
    if (file_.exists() && file_.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {};
    return Ergebnis::fehler(quoted(DateiName) + QStringLiteral(" kann nicht geöffnet werden: ") +
                            grund);
}

Ergebnis AdressBuch::oeffnen()
{
    file_.close();
    ordnerBeimOeffnen_.clear();
    ordnerBeimOeffnen_ = QFileInfo(pfad()).absolutePath();
    aktuell_ = 1;
    anzahl_ = 1;

    // A delete that died after the old file was gone left the complete new
    // book as "Daten.TMP": take it over. Never create an empty book beside
    // it, or a later delete would throw the survivors away as stale.
    const QString datei = pfad();
    const QString tmp = tmpPfad();
    if (!QFileInfo::exists(datei) && QFileInfo::exists(tmp)) {
        std::error_code ec;
        std::filesystem::rename(fsPath(tmp), fsPath(datei), ec);
        if (ec)
            return Ergebnis::fehler(quoted(TmpName) + QStringLiteral(" kann nicht in ") +
                                    quoted(DateiName) + QStringLiteral(" umbenannt werden: ") +
                                    QString::fromStdString(ec.message()));
    }

    if (Ergebnis e = dateiOeffnen(); !e)
        return e;
    // With "Adress.PRE" there, a "Daten.TMP" is what a delete that was
    // killed before its rename left behind: worthless, and it goes.
    if (QFileInfo::exists(tmp) && file_.isWritable())
        QFile::remove(tmp);
    anzahl_ = zaehleSaetze(file_.size());
    return {};
}

void AdressBuch::setAktuellerSatz(int satz)
{
    aktuell_ = std::clamp(satz, 1, anzahl_);
}

AdressDatensatz AdressBuch::satzLesen(int satz)
{
    if (!file_.isOpen() || satz < 1)
        return AdressDatensatz();
    if (!file_.seek(qint64(satz - 1) * Satzlaenge))
        return AdressDatensatz();
    return AdressDatensatz::fromBytes(file_.read(Satzlaenge));
}

Ergebnis AdressBuch::satzSchreiben(int satz, const AdressDatensatz &daten)
{
    const auto schreibFehler = [&](const QString &grund) {
        return Ergebnis::fehler(
            QStringLiteral("Eintrag %1 kann nicht gespeichert werden: ").arg(satz) + grund);
    };
    if (satz < 1)
        return schreibFehler(QStringLiteral("ungültige Nummer"));
    if (!file_.isOpen())
        return schreibFehler(QStringLiteral("das Adressbuch ist nicht geöffnet"));
    if (!file_.isWritable())
        return schreibFehler(QStringLiteral("das Adressbuch ist schreibgeschützt"));

    const qint64 pos = qint64(satz - 1) * Satzlaenge;
    const qint64 laengeVorher = file_.size();
    // A record that does not fit (full disk) leaves no stray bytes: the file
    // goes back to its old length.
    const auto zurueck = [&](const QString &grund) {
        if (file_.size() > laengeVorher)
            file_.resize(laengeVorher);
        return schreibFehler(grund);
    };
    // Fill a gap before the record with blanks rather than leaving a hole of
    // zero bytes (a half record at the end becomes a blank-padded one).
    qint64 ende = laengeVorher;
    if (ende < pos) {
        const QByteArray blanks(qMin<qint64>(pos - ende, 64 * 1024), ' ');
        while (ende < pos) {
            const qint64 n = qMin<qint64>(pos - ende, blanks.size());
            if (const Ergebnis e =
                    schreiber::schreibeAn(file_.handle(), ende, blanks.constData(), n);
                !e)
                return zurueck(e.grund());
            ende += n;
        }
    }
    if (const Ergebnis e =
            schreiber::schreibeAn(file_.handle(), pos, daten.bytes().constData(), Satzlaenge);
        !e)
        return zurueck(e.grund());
    return {};
}

Ergebnis AdressBuch::speichern(const AdressFelder &felder)
{
    datensatz_.setText(Feld::Nummer, felder.nummer);
    datensatz_.setText(Feld::Komentar, felder.komentar);
    datensatz_.setText(Feld::Webadresse, felder.webadresse);
    datensatz_.setText(Feld::Bildpfad, felder.bildpfad);
    // A write-protected book can be paged through: a record that is stored
    // as it stands needs no write.
    if (file_.isOpen() && !file_.isWritable() && satzLesen(aktuell_) == datensatz_)
        return {};
    return satzSchreiben(aktuell_, datensatz_);
}

qint64 AdressBuch::restBytes() const
{
    if (!file_.isOpen())
        return 0;
    return std::max<qint64>(0, file_.size() - qint64(anzahl_) * Satzlaenge);
}

QString AdressBuch::titel() const
{
    return QString::fromUtf8("Einträge") + QLatin1Char(' ') + QString::number(aktuell_) +
           QLatin1Char('/') + QLatin1Char(' ') + QString::number(anzahl_);
}

AdressAnzeige AdressBuch::anzeigen()
{
    datensatz_ = satzLesen(aktuell_);
    AdressAnzeige a;
    a.felder.nummer = datensatz_.text(Feld::Nummer);
    a.felder.komentar = datensatz_.text(Feld::Komentar);
    a.felder.webadresse = datensatz_.text(Feld::Webadresse);
    a.felder.bildpfad = datensatz_.text(Feld::Bildpfad);
    a.titel = titel();
    return a;
}

Ergebnis AdressBuch::neuerSatz(const AdressFelder &felder)
{
    const Ergebnis gespeichert = speichern(felder);
    // Bytes behind the last counted record (a record cut short, fewer than
    // half) are kept: padded with blanks they become a record of their own,
    // and the new record follows it.
    const bool rest = restBytes() > 0;
    if (anzahl_ >= INT_MAX - (rest ? 1 : 0))
        return Ergebnis::fehler(QStringLiteral("Das Adressbuch ist voll."));
    const int anzahlVorher = anzahl_;
    const AdressDatensatz gezeigt = datensatz_;
    if (rest)
        ++anzahl_;
    ++anzahl_;
    // The new record keeps the buffer's Reserve fields (those of the record
    // shown before).
    datensatz_.setText(Feld::Nummer, QString());
    datensatz_.setText(Feld::Komentar, QString());
    datensatz_.setText(Feld::Webadresse, QString());
    datensatz_.setText(Feld::Bildpfad, QString());
    const Ergebnis angehaengt = satzSchreiben(anzahl_, datensatz_);
    if (!angehaengt && istOffen()) {
        // Nothing was appended: no record to count, the shown one stays.
        anzahl_ = anzahlVorher;
        datensatz_ = gezeigt;
        return !gespeichert ? gespeichert : angehaengt;
    }
    aktuell_ = anzahl_;
    return !gespeichert ? gespeichert : angehaengt;
}

bool AdressBuch::schrittErlaubt(LoeschSchritt schritt) const
{
    return !pruefung_ || pruefung_(schritt);
}

// Reads records [erster, erster + anzahl) of the book into block (whose
// memory is reused from call to call), filling what lies past the end of the
// file with blanks.
static void leseBlock(QFile *file, int erster, int anzahl, QByteArray &block)
{
    const qint64 laenge = qint64(anzahl) * AdressBuch::Satzlaenge;
    block.resize(laenge);
    qint64 gelesen = 0;
    if (file && file->seek(qint64(erster - 1) * AdressBuch::Satzlaenge)) {
        while (gelesen < laenge) {
            const qint64 n = file->read(block.data() + gelesen, laenge - gelesen);
            if (n <= 0)
                break;
            gelesen += n;
        }
    }
    std::fill(block.begin() + gelesen, block.end(), ' ');
}

Ergebnis AdressBuch::kopiereOhne(int satz, QFile &ziel)
{
    // Bytes behind the last counted record go along unchanged.
    const qint64 rest = restBytes();
    QByteArray block;
    for (int erster = 1; erster <= anzahl_; erster += kBlockSaetze) {
        const int anzahl = std::min(kBlockSaetze, anzahl_ - erster + 1);
        leseBlock(&file_, erster, anzahl, block);
        if (!schrittErlaubt(LoeschSchritt::SaetzeKopieren))
            return Ergebnis::fehler(abgelehnt());
        const auto schreibe = [&](qint64 von, qint64 bis) {
            return schreiber::schreibeAn(ziel.handle(), -1, block.constData() + von, bis - von);
        };
        Ergebnis e;
        if (satz >= erster && satz < erster + anzahl) {
            const qint64 weg = qint64(satz - erster) * Satzlaenge;
            e = schreibe(0, weg);
            if (e)
                e = schreibe(weg + Satzlaenge, block.size());
        } else {
            e = schreibe(0, block.size());
        }
        if (!e)
            return e;
    }
    if (rest > 0) {
        if (!file_.seek(qint64(anzahl_) * Satzlaenge))
            return Ergebnis::fehler(file_.errorString());
        const QByteArray tail = file_.read(rest);
        if (tail.size() != rest)
            return Ergebnis::fehler(file_.errorString());
        return schreiber::schreibeAn(ziel.handle(), -1, tail.constData(), rest);
    }
    return {};
}

Ergebnis AdressBuch::satzLoeschen()
{
    const auto nachLoeschen = [this] {
        anzahl_ = std::max(1, anzahl_ - 1);
        aktuell_ = std::min(aktuell_, anzahl_);
    };
    const auto abbruch = [&](const QString &grund) {
        return Ergebnis::fehler(QStringLiteral("Der Eintrag kann nicht gelöscht werden: ") + grund);
    };

    if (!file_.isOpen()) {
        // Nothing to read the survivors from: leave the disk alone.
        nachLoeschen();
        return abbruch(QStringLiteral("das Adressbuch ist nicht geöffnet"));
    }
    if (!file_.isWritable())
        return abbruch(QStringLiteral("das Adressbuch ist schreibgeschützt"));

    const QString datei = pfad();
    const QString tmp = tmpPfad();

    // "Adress.PRE" is open and whole, so a "Daten.TMP" beside it is a
    // leftover of an earlier delete.
    if (QFileInfo::exists(tmp)) {
        if (!schrittErlaubt(LoeschSchritt::AltesTmpEntfernen) || !QFile::remove(tmp))
            return abbruch(quoted(TmpName) + QStringLiteral(" kann nicht entfernt werden"));
    }

    QFile neu(tmp);
    if (!schrittErlaubt(LoeschSchritt::TmpAnlegen) ||
        !neu.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return abbruch(quoted(TmpName) + QStringLiteral(" kann nicht angelegt werden: ") +
                       (neu.error() != QFileDevice::NoError ? neu.errorString() : abgelehnt()));

    // Until the rename the old book is complete and open; a half-written
    // "Daten.TMP" is worthless and goes.
    const auto verwerfen = [&](const QString &grund) {
        neu.close();
        QFile::remove(tmp);
        return abbruch(grund);
    };

    if (const Ergebnis e = kopiereOhne(aktuell_, neu); !e)
        return verwerfen(quoted(TmpName) + QStringLiteral(" kann nicht geschrieben werden: ") +
                         e.grund());
    if (!schrittErlaubt(LoeschSchritt::TmpSichern))
        return verwerfen(quoted(TmpName) + QStringLiteral(" kann nicht gesichert werden"));
    if (const Ergebnis e = schreiber::sichern(neu.handle()); !e)
        return verwerfen(quoted(TmpName) + QStringLiteral(" kann nicht gesichert werden: ") +
                         e.grund());
    neu.close();
    if (neu.error() != QFileDevice::NoError)
        return verwerfen(quoted(TmpName) + QStringLiteral(" kann nicht gesichert werden: ") +
                         neu.errorString());

    if (!schrittErlaubt(LoeschSchritt::AdressDateiSchliessen))
        return verwerfen(quoted(DateiName) + QStringLiteral(" kann nicht geschlossen werden"));
    file_.close();

    std::error_code ec;
    if (schrittErlaubt(LoeschSchritt::Ersetzen))
        std::filesystem::rename(fsPath(tmp), fsPath(datei), ec);
    else
        ec = std::make_error_code(std::errc::operation_not_permitted);
    if (ec) {
        // The rename did not happen: the old book is still whole.
        QFile::remove(tmp);
        if (const Ergebnis offen = dateiOeffnen(); !offen)
            return abbruch(quoted(TmpName) + QStringLiteral(" kann nicht umbenannt werden; ") +
                           offen.grund());
        return abbruch(quoted(TmpName) + QStringLiteral(" kann nicht umbenannt werden: ") +
                       QString::fromStdString(ec.message()));
    }

    if (schrittErlaubt(LoeschSchritt::OrdnerSichern))
        syncFolder(QFileInfo(datei).absolutePath());

    // From here on the record is gone on disk.
    nachLoeschen();
    if (!schrittErlaubt(LoeschSchritt::NeuOeffnen))
        return Ergebnis::fehler(
            QStringLiteral("Der Eintrag wurde gelöscht, aber ") + quoted(DateiName) +
            QStringLiteral(" kann nicht wieder geöffnet werden: ") + abgelehnt());
    if (const Ergebnis offen = dateiOeffnen(); !offen)
        return Ergebnis::fehler(QStringLiteral("Der Eintrag wurde gelöscht, aber ") +
                                offen.grund());
    return {};
}

std::optional<int> AdressBuch::satzSuchen(SuchFeld feld, const QString &text)
{
    const QString gesucht = text.toUpper();
    const Feld f = feld == SuchFeld::Nummer ? Feld::Nummer : Feld::Komentar;
    const int versatz = AdressDatensatz::versatz(f);
    const int breite = AdressDatensatz::breite(f);

    QByteArray block;
    for (int erster = 1; erster <= anzahl_; erster += kBlockSaetze) {
        const int anzahl = std::min(kBlockSaetze, anzahl_ - erster + 1);
        leseBlock(file_.isOpen() ? &file_ : nullptr, erster, anzahl, block);
        for (int i = 0; i < anzahl; ++i) {
            const char *wert = block.constData() + qint64(i) * Satzlaenge + versatz;
            if (AdressDatensatz::shownText(wert, breite).toUpper() == gesucht)
                return erster + i;
        }
    }
    return std::nullopt;
}

void AdressBuch::dateiSchliessen()
{
    file_.close();
}

Ergebnis AdressBuch::schliessen(const AdressFelder &felder)
{
    if (!file_.isOpen())
        return {};
    Ergebnis ok = speichern(felder);
    file_.close();
    return ok;
}

} // namespace varnek

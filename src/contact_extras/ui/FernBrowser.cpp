#include "contact_extras/ui/FernBrowser.h"

#include "contact/Verbindung.h"
#include "platform/Clock.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fenstertasten.h"
#include "platform/ui/Twips.h"
#include "platform/ui/Zugaenglichkeit.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStorageInfo>

namespace varnek
{

namespace
{
const QStringList kLokaleMuster = {QStringLiteral("Gast.txt"), QStringLiteral("Foto.bmp")};
const QString kKeineDatei = QStringLiteral("Keine Datei ausgewählt!");

} // namespace

FernBrowser::FernBrowser(Verbindung &verbindung, QString programmOrdner, QWidget *parent)
    : QWidget(parent), verbindung_(verbindung), programmOrdner_(std::move(programmOrdner))
{
    setObjectName(QStringLiteral("FernBrowser"));
    // Local panel.
    Drive1 = platz(benannt(new QComboBox(this), "Drive1"), 120, 240, 2895, 315);
    Dir1 = platz(benannt(new QListWidget(this), "Dir1"), 120, 600, 2895, 1800);
    File1 = platz(benannt(new QListWidget(this), "File1"), 120, 2460, 2895, 1000);
    File1->setSelectionMode(QAbstractItemView::MultiSelection);
    Label5 = platz(benannt(new QLabel(this), "Label5"), 120, 3500, 6000, 255);
    // Remote panel.
    Label1 = platz(benannt(new QLabel(this), "Label1"), 3240, 0, 6000, 255);
    List1 = platz(benannt(new QListWidget(this), "List1"), 4440, 240, 4600, 3200);
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    Text1 =
        platz(benannt(new QLineEdit(QStringLiteral("*.txt"), this), "Text1"), 9120, 240, 1215, 315);
    Command1Button =
        platz(benannt(new QPushButton(QStringLiteral("<--Senden-&ü"), this), "Command1"), 3120,
              1000, 1215, 375);
    Command2Button = platz(benannt(new QPushButton(QStringLiteral("-->"), this), "Command2"), 3120,
                           1500, 1215, 375);
    platz(benannt(new QLabel(QStringLiteral("Attribute"), this), "Label6"), 9120, 700, 1215, 255);
    Label7 = platz(benannt(new QLabel(this), "Label7"), 9120, 940, 1215, 255);
    platz(benannt(new QLabel(QStringLiteral("Größe"), this), "Label8"), 9120, 1240, 1215, 255);
    Label12 = platz(benannt(new QLabel(this), "Label12"), 9120, 1480, 1800, 255);
    platz(benannt(new QLabel(QStringLiteral("Veränderung"), this), "Label11"), 9120, 1780, 1215,
          255);
    Label15 = platz(benannt(new QLabel(this), "Label15"), 9120, 2020, 2400, 255);
    Option1_0 = platz(benannt(new QRadioButton(QStringLiteral("ASCII"), this), "Option1_0"), 9120,
                      2380, 1215, 255);
    Option1_1 = platz(benannt(new QRadioButton(QStringLiteral("Binary"), this), "Option1_1"), 9120,
                      2640, 1215, 255);
    auto *gruppe = new QButtonGroup(this);
    gruppe->addButton(Option1_0, 0);
    gruppe->addButton(Option1_1, 1);
    Check1 = platz(benannt(new QCheckBox(QStringLiteral("Passive Transfers"), this), "Check1"),
                   9120, 2900, 2460, 255);
    platz(benannt(new QLabel(QStringLiteral("FTP Server Name:"), this), "Label2"), 9120, 3160, 1800,
          255);
    platz(benannt(new QLabel(QStringLiteral("User Name"), this), "Label3"), 9120, 3370, 1800, 255);
    platz(benannt(new QLabel(QStringLiteral("Password"), this), "label4"), 9120, 3580, 1800, 255);

    struct Knopf {
        const char *name;
        const char *text;
        void (FernBrowser::*aktion)();
    };
    const Knopf knoepfe[] = {
        {"Command3_0", "Up Dir", &FernBrowser::hoch},
        {"Command3_1", "Refresh", &FernBrowser::aktualisiere},
        {"Command3_2", "View File", &FernBrowser::zeigeDatei},
        {"Command3_4", "Rename", &FernBrowser::benenneUm},
        {"Command3_5", "MakeDir", &FernBrowser::neuesVerzeichnis},
    };
    // One row below the remote list and the local path, each button as wide
    // as its caption.
    int links = twips(4440);
    for (const Knopf &k : knoepfe) {
        auto *b = platz(benannt(new QPushButton(QString::fromUtf8(k.text), this), k.name), 0, 3840,
                        900, 315);
        b->setGeometry(links, b->y(), std::max(b->width(), b->sizeHint().width()), b->height());
        connect(b, &QPushButton::clicked, this, k.aktion);
        links = b->geometry().right() + 4;
    }
    setMinimumSize(std::max(twips(11600), links + 4), twips(4200));

    connect(List1, &QListWidget::itemSelectionChanged, this, &FernBrowser::fernEintragGewaehlt);
    connect(List1, &QListWidget::itemDoubleClicked, this, &FernBrowser::fernEintragGeoeffnet);
    connect(Command1Button, &QPushButton::clicked, this, &FernBrowser::ladeHoch);
    connect(Command2Button, &QPushButton::clicked, this, &FernBrowser::ladeHerunter);
    connect(File1, &QListWidget::itemSelectionChanged, this, &FernBrowser::lokaleDateiGewaehlt);
    connect(Dir1, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        lokalerOrdnerGewechselt(QDir(lokalPfad_).absoluteFilePath(item->text()));
    });
    connect(Drive1, &QComboBox::activated, this, &FernBrowser::laufwerkGewechselt);
    connect(gruppe, &QButtonGroup::idClicked, this,
            [this](int index) { verbindung_.uebertragungsart = index == 0 ? 1 : 0; });
    connect(&verbindung_, &Verbindung::pfadGeaendert, this,
            [this](const QString &pfad) { Label1->setText(anzeigePfad(pfad)); });
    Fenstertasten::von(*this).tasteIn(List1, Qt::Key_Delete, this, &FernBrowser::loesche);

    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            Drive1->addItem(volume.rootPath());
    }
    Option1_0->setChecked(true);
    lokalerOrdnerGewechselt(QDir::currentPath());
    benenneFuerScreenreader();
}

void FernBrowser::benenneFuerScreenreader()
{
    // The browser has no hint line of its own; what a screen reader says of
    // the controls whose caption says nothing.
    const struct {
        QWidget *control;
        const char *name, *beschreibung;
    } namen[] = {
        {Drive1, "Laufwerk", "Laufwerk des lokalen Ordners"},
        {Dir1, "Lokale Ordner", "Doppelklick wechselt in den Ordner"},
        {File1, "Lokale Dateien", "Die ausgewählten Dateien sendet \"Senden\" an den Server"},
        {List1, "Dateien auf dem Server",
         "Doppelklick öffnet Ordner und Dateien, die Entf-Taste löscht"},
        {Text1, "Dateimuster", "Vom Server werden nur Dateien mit diesem Muster gelistet"},
        {Command2Button, "Herunterladen",
         "Die ausgewählten Dateien vom Server in den lokalen Ordner laden"},
    };
    for (const auto &n : namen)
        zugaenglichkeit::benenne(n.control, QString::fromUtf8(n.name),
                                 QString::fromUtf8(n.beschreibung));
    zugaenglichkeit::benenne(
        Command1Button, zugaenglichkeit::beschriftung(Command1Button),
        QStringLiteral("Die ausgewählten lokalen Dateien auf den Server senden"));
}

bool FernBrowser::passiv() const
{
    return Check1->isChecked();
}

void FernBrowser::setzePassiv(bool an)
{
    Check1->setChecked(an);
}

void FernBrowser::zeigeVerbunden(bool verbunden)
{
    Command1Button->setEnabled(verbunden);
    Command2Button->setEnabled(verbunden);
    Check1->setEnabled(!verbunden);
}

void FernBrowser::leereListe()
{
    List1->clear();
}

void FernBrowser::zeigeVerzeichnis(const QString &pfad)
{
    verbindung_.liste(
        pfad, [this](const std::optional<FtpSitzung::Liste> &listing) { zeigeListe(listing); });
}

void FernBrowser::zeigeListe(const std::optional<FtpSitzung::Liste> &listing)
{
    QString gekuerzt;
    if (listing) {
        GeleseneListe gelesen = readListing(*listing, clock::now().toUTC());
        eintraege_ = ListeVerzeichnis(std::move(gelesen.entries), Text1->text());
        gekuerzt = gelesen.gekuerzt;
    } else {
        eintraege_.clear();
    }
    status(QStringLiteral("Sortiere Verzeichnis..."));
    const QStringList zeilen = SortiereVerzeichnis(eintraege_);
    List1->clear();
    List1->addItems(zeilen);
    listeGekuerzt_ = !gekuerzt.isEmpty();
    // A folder that could not be listed keeps the reply that says why.
    if (listing)
        status(gekuerzt.isEmpty() ? QStringLiteral("Ok") : gekuerzt);
}

const RemoteEntry *FernBrowser::ausgewaehlt() const
{
    const int row = List1->currentRow();
    if (row < 0 || row >= static_cast<int>(eintraege_.size()) || List1->selectedItems().isEmpty())
        return nullptr;
    return &eintraege_[static_cast<size_t>(row)];
}

void FernBrowser::fernEintragGewaehlt()
{
    const RemoteEntry *e = ausgewaehlt();
    if (!e)
        return;
    const EntryDetails details = entryDetails(*e);
    Label7->setText(details.attributes);
    Label12->setText(details.size);
    Label15->setText(details.changed);
}

void FernBrowser::fernEintragGeoeffnet()
{
    const RemoteEntry *e = ausgewaehlt();
    if (List1->count() == 0 || !e)
        return;
    const RemoteNavigation nav = navigate(verbindung_.pfad(), verbindung_.serverName(), *e);
    if (!nav.relist)
        return;
    zeigeVerzeichnis(nav.request);
    verbindung_.setzePfad(nav.label);
}

void FernBrowser::hoch()
{
    const RemoteNavigation nav =
        navigate(verbindung_.pfad(), verbindung_.serverName(), QStringLiteral(".."));
    if (!nav.relist || !verbindung_.verbunden())
        return;
    zeigeVerzeichnis(nav.request);
    verbindung_.setzePfad(nav.label);
}

void FernBrowser::aktualisiere()
{
    if (verbindung_.verbunden())
        zeigeVerzeichnis(verbindung_.pfad());
}

void FernBrowser::ladeHoch()
{
    // Every file's bytes are taken now; the uploads, the re-listing and the
    // closing "OK" follow in order on the connection.
    auto fehlgeschlagen = std::make_shared<bool>(false);
    const bool etwas = File1->count() > 0;
    for (int i = 0; i < File1->count(); ++i) {
        QListWidgetItem *item = File1->item(i);
        if (!item->isSelected())
            continue;
        const QString voll = lokalPfad_ + QLatin1Char('/') + item->text();
        if (QFileInfo::exists(voll)) {
            // The exchange files are already in the bytes peers expect; an
            // ASCII transfer would let a Unix server rewrite their line ends
            // and break a photo.
            verbindung_.uebertrageDatei(voll, 0, [fehlgeschlagen](bool ok) {
                if (!ok)
                    *fehlgeschlagen = true;
            });
        }
    }
    const QString pfad = verbindung_.pfad();
    // A failed upload keeps its reply in the status line: no "OK", and no
    // second message from a re-listing of the same folder.
    verbindung_.danach([this, fehlgeschlagen, etwas, pfad] {
        if (*fehlgeschlagen)
            return;
        if (etwas)
            zeigeVerzeichnis(pfad);
        // Without a connection nothing reached the server: no "OK" then.
        verbindung_.danach([this, fehlgeschlagen, etwas] {
            if (!*fehlgeschlagen && verbindung_.verbunden()) {
                status(QStringLiteral("OK"));
                if (etwas)
                    Q_EMIT gesendet();
            }
        });
    });
    if (fokusTextS)
        fokusTextS();
}

void FernBrowser::ladeHerunter()
{
    if (List1->selectedItems().isEmpty()) {
        dialogs::message(this, kKeineDatei);
        return;
    }
    const QDir ziel(lokalPfad_);
    const QStringList vorhanden = ziel.entryList(QDir::Files | QDir::Hidden);
    for (int i = 0; i < List1->count() && i < static_cast<int>(eintraege_.size()); ++i) {
        const RemoteEntry &e = eintraege_[static_cast<size_t>(i)];
        if (!List1->item(i)->isSelected() || e.isDirectory())
            continue;
        const QString name = trimBlanks(e.name);
        // The program's own files and photos are replaced only when the user
        // says so (also when only the case of the letters differs).
        const bool ersetzt = std::any_of(vorhanden.begin(), vorhanden.end(), [&](const QString &v) {
            return v.compare(name, Qt::CaseInsensitive) == 0 && schuetzenswert(v);
        });
        if (ersetzt &&
            !dialogs::question(this,
                               QStringLiteral("Die Datei \"%1\" ist schon da und gehört zum "
                                              "Programm. Durch die Datei vom Server ersetzen?")
                                   .arg(name),
                               QStringLiteral("Herunterladen"), dialogs::Icon::Warning))
            continue;
        // The server gets the bytes it listed; the local file is named as shown.
        verbindung_.ladeDatei(
            verbindung_.pfad(), ftpName(e), lokalPfad_, [this](bool) { aktualisiereLokal(); },
            name);
    }
}

void FernBrowser::zeigeDatei()
{
    const RemoteEntry *e = ausgewaehlt();
    if (!e) {
        dialogs::message(this, kKeineDatei);
        return;
    }
    if (e->isDirectory())
        return;
    const QString name = trimBlanks(e->name);
    // Viewing never touches the program folder: the file goes into a
    // temporary folder that lives as long as the browser.
    if (!ansicht_ || !ansicht_->isValid())
        ansicht_ = std::make_unique<QTemporaryDir>();
    if (!ansicht_->isValid()) {
        status(QStringLiteral("Kein temporärer Ordner für die Ansicht"));
        return;
    }
    const QString lokal = ansicht_->filePath(name);
    verbindung_.ladeDatei(
        verbindung_.pfad(), ftpName(*e), ansicht_->path(),
        [lokal](bool ok) {
            if (ok)
                desktop::open(lokal);
        },
        name);
}

void FernBrowser::benenneUm()
{
    const RemoteEntry *e = ausgewaehlt();
    if (!e) {
        dialogs::message(this, kKeineDatei);
        return;
    }
    const QString alt = trimBlanks(e->name);
    const QString neu = dialogs::input(this, QStringLiteral("Neuen Dateinamen eingeben"),
                                       QStringLiteral("Umbenennen"), alt)
                            .trimmed();
    if (neu.isEmpty())
        return;
    verbindung_.benenneUm(ftpName(*e), neu, [this](bool ok) {
        if (ok)
            zeigeVerzeichnis(verbindung_.pfad());
    });
}

void FernBrowser::neuesVerzeichnis()
{
    const QString name = dialogs::input(this, QStringLiteral("Neuen Verzeichnisnamen eingeben"),
                                        QStringLiteral("Umbenennen"))
                             .trimmed();
    if (name.isEmpty())
        return;
    verbindung_.erstelleVerzeichnis(name, [this](bool ok) {
        if (ok)
            zeigeVerzeichnis(verbindung_.pfad());
    });
}

void FernBrowser::loesche()
{
    const RemoteEntry *e = ausgewaehlt();
    if (!e) {
        dialogs::message(this, kKeineDatei);
        return;
    }
    const QString name = trimBlanks(e->name);
    // Deleting on the server cannot be undone: ask first.
    if (!dialogs::question(this, QStringLiteral("\"%1\" auf dem Server löschen?").arg(name)))
        return;
    verbindung_.loesche(ftpName(*e), e->isDirectory(), [this](bool ok) {
        if (ok)
            zeigeVerzeichnis(verbindung_.pfad());
    });
}

void FernBrowser::aktualisiereLokal()
{
    const QStringList ausgewaehlt = [this] {
        QStringList namen;
        for (QListWidgetItem *item : File1->selectedItems())
            namen << item->text();
        return namen;
    }();
    File1->clear();
    const QStringList namen =
        QDir(lokalPfad_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    for (const QString &name : namen) {
        const bool passt =
            std::any_of(kLokaleMuster.begin(), kLokaleMuster.end(), [&](const QString &m) {
                return name.compare(m, Qt::CaseInsensitive) == 0;
            });
        if (!passt)
            continue;
        File1->addItem(name);
        if (ausgewaehlt.contains(name))
            File1->item(File1->count() - 1)->setSelected(true);
    }
}

void FernBrowser::waehleLokal(const QString &name)
{
    aktualisiereLokal();
    File1->clearSelection();
    for (int i = 0; i < File1->count(); ++i) {
        if (File1->item(i)->text().compare(name, Qt::CaseInsensitive) == 0) {
            File1->item(i)->setSelected(true);
            File1->setCurrentRow(i, QItemSelectionModel::NoUpdate);
        }
    }
    lokaleDateiGewaehlt();
}

void FernBrowser::lokaleDateiGewaehlt()
{
    const auto items = File1->selectedItems();
    Label5->setText(lokalPfad_ + QLatin1Char('/') +
                    (items.isEmpty() ? QString() : items.first()->text()));
}

void FernBrowser::lokalerOrdnerGewechselt(const QString &pfad)
{
    lokalPfad_ = QDir(pfad).absolutePath();
    Dir1->clear();
    Dir1->addItem(QStringLiteral(".."));
    Dir1->addItems(
        QDir(lokalPfad_)
            .entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
    aktualisiereLokal();
    lokaleDateiGewaehlt();
}

void FernBrowser::laufwerkGewechselt()
{
    lokalerOrdnerGewechselt(Drive1->currentText());
}

} // namespace varnek

#pragma once

#include "contact_extras/RemoteListing.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>
#include <optional>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace varnek
{

class Verbindung;

// The contact window's two-pane file browser: the local folder with the two
// exchange files on one side, the current directory of the server account
// on the other. Its controls carry the contact window's names (`List1`,
// `Command1`, `File1`, ...).
class FernBrowser : public QWidget
{
    Q_OBJECT
  public:
    FernBrowser(Verbindung &verbindung, QString programmOrdner, QWidget *parent);

    // Called after uploads and by the send step: give the send box the focus.
    std::function<void()> fokusTextS;

    // `ListeVerzeichnis` followed by `SortiereVerzeichnis` for a host-prefixed path.
    void zeigeVerzeichnis(const QString &pfad);
    // The upload step (`Command1`): every selected local file that exists.
    void ladeHoch();
    // The download step (`Command2`).
    void ladeHerunter();
    // Selects exactly the local file `name` in `File1` (e.g. "Gast.txt").
    void waehleLokal(const QString &name);
    // Re-reads the local folder.
    void aktualisiereLokal();

    void leereListe(); // log off: `List1` emptied
    void zeigeVerbunden(bool verbunden);
    bool passiv() const;
    void setzePassiv(bool an); // "Passive Transfers" as the settings say
    const RemoteEntries &eintraege() const { return eintraege_; }
    // The last listing was cut short ("Liste gekürzt: ..." in the status line).
    bool listeGekuerzt() const { return listeGekuerzt_; }

    // The browser operations of the `Command3` buttons and the Delete key.
    void hoch();
    void aktualisiere();
    void zeigeDatei();
    void benenneUm();
    void neuesVerzeichnis();
    void loesche();

  Q_SIGNALS:
    // A text for the contact window's status line.
    void status(const QString &text);
    // The files of an upload step (`Command1`) all reached the server.
    void gesendet();

  private:
    void benenneFuerScreenreader();
    void fernEintragGewaehlt();
    void fernEintragGeoeffnet();
    void lokaleDateiGewaehlt();
    void lokalerOrdnerGewechselt(const QString &pfad);
    void laufwerkGewechselt();
    const RemoteEntry *ausgewaehlt() const;
    void zeigeListe(const std::optional<FtpSitzung::Liste> &listing);

    Verbindung &verbindung_;
    QString programmOrdner_;
    RemoteEntries eintraege_;
    QString lokalPfad_;
    std::unique_ptr<QTemporaryDir> ansicht_; // where "View File" downloads to
    bool listeGekuerzt_ = false;

    QListWidget *List1;
    QLabel *Label1;
    QLineEdit *Text1;
    QLabel *Label7, *Label12, *Label15;
    QPushButton *Command1Button, *Command2Button;
    QComboBox *Drive1;
    QListWidget *Dir1, *File1;
    QLabel *Label5;
    QRadioButton *Option1_0, *Option1_1;
    QCheckBox *Check1;
};

} // namespace varnek

#pragma once

#include "contact/Senden.h"
#include "contact/Verbindung.h"

#include <QMainWindow>
#include <QStringList>

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QToolButton;

namespace varnek
{

class Empfang;
class FernBrowser;
class FotoSpalte;
class Gast1Menue;
class Hinweise;
class Kombi;
class KlingelCodeRahmen;
class MenuePanel;
class Programmdienste;
class QuittungsAbruf;

// The contact window "     Varnek-5-VX:", the start-up window: connection,
// sending, receiving and reading aloud. The logic lives in Verbindung,
// Senden, Empfang and the speech component; the window wires its controls
// to them.
class Gast1 : public QMainWindow
{
    Q_OBJECT
  public:
    explicit Gast1(Programmdienste &programm);
    ~Gast1() override;

    QString text7() const; // the received text as shown
    void fokusTextS();     // give the send box the focus
    // The address in `Combo2`; the send box `TextS`.
    QString adresse() const;
    QWidget *sendeFeld() const;

    Verbindung &verbindung() { return verbindung_; }
    Empfang &empfang() { return *empfang_; }
    FernBrowser &browser() { return *browser_; }
    FotoSpalte &fotoSpalte() { return *fotoSpalte_; }
    const Gast1Menue &menue() const { return *menue_; }
    // Watches for the read receipt of the text last sent.
    QuittungsAbruf &quittungsAbruf() { return *quittungsAbruf_; }

    // Connection (`Command5` / `Command4`, `kontakt` / `abbr`).
    void stelleVerbindungHer();
    void trenneVerbindung();
    void herstellen(); // menu `herstellen`: connect and start reading
    void abbrechen();  // menu `abbrechen`: log off and stop reading
    void abbrClick();
    void zeigeVerbunden();
    void zeigeGetrennt();
    // The account of the program's settings, for the next connect and the
    // next address read (also after the settings window changed them).
    void uebernehmeKonto();

    // Sending.
    void nimmZeileAuf();
    bool speichereNachricht(); // false (after the message) when "Gast.txt" could not be written
    void ladeAuswahlHoch();    // upload the selected local files
    void sendeText();          // add line, save, upload, focus the send box
    void klingeln();           // the ring signal
    void warneOhneAdresse();

    // Ring-code panel and list.
    void schalteKlingelCodeRahmen();
    void uebernehme();
    void schliesseKlingelCode();
    void uebernehmeUndSchliesse();
    KlingelCodeRahmen &klingelCode() { return *Frame3; }

    // Receiving.
    void adresseGewaehlt(); // `Combo2` click
    void adresseEnter();    // Enter in `Combo2`
    void waehleAdressPfad();
    // An address chosen outside this window (the address book): into
    // `Combo2`, then `Command19`.
    void setzeAdresse(const QString &adresse);
    void setzeEmpfangsAdresse();
    void startLesen();
    // Puts an address into `Combo2` and does what Enter there does.
    void lausche(const QString &adresse);
    void stopLesen();

    // Photo: shows the local "Foto.bmp" (the screen photo window presses it).
    void zeigeLokalesFoto();

    void setzeListenHoehe(int hoehe);
    int listenHoehe() const { return listenHoehe_; }
    void MausEinsperren();
    void gibMausFrei();
    void beende(); // quit
    void fokusAdresse();
    // Window and `Text7` widths in twips (the speaker-only views).
    void sprecherBreite(int fenster, int text7);

    QStringList List2;     // lines of the message being sent
    KlingelSignal klingel; // `List3`, `Text3`, `Label18`

  Q_SIGNALS:
    // The window is closing; the other windows close with it.
    void schliesst();

  protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void baueOberflaeche();
    void installiereHinweise();
    void Form_Load();
    void ZeigeStatus(const QString &text);
    void spiegleEmpfang();
    void ordneAn(); // fits the content to the window's width and height
    void ordneTabReihe();
    bool imBild(const QWidget *w) const; // wholly inside what the window shows
    void loeseBeobachter();              // no event filter outlives the controls it watches

    Programmdienste &programm_;
    Verbindung verbindung_;
    Verbindung::Konto konto_; // `Label10`, `Label13`, `Label14`
    Empfang *empfang_;
    QuittungsAbruf *quittungsAbruf_;
    // The bytes of "Gast.txt" sent by the send box, until its upload is through.
    QByteArray gesendeterText_;
    FernBrowser *browser_;
    FotoSpalte *fotoSpalte_ = nullptr;
    MenuePanel *menuePanel_ = nullptr;
    Gast1Menue *menue_;
    Hinweise *hinweise_ = nullptr;
    int listenHoehe_ = 0;
    bool beendet_ = false;

    QPushButton *kontakt, *abbr, *beende3Button, *KL1;
    Kombi *Combo2;
    QLineEdit *TextS;
    QGroupBox *FrameGA;
    KlingelCodeRahmen *Frame3;
    QLabel *Label9, *Label16, *Picture3, *Picture4, *Picture28;
    QList<QWidget *> rechteSpalte_; // reading indicators and play pictures
    int text7Breite_ = 0;           // width `Text7` is given, in pixels
    QPlainTextEdit *Text7;
    QCheckBox *Check2;
};

} // namespace varnek

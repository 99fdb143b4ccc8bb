#pragma once

#include <QList>
#include <QObject>
#include <QString>

#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;

namespace varnek
{

class Gast1;
class Programmdienste;

// The contact window's menu panel and links: the compact view with the
// single "&Menü öffnen" button, keeping the window in the foreground,
// sending a link and opening a received one, the fixed web links, the
// description page, the bell window button and the focus shortcuts.
class MenuePanel : public QObject
{
    Q_OBJECT
  public:
    // The contact window's controls the panel works on.
    struct Felder {
        QWidget *flaeche; // `Gast1Flaeche`, where the panel's buttons go
        QCheckBox *Check2;
        QLineEdit *TextS;
        QComboBox *Combo2;
        QWidget *Picture28;
        QMenu *links; // `links1`, which gets the fixed links
    };
    MenuePanel(Gast1 &gast, Programmdienste &programm, const Felder &felder);

    struct FesterLink {
        const char *name; // menu item
        const char *host; // caption and address
    };
    static const std::vector<FesterLink> &festeLinks();
    static QString beschreibungsDatei(); // "hilfe-Vx.html"
    static QString keineAdresseText();

    // Window sizes in twips: compact, and the height with the menu bar.
    static constexpr int kompaktBreite = 7875;
    static constexpr int kompaktHoehe = 2100;
    static constexpr int menueHoehe = 3120;

    void zeigeKompakt();     // compact view
    void zeigeMenueleiste(); // menu bar back
    bool kompakt() const { return kompakt_; }
    // The panel's buttons in the window's Tab order (`Command11`, `Command20`).
    QList<QWidget *> tabReihe() const;
    void sendeLink();   // the send box's text goes out as the message
    void linkOeffnen(); // `Command11` / `linkmenue`: open the received link
    void oeffneFestenLink(const QString &host);
    void oeffneBeschreibung();
    void oeffneKlingelMitText(); // bell window, logging the received text
    void fokusSendeFeld();       // send box (Alt+1)
    void fokusAdressFeld();      // address field (Alt+2)
    void adressFeldGeklickt();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    // The menu bar, or in compact mode the one "&Menü öffnen" button.
    void zeigeMenues(bool an);
    void baueKnoepfe();
    void baueLinks();
    void verbinde();
    void installiereHinweise();
    void vordergrundAnwenden();
    void setzeCheck2Textfarbe(bool fokus);

    Gast1 &gast_;
    Programmdienste &programm_;
    QWidget *flaeche_;
    QPushButton *Menuee_, *Command11_, *Command20_;
    QCheckBox *Check2_;
    QLineEdit *TextS_;
    QComboBox *Combo2_;
    QWidget *Picture28_;
    QMenu *links_;
    bool kompakt_ = false;
};

} // namespace varnek

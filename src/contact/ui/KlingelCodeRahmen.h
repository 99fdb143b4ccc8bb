#pragma once

#include <QGroupBox>
#include <QStringList>

class QComboBox;

namespace varnek
{

class Kombi;

// The ring-code panel `Frame3` "Klingel-Signal-Code:" of the contact window:
// the chooser `Combo3`, its backing list `List6` (the mirror of "Kaco.txt")
// and the buttons that load, save, open and take over a code.
class KlingelCodeRahmen : public QGroupBox
{
    Q_OBJECT
  public:
    KlingelCodeRahmen(QString programmOrdner, QWidget *parent);

    QString code() const; // text of `Combo3`
    QComboBox *combo() const;

    void ladeKlingelCodes();     // "laden...": load "Kaco.txt"
    void speichereKlingelCode(); // "Speichern": add the code unless it is there
    void oeffneKacoDatei();      // "öffne": open "Kaco.txt" in the text editor

    QStringList List6;

  Q_SIGNALS:
    void uebernehmen();                 // `Label21` click: take the code over
    void schliessen();                  // "zu"
    void uebernehmenUndSchliessen();    // "^&übernehme^"
    void enter();                       // Enter in `Combo3`
    void gewaehlt(const QString &code); // an entry of `Combo3` chosen

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    QString programmOrdner_;
    Kombi *Combo3;
};

} // namespace varnek

#pragma once

#include "platform/HttpAbruf.h"

#include <QImage>
#include <QWidget>

class QComboBox;
class QFrame;
class QLabel;
class QPushButton;

namespace varnek
{

class Gast1;
class Programmdienste;
class Zeitgeber;
namespace bild
{
class Lader;
}

// The photo column of the contact window: sending the screen photo
// "Foto.bmp" to the chosen address, showing the photo that lies in an
// address's directory on the server, and showing or saving the local one.
// The column is seen when the window has its full width (11415 twips) and
// is hidden by the narrower widths. Pictures from the server are fetched in
// the background; an answer that is no picture never replaces the one shown.
class FotoSpalte : public QWidget
{
    Q_OBJECT
  public:
    // `adressFeld`: the contact window's `Combo2`, whose address the
    // photos go to and come from.
    FotoSpalte(Gast1 &gast, Programmdienste &programm, QWidget *flaeche, QComboBox *adressFeld);

    static constexpr int links = 9360;        // left edge in the window, twips
    static constexpr int volleBreite = 11415; // window width that shows the column, twips
    static constexpr int maxBytes = 20 * 1024 * 1024;
    static constexpr int abrufTimeoutMs = 20000;

    // Height of the window (twips, without the menu bar) the column needs.
    int benoetigteHoehe() const;

    void sendeFoto();       // send the photo
    void zeigeServerFoto(); // show the address's photo from the server
    void bildGeklickt();
    void zeigeLokalesFoto(); // show the local photo
    void rahmenGeklickt();
    void speichereFoto();        // save the shown photo as "Foto.bmp"
    void oeffneBildschirmFoto(); // the screen photo window
    void verbreitereFuerFoto();  // widen the window for the photo
    void waehleGastTxt();        // "Gast.txt" selected in the local list
    void waehleFotoBmp();        // "Foto.bmp" selected in the local list

    // `Text8`: the photo web address built last.
    QString letzteFotoAdresse() const { return text8_; }
    // The photo web address of an address; empty when it names none.
    QString fotoAdresse(const QString &adresse) const;

    // The pictures shown in `Picture1` and in the web view (null when none).
    QImage bild1() const { return bild1_; }
    QImage webBild() const { return webBild_; }

  Q_SIGNALS:
    // A text for the contact window's status line.
    void status(const QString &text);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void baueOberflaeche(QWidget *flaeche);
    void installiereHinweise();
    void verbinde();
    void sendungFertig();
    void meldeSendung();
    void ladeWebFoto();
    void ladeWebBild(HttpAbruf &abruf);
    void webBildDa(const HttpAbruf::Antwort &result, bool fuerPicture1);
    void zeigeWebBild(const QImage &bild);
    void zeigeBild1(const QImage &bild);
    void setzeFrame2Oben(bool oben);
    void breite();
    void passeSichtbarkeitAn();
    QString adresse() const;

    Gast1 &gast_;
    Programmdienste &programm_;
    QComboBox *adressFeld_;
    QLabel *Picture5, *Picture1, *Picture2, *WebBrowser2;
    QFrame *Frame2;
    QPushButton *Fot1_, *Command13_, *bildlokal_, *fotspeich_, *Command14_;
    Zeitgeber *Timer3, *Timer5, *Timer6;
    HttpAbruf webAbruf_;      // into the web view
    HttpAbruf picture1Abruf_; // into `Picture1`
    QString text8_;
    QImage bild1_;
    QImage webBild_;
    bool sendungOk_ = false; // the photo send under way has gone well so far
    bild::Lader *bildLader_; // decodes the web photos off the window's thread
    bool ersetzt_ = false;   // a fetch is being replaced by a newer one
};

} // namespace varnek

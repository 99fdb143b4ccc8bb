#include "contact_extras/ui/FotoSpalte.h"

#include "contact/Adresse.h"
#include "contact/Einstellungen.h"
#include "contact/Empfang.h"
#include "contact/Verbindung.h"
#include "contact/ui/Gast1.h"
#include "contact/ui/Gast1Menue.h"
#include "contact_extras/ui/FernBrowser.h"
#include "help/ui/Hinweise.h"
#include "photo/FotoDatei.h"
#include "platform/Zeitgeber.h"
#include "platform/ui/BildDatei.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Programmdienste.h"
#include "platform/ui/Twips.h"

#include <QAction>
#include <QBuffer>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>

#include <memory>

namespace varnek
{

namespace
{

const QString kFotoDatei = QStringLiteral("Foto.bmp");

// Rows of the buttons below the picture, in pixels.
constexpr int kBildHoehe = twips(2370);
constexpr int kZeile = 19;
constexpr int kZeilenAbstand = 20;

// The cover of the photo area until a photo is shown: a camera.
QPixmap deckbild(const QSize &groesse)
{
    QPixmap bild(groesse);
    bild.fill(QColor(0x30, 0x3a, 0x4a));
    QPainter p(&bild);
    p.setRenderHint(QPainter::Antialiasing);
    const QPoint mitte = bild.rect().center();
    const QRect koerper(mitte.x() - 34, mitte.y() - 22, 68, 44);
    p.setPen(QPen(QColor(0xCF, 0xE8, 0xFF), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(koerper, 6, 6);
    p.drawRect(QRect(koerper.left() + 8, koerper.top() - 8, 16, 8));
    p.drawEllipse(koerper.center(), 14, 14);
    p.setPen(QColor(0xCF, 0xE8, 0xFF));
    p.drawText(QRect(0, koerper.bottom() + 10, bild.width(), 20), Qt::AlignCenter,
               QStringLiteral("Foto"));
    return bild;
}

} // namespace

FotoSpalte::FotoSpalte(Gast1 &gast, Programmdienste &programm, QWidget *flaeche,
                       QComboBox *adressFeld)
    : QWidget(flaeche), gast_(gast), programm_(programm), adressFeld_(adressFeld),
      Timer3(new Zeitgeber(this)), Timer5(new Zeitgeber(this)), Timer6(new Zeitgeber(this)),
      bildLader_(new bild::Lader(this))
{
    setObjectName(QStringLiteral("FotoSpalte"));
    for (HttpAbruf *abruf : {&webAbruf_, &picture1Abruf_}) {
        abruf->setzeMaxBytes(maxBytes);
        abruf->setzeTimeoutMs(abrufTimeoutMs);
    }
    baueOberflaeche(flaeche);
    verbinde();
    installiereHinweise();
    passeSichtbarkeitAn();
}

void FotoSpalte::baueOberflaeche(QWidget *flaeche)
{
    // Positions inside the column: the design places it at 9360 twips.
    const auto spalte = [](auto *w, int left, int top, int width, int height) {
        return platz(w, left - links, top, width, height);
    };
    Picture5 = spalte(benannt(new QLabel(this), "Picture5"), 9360, 0, 1935, inTwips(kBildHoehe));
    Picture5->setPixmap(deckbild(Picture5->size()));
    Picture1 =
        spalte(benannt(new QLabel(this), "Picture1"), 9420, 70, 1890, inTwips(kBildHoehe) - 90);
    Picture1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Frame2 =
        spalte(benannt(new QFrame(this), "Frame2"), 9370, 3000, 1935, inTwips(kBildHoehe) - 60);
    Frame2->setFrameShape(QFrame::Box);
    WebBrowser2 = benannt(new QLabel(Frame2), "WebBrowser2");
    WebBrowser2->setGeometry(Frame2->contentsRect());
    WebBrowser2->setAlignment(Qt::AlignCenter);
    WebBrowser2->setAutoFillBackground(true);
    Frame2->hide();
    Picture5->raise();

    const auto knopf = [this](const char *name, const QString &text) {
        auto *b = benannt(new QPushButton(text, this), name);
        QFont f = b->font();
        f.setPointSizeF(f.pointSizeF() - 1.5);
        b->setFont(f);
        Hinweise::setBackground(b, farbe::blau);
        return b;
    };
    const int b = twips(1935);
    const auto zeile = [](int n) { return kBildHoehe + 1 + n * kZeilenAbstand; };
    Fot1_ = knopf("Fot1", QStringLiteral("&Bildschirmfoto senden"));
    Fot1_->setGeometry(0, zeile(0), b, kZeile);
    Command13_ = knopf("Command13", QStringLiteral("Internet Foto laden..."));
    Command13_->setGeometry(0, zeile(1), b, kZeile);
    bildlokal_ = knopf("bildlokal", QStringLiteral("Lokales Foto  laden"));
    bildlokal_->setGeometry(0, zeile(2), b, kZeile);
    Command14_ = knopf("Command14", QStringLiteral("Fotoapparat [..]"));
    Command14_->setGeometry(0, zeile(3), b - 40, kZeile);
    fotspeich_ = knopf("fotspeich", QStringLiteral("Foto"));
    fotspeich_->setGeometry(b - 38, zeile(3), 38, kZeile);
    resize(twips(volleBreite - links), zeile(3) + kZeile + 1);

    // The small picture beside the received text; hidden from the start.
    Picture2 = platz(benannt(new QLabel(flaeche), "Picture2"), 6840, 3120, 2295, 465);
    Picture2->setPixmap(deckbild(Picture2->size()));
    Picture2->hide();
}

void FotoSpalte::verbinde()
{
    connect(Fot1_, &QPushButton::clicked, this, &FotoSpalte::sendeFoto);
    connect(Command13_, &QPushButton::clicked, this, &FotoSpalte::zeigeServerFoto);
    connect(bildlokal_, &QPushButton::clicked, this, &FotoSpalte::zeigeLokalesFoto);
    connect(fotspeich_, &QPushButton::clicked, this, &FotoSpalte::speichereFoto);
    connect(Command14_, &QPushButton::clicked, this, &FotoSpalte::oeffneBildschirmFoto);
    connect(gast_.menue().fotoSenden(), &QAction::triggered, this, &FotoSpalte::sendeFoto);
    connect(gast_.menue().fotoAnzeigen(), &QAction::triggered, this,
            &FotoSpalte::verbreitereFuerFoto);
    connect(Timer6, &Zeitgeber::tick, this, &FotoSpalte::sendungFertig);
    connect(Timer3, &Zeitgeber::tick, this, &FotoSpalte::meldeSendung);
    connect(Timer5, &Zeitgeber::tick, this, &FotoSpalte::ladeWebFoto);
    connect(&webAbruf_, &HttpAbruf::fertig, this,
            [this](const HttpAbruf::Antwort &r) { webBildDa(r, false); });
    connect(&picture1Abruf_, &HttpAbruf::fertig, this,
            [this](const HttpAbruf::Antwort &r) { webBildDa(r, true); });
    for (QWidget *w : std::initializer_list<QWidget *>{Picture1, Frame2, Picture2})
        w->installEventFilter(this);
    gast_.installEventFilter(this);
}

void FotoSpalte::installiereHinweise()
{
    using namespace farbe;
    const QColor keine;
    std::vector<Hinweis> tabelle = {
        {"Fot1",
         QStringLiteral(
             " Mit Doppelklick gemachtes Bildschirm-Foto senden, an die Adresse in Adressenfeld "),
         gelb,
         gelb,
         blau,
         {},
         true,
         QStringLiteral(
             " Mit Klick gemachtes Bildschirm-Foto senden, an die Adresse in Adressenfeld ")},
        {"Command13",
         QStringLiteral(" Mit Doppelklick  Internet-Foto laden..."),
         gelb,
         gelb,
         blau,
         {},
         true,
         QStringLiteral(" Mit Klick  Internet-Foto laden...")},
        {"bildlokal", QStringLiteral(" Gemachtes Lokales-Bildschirmfoto - laden !"), gelb, gelb,
         blau},
        {"Command14", QStringLiteral(" Mit Klick Bildschirm-Fotoapparat öffnen !"), gelb, gelb,
         blau},
        {"Picture2", QString(), keine, keine, keine, {{"KL1", weiss}}},
    };
    Hinweise::install(&gast_, std::move(tabelle),
                      [this](const QString &t) { programm_.hinweis(t); });
}

int FotoSpalte::benoetigteHoehe() const
{
    return y() + height();
}

QString FotoSpalte::adresse() const
{
    return adressFeld_->currentText();
}

QString FotoSpalte::fotoAdresse(const QString &adresse) const
{
    return adressUrlText(programm_.einstellungen().web(), adresse, kFotoDatei);
}

// --- sending the photo ------------------------------------------------------------

void FotoSpalte::sendeFoto()
{
    gast_.browser().waehleLokal(kFotoDatei);
    sendungOk_ = true;
    Timer3->setEnabled(true);
    status(QStringLiteral("Übertrage...."));
    Timer3->setInterval(500);
    Timer6->setEnabled(true);
    status(QStringLiteral("Foto wird übertragen...."));
    Timer6->setInterval(300);
}

void FotoSpalte::sendungFertig()
{
    Timer6->setEnabled(false);
    // "OK" and "Gast.txt" come once the transfer is over, however long it
    // takes; until then the closing timer waits.
    Timer3->setEnabled(false);
    const auto schluss = [this] {
        Timer3->setEnabled(true);
        if (sendungOk_)
            status(QStringLiteral("Foto wird übertragen...."));
        Timer3->setInterval(500);
    };
    Verbindung &v = gast_.verbindung();
    // A photo reaches someone only in an address directory.
    if (!v.imAdressVerzeichnis()) {
        sendungOk_ = false;
        dialogs::message(&gast_, QStringLiteral("Sie haben keine Empfänger Adresse angegeben!"));
        schluss();
        return;
    }
    const QString pfad = programm_.einstellungen().datei(kFotoDatei);
    if (!QFileInfo::exists(pfad)) {
        // Sending the message file in its place would say something else.
        sendungOk_ = false;
        dialogs::message(&gast_, QStringLiteral("Kein Bildschirmfoto vorhanden: erst mit dem "
                                                "Bildschirm-Fotoapparat [F7] ein Foto machen."));
        schluss();
        return;
    }
    // The photo goes as it is: binary, whatever the transfer type chosen.
    v.uebertrageDatei(pfad, 0, [this](bool ok) {
        if (!ok)
            sendungOk_ = false;
    });
    const QString verzeichnis = v.pfad();
    v.danach([this, verzeichnis, schluss] {
        if (!sendungOk_) {
            schluss();
            return;
        }
        gast_.browser().zeigeVerzeichnis(verzeichnis);
        gast_.verbindung().danach(schluss);
    });
    gast_.fokusTextS();
}

void FotoSpalte::meldeSendung()
{
    Timer3->setEnabled(false);
    // A send that stopped (no address, no photo, a failed transfer) says so;
    // its message box has told why.
    status(sendungOk_ ? QStringLiteral("OK") : QStringLiteral("Kein Foto gesendet"));
    waehleGastTxt();
}

void FotoSpalte::waehleGastTxt()
{
    gast_.browser().waehleLokal(QStringLiteral("Gast.txt"));
}

void FotoSpalte::waehleFotoBmp()
{
    gast_.browser().waehleLokal(kFotoDatei);
}

// --- the photo from the server ------------------------------------------------------

void FotoSpalte::zeigeServerFoto()
{
    Picture5->hide();
    setzeFrame2Oben(true);
    text8_ = fotoAdresse(adresse());
    WebBrowser2->show();
    ladeWebBild(webAbruf_);
    breite();
    // One reload a second later; a second click within it starts it anew.
    Timer5->setEnabled(true);
    Timer5->setInterval(1000);
}

void FotoSpalte::ladeWebFoto()
{
    Timer5->setEnabled(false);
    WebBrowser2->show();
    ladeWebBild(webAbruf_);
}

void FotoSpalte::bildGeklickt()
{
    text8_ = fotoAdresse(adresse());
    ladeWebBild(picture1Abruf_);
}

void FotoSpalte::ladeWebBild(HttpAbruf &abruf)
{
    const std::optional<QUrl> url =
        adressUrl(programm_.einstellungen().web(), adresse(), kFotoDatei);
    if (!url || text8_.isEmpty()) {
        status(Empfang::adresseUngueltigText());
        return;
    }
    // A newer request replaces one still on its way.
    if (abruf.laeuft()) {
        ersetzt_ = true;
        abruf.brichAb();
        ersetzt_ = false;
    }
    abruf.starte(*url);
}

void FotoSpalte::webBildDa(const HttpAbruf::Antwort &result, bool fuerPicture1)
{
    if (ersetzt_)
        return;
    QString fehler;
    if (!result.ok) {
        fehler = result.timedOut ? QStringLiteral("keine Antwort vom Server")
                                 : QStringLiteral("Verbindung zum Server fehlgeschlagen");
    } else if (result.status != 200) {
        fehler = QStringLiteral("Antwort des Servers %1").arg(result.status);
    } else if (result.truncated) {
        fehler = QStringLiteral("die Datei ist größer als 20 MB");
    }
    if (!fehler.isEmpty()) {
        bildLader_->verwerfen();
        status(QStringLiteral("Kein Internet-Foto: ") + fehler);
        return;
    }
    // Decoded off the window's thread; the web view's photo at the size it is
    // shown, `Picture1`'s whole (it is what "Foto.bmp" is saved from).
    const QSize groesse = fuerPicture1 ? QSize() : WebBrowser2->size();
    bildLader_->ladeDaten(result.body, groesse, [this, fuerPicture1](const QImage &bild) {
        if (bild.isNull()) {
            status(QStringLiteral("Kein Internet-Foto: die Datei ist kein Bild"));
            return;
        }
        if (fuerPicture1)
            zeigeBild1(bild);
        else
            zeigeWebBild(bild);
        status(QStringLiteral("Internet-Foto geladen"));
    });
}

void FotoSpalte::zeigeWebBild(const QImage &bild)
{
    webBild_ = bild;
    QPixmap pixmap = QPixmap::fromImage(bild);
    // A large photo is shrunk to the view, as a browser does.
    if (pixmap.width() > WebBrowser2->width() || pixmap.height() > WebBrowser2->height())
        pixmap = pixmap.scaled(WebBrowser2->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation);
    WebBrowser2->setPixmap(pixmap);
}

void FotoSpalte::zeigeBild1(const QImage &bild)
{
    bild1_ = bild;
    Picture1->setPixmap(QPixmap::fromImage(bild));
}

void FotoSpalte::setzeFrame2Oben(bool oben)
{
    // Over `Picture1`, or away to uncover it.
    Frame2->move(Frame2->x(), twips(oben ? 50 : 3000));
    Frame2->setVisible(oben);
    if (oben)
        Frame2->raise();
}

void FotoSpalte::rahmenGeklickt()
{
    const QImage bild = bild::ladeDatei(programm_.einstellungen().datei(kFotoDatei));
    if (!bild.isNull())
        zeigeWebBild(bild);
}

// --- the local photo -----------------------------------------------------------------

void FotoSpalte::zeigeLokalesFoto()
{
    Picture5->hide();
    setzeFrame2Oben(false);
    breite();
    Picture2->hide();
    const QImage bild = bild::ladeDatei(programm_.einstellungen().datei(kFotoDatei));
    if (!bild.isNull())
        zeigeBild1(bild);
}

void FotoSpalte::speichereFoto()
{
    if (bild1_.isNull()) {
        dialogs::message(&gast_, QStringLiteral("Kein Bild geladen, Datei wird nicht gespeichert"));
        return;
    }
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    // The name is relative: the photo goes into the current directory.
    if (!bild1_.save(&puffer, "BMP") ||
        !foto::schreibe(QDir::current().absoluteFilePath(kFotoDatei), bytes))
        dialogs::message(&gast_, QStringLiteral("Speichern fehlgeschlagen!"),
                         QStringLiteral("Fehler beim Speichern"), dialogs::Icon::Critical);
}

void FotoSpalte::oeffneBildschirmFoto()
{
    programm_.zeigeFotoapparat();
}

// --- window width ---------------------------------------------------------------------

void FotoSpalte::breite()
{
    gast_.resize(twips(volleBreite), gast_.height());
}

void FotoSpalte::verbreitereFuerFoto()
{
    // High enough that the whole column, buttons included, is seen.
    const int menue = gast_.menuBar()->isVisible() ? gast_.menuBar()->height() : 0;
    gast_.resize(twips(volleBreite), std::max(twips(3120), menue + benoetigteHoehe() + 2));
    Picture2->hide();
}

void FotoSpalte::passeSichtbarkeitAn()
{
    // Narrower windows hide the column, so that no key moves into it unseen.
    setVisible(gast_.width() >= twips(volleBreite));
}

bool FotoSpalte::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == &gast_) {
        if (event->type() == QEvent::Resize)
            passeSichtbarkeitAn();
        return false;
    }
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == Picture1)
            bildGeklickt();
        else if (watched == Frame2)
            rahmenGeklickt();
        else if (watched == Picture2)
            Picture2->hide();
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace varnek

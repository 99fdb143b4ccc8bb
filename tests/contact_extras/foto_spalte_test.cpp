// The photo column of the contact window, driven as a user does: keys to
// the window, clicks where the controls are seen, against the local server.
#include "contact/ContactFixture.h"

#include "contact_extras/ui/FernBrowser.h"
#include "contact_extras/ui/FotoSpalte.h"
#include "help/ui/Hilfe2.h"
#include "help/ui/Hinweise.h"
#include "platform/ui/Twips.h"
#include "support/Eingabe.h"
#include "support/RohServer.h"
#include "support/Stockung.h"

#include <QBuffer>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>

using namespace varnek;
using namespace varnek::test;

namespace
{

// Every text the contact window's status line is given, in order: the
// connection's, the remote browser's and the photo column's.
struct StatusTexte {
    QObject kontext;
    QStringList texte;
    explicit StatusTexte(Gast1 &g)
    {
        const auto merke = [this](const QString &t) { texte << t; };
        QObject::connect(&g.verbindung(), &Verbindung::status, &kontext, merke);
        QObject::connect(&g.browser(), &FernBrowser::status, &kontext, merke);
        QObject::connect(&g.fotoSpalte(), &FotoSpalte::status, &kontext, merke);
    }
};

// A picture no window draws by itself: stripes and a corner mark.
QImage muster(int versatz)
{
    QImage bild(121, 151, QImage::Format_RGB32);
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x)
            bild.setPixel(x, y, qRgb((x * 7 + versatz) % 256, (y * 5) % 256, ((x + y) * 3) % 256));
    return bild;
}

QByteArray bmp(const QImage &bild)
{
    QByteArray bytes;
    QBuffer puffer(&bytes);
    puffer.open(QIODevice::WriteOnly);
    bild.save(&puffer, "BMP");
    return bytes;
}

QImage rgb(const QImage &bild)
{
    return bild.convertToFormat(QImage::Format_RGB32);
}

class FotoSpalteTest : public ContactFixture
{
  protected:
    void TearDown() override
    {
        kontakt.reset();
        ContactFixture::TearDown();
    }

    static void taste(Gast1 &g, Qt::Key key, Qt::KeyboardModifiers mod = {})
    {
        test::taste(&g, key, mod);
    }
    static void klick(Gast1 &g, const char *name)
    {
        test::klick(g.findChild<QWidget *>(QString::fromLatin1(name)));
    }
    static void waehleAdresse(Gast1 &g, const QString &adresse)
    {
        test::waehleAdresse(&g, adresse);
    }
    static QStringList lokalGewaehlt(Gast1 &g)
    {
        QStringList namen;
        for (QListWidgetItem *i :
             g.findChild<QListWidget *>(QStringLiteral("File1"))->selectedItems())
            namen << i->text();
        return namen;
    }
    static QString status(Gast1 &g)
    {
        return g.findChild<QLabel *>(QStringLiteral("Label9"))->text();
    }

    // A second copy of the program, the contact, in a folder of its own.
    Gast1 &starteKontakt()
    {
        Einstellungen e = einstellungen();
        e.programmOrdner = kontaktOrdner.path();
        kontakt = std::make_unique<Programm>(e);
        Gast1 &g = *kontakt->gast1();
        g.show();
        QApplication::setActiveWindow(&g);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&g));
        return g;
    }
    static bool zeigt(Gast1 &g, const QImage &bild, int ms = 8000)
    {
        return waitUntil([&] { return rgb(g.fotoSpalte().webBild()) == rgb(bild); }, ms);
    }
    void legeFoto(const QString &adresse, const QByteArray &inhalt)
    {
        server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/") + adresse +
                             QStringLiteral("/Foto.bmp"),
                         inhalt);
    }

    QTemporaryDir kontaktOrdner;
    std::unique_ptr<Programm> kontakt;
};

TEST_F(FotoSpalteTest, GuestSendsThePhotoAndTheContactSeesIt)
{
    const QImage bild = muster(0);
    const QByteArray bytes = bmp(bild);
    QFile datei(ordner.filePath(QStringLiteral("Foto.bmp")));
    ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
    datei.write(bytes);
    datei.close();

    Gast1 &gast = starte();
    klick(gast, "kontakt");
    ASSERT_TRUE(ftpFertig());
    waehleAdresse(gast, QStringLiteral("test"));
    ASSERT_TRUE(ftpFertig());
    // ASCII is chosen; the photo goes binary all the same.
    ASSERT_EQ(gast.verbindung().uebertragungsart, 1);

    StatusTexte texte(gast);
    taste(gast, Qt::Key_W, Qt::ControlModifier); // "Bildschirmfoto senden"
    EXPECT_EQ(lokalGewaehlt(gast), QStringList{QStringLiteral("Foto.bmp")});
    ASSERT_TRUE(waitUntil(
        [&] { return remote(QStringLiteral("test"), QStringLiteral("Foto.bmp")) == bytes; },
        10000));
    ASSERT_TRUE(waitUntil([&] { return status(gast) == QLatin1String("OK"); }, 5000))
        << qPrintable(status(gast));
    EXPECT_EQ(lokalGewaehlt(gast), QStringList{QStringLiteral("Gast.txt")});
    EXPECT_EQ(remote(QStringLiteral("test")), QByteArray()) << "the message went along";

    const QStringList folge = texte.texte;
    const auto stelle = [&](const char *text) { return folge.indexOf(QString::fromUtf8(text)); };
    ASSERT_EQ(stelle("Übertrage...."), 0) << qPrintable(folge.join(QLatin1Char('|')));
    EXPECT_EQ(stelle("Foto wird übertragen...."), 1);
    EXPECT_GT(stelle("Übertrage Datei..."), 1);
    EXPECT_EQ(folge.last(), QStringLiteral("OK"));
    EXPECT_EQ(folge.count(QStringLiteral("OK")), 1) << qPrintable(folge.join(QLatin1Char('|')));

    // The contact fetches the photo of the address and sees the same pixels.
    Gast1 &k = starteKontakt();
    waehleAdresse(k, QStringLiteral("test"));
    taste(k, Qt::Key_F11); // "Internet-Foto Anzeigen"
    ASSERT_EQ(k.width(), twips(11415));
    klick(k, "Command13");
    EXPECT_TRUE(zeigt(k, bild));
    auto *view = k.findChild<QLabel *>(QStringLiteral("WebBrowser2"));
    ASSERT_TRUE(view->isVisible());
    EXPECT_EQ(rgb(view->pixmap().toImage()), rgb(bild));
    EXPECT_FALSE(k.findChild<QWidget *>(QStringLiteral("Picture5"))->isVisible());
    EXPECT_TRUE(dialogs::shown().isEmpty()) << qPrintable(dialogs::shown().join(QLatin1Char('|')));
}

TEST_F(FotoSpalteTest, SendWithoutAnAddressOrWithoutAPhotoSendsNothing)
{
    Gast1 &gast = starte();
    klick(gast, "kontakt");
    ASSERT_TRUE(ftpFertig());
    taste(gast, Qt::Key_W, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([] { return !dialogs::shown().isEmpty(); }, 3000));
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Sie haben keine Empfänger Adresse angegeben!")});
    EXPECT_TRUE(waitUntil(
        [&] { return lokalGewaehlt(gast) == QStringList{QStringLiteral("Gast.txt")}; }, 3000));
    EXPECT_TRUE(
        waitUntil([&] { return status(gast) == QStringLiteral("Kein Foto gesendet"); }, 3000))
        << qPrintable(status(gast));

    // An address, but no photo taken: the message file does not go in its place.
    dialogs::clearShown();
    waehleAdresse(gast, QStringLiteral("info"));
    ASSERT_TRUE(ftpFertig());
    taste(gast, Qt::Key_F11);
    klick(gast, "Fot1");
    ASSERT_TRUE(waitUntil([] { return !dialogs::shown().isEmpty(); }, 3000));
    EXPECT_TRUE(
        dialogs::shown().first().startsWith(QStringLiteral("Kein Bildschirmfoto vorhanden")));
    ASSERT_TRUE(ftpFertig());
    EXPECT_TRUE(remote(QStringLiteral("info"), QStringLiteral("Foto.bmp")).isEmpty());
    EXPECT_TRUE(remote(QStringLiteral("info")).isEmpty());
    EXPECT_TRUE(
        waitUntil([&] { return status(gast) == QStringLiteral("Kein Foto gesendet"); }, 3000))
        << qPrintable(status(gast));

    // A "Foto.bmp" that cannot be read (a folder of that name): the transfer
    // fails, and the status line does not claim a transfer for good.
    dialogs::clearShown();
    ASSERT_TRUE(QDir(ordner.path()).mkdir(QStringLiteral("Foto.bmp")));
    taste(gast, Qt::Key_W, Qt::ControlModifier);
    EXPECT_TRUE(
        waitUntil([&] { return status(gast) == QStringLiteral("Kein Foto gesendet"); }, 8000))
        << qPrintable(status(gast));
    EXPECT_TRUE(remote(QStringLiteral("info"), QStringLiteral("Foto.bmp")).isEmpty());
}

TEST_F(FotoSpalteTest, PhotoAddressOfAnAddressAndAnswersThatAreNoPicture)
{
    const QImage bild = muster(40);
    legeFoto(QStringLiteral("123"), bmp(bild));
    Gast1 &k = starte();
    taste(k, Qt::Key_F11);
    waehleAdresse(k, QStringLiteral("123"));
    klick(k, "Command13");
    EXPECT_EQ(QUrl(k.fotoSpalte().letzteFotoAdresse()).path(),
              QStringLiteral("/vx/stillbox/vxvx/123/Foto.bmp"));
    ASSERT_TRUE(zeigt(k, bild));

    // A text file in its place: the picture stays, also after the reload.
    legeFoto(QStringLiteral("123"), QByteArray("Hallo, dies ist kein Bild\r\n"));
    klick(k, "Command13");
    EXPECT_TRUE(waitUntil([&] { return status(k).contains(QStringLiteral("kein Bild")); }))
        << qPrintable(status(k));
    waitUntil([] { return false; }, 1300);
    EXPECT_EQ(rgb(k.fotoSpalte().webBild()), rgb(bild));
    EXPECT_EQ(rgb(k.findChild<QLabel *>(QStringLiteral("WebBrowser2"))->pixmap().toImage()),
              rgb(bild));

    // An address without a photo: the server's error answer is not shown.
    waehleAdresse(k, QStringLiteral("info"));
    klick(k, "Command13");
    EXPECT_TRUE(waitUntil([&] { return status(k).contains(QStringLiteral("404")); }))
        << qPrintable(status(k));
    EXPECT_EQ(rgb(k.fotoSpalte().webBild()), rgb(bild));

    // Larger than 20 MB: cut off and never shown, even though it starts as a picture.
    QImage gross(2600, 2700, QImage::Format_RGB888);
    gross.fill(Qt::red);
    const QByteArray grossBmp = bmp(gross);
    ASSERT_GT(grossBmp.size(), FotoSpalte::maxBytes);
    legeFoto(QStringLiteral("123"), grossBmp);
    waehleAdresse(k, QStringLiteral("123"));
    klick(k, "Command13");
    EXPECT_TRUE(waitUntil([&] { return status(k).contains(QStringLiteral("20 MB")); }, 10000))
        << qPrintable(status(k));
    EXPECT_EQ(rgb(k.fotoSpalte().webBild()), rgb(bild));

    // A click on the view shows the local photo in it.
    const QImage lokal = muster(120);
    ASSERT_TRUE(lokal.save(ordner.filePath(QStringLiteral("Foto.bmp")), "BMP"));
    klick(k, "WebBrowser2");
    EXPECT_EQ(rgb(k.fotoSpalte().webBild()), rgb(lokal));

    // A newer photo replaces the old one.
    const QImage neu = muster(90);
    legeFoto(QStringLiteral("123"), bmp(neu));
    waehleAdresse(k, QStringLiteral("123"));
    klick(k, "Command13");
    EXPECT_TRUE(zeigt(k, neu));

    // A small PNG of 5700 x 5700 is decoded at the view's size, off the
    // window's thread: the window's event loop never stalls.
    QImage riesig(5700, 5700, QImage::Format_RGB32);
    riesig.fill(Qt::green);
    QByteArray png;
    QBuffer puffer(&png);
    ASSERT_TRUE(puffer.open(QIODevice::WriteOnly) && riesig.save(&puffer, "PNG"));
    riesig = QImage();
    legeFoto(QStringLiteral("123"), png);
    test::Stockung stockung;
    klick(k, "Command13");
    const QSize sicht = k.findChild<QLabel *>(QStringLiteral("WebBrowser2"))->size();
    EXPECT_TRUE(waitUntil(
        [&] {
            return k.fotoSpalte().webBild().width() == sicht.width() ||
                   k.fotoSpalte().webBild().height() == sicht.height();
        },
        20000))
        << k.fotoSpalte().webBild().width();
    stockung.halt();
    EXPECT_LT(stockung.laengste(), 60);
    EXPECT_EQ(k.fotoSpalte().webBild().pixelColor(1, 1), QColor(Qt::green));
}

TEST_F(FotoSpalteTest, SecondClickWithinASecondLeavesOneReload)
{
    legeFoto(QStringLiteral("test"), bmp(muster(0)));
    Gast1 &k = starte();
    taste(k, Qt::Key_F11);
    waehleAdresse(k, QStringLiteral("test"));
    StatusTexte texte(k);
    const auto geladen = [&] { return texte.texte.count(QStringLiteral("Internet-Foto geladen")); };
    klick(k, "Command13");
    ASSERT_TRUE(waitUntil([&] { return geladen() == 1; }));
    klick(k, "Command13");
    ASSERT_TRUE(waitUntil([&] { return geladen() == 2; }));
    // The photo changes on the server after both fetches: the reload brings it.
    const QImage neu = muster(50);
    legeFoto(QStringLiteral("test"), bmp(neu));
    EXPECT_TRUE(zeigt(k, neu, 2500));
    waitUntil([] { return false; }, 1500);
    EXPECT_EQ(geladen(), 3) << "one reload for both clicks";
}

TEST_F(FotoSpalteTest, ASilentServerNeverHoldsUpTheWindow)
{
    // Takes the connection and never answers.
    RohServer stumm;
    ASSERT_TRUE(stumm.running());
    kontakt = std::make_unique<Programm>([&] {
        Einstellungen e = einstellungen();
        e.programmOrdner = kontaktOrdner.path();
        e.host = QStringLiteral("127.0.0.1");
        e.httpPort = stumm.port();
        return e;
    }());
    Gast1 &k = *kontakt->gast1();
    k.show();
    QApplication::setActiveWindow(&k);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&k));
    taste(k, Qt::Key_F11);
    waehleAdresse(k, QStringLiteral("test"));
    QElapsedTimer uhr;
    uhr.start();
    klick(k, "Command13");
    EXPECT_LT(uhr.elapsed(), 1000);
    ASSERT_TRUE(waitUntil([&] { return stumm.verbindungen() > 0; }, 3000));
    // The window goes on taking keys while the fetch waits.
    taste(k, Qt::Key_M, Qt::ControlModifier);
    auto *textS = k.findChild<QLineEdit *>(QStringLiteral("TextS"));
    EXPECT_EQ(QApplication::focusWidget(), textS);
    QTest::keyClick(k.windowHandle(), 'a');
    EXPECT_EQ(textS->text(), QStringLiteral("a"));
    EXPECT_TRUE(k.fotoSpalte().webBild().isNull());
}

TEST_F(FotoSpalteTest, SavingThePictureAndTheLocalPhoto)
{
    Gast1 &k = starte();
    taste(k, Qt::Key_F11);
    // Nothing shown yet: nothing is written.
    klick(k, "fotspeich");
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Kein Bild geladen, Datei wird nicht gespeichert")});
    EXPECT_FALSE(QFile::exists(ordner.filePath(QStringLiteral("Foto.bmp"))));

    // The local photo.
    const QImage lokal = muster(10);
    ASSERT_TRUE(lokal.save(ordner.filePath(QStringLiteral("Foto.bmp")), "BMP"));
    taste(k, Qt::Key_F11);
    klick(k, "bildlokal");
    auto *picture1 = k.findChild<QLabel *>(QStringLiteral("Picture1"));
    EXPECT_EQ(rgb(picture1->pixmap().toImage()), rgb(lokal));
    EXPECT_EQ(k.width(), twips(11415));

    // A click on the picture brings the address's photo from the server into it.
    const QImage web = muster(200);
    legeFoto(QStringLiteral("test"), bmp(web));
    waehleAdresse(k, QStringLiteral("test"));
    klick(k, "Picture1");
    ASSERT_TRUE(waitUntil([&] { return rgb(picture1->pixmap().toImage()) == rgb(web); }));

    // Saved as "Foto.bmp" into the current folder, over the old one.
    dialogs::clearShown();
    klick(k, "fotspeich");
    EXPECT_TRUE(dialogs::shown().isEmpty());
    EXPECT_EQ(rgb(QImage(ordner.filePath(QStringLiteral("Foto.bmp")))), rgb(web));
}

TEST_F(FotoSpalteTest, ColumnShowsOnlyAtFullWidthWithItsHints)
{
    Gast1 &k = starte();
    auto *fot1 = k.findChild<QPushButton *>(QStringLiteral("Fot1"));
    ASSERT_TRUE(fot1);
    EXPECT_FALSE(fot1->isVisible());
    taste(k, Qt::Key_F11);
    ASSERT_EQ(k.width(), twips(11415));
    EXPECT_GE(k.height(), twips(3120));
    // Every button of the column lies inside the window.
    for (const char *name : {"Fot1", "Command13", "bildlokal", "fotspeich", "Command14"}) {
        auto *b = k.findChild<QPushButton *>(QString::fromLatin1(name));
        ASSERT_TRUE(b && b->isVisible()) << name;
        EXPECT_TRUE(k.rect().contains(QRect(b->mapTo(&k, QPoint(0, 0)), b->size()))) << name;
    }
    EXPECT_EQ(fot1->text(), QStringLiteral("&Bildschirmfoto senden"));
    EXPECT_EQ(k.findChild<QPushButton *>(QStringLiteral("bildlokal"))->text(),
              QStringLiteral("Lokales Foto  laden"));

    QTest::mouseMove(k.windowHandle(), fot1->mapTo(&k, fot1->rect().center()));
    EXPECT_TRUE(waitUntil(
        [&] {
            return programm->hilfe2()->text() ==
                   QStringLiteral(" Mit Klick gemachtes Bildschirm-Foto senden, an die Adresse in "
                                  "Adressenfeld ");
        },
        2000))
        << qPrintable(programm->hilfe2()->text());
    EXPECT_EQ(Hinweise::background(fot1), farbe::gelb);
    // Into the button by the keyboard: from "Lokales Foto  laden" back twice.
    klick(k, "bildlokal");
    taste(k, Qt::Key_Tab, Qt::ShiftModifier);
    taste(k, Qt::Key_Tab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), fot1);
    // The window's content stays where it is.
    EXPECT_EQ(fot1->mapTo(&k, QPoint(0, 0)).x(), twips(FotoSpalte::links));
    EXPECT_EQ(
        programm->hilfe2()->text(),
        QStringLiteral(
            " Mit Doppelklick gemachtes Bildschirm-Foto senden, an die Adresse in Adressenfeld "));
    taste(k, Qt::Key_M, Qt::ControlModifier); // the send box takes the focus
    EXPECT_EQ(Hinweise::background(fot1), farbe::blau);

    // The narrow view hides the column again.
    taste(k, Qt::Key_U, Qt::ControlModifier); // "Sprecher-Ausblenden"
    EXPECT_TRUE(waitUntil([&] { return !fot1->isVisible(); }, 2000)) << k.width();

    // The column's camera button opens the screen photo window.
    taste(k, Qt::Key_F11);
    ASSERT_TRUE(waitUntil([&] { return fot1->isVisible(); }, 2000));
    klick(k, "Command14");
    EXPECT_NE(programm->fotoFWennGeladen(), nullptr);
}

} // namespace

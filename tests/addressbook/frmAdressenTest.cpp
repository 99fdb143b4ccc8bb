#include "addressbook/ui/frmAdressen.h"
#include "addressbook/AdressBuch.h"
#include "addressbook/ui/EintragDruck.h"
#include "platform/AnsiText.h"

#include "app/Programm.h"
#include "contact/Empfang.h"
#include "contact/ui/Gast1.h"
#include "contact/ui/Gast1Menue.h"
#include "help/ui/Hilfe2.h"
#include "help/ui/Hinweise.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "support/Eingabe.h"
#include "support/LocalServer.h"
#include "support/Stockung.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <memory>

using namespace varnek;
using varnek::test::klick;
using Feld = AdressDatensatz::Feld;

namespace
{

QByteArray satz(const QString &nummer, const QString &komentar, const QString &web = {},
                const QString &bild = {}, char reserve = ' ')
{
    AdressDatensatz s;
    s.setRaw(Feld::Reserve1, QByteArray(200, reserve));
    s.setText(Feld::Nummer, nummer);
    s.setText(Feld::Komentar, komentar);
    s.setText(Feld::Webadresse, web);
    s.setText(Feld::Bildpfad, bild);
    return s.bytes();
}

QByteArray buch(int n)
{
    QByteArray b;
    for (int i = 1; i <= n; ++i)
        b += satz(QString::number(100 + i), QStringLiteral("K%1").arg(i),
                  QStringLiteral("www.k%1.de").arg(i), {}, char('a' + i));
    return b;
}

AdressDatensatz satzIn(const QByteArray &datei, int n)
{
    return AdressDatensatz::fromBytes(datei.mid((n - 1) * 870, 870));
}

class AdressbuchFenster : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        dialogs::setTestMode(true);
        desktop::setTestMode(true);
        alterOrdner = QDir::currentPath();
        QDir::setCurrent(dir.path());
        Einstellungen e;
        e.programmOrdner = dir.path();
        e.stumm = true;
        programm = std::make_unique<Programm>(e);
    }

    void TearDown() override
    {
        eintragdruck::setAusgabeDatei(QString());
        ohneFokus();
        programm.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QDir::setCurrent(alterOrdner);
    }

    // The offscreen platform keeps a closed window active; a window deleted
    // with the focus inside would send its hint table a focus change while
    // half destroyed.
    static void ohneFokus()
    {
        if (QWidget *f = QApplication::focusWidget())
            f->clearFocus();
        QApplication::setActiveWindow(nullptr);
    }

    QString pfad(const QString &name) const { return dir.filePath(name); }
    QByteArray datei() const
    {
        QFile f(pfad(QStringLiteral("Adress.PRE")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<fehlt>");
    }
    void schreibe(const QByteArray &bytes) const
    {
        QFile f(pfad(QStringLiteral("Adress.PRE")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }

    Gast1 *gast()
    {
        Gast1 *g = programm->gast1();
        if (!g->isVisible()) {
            g->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(g));
        }
        return g;
    }

    static void aktiviere(QWidget *w) { test::aktiviere(w); }

    // The user opens the address book from the contact window's menu bar.
    frmAdressen *oeffne()
    {
        Gast1 *g = gast();
        aktiviere(g);
        QMenuBar *leiste = g->menuBar();
        QAction *eintrag = g->menue().adressbuch();
        EXPECT_TRUE(eintrag);
        if (!eintrag)
            return nullptr;
        QTest::mouseClick(leiste->window()->windowHandle(), Qt::LeftButton, {},
                          leiste->mapTo(g, leiste->actionGeometry(eintrag).center()));
        frmAdressen *a = programm->adressenWennGeladen();
        EXPECT_TRUE(a);
        if (!a)
            return nullptr;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(a));
        aktiviere(a);
        return a;
    }

    template <typename W = QWidget> W *control(QWidget *fenster, const char *name)
    {
        W *w = fenster->findChild<W *>(QString::fromLatin1(name));
        EXPECT_TRUE(w) << name;
        return w;
    }
    QLineEdit *feld(frmAdressen *a, const char *name) { return control<QLineEdit>(a, name); }

    static void taste(QWidget *fenster, Qt::Key key, Qt::KeyboardModifiers mod = Qt::NoModifier)
    {
        test::taste(fenster, key, mod);
    }
    // Clicks into the field, selects all and types the text over it.
    static void tippe(QLineEdit *f, const QByteArray &text)
    {
        klick(f);
        test::taste(f, Qt::Key_A, Qt::ControlModifier);
        test::tippeInFenster(f, QString::fromLatin1(text));
    }

    QString hinweis() { return programm->hilfe2()->text(); }
    static QPixmap bildVon(frmAdressen *a)
    {
        return a->findChild<QLabel *>(QStringLiteral("Image1"))->pixmap();
    }
    // The picture is decoded off the window's thread: wait until it is shown.
    static bool bildDa(frmAdressen *a)
    {
        return test::waitUntil([a] { return !bildVon(a).isNull(); });
    }

    void legeBildAn(const QString &name, const QColor &farbe)
    {
        QDir().mkpath(pfad(QStringLiteral("bilder")));
        QImage bild(60, 40, QImage::Format_RGB32);
        bild.fill(farbe);
        ASSERT_TRUE(bild.save(pfad(QStringLiteral("bilder/") + name), "BMP"));
    }

    QTemporaryDir dir;
    QString alterOrdner;
    std::unique_ptr<Programm> programm;
};

TEST_F(AdressbuchFenster, OpensFromTheContactWindowAndEscClosesFromATextBoxWithTheNumberInTheFile)
{
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 1/ 1"));
    EXPECT_EQ(datei(), QByteArray()); // created empty
    EXPECT_EQ(feld(a, "txtVorname")->text(), QString());
    EXPECT_EQ(control<QPushButton>(a, "cmdNext")->text(), QString::fromUtf8(">>  Nächster"));
    EXPECT_EQ(control<QPushButton>(a, "cmdBild")->toolTip(),
              QString::fromUtf8("Der Grafikpfad ist auf 70 Zeichen beschränkt"));
    EXPECT_EQ(a->menuepunkt(QStringLiteral("mnuDelete"))->shortcut(),
              QKeySequence(Qt::CTRL | Qt::Key_L));

    tippe(feld(a, "txtVorname"), "4711");
    EXPECT_EQ(hinweis(), QStringLiteral("4711"));
    EXPECT_EQ(feld(a, "txtBild")->text(), QStringLiteral("bilder/4711.bmp"));
    ASSERT_EQ(QApplication::focusWidget(), feld(a, "txtVorname"));
    QPointer<frmAdressen> offen(a);
    taste(a, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(offen.isNull());
    const QByteArray d = datei();
    ASSERT_EQ(d.size(), 870);
    EXPECT_EQ(satzIn(d, 1).text(Feld::Nummer), QStringLiteral("4711"));
    EXPECT_EQ(satzIn(d, 1).text(Feld::Bildpfad), QStringLiteral("bilder/4711.bmp"));
    EXPECT_EQ(programm->gast1()->focusWidget(),
              programm->gast1()->findChild<QLineEdit *>(QStringLiteral("TextS")));
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

TEST_F(AdressbuchFenster, PageDownSavesTheEditBeforeTheNextRecordShows)
{
    schreibe(buch(3));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 1/ 3"));
    tippe(feld(a, "txtNachname"), "Meier");
    EXPECT_EQ(hinweis(), QStringLiteral("....   Meier"));
    taste(a, Qt::Key_PageDown);
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 2/ 3"));
    EXPECT_EQ(feld(a, "txtNachname")->text(), QStringLiteral("K2"));
    EXPECT_EQ(QApplication::focusWidget(), feld(a, "txtVorname"));
    const QByteArray d = datei();
    EXPECT_EQ(satzIn(d, 1).text(Feld::Komentar), QStringLiteral("Meier"));
    EXPECT_EQ(satzIn(d, 1).raw(Feld::Reserve1), QByteArray(200, 'b')); // carried through
    EXPECT_EQ(d.mid(870), buch(3).mid(870));

    taste(a, Qt::Key_PageUp);
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 1/ 3"));
    EXPECT_EQ(feld(a, "txtNachname")->text(), QStringLiteral("Meier"));
    // The button and the menu do the same.
    klick(control<QPushButton>(a, "cmdNext"));
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 2/ 3"));
    taste(a, Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 3/ 3"));
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

TEST_F(AdressbuchFenster, EndsOfTheBookShowTheirHintAndMessageAndWriteNothing)
{
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    tippe(feld(a, "txtVorname"), "neu");
    taste(a, Qt::Key_PageDown);
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Einträge-Ende")});
    EXPECT_EQ(dialogs::shownTitles(), QStringList{QStringLiteral("Einträge-Ende")});
    EXPECT_EQ(hinweis(), QString::fromUtf8(" Einträge-Ende!"));
    dialogs::clearShown();
    taste(a, Qt::Key_PageUp);
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Einträge-Anfang")});
    EXPECT_EQ(hinweis(), QString::fromUtf8(" Einträge-Anfang!"));
    EXPECT_EQ(feld(a, "txtVorname")->text(), QStringLiteral("neu"));
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 1/ 1"));
    EXPECT_EQ(datei(), QByteArray());
}

TEST_F(AdressbuchFenster, EditThenDeleteDiscardsTheEditWithTheRecord)
{
    schreibe(buch(5));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    taste(a, Qt::Key_PageDown);
    tippe(feld(a, "txtNachname"), "Geaendert");

    dialogs::prepareAnswer(QStringLiteral("no"));
    klick(control<QPushButton>(a, "cmdDelete"));
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Sind Sie sicher das Sie den Eintrag löschen möchten ?")});
    EXPECT_EQ(dialogs::shownTitles(), QStringList{QStringLiteral("Einträge löschen...")});
    EXPECT_EQ(datei(), buch(5));
    EXPECT_EQ(feld(a, "txtNachname")->text(), QStringLiteral("Geaendert"));
    EXPECT_EQ(QApplication::focusWidget(), feld(a, "txtVorname"));

    dialogs::prepareAnswer(QStringLiteral("yes"));
    taste(a, Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 2/ 4"));
    EXPECT_EQ(feld(a, "txtNachname")->text(), QStringLiteral("K3"));
    const QByteArray d = datei();
    EXPECT_EQ(d.size(), 4 * 870);
    EXPECT_FALSE(d.contains("Geaendert"));
    EXPECT_EQ(d.left(870), buch(5).left(870));
    EXPECT_EQ(d.mid(870), buch(5).mid(2 * 870));
}

// A picture path naming a FIFO never holds the window; a picture larger than
// the picture box is decoded to fit it.
TEST_F(AdressbuchFenster, PicturePathOfAFifoOrAHugePicture)
{
    schreibe(buch(1));
    QDir().mkpath(pfad(QStringLiteral("bilder")));
    ASSERT_EQ(
        ::mkfifo(QFile::encodeName(pfad(QStringLiteral("bilder/fifo.bmp"))).constData(), 0600), 0);
    QImage riesig(5700, 5700, QImage::Format_RGB32);
    riesig.fill(Qt::green);
    ASSERT_TRUE(riesig.save(pfad(QStringLiteral("bilder/riesig.png")), "PNG"));
    riesig = QImage();
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    // The window's event loop keeps running while the pictures are opened.
    test::Stockung stockung;
    tippe(feld(a, "txtBild"), "bilder/fifo.bmp");
    klick(control<QPushButton>(a, "cmdBild"));
    QTest::qWait(200);
    EXPECT_TRUE(bildVon(a).isNull());

    tippe(feld(a, "txtBild"), "bilder/riesig.png");
    stockung.neu();
    klick(control<QPushButton>(a, "cmdBild"));
    ASSERT_TRUE(test::waitUntil([&] { return !bildVon(a).isNull(); }, 20000));
    stockung.halt();
    EXPECT_LT(stockung.laengste(), 60);
    const QSize kasten = a->findChild<QLabel *>(QStringLiteral("Image1"))->size();
    EXPECT_LE(bildVon(a).width(), kasten.width());
    EXPECT_LE(bildVon(a).height(), kasten.height());
}

// Paging fast through records with pictures ends with the last record's
// picture, never with one decoded later for a record already left.
TEST_F(AdressbuchFenster, PagingFastShowsTheLastRecordsPicture)
{
    QDir().mkpath(pfad(QStringLiteral("bilder")));
    QImage gross(3000, 3000, QImage::Format_RGB32);
    gross.fill(Qt::red);
    ASSERT_TRUE(gross.save(pfad(QStringLiteral("bilder/gross.png")), "PNG"));
    legeBildAn(QStringLiteral("blau.bmp"), Qt::blue);
    schreibe(satz(QStringLiteral("1"), {}, {}, QStringLiteral("bilder/blau.bmp")) +
             satz(QStringLiteral("2"), {}, {}, QStringLiteral("bilder/gross.png")) +
             satz(QStringLiteral("3"), {}, {}, QStringLiteral("bilder/blau.bmp")));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    taste(a, Qt::Key_PageDown);
    taste(a, Qt::Key_PageDown);
    ASSERT_EQ(feld(a, "txtVorname")->text(), QStringLiteral("3"));
    ASSERT_TRUE(bildDa(a));
    QTest::qWait(1500); // time for the big picture, were it still decoded
    EXPECT_EQ(bildVon(a).toImage().pixelColor(1, 1), QColor(Qt::blue));
}

TEST_F(AdressbuchFenster, CommentSearchInABookOfNineFromRecordTwo)
{
    schreibe(buch(9));
    legeBildAn(QStringLiteral("zwei.bmp"), Qt::red);
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    taste(a, Qt::Key_PageDown);
    tippe(feld(a, "txtNachname"), "Zwei");
    tippe(feld(a, "txtBild"), "bilder/zwei.bmp");
    klick(control<QPushButton>(a, "cmdBild"));
    EXPECT_TRUE(bildDa(a));

    dialogs::prepareAnswer(QStringLiteral("k7"));
    klick(control<QPushButton>(a, "cmdSearch"));
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Suche nach Komentar:")});
    EXPECT_EQ(dialogs::shownTitles(), QStringList{QStringLiteral("Suchen...Einträge")});
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 7/ 9"));
    EXPECT_EQ(feld(a, "txtVorname")->text(), QStringLiteral("107"));
    EXPECT_EQ(satzIn(datei(), 2).text(Feld::Komentar), QStringLiteral("Zwei"));
    EXPECT_EQ(QApplication::focusWidget(), feld(a, "txtNachname"));
    EXPECT_TRUE(bildVon(a).isNull());

    // Not found: the message as built, nothing else changes.
    dialogs::clearShown();
    dialogs::prepareAnswer(QStringLiteral("abc"));
    taste(a, Qt::Key_K, Qt::ControlModifier);
    EXPECT_EQ(dialogs::shown(), (QStringList{QStringLiteral("Suche nach Komentar:"),
                                             QString::fromUtf8("EinträgeABCnicht gefunden! ")}));
    EXPECT_EQ(dialogs::shownTitles().value(1), QStringLiteral("Einträge..."));
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 7/ 9"));

    // "Eintrag V- Nr: suchen" also searches the comments.
    dialogs::clearShown();
    dialogs::prepareAnswer(QStringLiteral("K3"));
    taste(a, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Suche nach Komentar:")});
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 3/ 9"));
}

TEST_F(AdressbuchFenster, CancelledSearchesChangeNoRecordAndMoveTheFocus)
{
    schreibe(buch(3));
    legeBildAn(QStringLiteral("102.bmp"), Qt::blue);
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    tippe(feld(a, "txtVorname"), "102");
    klick(control<QPushButton>(a, "cmdBild"));
    ASSERT_TRUE(bildDa(a));

    klick(control<QPushButton>(a, "suchNr")); // cancelled: no answer prepared
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Suche nach V-Nr:")});
    EXPECT_FALSE(bildVon(a).isNull());
    EXPECT_EQ(QApplication::focusWidget(), feld(a, "txtVorname"));

    klick(control<QPushButton>(a, "cmdSearch"));
    EXPECT_TRUE(bildVon(a).isNull());
    EXPECT_EQ(QApplication::focusWidget(), feld(a, "txtNachname"));
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 1/ 3"));
    EXPECT_EQ(datei(), buch(3));

    dialogs::prepareAnswer(QStringLiteral("103"));
    klick(control<QPushButton>(a, "suchNr"));
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 3/ 3"));
    EXPECT_EQ(satzIn(datei(), 1).text(Feld::Nummer), QStringLiteral("102"));
}

TEST_F(AdressbuchFenster, NumberRoundTripWithTheContactWindow)
{
    schreibe(buch(2));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    tippe(feld(a, "txtVorname"), "4711");
    taste(a, Qt::Key_I, Qt::AltModifier);
    Gast1 *g = programm->gast1();
    auto *combo = g->findChild<QComboBox *>(QStringLiteral("Combo2"));
    // A button's Alt key presses it after its short press animation.
    EXPECT_TRUE(
        test::waitUntil([&] { return combo->currentText() == QStringLiteral("4711"); }, 2000))
        << combo->currentText().toStdString();
    EXPECT_TRUE(g->empfang().nachrichtenAdresse().endsWith(
        QStringLiteral("/vx/stillbox/vxvx/4711/Gast.txt")))
        << g->empfang().nachrichtenAdresse().toStdString();

    // The user types another address into the contact window ...
    aktiviere(g);
    klick(combo);
    // Ctrl+A is the window's "Abbrechen": the text is selected by keys.
    QTest::keyClick(g->windowHandle(), Qt::Key_Home);
    QTest::keyClick(g->windowHandle(), Qt::Key_End, Qt::ShiftModifier);
    for (char c : QByteArray("d-bw-001"))
        QTest::keyClick(g->windowHandle(), c);
    // ... and takes it over into the book.
    aktiviere(a);
    taste(a, Qt::Key_A, Qt::AltModifier);
    EXPECT_TRUE(test::waitUntil(
        [&] { return feld(a, "txtVorname")->text() == QStringLiteral("d-bw-001"); }, 2000));
    feld(a, "txtVorname")->setText(QStringLiteral("x"));
    klick(control<QPushButton>(a, "uebernehmen"));
    EXPECT_EQ(feld(a, "txtVorname")->text(), QStringLiteral("d-bw-001"));
    EXPECT_EQ(feld(a, "txtBild")->text(), QStringLiteral("bilder/d-bw-001.bmp"));
    EXPECT_EQ(feld(a, "txtNachname")->text(), QStringLiteral("K1"));
    EXPECT_EQ(feld(a, "txtWebadresse")->text(), QStringLiteral("www.k1.de"));
    EXPECT_EQ(datei(), buch(2)); // saved by the next move only
    taste(a, Qt::Key_PageDown);
    EXPECT_EQ(satzIn(datei(), 1).text(Feld::Nummer), QStringLiteral("d-bw-001"));
    EXPECT_EQ(satzIn(datei(), 1).text(Feld::Bildpfad), QStringLiteral("bilder/d-bw-001.bmp"));
}

TEST_F(AdressbuchFenster, CopyPutsNumberBlankCommentOnTheClipboardAfterTheBox)
{
    schreibe(satz(QStringLiteral("4711"), QStringLiteral("Meier")) +
             satz(QStringLiteral("12"), QString()));
    QGuiApplication::clipboard()->setText(QStringLiteral("alt"));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    klick(control<QPushButton>(a, "cmdCopy"));
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Kopieren der Adresse in die Zwischenablage")});
    EXPECT_EQ(dialogs::shownTitles(), QStringList{QStringLiteral("Kopieren")});
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("4711 Meier"));

    // Ctrl+C is the menu's copy, also inside a field with text selected.
    taste(a, Qt::Key_PageDown);
    klick(feld(a, "txtVorname"));
    taste(a, Qt::Key_A, Qt::ControlModifier);
    taste(a, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(dialogs::shown().size(), 2);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("12 "));
}

TEST_F(AdressbuchFenster, PrintsTheEntryWithItsPhotoIntoAPdf)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty() ||
        QStandardPaths::findExecutable(QStringLiteral("pdfimages")).isEmpty())
        GTEST_SKIP() << "poppler-utils missing (scripts/deps.sh installs them)";
    const QString lang = QString(61, QLatin1Char('7'));
    schreibe(satz(QStringLiteral("12"), QStringLiteral("Meier"), QStringLiteral("www.meier.de"),
                  QStringLiteral("bilder/12.bmp")));
    legeBildAn(QStringLiteral("12.bmp"), Qt::darkGreen);
    const QString pdf = pfad(QStringLiteral("eintrag.pdf"));
    eintragdruck::setAusgabeDatei(pdf);
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    ASSERT_TRUE(bildDa(a));

    klick(control<QPushButton>(a, "cmdDrucken")); // answered No
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Drucken den gesamten Eintrag.")});
    EXPECT_EQ(dialogs::shownTitles(), QStringList{QStringLiteral("Meldung...")});
    EXPECT_FALSE(QFile::exists(pdf));

    tippe(feld(a, "txtNachname"), "Meier Huber");
    dialogs::prepareAnswer(QStringLiteral("yes"));
    klick(control<QPushButton>(a, "cmdDrucken"));
    ASSERT_TRUE(QFile::exists(pdf));

    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QStringList zeilen =
        QString::fromUtf8(text.readAllStandardOutput()).split(QLatin1Char('\n'));
    QStringList volle;
    for (const QString &z : zeilen)
        if (!z.trimmed().isEmpty())
            volle << z.trimmed();
    EXPECT_EQ(volle, (QStringList{QStringLiteral("V-Nr: 12"), QStringLiteral("Meier Huber"),
                                  QStringLiteral("www.meier.de")}));

    QProcess bilder;
    bilder.start(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf});
    ASSERT_TRUE(bilder.waitForFinished(20000));
    const QStringList liste =
        QString::fromUtf8(bilder.readAllStandardOutput()).trimmed().split(QLatin1Char('\n'));
    ASSERT_EQ(liste.size(), 3)
        << liste.join(QLatin1Char('\n')).toStdString(); // two header lines, one picture
    EXPECT_TRUE(liste[2].simplified().split(QLatin1Char(' ')).value(3) == QStringLiteral("60"))
        << liste[2].toStdString();

    // A number longer than its field is printed in full (on two lines, as
    // it is wider than the page).
    QFile::remove(pdf);
    tippe(feld(a, "txtVorname"), lang.toLatin1());
    dialogs::prepareAnswer(QStringLiteral("yes"));
    klick(control<QPushButton>(a, "cmdDrucken"));
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(20000));
    const QString seite = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(
        seite.simplified().remove(QLatin1Char(' ')).contains(QStringLiteral("V-Nr:") + lang))
        << seite.toStdString();
    if (qEnvironmentVariableIsSet("VARNEK_PDF_BEHALTEN"))
        QFile::copy(pdf, qEnvironmentVariable("VARNEK_PDF_BEHALTEN"));
}

TEST_F(AdressbuchFenster, PhotoPathFollowsTheNumberAndSavePhotoWritesABitmap)
{
    schreibe(satz(QStringLiteral("9"), QStringLiteral("Neun"), {}, QStringLiteral("bilder/9.bmp")));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    EXPECT_EQ(feld(a, "txtBild")->text(), QStringLiteral("bilder/9.bmp"));

    klick(control<QPushButton>(a, "fotspeich"));
    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Kein Bild geladen, Datei wird nicht gespeichert")});
    EXPECT_EQ(dialogs::shownTitles(), QStringList{QString()}); // the program's title
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("bilder/9.bmp"))));

    tippe(feld(a, "txtVorname"), "12");
    EXPECT_EQ(feld(a, "txtBild")->text(), QStringLiteral("bilder/12.bmp"));
    legeBildAn(QStringLiteral("vorlage.bmp"), Qt::yellow);
    tippe(feld(a, "txtBild"), "bilder/vorlage.bmp");
    klick(control<QPushButton>(a, "cmdBild"));
    ASSERT_TRUE(bildDa(a));
    klick(control<QPushButton>(a, "fotspeich"));
    EXPECT_EQ(control<QLineEdit>(a, "Text1")->text(), QStringLiteral("bilder/12.bmp"));
    EXPECT_EQ(feld(a, "txtBild")->text(), QStringLiteral("bilder/vorlage.bmp"));
    QImage gespeichert(pfad(QStringLiteral("bilder/12.bmp")), "BMP");
    ASSERT_FALSE(gespeichert.isNull());
    EXPECT_EQ(gespeichert.size(), QSize(60, 40));
    EXPECT_EQ(gespeichert.pixelColor(5, 5), QColor(Qt::yellow));

    // A path that cannot be loaded leaves the picture; an empty one clears it.
    tippe(feld(a, "txtBild"), "bilder/fehlt.bmp");
    klick(control<QPushButton>(a, "cmdBild"));
    EXPECT_FALSE(bildVon(a).isNull());
    feld(a, "txtBild")->clear();
    klick(control<QPushButton>(a, "cmdBild"));
    EXPECT_TRUE(bildVon(a).isNull());

    // Moving on stores the default path of the new number.
    tippe(feld(a, "txtVorname"), "12");
    taste(a, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 2/ 2"));
    EXPECT_EQ(satzIn(datei(), 1).text(Feld::Bildpfad), QStringLiteral("bilder/12.bmp"));
    EXPECT_EQ(satzIn(datei(), 2).text(Feld::Nummer), QString());
}

// What the user sees: every control wholly inside the window and its
// frame, captions with room to spare inside their buttons, no design text.
TEST_F(AdressbuchFenster, EveryControlFitsAndNoPlaceholderShows)
{
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    for (QWidget *w : a->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->isWindow() || qobject_cast<QMenu *>(w))
            continue;
        const QString name = w->objectName();
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry()))
            << qPrintable(name) << " is cut by the edge of "
            << qPrintable(w->parentWidget()->objectName());
        EXPECT_TRUE(a->rect().contains(QRect(w->mapTo(a, QPoint(0, 0)), w->size())))
            << qPrintable(name) << " is cut by the window's edge";
        if (auto *knopf = qobject_cast<QPushButton *>(w)) {
            const int text =
                knopf->fontMetrics().horizontalAdvance(knopf->text().remove(QLatin1Char('&')));
            EXPECT_GE(knopf->width() - text, 12)
                << qPrintable(name) << " has no margin: " << knopf->width() - text;
        }
        if (auto *feld = qobject_cast<QLineEdit *>(w)) {
            EXPECT_NE(feld->text(), QStringLiteral("Text1")) << qPrintable(name);
        }
    }
}

TEST_F(AdressbuchFenster, SavePhotoMakesTheFolderOrSaysWhyNothingWasWritten)
{
    schreibe(satz(QStringLiteral("12"), QStringLiteral("Zwoelf")));
    legeBildAn(QStringLiteral("vorlage.bmp"), Qt::yellow);
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    tippe(feld(a, "txtBild"), "bilder/vorlage.bmp");
    klick(control<QPushButton>(a, "cmdBild"));
    ASSERT_TRUE(bildDa(a));
    QLineEdit *text1 = control<QLineEdit>(a, "Text1");
    // Before the first save the field holds no placeholder.
    EXPECT_EQ(text1->text(), QString());

    // No folder "bilder": it is made.
    ASSERT_TRUE(QDir(pfad(QStringLiteral("bilder"))).removeRecursively());
    klick(control<QPushButton>(a, "fotspeich"));
    EXPECT_TRUE(dialogs::shown().isEmpty()) << qPrintable(dialogs::shown().join(QLatin1Char('|')));
    EXPECT_EQ(QImage(pfad(QStringLiteral("bilder/12.bmp")), "BMP").pixelColor(5, 5),
              QColor(Qt::yellow));
    EXPECT_EQ(text1->text(), QStringLiteral("bilder/12.bmp"));

    // A file "bilder" in the way, or a folder where the photo should go:
    // the user is told, and the path field keeps what it had.
    struct Sperre {
        const char *nummer;
        const char *ordner; // made a folder
        const char *datei;  // made a file
        const char *meldung;
    };
    for (const Sperre &s :
         {Sperre{"13", nullptr, "bilder",
                 "Foto nicht gespeichert: der Ordner \"bilder\" kann nicht "
                 "angelegt werden."},
          Sperre{"14", "bilder/14.bmp", nullptr, "Foto nicht gespeichert: bilder/14.bmp\n"}}) {
        QDir(pfad(QStringLiteral("bilder"))).removeRecursively();
        if (s.ordner) {
            ASSERT_TRUE(QDir().mkpath(pfad(QString::fromLatin1(s.ordner))));
        }
        if (s.datei) {
            QFile sperre(pfad(QString::fromLatin1(s.datei)));
            ASSERT_TRUE(sperre.open(QIODevice::WriteOnly));
        }
        dialogs::clearShown();
        tippe(feld(a, "txtVorname"), s.nummer);
        klick(control<QPushButton>(a, "fotspeich"));
        ASSERT_EQ(dialogs::shown().size(), 1) << s.nummer;
        EXPECT_TRUE(dialogs::shown().first().startsWith(QString::fromUtf8(s.meldung)))
            << qPrintable(dialogs::shown().first());
        EXPECT_EQ(text1->text(), QStringLiteral("bilder/12.bmp")) << s.nummer;
        if (s.datei)
            QFile::remove(pfad(QString::fromLatin1(s.datei)));
    }
}

TEST_F(AdressbuchFenster, PrintingThatCannotHappenTellsTheUser)
{
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    // A PDF that cannot be written: the page cannot be started.
    eintragdruck::setAusgabeDatei(pfad(QStringLiteral("fehlt/eintrag.pdf")));
    dialogs::prepareAnswer(QStringLiteral("yes"));
    klick(control<QPushButton>(a, "cmdDrucken"));
    EXPECT_EQ(dialogs::shown(), (QStringList{QStringLiteral("Drucken den gesamten Eintrag."),
                                             QStringLiteral("Der Eintrag konnte nicht gedruckt "
                                                            "werden.")}));

    if (!QPrinterInfo::defaultPrinter().isNull())
        GTEST_SKIP() << "this machine has a printer; the case without one is not checked";
    eintragdruck::setAusgabeDatei(QString());
    dialogs::clearShown();
    dialogs::prepareAnswer(QStringLiteral("yes"));
    klick(control<QPushButton>(a, "cmdDrucken"));
    EXPECT_EQ(dialogs::shown(),
              (QStringList{QStringLiteral("Drucken den gesamten Eintrag."),
                           QStringLiteral("Kein Drucker eingerichtet: der Eintrag wurde nicht "
                                          "gedruckt.")}));
    EXPECT_EQ(dialogs::shownTitles().value(1), QStringLiteral("Meldung..."));
}

TEST_F(AdressbuchFenster, WebAddressOpensOnTheDesktop)
{
    schreibe(satz(QStringLiteral("1"), QString(), QStringLiteral("https://example.org/")));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    klick(control<QPushButton>(a, "Command1"));
    EXPECT_EQ(desktop::opened(), QStringList{QStringLiteral("https://example.org/")});
}

TEST_F(AdressbuchFenster, ReadOnlyBookTellsTheUserAndKeepsTheEdit)
{
    schreibe(buch(2));
    QFile::setPermissions(pfad(QStringLiteral("Adress.PRE")),
                          QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    // Paging through unchanged records needs no write.
    taste(a, Qt::Key_PageDown);
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 2/ 2"));
    taste(a, Qt::Key_PageUp);
    EXPECT_TRUE(dialogs::shown().isEmpty());

    tippe(feld(a, "txtNachname"), "Neu");
    taste(a, Qt::Key_PageDown);
    ASSERT_EQ(dialogs::shown().size(), 1);
    EXPECT_TRUE(dialogs::shown()[0].contains(QString::fromUtf8("schreibgeschützt")))
        << dialogs::shown()[0].toStdString();
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 1/ 2"));
    EXPECT_EQ(feld(a, "txtNachname")->text(), QStringLiteral("Neu"));

    // Closing asks; No keeps the window and the edit, Yes closes.
    dialogs::clearShown();
    QPointer<frmAdressen> offen(a);
    taste(a, Qt::Key_Escape);
    EXPECT_EQ(dialogs::shown().size(), 1);
    EXPECT_TRUE(a->isVisible());
    dialogs::prepareAnswer(QStringLiteral("yes"));
    klick(control<QPushButton>(a, "cmdExit"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(offen.isNull());
    EXPECT_EQ(datei(), buch(2));
}

// Quitting on a signal never waits on a question: an edit the book refuses
// is kept beside it and named on stderr, and the window goes.
TEST_F(AdressbuchFenster, SignalQuitWithAnEditThatCannotBeSavedKeepsItWithoutAsking)
{
    schreibe(buch(2));
    QFile::setPermissions(pfad(QStringLiteral("Adress.PRE")),
                          QFileDevice::ReadOwner | QFileDevice::ReadGroup);
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    QPointer<frmAdressen> offen(a);
    tippe(feld(a, "txtNachname"), "Neu");
    dialogs::clearShown();
    dialogs::setQuitting(true); // as the SIGTERM handler does
    programm->gast1()->close();
    dialogs::setQuitting(false);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(offen.isNull());
    EXPECT_EQ(datei(), buch(2));
    const auto bewahrt = ansi::readLines(pfad(QStringLiteral("Adress-ungespeichert.txt")));
    ASSERT_TRUE(bewahrt);
    EXPECT_EQ(bewahrt->value(1), QStringLiteral("Neu"));
}

TEST_F(AdressbuchFenster, QuittingTheContactWindowClosesAnOpenBookAndCreatesNone)
{
    gast();
    taste(programm->gast1(), Qt::Key_Escape);
    EXPECT_FALSE(QFile::exists(pfad(QStringLiteral("Adress.PRE"))));
    EXPECT_EQ(programm->adressenWennGeladen(), nullptr);

    ohneFokus();
    programm = std::make_unique<Programm>(programm->einstellungen());
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    tippe(feld(a, "txtVorname"), "33");
    aktiviere(programm->gast1());
    taste(programm->gast1(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(programm->adressenWennGeladen(), nullptr);
    EXPECT_EQ(satzIn(datei(), 1).text(Feld::Nummer), QStringLiteral("33"));
}

TEST_F(AdressbuchFenster, HelpDocksAboveAndMenuEntriesShowTheirHint)
{
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    a->move(200, 400);
    taste(a, Qt::Key_F1);
    Hilfe2 *h = programm->hilfe2WennGeladen();
    ASSERT_TRUE(h);
    EXPECT_TRUE(h->isVisible());
    ASSERT_TRUE(test::waitUntil(
        [&] { return h->pos() == QPoint(a->x(), a->y() - Hilfe2::abstandOben); }, 3000))
        << h->x() << "," << h->y();
    EXPECT_TRUE(test::waitUntil(
        [&] { return QApplication::focusWidget() == feld(a, "txtVorname"); }, 2000));

    // Hints and colours of a button.
    aktiviere(a);
    auto *next = control<QPushButton>(a, "cmdNext");
    next->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(hinweis(), QString::fromUtf8(" Nächster-Eintrag"));
    EXPECT_EQ(Hinweise::background(next), farbe::gelb);
    feld(a, "txtVorname")->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(Hinweise::background(next), QApplication::palette().color(QPalette::Button));
    EXPECT_EQ(hinweis(), QStringLiteral("V Nummer Feld:..."));

    // Alt+O opens "&Optionen"; the highlighted entry is the hint.
    taste(a, Qt::Key_O, Qt::AltModifier);
    ASSERT_TRUE(test::waitUntil([] { return QApplication::activePopupWidget() != nullptr; }, 2000));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Down);
    EXPECT_EQ(hinweis(), QString::fromUtf8("Nächster Eintrag"));
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
}

} // namespace

namespace
{

TEST_F(AdressbuchFenster, FailedDeleteTellsTheUserAndKeepsEveryRecord)
{
    schreibe(buch(3));
    // Something in the way of the temporary file that cannot be removed.
    ASSERT_TRUE(QDir().mkpath(pfad(QStringLiteral("Daten.TMP/belegt"))));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    taste(a, Qt::Key_PageDown);
    dialogs::prepareAnswer(QStringLiteral("yes"));
    klick(control<QPushButton>(a, "cmdDelete"));
    ASSERT_EQ(dialogs::shown().size(), 2);
    EXPECT_TRUE(dialogs::shown()[1].contains(QStringLiteral("Daten.TMP")))
        << dialogs::shown()[1].toStdString();
    EXPECT_EQ(dialogs::shownTitles()[1], QStringLiteral("Adressbuch"));
    EXPECT_EQ(datei(), buch(3));
    EXPECT_EQ(a->windowTitle(), QString::fromUtf8("Einträge 2/ 3"));
    EXPECT_EQ(feld(a, "txtNachname")->text(), QStringLiteral("K2"));
}

} // namespace

namespace
{

// Ctrl+Q and the window being closed by the system both save once and
// close the file; a second close finds nothing left to do.
TEST_F(AdressbuchFenster, EveryWayOfClosingSavesTheShownRecord)
{
    schreibe(buch(2));
    frmAdressen *a = oeffne();
    ASSERT_TRUE(a);
    tippe(feld(a, "txtNachname"), "per Strg Q");
    QPointer<frmAdressen> offen(a);
    taste(a, Qt::Key_Q, Qt::ControlModifier);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(offen.isNull());
    EXPECT_EQ(satzIn(datei(), 1).text(Feld::Komentar), QStringLiteral("per Strg Q"));

    a = oeffne();
    ASSERT_TRUE(a);
    taste(a, Qt::Key_PageDown);
    tippe(feld(a, "txtNachname"), "Schliessfeld");
    offen = a;
    EXPECT_TRUE(a->close()); // as the window system's close box does
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(offen.isNull());
    EXPECT_EQ(satzIn(datei(), 2).text(Feld::Komentar), QStringLiteral("Schliessfeld"));
    EXPECT_EQ(datei().size(), 2 * 870);
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

} // namespace

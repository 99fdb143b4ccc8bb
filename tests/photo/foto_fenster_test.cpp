#include "support/EigenerXServer.h"

#include "addressbook/ui/frmAdressen.h"
#include "app/Programm.h"
#include "bell/ui/Klingel2.h"
#include "contact/ui/Gast1.h"
#include "contact/ui/Gast1Menue.h"
#include "help/ui/Hilfe2.h"
#include "photo/FotoDatei.h"
#include "photo/ui/FotoF.h"
#include "platform/Clock.h"
#include "platform/Zeitgeber.h"
#include "platform/ui/Bildschirm.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fensterdienste.h"
#include "support/LocalServer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace varnek;

// Readable failure messages.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace
{

// A window that paints every pixel from its screen position, so that any
// part of a photo can be checked against what lay there. `versatz` shifts
// the pattern, to tell one photo from the next.
class Muster : public QWidget
{
  public:
    Muster()
    {
        setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
        setGeometry(0, 0, 520, 420);
    }
    static QRgb farbe(int x, int y, int versatz)
    {
        return qRgb((x + versatz) & 0xFF, (y * 3 + versatz) & 0xFF, (x ^ y) & 0xFF);
    }
    void setVersatz(int v)
    {
        versatz = v;
        update();
    }
    int versatz = 0;
    int klicks = 0;

  protected:
    void paintEvent(QPaintEvent *) override
    {
        QImage bild(size(), QImage::Format_RGB32);
        for (int y = 0; y < bild.height(); ++y)
            for (int x = 0; x < bild.width(); ++x)
                bild.setPixel(x, y, farbe(x, y, versatz));
        QPainter(this).drawImage(0, 0, bild);
    }
    void mousePressEvent(QMouseEvent *) override { ++klicks; }
};

// How many pixels of `bild` differ from the pattern at screen position `ecke`.
int abweichungen(const QImage &bild, QPoint ecke, int versatz)
{
    const QImage rgb = bild.convertToFormat(QImage::Format_RGB32);
    int falsch = 0;
    for (int y = 0; y < rgb.height(); ++y)
        for (int x = 0; x < rgb.width(); ++x)
            if ((rgb.pixel(x, y) & 0xFFFFFF) !=
                (Muster::farbe(ecke.x() + x, ecke.y() + y, versatz) & 0xFFFFFF))
                ++falsch;
    return falsch;
}

class FotoFenster : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        if (!test::xServer())
            GTEST_SKIP() << "Xvfb is not available; the photo window needs a real X server";
        ASSERT_TRUE(dir.isValid());
        dialogs::setTestMode(true);
        desktop::setTestMode(true);
        clock::setNow([] { return QDateTime(QDate(2026, 12, 7), QTime(14, 35, 2)); });
        foto::speichermodus() = foto::Fragen;
        QApplication::clipboard()->clear();
        Einstellungen e;
        e.programmOrdner = dir.path();
        e.stumm = true;
        programm = std::make_unique<Programm>(e);

        muster = std::make_unique<Muster>();
        muster->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(muster.get()));
    }

    void TearDown() override
    {
        programm.reset();
        muster.reset();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        clock::setNow({});
    }

    // Opens the photo window over the pattern, its top left corner at `ecke`.
    FotoF *oeffne(QPoint ecke = QPoint(57, 43))
    {
        FotoF *f = programm->fotoF();
        f->move(ecke);
        f->zeigen();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(f));
        test::waitUntil([&] { return f->frameGeometry().topLeft() == ecke; }, 2000);
        return f;
    }

    // A click at a control's place in the window, as the mouse gives it.
    static void klicke(FotoF *f, const char *name)
    {
        auto *knopf = f->findChild<QPushButton *>(QString::fromLatin1(name));
        ASSERT_TRUE(knopf);
        QTest::mouseClick(f->windowHandle(), Qt::LeftButton, {}, knopf->geometry().center());
    }

    QStringList bitmaps() const { return QDir(dir.path()).entryList({QStringLiteral("*.bmp")}); }
    QImage gespeichert(const QString &name = QStringLiteral("Foto.bmp")) const
    {
        return QImage(dir.filePath(name), "BMP");
    }

    QTemporaryDir dir;
    std::unique_ptr<Programm> programm;
    std::unique_ptr<Muster> muster;
};

TEST_F(FotoFenster, OkPhotographsWhatLiesBeneathIntoFotoBmpAndTheClipboard)
{
    FotoF *f = oeffne();
    EXPECT_EQ(f->status(), QStringLiteral("Bildschirmfoto= OK"));
    EXPECT_EQ(f->frameGeometry().size(), QSize(121, 151));

    klicke(f, "ok");

    const QImage bild = gespeichert();
    ASSERT_FALSE(bild.isNull()) << "no Foto.bmp in the program folder";
    EXPECT_EQ(bild.size(), QSize(121, 151));
    // Every pixel is the pattern; the drag strip and the buttons are not on it.
    EXPECT_EQ(abweichungen(bild, QPoint(57, 43), 0), 0);
    EXPECT_EQ(bitmaps(), QStringList{QStringLiteral("Foto.bmp")});

    const QImage ablage = QApplication::clipboard()->image();
    ASSERT_FALSE(ablage.isNull());
    EXPECT_EQ(ablage.convertToFormat(QImage::Format_RGB32),
              bild.convertToFormat(QImage::Format_RGB32));

    // The window is back, tells of the photo, and the contact window shows it.
    EXPECT_TRUE(f->isVisible());
    EXPECT_EQ(f->status(), QStringLiteral("OK Fotografie"));
    Gast1 *gast = programm->gast1WennGeladen();
    ASSERT_TRUE(gast);
    const QLabel *picture1 = gast->findChild<QLabel *>(QStringLiteral("Picture1"));
    ASSERT_TRUE(picture1);
    EXPECT_EQ(picture1->pixmap().toImage().convertToFormat(QImage::Format_RGB32),
              bild.convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(dialogs::shown().isEmpty())
        << dialogs::shown().join(QLatin1Char('|')).toStdString();

    // 3 s later the strip asks for the next photo, every 5 s from then on.
    EXPECT_TRUE(
        test::waitUntil([&] { return f->status() == QStringLiteral("Fotografiere"); }, 4000));
    EXPECT_EQ(f->zeitgeber().interval(), 5000);
}

TEST_F(FotoFenster, SecondOkOverwritesTheSameFotoBmpWithTheNewPicture)
{
    FotoF *f = oeffne();
    klicke(f, "ok");
    ASSERT_EQ(abweichungen(gespeichert(), QPoint(57, 43), 0), 0);

    muster->setVersatz(77);
    f->move(200, 150);
    ASSERT_TRUE(
        test::waitUntil([&] { return f->frameGeometry().topLeft() == QPoint(200, 150); }, 2000));
    klicke(f, "ok");

    EXPECT_EQ(bitmaps(), QStringList{QStringLiteral("Foto.bmp")});
    EXPECT_EQ(abweichungen(gespeichert(), QPoint(200, 150), 77), 0);
}

TEST_F(FotoFenster, SpAsksForADatedNameAndCancellingSavesNothing)
{
    FotoF *f = oeffne();
    klicke(f, "Command1");

    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("20261207_143502.bmp")});
    EXPECT_TRUE(bitmaps().isEmpty());
    EXPECT_EQ(f->status(), QStringLiteral("Bildschirmfoto= OK"));
    // The photo is on the clipboard all the same.
    EXPECT_EQ(abweichungen(QApplication::clipboard()->image(), QPoint(57, 43), 0), 0);

    klicke(f, "ok");
    EXPECT_EQ(bitmaps(), QStringList{QStringLiteral("Foto.bmp")});
    EXPECT_EQ(abweichungen(gespeichert(), QPoint(57, 43), 0), 0);

    // A chosen name is written as it stands; "Sp" asks every time.
    const QString gewaehlt = dir.filePath(QStringLiteral("unterwegs/bild.bmp"));
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("unterwegs"))));
    dialogs::clearShown();
    dialogs::prepareAnswer(gewaehlt);
    klicke(f, "Command1");
    EXPECT_EQ(dialogs::shown().size(), 1);
    EXPECT_EQ(abweichungen(QImage(gewaehlt, "BMP"), QPoint(57, 43), 0), 0);
    dialogs::prepareAnswer(QString());
    klicke(f, "Command1");
    EXPECT_EQ(dialogs::shown().size(), 2);
}

TEST_F(FotoFenster, AFileThatCannotBeWrittenIsReportedAndTheOldPhotoKept)
{
    FotoF *f = oeffne();
    const QString ziel = dir.filePath(QStringLiteral("Foto.bmp"));
    {
        QFile alt(ziel);
        ASSERT_TRUE(alt.open(QIODevice::WriteOnly));
        alt.write("alt");
    }
    QFile::setPermissions(ziel, QFileDevice::ReadOwner | QFileDevice::ReadUser);

    klicke(f, "ok");

    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Speichern fehlgeschlagen!")});
    QFile alt(ziel);
    ASSERT_TRUE(alt.open(QIODevice::ReadOnly));
    EXPECT_EQ(alt.readAll(), QByteArray("alt"));
    EXPECT_EQ(f->status(), QStringLiteral("OK Fotografie"));
}

TEST_F(FotoFenster, AnAreaTheScreenCannotGiveIsReportedNotSavedAsABlackPicture)
{
    // Wholly outside the screen nothing can be copied.
    FotoF *f = programm->fotoF();
    f->move(3000, 3000);
    f->zeigen();
    test::waitUntil([&] { return f->frameGeometry().topLeft() == QPoint(3000, 3000); }, 2000);

    klicke(f, "ok");

    EXPECT_EQ(dialogs::shown(),
              QStringList{QStringLiteral("Das Snapshot konnte nicht erstellt werden.")});
    EXPECT_TRUE(bitmaps().isEmpty());
    EXPECT_EQ(f->status(), QStringLiteral("Bildschirmfoto= OK"));
}

TEST_F(FotoFenster, AWindowPartlyBesideTheScreenGivesAFullSizePhotoBlackBeyondTheEdge)
{
    FotoF *f = oeffne(QPoint(1280 - 60, 100));
    klicke(f, "ok");

    const QImage bild = gespeichert().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(bild.size(), QSize(121, 151));
    int schwarz = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 60; x < bild.width(); ++x)
            schwarz += (bild.pixel(x, y) & 0xFFFFFF) == 0;
    EXPECT_EQ(schwarz, 61 * 151);
}

TEST_F(FotoFenster, EscClosesTheWindowAndF1ShowsTheHelpWindow)
{
    FotoF *f = oeffne();
    QTest::keyClick(f->windowHandle(), Qt::Key_F1);
    EXPECT_TRUE(programm->hilfe2()->isVisible());

    QPointer<FotoF> offen = f;
    QTest::keyClick(f->windowHandle(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(offen.isNull());
    EXPECT_EQ(programm->fotoFWennGeladen(), nullptr);
}

// Real pointer input through the X server: what the window's region lets through.
class FotoFensterMaus : public FotoFenster
{
  protected:
    void SetUp() override
    {
        FotoFenster::SetUp();
        if (IsSkipped())
            return;
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "xdotool is not installed";
    }
    static void xdotool(const QStringList &args)
    {
        QProcess p;
        p.start(QStringLiteral("xdotool"), args);
        p.waitForFinished(5000);
    }
};

TEST_F(FotoFensterMaus, ClicksThroughTheCutOutPartReachTheWindowBeneath)
{
    FotoF *f = oeffne(QPoint(100, 100));
    // The middle of the photo window: no control there.
    xdotool({QStringLiteral("mousemove"), QStringLiteral("160"), QStringLiteral("175"),
             QStringLiteral("click"), QStringLiteral("1")});
    EXPECT_TRUE(test::waitUntil([&] { return muster->klicks == 1; }, 3000));
    // On the strip the photo window takes the click itself.
    xdotool({QStringLiteral("mousemove"), QStringLiteral("130"), QStringLiteral("105"),
             QStringLiteral("click"), QStringLiteral("1")});
    test::waitUntil([] { return false; }, 300);
    EXPECT_EQ(muster->klicks, 1);
    EXPECT_TRUE(f->isVisible());
}

TEST_F(FotoFensterMaus, ThePointerOverAControlWritesItsHint)
{
    oeffne(QPoint(100, 100));
    const auto zeigtHinweis = [this](int x, int y, const QString &text) {
        xdotool({QStringLiteral("mousemove"), QString::number(x), QString::number(y)});
        return test::waitUntil([&] { return programm->hilfe2()->text() == text; }, 3000);
    };
    EXPECT_TRUE(
        zeigtHinweis(110, 245, QStringLiteral("OK, speichert Fensterinhalt als Foto-Bitmap.")));
    EXPECT_TRUE(zeigtHinweis(
        210, 242,
        QStringLiteral(
            "Speichert Fensterinhalt unter  Bitmap auf  Ihrem Computer, nach Datum und Uhrzeit.")));
    EXPECT_TRUE(zeigtHinweis(212, 107, QStringLiteral("Schließe Fenster.")));
    EXPECT_TRUE(zeigtHinweis(
        130, 107,
        QStringLiteral(
            "Mit gedrückter linker-Maus kann das Fenster verschoben werden ! Mit Klick auf "
            "[OK] wird der Fensterinhalt als Foto abgespeichert.")));
}

TEST_F(FotoFensterMaus, DraggingTheStripWithTheLeftButtonMovesTheWindow)
{
    FotoF *f = oeffne(QPoint(100, 100));
    const auto zieh = [](const char *knopf) {
        xdotool({QStringLiteral("mousemove"), QStringLiteral("130"), QStringLiteral("106")});
        xdotool({QStringLiteral("mousedown"), QString::fromLatin1(knopf)});
        test::waitUntil([] { return false; }, 150);
        xdotool({QStringLiteral("mousemove"), QStringLiteral("180"), QStringLiteral("146")});
        test::waitUntil([] { return false; }, 150);
        xdotool({QStringLiteral("mousemove"), QStringLiteral("230"), QStringLiteral("186")});
        test::waitUntil([] { return false; }, 150);
        xdotool({QStringLiteral("mouseup"), QString::fromLatin1(knopf)});
        test::waitUntil([] { return false; }, 300);
    };
    zieh("3");
    EXPECT_EQ(f->frameGeometry().topLeft(), QPoint(100, 100)) << "the right button moved it";
    zieh("1");
    EXPECT_EQ(f->frameGeometry().topLeft(), QPoint(200, 180));
    EXPECT_EQ(muster->klicks, 0);
}

// Where the user drags the window, with and without a window manager
// (openbox, as on a desktop): "&OK" leaves it there, and the photo is
// exactly the area beneath it, to its last row and column.
class FotoFensterGezogen : public FotoFensterMaus, public ::testing::WithParamInterface<bool>
{
  protected:
    void SetUp() override
    {
        if (GetParam()) {
            if (!test::xServer())
                GTEST_SKIP() << "Xvfb is not available";
            if (QStandardPaths::findExecutable(QStringLiteral("openbox")).isEmpty())
                GTEST_SKIP() << "openbox is not installed";
            fensterverwaltung.setProgram(QStringLiteral("openbox"));
            fensterverwaltung.setArguments({QStringLiteral("--sm-disable")});
            fensterverwaltung.start();
            ASSERT_TRUE(fensterverwaltung.waitForStarted(5000));
            // Up once it owns the root window's check property.
            ASSERT_TRUE(test::waitUntil(
                [] {
                    QProcess xprop;
                    xprop.start(
                        QStringLiteral("xprop"),
                        {QStringLiteral("-root"), QStringLiteral("_NET_SUPPORTING_WM_CHECK")});
                    xprop.waitForFinished(3000);
                    return xprop.readAllStandardOutput().contains("window id");
                },
                5000));
            // It manages windows mapped from then on only once its start is over.
            test::waitUntil([] { return false; }, 1500);
        }
        FotoFensterMaus::SetUp();
    }
    void TearDown() override
    {
        FotoFensterMaus::TearDown();
        if (fensterverwaltung.state() != QProcess::NotRunning) {
            fensterverwaltung.terminate();
            if (!fensterverwaltung.waitForFinished(5000))
                fensterverwaltung.kill();
        }
    }
    QProcess fensterverwaltung;
};

TEST_P(FotoFensterGezogen, OkLeavesTheWindowWhereItWasPutAndPhotographsExactlyWhatLiesBeneath)
{
    // Placed where the window system likes, then dragged by its strip.
    FotoF *f = programm->fotoF();
    f->zeigen();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
    test::waitUntil([] { return false; }, 300);
    const QPoint ziel(200, 150);
    const QPoint griff = f->frameGeometry().topLeft() + QPoint(30, 6);
    const auto punkt = [](QPoint p) {
        return QStringList{QString::number(p.x()), QString::number(p.y())};
    };
    xdotool(QStringList{QStringLiteral("mousemove")} + punkt(griff));
    xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
    for (int schritt = 1; schritt <= 4; ++schritt) {
        test::waitUntil([] { return false; }, 100);
        xdotool(QStringList{QStringLiteral("mousemove")} +
                punkt(griff + (ziel + QPoint(30, 6) - griff) * schritt / 4));
    }
    test::waitUntil([] { return false; }, 150);
    xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
    ASSERT_TRUE(test::waitUntil([&] { return f->frameGeometry().topLeft() == ziel; }, 3000))
        << f->frameGeometry().x() << "," << f->frameGeometry().y();

    const QPoint ok =
        f->mapToGlobal(f->findChild<QPushButton *>(QStringLiteral("ok"))->geometry().center());
    xdotool(QStringList{QStringLiteral("mousemove")} + punkt(ok) +
            QStringList{QStringLiteral("click"), QStringLiteral("1")});
    ASSERT_TRUE(test::waitUntil([&] { return !gespeichert().isNull(); }, 5000));
    test::waitUntil([] { return false; }, 500);
    EXPECT_EQ(f->frameGeometry().topLeft(), ziel) << "the window moved after the photo";

    const QImage bild = gespeichert();
    ASSERT_EQ(bild.size(), QSize(121, 151));
    EXPECT_EQ(abweichungen(bild, ziel, 0), 0);
    // The edges alone, so that a shift by a pixel or two is named as such.
    EXPECT_EQ(abweichungen(bild.copy(0, 0, 121, 1), ziel, 0), 0) << "top row";
    EXPECT_EQ(abweichungen(bild.copy(0, 150, 121, 1), ziel + QPoint(0, 150), 0), 0) << "bottom row";
    EXPECT_EQ(abweichungen(bild.copy(0, 0, 1, 151), ziel, 0), 0) << "left column";
    EXPECT_EQ(abweichungen(bild.copy(120, 0, 1, 151), ziel + QPoint(120, 0), 0), 0)
        << "right column";
}

INSTANTIATE_TEST_SUITE_P(Fensterverwaltung, FotoFensterGezogen, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool> &i) {
                             return std::string(i.param ? "Openbox" : "BareX");
                         });

TEST_F(FotoFenster, EveryWindowShowsTheProgramsIcon)
{
    RichteAnwendungEin(*qApp);
    const QString alt = QDir::currentPath();
    QDir::setCurrent(dir.path()); // the address book opens "Adress.PRE" here
    programm->gast1()->show();
    programm->hilfe2()->zeigen();
    programm->klingel2()->zeigen();
    programm->fotoF()->zeigen();
    programm->adressen()->zeigen();
    QDir::setCurrent(alt);
    int fenster = 0;
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w == muster.get())
            continue;
        ++fenster;
        ASSERT_TRUE(QTest::qWaitForWindowExposed(w)) << qPrintable(w->objectName());
        EXPECT_FALSE(w->windowIcon().pixmap(48).isNull()) << qPrintable(w->objectName());
        // What the window manager and the task bar read: the icon on the X window.
        QProcess xprop;
        xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w->winId()),
                                              QStringLiteral("_NET_WM_ICON")});
        ASSERT_TRUE(xprop.waitForFinished(5000));
        EXPECT_TRUE(xprop.readAllStandardOutput().contains("Icon (48 x 48)"))
            << qPrintable(w->objectName());
    }
    EXPECT_EQ(fenster, 5);
}

// The contact window opens the photo window and closes it when it ends.
TEST_F(FotoFenster, ContactWindowOpensWithF7AndClosesItOnQuit)
{
    Gast1 *gast = programm->gast1();
    gast->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(gast));
    EXPECT_EQ(gast->menue().fotoapparat()->text(), QStringLiteral("Bildschirm-Fotoapparat"));
    gast->activateWindow();
    test::waitUntil([&] { return QApplication::activeWindow() == gast; }, 2000);

    QTest::keyClick(gast->windowHandle(), Qt::Key_F7);
    QPointer<FotoF> f = programm->fotoFWennGeladen();
    ASSERT_TRUE(f);
    EXPECT_TRUE(QTest::qWaitForWindowExposed(f.data()));
    EXPECT_TRUE(f->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(f->windowFlags() & Qt::FramelessWindowHint);

    gast->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(f.isNull());
}

TEST_F(FotoFenster, QuittingWithoutThePhotoWindowDoesNotCreateIt)
{
    Gast1 *gast = programm->gast1();
    gast->show();
    gast->close();
    EXPECT_EQ(programm->fotoFWennGeladen(), nullptr);
}

} // namespace

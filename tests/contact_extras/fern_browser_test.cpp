#include "contact/ContactFixture.h"

#include "contact_extras/ui/FernBrowser.h"
#include "platform/AnsiText.h"
#include "platform/ui/Desktop.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <unistd.h>

#include <fstream>
#include <functional>

using namespace varnek;
using namespace varnek::test;

namespace
{

class FernBrowserTest : public ContactFixture
{
  protected:
    void SetUp() override
    {
        ContactFixture::SetUp();
        const QString a = QStringLiteral("localhost/vx/stillbox/vxvx/test/");
        server.writeFile(a + QStringLiteral("docs/inner.txt"), "innen");
        server.writeFile(a + QStringLiteral("Zeta.txt"), "z");
        server.writeFile(a + QStringLiteral("alpha.txt"), "alpha\r\n");
        server.writeFile(a + QStringLiteral("Beta.TXT"), "b");
    }

    // Connected, the filter set, showing the address "test".
    Gast1 &imOrdnerTest(const QString &filter)
    {
        Gast1 &g = starte();
        g.stelleVerbindungHer();
        EXPECT_TRUE(ftpFertig());
        control<QLineEdit>("Text1")->setText(filter);
        g.verbindung().adressPfad(QStringLiteral("test"));
        QTest::mouseClick(control<QPushButton>("Command3_1"), Qt::LeftButton); // Refresh
        EXPECT_TRUE(ftpFertig());
        return g;
    }

    QStringList zeilen()
    {
        QStringList z;
        auto *list = control<QListWidget>("List1");
        for (int i = 0; i < list->count(); ++i)
            z << list->item(i)->text();
        return z;
    }

    void waehle(const QStringList &namen)
    {
        auto *list = control<QListWidget>("List1");
        list->clearSelection();
        for (int i = 0; i < list->count(); ++i) {
            if (namen.contains(list->item(i)->text())) {
                list->setCurrentRow(i, QItemSelectionModel::Select);
            }
        }
    }

    void doppelklick(const QString &zeile)
    {
        auto *list = control<QListWidget>("List1");
        const auto items = list->findItems(zeile, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << qPrintable(zeile);
        // The browser lies below the visible part: the window is enlarged,
        // then the line is double-clicked where it is shown.
        Gast1 *g = programm->gast1();
        if (!list->isVisible() || !g->rect().contains(list->mapTo(g, list->rect().bottomRight())))
            g->resize(g->width() * 2, 1000);
        QCoreApplication::processEvents();
        list->scrollToItem(items.first());
        const QPoint wo = list->viewport()->mapTo(g, list->visualItemRect(items.first()).center());
        QTest::mouseDClick(g->windowHandle(), Qt::LeftButton, {}, wo);
        EXPECT_TRUE(ftpFertig());
    }
};

TEST_F(FernBrowserTest, ListsDirectoriesFirstWithFoldedLines)
{
    imOrdnerTest(QStringLiteral("*"));
    EXPECT_EQ(zeilen(), (QStringList{".", "..", "DOCS", "alpha.txt", "beta.txt", "zeta.txt"}));
    EXPECT_EQ(status(), QStringLiteral("Ok"));

    // The default filter shows only the text files and the added dot entries.
    control<QLineEdit>("Text1")->setText(QStringLiteral("*.txt"));
    QTest::mouseClick(control<QPushButton>("Command3_1"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(zeilen(), (QStringList{".", "..", "alpha.txt", "beta.txt", "zeta.txt"}));

    waehle({QStringLiteral("alpha.txt")});
    EXPECT_EQ(control<QLabel>("Label12")->text(), QStringLiteral("7"));
    EXPECT_TRUE(control<QLabel>("Label15")->text().contains(QStringLiteral(" um ")));
}

TEST_F(FernBrowserTest, DoubleClickNavigatesAndStopsAtTheRoot)
{
    Gast1 &g = imOrdnerTest(QStringLiteral("*"));
    doppelklick(QStringLiteral("DOCS"));
    EXPECT_EQ(g.verbindung().pfad(),
              QStringLiteral("localhost/localhost/vx/stillbox/vxvx/test/docs/"));
    EXPECT_EQ(zeilen(), (QStringList{".", "..", "inner.txt"}));
    doppelklick(QStringLiteral(".."));
    EXPECT_EQ(g.verbindung().pfad(), QStringLiteral("localhost/localhost/vx/stillbox/vxvx/test/"));
    EXPECT_TRUE(zeilen().contains(QStringLiteral("DOCS")));

    g.verbindung().setzePfad(QStringLiteral("localhost/"));
    QTest::mouseClick(control<QPushButton>("Command3_1"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    const QStringList wurzel = zeilen();
    doppelklick(QStringLiteral(".."));
    EXPECT_EQ(g.verbindung().pfad(), QStringLiteral("localhost/"));
    EXPECT_EQ(zeilen(), wurzel);
}

TEST_F(FernBrowserTest, DownloadTakesSelectedFilesOnly)
{
    imOrdnerTest(QStringLiteral("*"));
    control<QListWidget>("List1")->clearSelection();
    QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Keine Datei ausgewählt!")});

    dialogs::clearShown();
    waehle({QStringLiteral("DOCS"), QStringLiteral("alpha.txt")});
    QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_TRUE(dialogs::shown().isEmpty());
    EXPECT_EQ(lokal(QStringLiteral("alpha.txt")), QByteArray("alpha\r\n"));
    EXPECT_FALSE(QFileInfo::exists(ordner.filePath(QStringLiteral("docs"))));
}

// A download replaces the program's own files and photos only after a Yes;
// other files are replaced without asking.
TEST_F(FernBrowserTest, DownloadAsksBeforeReplacingTheProgramsOwnFiles)
{
    const struct {
        const char *name;
        bool fragt;
    } faelle[] = {{"Adress.PRE", true},
                  {"Gast.txt", true},
                  {"Kling", true},
                  {"Foto.bmp", true},
                  {"Zeta.txt", false}};
    for (const auto &f : faelle)
        server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/") + QLatin1String(f.name),
                         "vom Server");
    imOrdnerTest(QStringLiteral("*"));
    for (const auto &f : faelle) {
        for (const bool ja : {false, true}) {
            SCOPED_TRACE(std::string(f.name) + (ja ? " yes" : " no"));
            ASSERT_TRUE(ansi::writeFile(ordner.filePath(QLatin1String(f.name)), "eigen"));
            dialogs::clearShown();
            dialogs::prepareAnswer(ja ? QStringLiteral("yes") : QStringLiteral("no"));
            waehle({QString::fromLatin1(f.name).toLower()});
            QTest::mouseClick(control<QPushButton>("Command2"), Qt::LeftButton);
            EXPECT_TRUE(ftpFertig());
            EXPECT_EQ(dialogs::shown().size(), f.fragt ? 1 : 0);
            EXPECT_EQ(lokal(QLatin1String(f.name)),
                      ja || !f.fragt ? QByteArray("vom Server") : QByteArray("eigen"));
            if (!f.fragt)
                break; // (the last case: its unused answer goes with the test)
        }
    }
}

// "View File" downloads into a temporary folder, never into the program
// folder, and opens the file there.
TEST_F(FernBrowserTest, ViewFileNeverWritesIntoTheProgramFolder)
{
    server.writeFile(QStringLiteral("localhost/vx/stillbox/vxvx/test/Adress.PRE"), "57 bytes");
    ASSERT_TRUE(ansi::writeFile(ordner.filePath(QStringLiteral("Adress.PRE")), "das Buch"));
    imOrdnerTest(QStringLiteral("*"));
    waehle({QStringLiteral("adress.pre")});
    Gast1 *g = programm->gast1();
    g->resize(g->width() * 2, 1000);
    QCoreApplication::processEvents();
    auto *view = control<QPushButton>("Command3_2");
    ASSERT_TRUE(view->isVisible());
    QTest::mouseClick(g->windowHandle(), Qt::LeftButton, {}, view->mapTo(g, view->rect().center()));
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(lokal(QStringLiteral("Adress.PRE")), QByteArray("das Buch"));
    ASSERT_EQ(desktop::opened().size(), 1);
    const QString geoeffnet = desktop::opened().value(0);
    EXPECT_FALSE(geoeffnet.startsWith(ordner.path())) << geoeffnet.toStdString();
    EXPECT_EQ(ansi::readFile(geoeffnet), QByteArray("57 bytes"));
}

TEST_F(FernBrowserTest, DeleteKeyAsksBeforeDeleting)
{
    Gast1 &g = imOrdnerTest(QStringLiteral("*"));
    auto *list = control<QListWidget>("List1");
    waehle({QStringLiteral("zeta.txt")});
    dialogs::prepareAnswer(QStringLiteral("no"));
    QApplication::setActiveWindow(&g);
    list->setFocus(Qt::TabFocusReason);
    QTest::keyClick(g.windowHandle(), Qt::Key_Delete);
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(dialogs::shown().size(), 1);
    EXPECT_EQ(remote(QStringLiteral("test"), QStringLiteral("Zeta.txt")), QByteArray("z"));

    waehle({QStringLiteral("zeta.txt")});
    dialogs::prepareAnswer(QStringLiteral("yes"));
    QTest::keyClick(g.windowHandle(), Qt::Key_Delete);
    EXPECT_TRUE(ftpFertig());
    EXPECT_FALSE(
        QFileInfo::exists(server.addressDir(QStringLiteral("test")) + QStringLiteral("/Zeta.txt")));
    EXPECT_FALSE(zeilen().contains(QStringLiteral("zeta.txt")));
}

TEST_F(FernBrowserTest, MakeDirAndRenameUseTheInputBox)
{
    imOrdnerTest(QStringLiteral("*"));
    dialogs::prepareAnswer(QStringLiteral("neu"));
    QTest::mouseClick(control<QPushButton>("Command3_5"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_TRUE(zeilen().contains(QStringLiteral("NEU")));

    waehle({QStringLiteral("beta.txt")});
    dialogs::prepareAnswer(QStringLiteral("Gamma.txt"));
    QTest::mouseClick(control<QPushButton>("Command3_4"), Qt::LeftButton);
    EXPECT_TRUE(ftpFertig());
    EXPECT_EQ(remote(QStringLiteral("test"), QStringLiteral("Gamma.txt")), QByteArray("b"));
    EXPECT_TRUE(zeilen().contains(QStringLiteral("gamma.txt")));
    EXPECT_TRUE(dialogs::shown().contains(QStringLiteral("Neuen Dateinamen eingeben")));
}

} // namespace

// An old server's Latin-1 names are shown decoded and go back to the server
// with the bytes it listed: download, view, rename, delete.
TEST_F(FernBrowserTest, NamesThatAreNoUtf8GoBackWithTheirOwnBytes)
{
    const QByteArray test = server.addressDir(QStringLiteral("test")).toUtf8() + '/';
    const QByteArray datei = test + "M\xfcller.txt";
    const auto lege = [](const QByteArray &pfad, const QByteArray &inhalt) {
        std::ofstream(pfad.toStdString(), std::ios::binary) << inhalt.toStdString();
    };
    const QString zeile = QStringLiteral("müller.txt");
    struct Fall {
        const char *was;
        std::function<void()> tun;
        std::function<void()> pruefe;
    };
    const auto knopf = [this](const char *name) {
        auto *b = control<QPushButton>(name);
        Gast1 *g = programm->gast1();
        g->resize(g->width() * 2, 1000);
        QCoreApplication::processEvents();
        QTest::mouseClick(g->windowHandle(), Qt::LeftButton, {}, b->mapTo(g, b->rect().center()));
    };
    const Fall faelle[] = {
        {"download", [&] { knopf("Command2"); },
         [&] { EXPECT_EQ(lokal(QStringLiteral("Müller.txt")), QByteArray("latin")); }},
        {"view", [&] { knopf("Command3_2"); },
         [&] {
             ASSERT_EQ(desktop::opened().size(), 1);
             EXPECT_TRUE(desktop::opened().value(0).endsWith(QStringLiteral("/Müller.txt")));
             EXPECT_EQ(ansi::readFile(desktop::opened().value(0)), QByteArray("latin"));
         }},
        {"rename",
         [&] {
             dialogs::prepareAnswer(QStringLiteral("Neu.txt"));
             knopf("Command3_4");
         },
         [&] {
             EXPECT_FALSE(QFileInfo::exists(QFile::decodeName(datei)));
             EXPECT_EQ(remote(QStringLiteral("test"), QStringLiteral("Neu.txt")), "latin");
         }},
        {"delete",
         [&] {
             dialogs::prepareAnswer(QStringLiteral("yes"));
             Gast1 *g = programm->gast1();
             QApplication::setActiveWindow(g);
             control<QListWidget>("List1")->setFocus(Qt::TabFocusReason);
             QTest::keyClick(g->windowHandle(), Qt::Key_Delete);
         },
         [&] { EXPECT_NE(::access(datei.constData(), F_OK), 0); }},
    };
    for (const Fall &f : faelle) {
        SCOPED_TRACE(f.was);
        lege(datei, "latin");
        desktop::reset();
        desktop::setTestMode(true);
        imOrdnerTest(QStringLiteral("*"));
        ASSERT_TRUE(zeilen().contains(zeile)) << qPrintable(zeilen().join(u'|'));
        waehle({zeile});
        f.tun();
        EXPECT_TRUE(ftpFertig());
        f.pruefe();
        QFile::remove(ordner.filePath(QStringLiteral("Müller.txt")));
        programm.reset();
    }
}

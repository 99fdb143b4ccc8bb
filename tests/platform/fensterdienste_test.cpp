#include "platform/Dienste.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "platform/ui/Fensterdienste.h"
#include "support/LocalServer.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace varnek;

TEST(FindeListenEintrag, WholeItemWithoutRegardToCaseInListsAndCombos)
{
    QListWidget liste;
    liste.addItems({QStringLiteral("test"), QStringLiteral("Info"), QStringLiteral("info")});
    EXPECT_EQ(FindeListenEintrag(&liste, QStringLiteral("info")), 1); // the first one
    EXPECT_EQ(FindeListenEintrag(&liste, QStringLiteral("INFO")), 1);
    EXPECT_EQ(FindeListenEintrag(&liste, QStringLiteral("inf")), -1);
    EXPECT_EQ(FindeListenEintrag(&liste, QString()), -1);

    QComboBox combo;
    combo.addItems({QStringLiteral("#dingdong#"), QStringLiteral("Straße")});
    EXPECT_EQ(FindeListenEintrag(&combo, QStringLiteral("#DingDong#")), 0);
    EXPECT_EQ(FindeListenEintrag(&combo, QStringLiteral("STRASSE")), -1); // letters, not spellings
    EXPECT_EQ(FindeListenEintrag(&combo, QStringLiteral("straße")), 1);

    QLabel anderes;
    EXPECT_EQ(FindeListenEintrag(&anderes, QStringLiteral("info")), -2);
    EXPECT_EQ(FindeListenEintrag(static_cast<QObject *>(nullptr), QStringLiteral("info")), -2);
}

TEST(OeffenbareAdresse, OnlyWebAndMailAddressesPass)
{
    for (const char *gut :
         {"https://example.org/", "http://example.org", "HTTPS://Example.org/a?b=c#d",
          "mailto:kontakt@example.org", "  https://example.org/\r\n"})
        EXPECT_TRUE(istOeffenbareAdresse(QString::fromLatin1(gut))) << gut;
    for (const char *schlecht :
         {"", "   ", "file:///etc/passwd", "FILE:/etc/passwd", "rm -rf ~", "/etc/passwd",
          "~/.bashrc", "notepad.exe", "xterm", "javascript:alert(1)", "ftp://example.org/",
          "smb://host/share", "https://example.org/ rm -rf ~",
          "https://example.org/\nfile:///etc/passwd", "http://", "https:///etc/passwd",
          "mailto:", "data:text/html,<b>x</b>", "C:\\Windows\\system32\\cmd.exe"})
        EXPECT_FALSE(istOeffenbareAdresse(QString::fromLatin1(schlecht))) << schlecht;
}

TEST(OeffenbareAdresse, MailAddressesLoseTheirAttachments)
{
    const struct {
        const char *adresse;
        const char *geoeffnet;
    } faelle[] = {
        {"mailto:a@example.org?attach=/etc/passwd", "mailto:a@example.org"},
        {"MAILTO:a@example.org?subject=Hi&ATTACHMENT=~/.ssh/id_rsa&body=x",
         "MAILTO:a@example.org?subject=Hi&body=x"},
        {"mailto:a@example.org?%61ttach=/etc/passwd&Attach=K1.txt", "mailto:a@example.org"},
        {"mailto:a@example.org?subject=attach", "mailto:a@example.org?subject=attach"},
        {"https://example.org/?attach=x", "https://example.org/?attach=x"},
    };
    desktop::setTestMode(true);
    desktop::reset();
    for (const auto &f : faelle)
        desktop::open(QString::fromLatin1(f.adresse));
    QStringList erwartet;
    for (const auto &f : faelle)
        erwartet << QString::fromLatin1(f.geoeffnet);
    EXPECT_EQ(desktop::opened(), erwartet);
    desktop::setTestMode(false);
}

TEST(DateiSpeichernDialog, CancelGivesEmptyTextAChoiceItsPath)
{
    dialogs::setTestMode(true);
    EXPECT_EQ(DateiSpeichernDialog(QStringLiteral("Foto-2026-12-09.bmp")), QString());
    EXPECT_EQ(dialogs::shown(), QStringList{QStringLiteral("Foto-2026-12-09.bmp")});
    dialogs::prepareAnswer(QStringLiteral("/home/gast/a.bmp"));
    EXPECT_EQ(DateiSpeichernDialog(QStringLiteral("Foto.bmp")), QStringLiteral("/home/gast/a.bmp"));
}

// The real boxes, opened through the wrapper over a window: German, and
// centred over that window.
TEST(DialogeAufDemSchirm, GermanListsAndBoxesCentredOverTheirWindow)
{
    RichteAnwendungEin(*qApp);
    QTemporaryDir ordner;
    QFile leer(ordner.filePath(QStringLiteral("leer.bmp")));
    ASSERT_TRUE(leer.open(QIODevice::WriteOnly));
    const QDateTime zeit(QDate(2026, 12, 9), QTime(8, 35));
    ASSERT_TRUE(leer.setFileTime(zeit, QFileDevice::FileModificationTime));
    leer.close();

    QMainWindow fenster;
    fenster.setGeometry(150, 120, 640, 420);
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));

    QStringList gesehen;
    dialogs::setTestMode(true);
    dialogs::setTestAnsicht([&](QDialog &d) {
        EXPECT_EQ(d.locale(), QLocale(QLocale::German, QLocale::Germany));
        EXPECT_LE((d.frameGeometry().center() - fenster.frameGeometry().center()).manhattanLength(),
                  1)
            << d.metaObject()->className();
        gesehen << QString::fromLatin1(d.metaObject()->className());
        auto *liste = d.findChild<QAbstractItemView *>(QStringLiteral("treeView"));
        if (!liste)
            return;
        // The row of "leer.bmp": its size and date as a German user reads them.
        QStringList zeile;
        test::waitUntil(
            [&] {
                const QAbstractItemModel *m = liste->model();
                for (int r = 0; r < m->rowCount(liste->rootIndex()); ++r) {
                    const QModelIndex name = m->index(r, 0, liste->rootIndex());
                    if (name.data().toString() != QLatin1String("leer.bmp"))
                        continue;
                    zeile.clear();
                    for (int c = 0; c < 4; ++c)
                        zeile << m->index(r, c, liste->rootIndex()).data().toString();
                    return true;
                }
                return false;
            },
            3000);
        EXPECT_EQ(zeile.value(1), QStringLiteral("0 Bytes"));
        EXPECT_EQ(zeile.value(3), QStringLiteral("09.12.26 08:35"));
    });

    dialogs::prepareAnswer(ordner.filePath(QStringLiteral("neu.bmp")));
    EXPECT_EQ(dialogs::saveFile(&fenster, ordner.filePath(QStringLiteral("foto.bmp"))),
              ordner.filePath(QStringLiteral("neu.bmp")));
    dialogs::message(fenster.menuBar(), QStringLiteral("Einträge-Ende"));
    dialogs::prepareAnswer(QStringLiteral("yes"));
    EXPECT_TRUE(dialogs::question(&fenster, QStringLiteral("Sind Sie sicher?")));
    EXPECT_FALSE(dialogs::question(&fenster, QStringLiteral("Noch einmal?")));
    EXPECT_EQ(gesehen, (QStringList{QStringLiteral("QFileDialog"), QStringLiteral("QMessageBox"),
                                    QStringLiteral("QMessageBox"), QStringLiteral("QMessageBox")}));
    dialogs::setTestMode(false);
}

TEST(SetzeVordergrund, SwitchesTheTopmostBandWithoutRecreatingTheWindow)
{
    QWidget fenster;
    fenster.resize(200, 100);
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));
    const WId vorher = fenster.winId();

    SetzeVordergrund(&fenster, true);
    EXPECT_TRUE(istImVordergrund(&fenster));
    EXPECT_TRUE(fenster.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(fenster.isVisible());
    EXPECT_EQ(fenster.winId(), vorher);

    SetzeVordergrund(&fenster, true); // as on every repaint: no change
    EXPECT_TRUE(istImVordergrund(&fenster));

    SetzeVordergrund(&fenster, false);
    EXPECT_FALSE(istImVordergrund(&fenster));
    EXPECT_FALSE(fenster.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(fenster.isVisible());
    EXPECT_EQ(fenster.winId(), vorher);
}

TEST(MenueHinweise, HighlightedEntriesOfAllMenusGoToTheHint)
{
    QMainWindow fenster;
    QStringList hinweise;
    QMenu *verbindung = fenster.menuBar()->addMenu(QStringLiteral("&Verbindung"));
    // The hint shows no access-key marker.
    QAction *lesen = verbindung->addAction(QStringLiteral("&Lesen...."));
    QAction *trenner = verbindung->addSeparator();
    MenueHinweiseEin(fenster.menuBar(), [&](const QString &t) { hinweise << t; });
    // A menu added after the installation is followed too.
    QMenu *links = fenster.menuBar()->addMenu(QStringLiteral("Links"));
    QAction *link = links->addAction(QStringLiteral("Link && Standard &Browser öffnen"));
    fenster.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&fenster));

    verbindung->popup(fenster.mapToGlobal(QPoint(0, 0)));
    verbindung->setActiveAction(lesen);
    verbindung->setActiveAction(trenner); // separators say nothing
    verbindung->hide();                   // the closing menu leaves the hint
    links->popup(fenster.mapToGlobal(QPoint(0, 0)));
    links->setActiveAction(link);
    links->hide();
    EXPECT_EQ(hinweise, (QStringList{QStringLiteral("Lesen...."),
                                     QStringLiteral("Link & Standard Browser öffnen")}));

    // Installing again replaces the first installation; removing ends it.
    QStringList zweite;
    MenueHinweiseEin(fenster.menuBar(), [&](const QString &t) { zweite << t; });
    verbindung->popup(fenster.mapToGlobal(QPoint(0, 0)));
    verbindung->setActiveAction(lesen);
    MenueHinweiseAus(fenster.menuBar());
    links->popup(fenster.mapToGlobal(QPoint(0, 0)));
    links->setActiveAction(link);
    links->hide();
    EXPECT_EQ(zweite, QStringList{QStringLiteral("Lesen....")});
    EXPECT_EQ(hinweise.size(), 2);
}

TEST(QtUebersetzung, StandardButtonsReadGerman)
{
    ASSERT_TRUE(LadeQtUebersetzung(*qApp));
    QMessageBox box(QMessageBox::Question, QStringLiteral("Varnek"), QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    EXPECT_EQ(box.button(QMessageBox::Yes)->text().remove(QLatin1Char('&')), QStringLiteral("Ja"));
    EXPECT_EQ(box.button(QMessageBox::No)->text().remove(QLatin1Char('&')), QStringLiteral("Nein"));
    EXPECT_EQ(box.button(QMessageBox::Cancel)->text().remove(QLatin1Char('&')),
              QStringLiteral("Abbrechen"));
}

TEST(MitgelieferteDatei, DescriptionPageIsFoundFromAnyFolder)
{
    QTemporaryDir anderswo;
    const QString alt = QDir::currentPath();
    QDir::setCurrent(anderswo.path());
    const QString seite = findeMitgelieferteDatei(QStringLiteral("hilfe-Vx.html"));
    QDir::setCurrent(alt);
    ASSERT_FALSE(seite.isEmpty());
    EXPECT_TRUE(QFileInfo(seite).isAbsolute());
    QFile f(seite);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("<html lang=\"de\">"));
    EXPECT_EQ(findeMitgelieferteDatei(QStringLiteral("gibt-es-nicht.html")), QString());
}

namespace
{
// A PATH holding only an xdg-open that ends with `status`, or none at all.
class OhneEditor : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        altPath = qgetenv("PATH");
        dialogs::setTestMode(true);
        desktop::setTestMode(false);
        QFile datei(ordner.filePath(QStringLiteral("Kaco.txt")));
        ASSERT_TRUE(datei.open(QIODevice::WriteOnly));
    }
    void TearDown() override { qputenv("PATH", altPath); }
    void xdgOpenEndetMit(int status)
    {
        const QString skript = ordner.filePath(QStringLiteral("bin/xdg-open"));
        QDir().mkpath(ordner.filePath(QStringLiteral("bin")));
        QFile f(skript);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\necho \"$1\" > '%1'\nexit %2\n")
                    .arg(ordner.filePath(QStringLiteral("geoeffnet")))
                    .arg(status)
                    .toUtf8());
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("PATH", ordner.filePath(QStringLiteral("bin")).toLocal8Bit());
    }
    QString kaco() const { return ordner.filePath(QStringLiteral("Kaco.txt")); }

    QTemporaryDir ordner;
    QByteArray altPath;
};
} // namespace

TEST_F(OhneEditor, NoProgramForATextFileIsToldInGerman)
{
    xdgOpenEndetMit(3);
    desktop::open(kaco());
    ASSERT_TRUE(test::waitUntil([] { return !dialogs::shown().isEmpty(); }));
    EXPECT_EQ(dialogs::shown(), QStringList{desktop::keinProgrammText(kaco())});
    EXPECT_TRUE(
        dialogs::shown().first().contains(QStringLiteral("„Kaco.txt“ kann nicht geöffnet werden")));
    QFile geoeffnet(ordner.filePath(QStringLiteral("geoeffnet")));
    ASSERT_TRUE(geoeffnet.open(QIODevice::ReadOnly));
    EXPECT_EQ(geoeffnet.readAll().trimmed(), kaco().toLocal8Bit());
}

TEST_F(OhneEditor, AFileThatOpensSaysNothing)
{
    xdgOpenEndetMit(0);
    desktop::open(kaco());
    ASSERT_TRUE(test::waitUntil(
        [&] { return QFile::exists(ordner.filePath(QStringLiteral("geoeffnet"))); }));
    QTest::qWait(200);
    EXPECT_TRUE(dialogs::shown().isEmpty());
}

TEST_F(OhneEditor, WithoutXdgOpenTheUserIsToldToo)
{
    qputenv("PATH", ordner.filePath(QStringLiteral("leer")).toLocal8Bit());
    desktop::open(kaco());
    ASSERT_TRUE(test::waitUntil([] { return !dialogs::shown().isEmpty(); }));
    EXPECT_EQ(dialogs::shown(), QStringList{desktop::keinProgrammText(kaco())});
}

// The program on the desktop: the tray's state, the notifications of what
// comes while the contact window is not in front (through a real
// notification service on a private session bus), the autostart entry
// switched through the menu, and a desktop without a tray.
#include "ContactFixture.h"

#include "app/Arbeitsplatz.h"
#include "bell/ui/Klingel2.h"
#include "platform/AnsiText.h"
#include "platform/Autostart.h"
#include "support/Benachrichtigungsdienst.h"
#include "support/Eingabe.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QUrl>

using namespace varnek;
using namespace varnek::test;

namespace
{

const QString kTest = QStringLiteral("localhost/vx/stillbox/vxvx/test/Gast.txt");

class ArbeitsplatzTest : public ContactFixture
{
  protected:
    void SetUp() override
    {
        ContactFixture::SetUp();
        // The autostart entry goes into the test's own configuration.
        altesXdg = qgetenv("XDG_CONFIG_HOME");
        qputenv("XDG_CONFIG_HOME", konfig.path().toUtf8());
    }
    void TearDown() override
    {
        ContactFixture::TearDown();
        qputenv("XDG_CONFIG_HOME", altesXdg);
    }

    // Another window in front: the contact window is not active.
    void andereVorne()
    {
        andere = std::make_unique<QWidget>();
        andere->setWindowTitle(QStringLiteral("anderes Programm"));
        andere->resize(200, 100);
        andere->show();
        QApplication::setActiveWindow(andere.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(andere.get()));
        ASSERT_FALSE(programm->gast1()->isActiveWindow());
    }

    // The "&Fenster" menu opened with its mnemonic; `hoch` times Up from
    // the first entry (wrapping to the last), then Enter.
    void fenstermenue(Gast1 &g, int hoch)
    {
        QTest::keyClick(g.windowHandle(), Qt::Key_F, Qt::AltModifier);
        QWidget *popup = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (popup = QApplication::activePopupWidget()); }));
        for (int i = 0; i < hoch; ++i)
            QTest::keyClick(popup, Qt::Key_Up);
        QTest::keyClick(popup, Qt::Key_Return);
        ASSERT_TRUE(waitUntil([] { return !QApplication::activePopupWidget(); }));
    }

    QString tooltip() { return programm->arbeitsplatz().symbol().toolTip(); }

    // Reading "test", a ring arrives: the tray shows it waiting, and its bell
    // window is returned once shown.
    Klingel2 *klingelnWartet(Gast1 &g)
    {
        g.empfang().setIntervalle(200, 100, 100);
        server.writeFile(kTest, "Hallo\r\n");
        g.lausche(QStringLiteral("test"));
        EXPECT_TRUE(waitUntil([&] { return tooltip() == QStringLiteral("Varnek – liest test"); }));
        server.writeFile(kTest, "#dingdong#\r\n");
        EXPECT_TRUE(waitUntil(
            [&] { return tooltip() == QStringLiteral("Varnek – Klingeln wartet"); }, 10000));
        Klingel2 *k = programm->klingel2WennGeladen();
        EXPECT_TRUE(k && QTest::qWaitForWindowExposed(k));
        return k;
    }

    QTemporaryDir konfig;
    QByteArray altesXdg;
    std::unique_ptr<QWidget> andere;
};

struct Meldungszeile {
    const char *name;
    QByteArray gast;   // "Gast.txt" on the server
    bool markup;       // the service reads markup in the body
    const char *titel; // the notification's summary
    QString text;      // its body
};

class ArbeitsplatzMeldung : public ArbeitsplatzTest,
                            public ::testing::WithParamInterface<Meldungszeile>
{
};

TEST_P(ArbeitsplatzMeldung, ATextThatComesWhileTheWindowIsNotActiveIsNotifiedOnce)
{
    const Meldungszeile &z = GetParam();
    Benachrichtigungsdienst dienst;
    ASSERT_TRUE(dienst.start(z.markup)) << "dbus-run-session with the test service";
    Gast1 &g = starte();
    g.empfang().setIntervalle(200, 100, 100);
    andereVorne();
    server.writeFile(kTest, z.gast);
    g.lausche(QStringLiteral("test"));
    ASSERT_TRUE(waitUntil([&] { return !dienst.meldungen().isEmpty(); }, 10000));
    QTest::qWait(800); // more polls of the same text
    const QList<QJsonObject> m = dienst.meldungen();
    ASSERT_EQ(m.size(), 1);
    EXPECT_EQ(m[0][QStringLiteral("app")].toString(), QStringLiteral("Varnek"));
    // The icon theme's name, or the shipped icon where it is not installed.
    const QString symbol = m[0][QStringLiteral("icon")].toString();
    if (symbol != QStringLiteral("varnek")) {
        EXPECT_TRUE(symbol.startsWith(QStringLiteral("file:///"))) << qPrintable(symbol);
        EXPECT_TRUE(symbol.endsWith(QStringLiteral("/varnek.svg"))) << qPrintable(symbol);
        EXPECT_TRUE(QFile::exists(QUrl(symbol).toLocalFile())) << qPrintable(symbol);
    }
    EXPECT_EQ(m[0][QStringLiteral("replaces")].toInt(), 0);
    EXPECT_EQ(m[0][QStringLiteral("summary")].toString(), QString::fromUtf8(z.titel));
    EXPECT_EQ(m[0][QStringLiteral("body")].toString(), z.text);
}

INSTANTIATE_TEST_SUITE_P(
    Zeilen, ArbeitsplatzMeldung,
    ::testing::Values(
        Meldungszeile{"Message", "Hallo Welt\r\n", false, "Nachricht an test",
                      QStringLiteral("Hallo Welt")},
        Meldungszeile{"Ring", "#dingdong#\r\n", false, "Klingeln an test",
                      QStringLiteral("#dingdong#")},
        // Windows-1252 "ä" 300 times: 200 characters are shown.
        Meldungszeile{"LongTextCut", QByteArray(300, '\xe4') + "\r\n", false, "Nachricht an test",
                      QString(200, QChar(0xe4))},
        Meldungszeile{"MarkupEscaped", "<b>fett</b> & <a href=x>Co</a>\r\n", true,
                      "Nachricht an test",
                      QStringLiteral("&lt;b&gt;fett&lt;/b&gt; &amp; &lt;a href=x&gt;Co&lt;/a&gt;")},
        Meldungszeile{"NoMarkupAsSent", "<b>fett</b> & Co\r\n", false, "Nachricht an test",
                      QStringLiteral("<b>fett</b> & Co")}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(ArbeitsplatzTest, NoNotificationWhileTheUserIsAtTheContactWindow)
{
    Benachrichtigungsdienst dienst;
    ASSERT_TRUE(dienst.start());
    Gast1 &g = starte();
    g.empfang().setIntervalle(200, 100, 100);
    server.writeFile(kTest, "Erste\r\n");
    g.lausche(QStringLiteral("test"));
    ASSERT_TRUE(waitUntil([&] { return g.text7().startsWith(QStringLiteral("Erste")); }));
    QTest::qWait(500);
    EXPECT_TRUE(dienst.meldungen().isEmpty());
    andereVorne();
    server.writeFile(kTest, "Zweite\r\n");
    ASSERT_TRUE(waitUntil([&] { return dienst.meldungen().size() == 1; }, 10000));
    EXPECT_EQ(dienst.meldungen()[0][QStringLiteral("body")].toString(), QStringLiteral("Zweite"));
}

TEST_F(ArbeitsplatzTest, TheTrayShowsNotConnectedReadingAndAWaitingRing)
{
    Gast1 &g = starte();
    EXPECT_EQ(tooltip(), QStringLiteral("Varnek – nicht verbunden"));
    Klingel2 *k = klingelnWartet(g);
    ASSERT_TRUE(k);
    EXPECT_EQ(programm->arbeitsplatz().zustand(), Arbeitsplatz::Zustand::KlingelnWartet);
    // The ring is taken when its bell window is closed by its button.
    klick(k->findChild<QPushButton *>(QStringLiteral("Command2")));
    ASSERT_TRUE(waitUntil([&] {
        // The closed bell window goes as the event loop would delete it.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return tooltip() == QStringLiteral("Varnek – liest test");
    }));
    // Stopped reading: not connected again.
    QApplication::setActiveWindow(&g);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&g));
    QTest::keyClick(g.windowHandle(), Qt::Key_A, Qt::ControlModifier);
    ASSERT_TRUE(waitUntil([&] { return tooltip() == QStringLiteral("Varnek – nicht verbunden"); }));
}

TEST_F(ArbeitsplatzTest, ARingAnsweredInItsBellWindowNoLongerWaits)
{
    // "Klingeln bis Antwort" on: the bell window stays open after the answer.
    {
        QFile kling(ordner.filePath(QStringLiteral("Kling")));
        ASSERT_TRUE(kling.open(QIODevice::WriteOnly));
        kling.write("True\r\nFalse\r\nFalse\r\nTrue\r\n");
    }
    Gast1 &g = starte();
    Klingel2 *k = klingelnWartet(g);
    ASSERT_TRUE(k);
    ASSERT_TRUE(waitUntil([&] { return k->klingeltBisAntwort(); }));
    test::aktiviere(k);
    test::taste(k, Qt::Key_X);
    ASSERT_TRUE(waitUntil([&] { return tooltip() == QStringLiteral("Varnek – liest test"); }));
    EXPECT_FALSE(k->klingeltBisAntwort());
    EXPECT_TRUE(k->isVisible());
}

TEST_F(ArbeitsplatzTest, TheAutostartSwitchWritesAValidEntryAndRemovesIt)
{
    Gast1 &g = starte();
    g.lausche(QStringLiteral("d-bw-001"));
    const QString eintrag = konfig.filePath(QStringLiteral("autostart/varnek.desktop"));
    ASSERT_FALSE(QFile::exists(eintrag));
    fenstermenue(g, 1); // the last entry: "Mit der Anmeldung starten"
    ASSERT_TRUE(QFile::exists(eintrag));
    EXPECT_TRUE(g.menue().autostart()->isChecked());
    QFile f(eintrag);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(f.readAll());
    const QStringList erwartet{QCoreApplication::applicationFilePath(),
                               QStringLiteral("--folder"),
                               ordner.path(),
                               QStringLiteral("--ftp-port"),
                               QString::number(server.ftpPort()),
                               QStringLiteral("--http-port"),
                               QString::number(server.httpPort()),
                               QStringLiteral("--watch"),
                               QStringLiteral("d-bw-001")};
    EXPECT_TRUE(text.contains(QStringLiteral("\nExec=") + autostart::execZeile(erwartet) +
                              QLatin1Char('\n')))
        << qPrintable(text);
    QProcess pruefen;
    pruefen.setProcessChannelMode(QProcess::MergedChannels);
    pruefen.start(QStringLiteral("desktop-file-validate"), {eintrag});
    ASSERT_TRUE(pruefen.waitForFinished(10000));
    EXPECT_EQ(pruefen.exitCode(), 0) << pruefen.readAll().constData();

    fenstermenue(g, 1);
    EXPECT_FALSE(QFile::exists(eintrag));
    EXPECT_FALSE(g.menue().autostart()->isChecked());
}

TEST_F(ArbeitsplatzTest, AnEntryThatCannotBeWrittenIsSaidAndTheSwitchStaysOff)
{
    // The configuration folder is a file: no autostart folder can be made.
    QFile sperre(konfig.filePath(QStringLiteral("datei")));
    ASSERT_TRUE(sperre.open(QIODevice::WriteOnly));
    sperre.close();
    qputenv("XDG_CONFIG_HOME", sperre.fileName().toUtf8());
    Gast1 &g = starte();
    dialogs::clearShown();
    fenstermenue(g, 1);
    EXPECT_FALSE(g.menue().autostart()->isChecked());
    ASSERT_EQ(dialogs::shown().size(), 1);
    EXPECT_TRUE(dialogs::shown()[0].endsWith(QStringLiteral("[varnek.desktop]!")))
        << qPrintable(dialogs::shown()[0]);
}

TEST_F(ArbeitsplatzTest, WithoutATrayClosingTheWindowEndsTheProgramAsBefore)
{
    // The switch was on in an earlier session with a tray.
    ASSERT_TRUE(ansi::writeLines(ordner.filePath(Arbeitsplatz::infobereichDatei),
                                 {QStringLiteral("True")}));
    ASSERT_FALSE(QSystemTrayIcon::isSystemTrayAvailable());
    Gast1 &g = starte();
    EXPECT_TRUE(programm->imInfobereichBleiben());
    QSignalSpy schliesst(&g, &Gast1::schliesst);
    // The menu shows the stored switch, but it cannot be used.
    QTest::keyClick(g.windowHandle(), Qt::Key_F, Qt::AltModifier);
    ASSERT_TRUE(waitUntil([] { return QApplication::activePopupWidget(); }));
    EXPECT_FALSE(g.menue().imInfobereich()->isEnabled());
    EXPECT_TRUE(g.menue().imInfobereich()->isChecked());
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    ASSERT_TRUE(waitUntil([] { return !QApplication::activePopupWidget(); }));
    // The desktop closes the window (its close button): the program ends.
    g.windowHandle()->close();
    EXPECT_EQ(schliesst.count(), 1);
    EXPECT_FALSE(g.isVisible());
    EXPECT_TRUE(QApplication::quitOnLastWindowClosed());
}

} // namespace

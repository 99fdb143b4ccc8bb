#pragma once

#include "app/Programm.h"
#include "contact/Empfang.h"
#include "contact/SpeechComponent.h"
#include "contact/ui/Gast1.h"
#include "contact/ui/Gast1Menue.h"
#include "platform/ui/Desktop.h"
#include "platform/ui/Dialogs.h"
#include "support/LocalServer.h"

#include <QDir>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace varnek::test
{

// A contact window in its own program folder, against a fresh local server.
class ContactFixture : public ::testing::Test
{
  protected:
    // `serverOptionen`: further options of the local server (e.g. --tls ...).
    explicit ContactFixture(const QStringList &serverOptionen = {}) : server(serverOptionen) {}

    void SetUp() override
    {
        ASSERT_TRUE(server.running());
        dialogs::setTestMode(true);
        desktop::setTestMode(true);
        alterOrdner = QDir::currentPath();
        QDir::setCurrent(ordner.path());
    }

    void TearDown() override
    {
        programm.reset();
        QDir::setCurrent(alterOrdner);
    }

    Einstellungen einstellungen(int ftpPort = -1)
    {
        Einstellungen e;
        e.programmOrdner = ordner.path();
        e.host = server.host();
        e.ftpPort = ftpPort < 0 ? server.ftpPort() : ftpPort;
        e.httpPort = server.httpPort();
        e.stumm = true;
        return e;
    }

    Gast1 &starte(int ftpPort = -1) { return starte(einstellungen(ftpPort)); }
    Gast1 &starte(const Einstellungen &e)
    {
        programm = std::make_unique<Programm>(e);
        Gast1 &g = *programm->gast1();
        g.verbindung().connectTimeoutMs = 3000;
        g.show();
        QApplication::setActiveWindow(&g);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&g));
        return g;
    }

    template <typename W> W *control(const char *name)
    {
        W *w = programm->gast1()->findChild<W *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    QString status() { return control<QLabel>("Label9")->text(); }
    // Waits until the window's FTP steps are all done.
    bool ftpFertig(int ms = 15000)
    {
        return waitUntil([this] { return !programm->gast1()->verbindung().beschaeftigt(); }, ms);
    }
    QByteArray remote(const QString &address, const QString &file = QStringLiteral("Gast.txt"))
    {
        return server.readFile(QStringLiteral("localhost/vx/stillbox/vxvx/") + address +
                               QLatin1Char('/') + file);
    }
    QByteArray lokal(const QString &name)
    {
        QFile f(ordner.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }

    LocalServer server;
    QTemporaryDir ordner;
    QString alterOrdner;
    std::unique_ptr<Programm> programm;
};

} // namespace varnek::test

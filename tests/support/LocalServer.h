#pragma once

#include "support/SkriptServer.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace varnek::test
{

// The project's local FTP + HTTP server on free loopback ports, with its own
// temporary root. Started in the constructor, stopped in the destructor.
class LocalServer
{
  public:
    // `zusatz`: further options of the server script (e.g. --tls ...).
    explicit LocalServer(const QStringList &zusatz = {});
    LocalServer(const LocalServer &) = delete;
    LocalServer &operator=(const LocalServer &) = delete;

    bool running() const { return ftpPort_ > 0; }
    int ftpPort() const { return ftpPort_; }
    int httpPort() const { return httpPort_; }
    QString host() const { return QStringLiteral("localhost"); }

    // The folder served at FTP "/".
    QString root() const { return dir_.path(); }
    // The FTP/HTTP folder of an address, e.g. addressDir("test").
    QString addressDir(const QString &address) const;
    // Bytes of a file on the server (by path below the FTP root); empty if missing.
    QByteArray readFile(const QString &relPath) const;
    void writeFile(const QString &relPath, const QByteArray &bytes) const;

  private:
    QTemporaryDir dir_;
    SkriptServer server_;
    int ftpPort_ = 0;
    int httpPort_ = 0;
};

// Waits (spinning the event loop) until pred() holds or timeoutMs passes.
template <typename Pred> bool waitUntil(Pred pred, int timeoutMs = 5000);

// A port on 127.0.0.1 on which nothing listens.
int closedPort();

} // namespace varnek::test

#include "support/LocalServer_impl.h"

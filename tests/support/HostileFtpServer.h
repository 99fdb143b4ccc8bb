#pragma once

#include "support/SkriptServer.h"

#include "platform/FtpSitzung.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace varnek::test
{

// A misbehaving FTP server on a free loopback port (tests/support/
// hostile_ftp_server.py), started in the constructor and stopped in the
// destructor. It serves downloads from and stores uploads in root().
class HostileFtpServer
{
  public:
    struct Config {
        enum class Mode { Listing, DropStor, StallCwd, SwallowStor };
        // How RNFR/RNTO and DELE are answered.
        enum class Umbenennen { Nie, NichtUeberschreibend, Ganz };
        Mode mode = Mode::Listing;
        QByteArray listing;    // what LIST / MLSD answer, byte for byte
        int repeat = 1;        // the listing sent this many times over
        int rate = 0;          // bytes per second of listings and downloads; 0 = at once
        bool mlsd = false;     // announce MLST and answer MLSD
        int dropAfter = 65536; // DropStor: bytes of an upload before it hangs up
        Umbenennen umbenennen = Umbenennen::Nie;
    };

    explicit HostileFtpServer(const Config &config);
    HostileFtpServer(const HostileFtpServer &) = delete;
    HostileFtpServer &operator=(const HostileFtpServer &) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    QString root() const { return root_.path(); }
    // The commands received so far, one per line, in order.
    QStringList commands() const;

    // Options for a passive connection to this server with short limits.
    FtpSitzung::Optionen options() const;

  private:
    QTemporaryDir root_;
    QTemporaryDir work_;
    SkriptServer server_;
    int port_ = 0;
};

} // namespace varnek::test

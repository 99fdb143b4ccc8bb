#pragma once

#include "support/SkriptServer.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace varnek::test
{

// A relay in front of the local FTP server that slows or stops its control
// connection (tests/support/ftp_bremse.py; see there for the options).
// Started in the constructor on a free loopback port, stopped in the
// destructor.
class FtpBremse
{
  public:
    FtpBremse(int zielPort, const QStringList &optionen);
    FtpBremse(const FtpBremse &) = delete;
    FtpBremse &operator=(const FtpBremse &) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }

  private:
    SkriptServer server_;
    int port_ = 0;
};

} // namespace varnek::test

#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

namespace varnek::test
{

// A test server script run with Debian's Python. start() waits for the
// script's first output line ("READY ..."); the process is ended when the
// object goes.
class SkriptServer
{
  public:
    SkriptServer();
    ~SkriptServer();
    SkriptServer(const SkriptServer &) = delete;
    SkriptServer &operator=(const SkriptServer &) = delete;

    // The READY line without its line end; empty when the script did not
    // start or printed nothing in time.
    QString start(const QStringList &arguments, int waitMs = 15000);
    // The first whole number after "key=" in the READY line, 0 if none.
    static int zahl(const QString &ready, const QString &key);

  private:
    std::unique_ptr<QProcess> proc_;
};

} // namespace varnek::test

#pragma once

#include "support/SkriptServer.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace varnek::test
{

// The misbehaving HTTP server of feind_http.py on a free loopback port, in
// one of its modes ("flapping", "truncated", "redirect", "foreign",
// "redirect1", "html", "html-plain", "control", "good"). It logs the path of
// every request it reads.
class FeindServer
{
  public:
    // text: the message it serves, "Hallo Welt" and CR LF when empty.
    explicit FeindServer(const QString &modus, const QString &text = QString());
    FeindServer(const FeindServer &) = delete;
    FeindServer &operator=(const FeindServer &) = delete;

    bool running() const { return port_ > 0; }
    int port() const { return port_; }
    QString host() const { return QStringLiteral("127.0.0.1"); }
    // The paths asked for so far, in order.
    QStringList anfragen() const;

  private:
    QTemporaryDir dir_;
    SkriptServer server_;
    int port_ = 0;
};

} // namespace varnek::test

#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace varnek::test
{

// A certificate authority of the test's own and a server certificate it
// signed for localhost and 127.0.0.1 (openssl, through the script the
// local server's users run too: server/make_test_ca.sh).
class TestCa
{
  public:
    TestCa();
    bool ok() const { return ok_; }
    QString ca() const { return dir_.filePath(QStringLiteral("ca.pem")); }
    QString cert() const { return dir_.filePath(QStringLiteral("server.pem")); }
    QString key() const { return dir_.filePath(QStringLiteral("server.key")); }
    // The local server's options for TLS with this certificate.
    QStringList serverOptionen() const;

  private:
    QTemporaryDir dir_;
    bool ok_ = false;
};

} // namespace varnek::test

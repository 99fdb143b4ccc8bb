#pragma once

#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace varnek::test
{

// A private session bus (dbus-run-session) with a notification service
// that records every Notify call (tests/support/benachrichtigungen.py).
// start() points this process's session bus at it, so it must run before
// anything in the test touches the session bus.
class Benachrichtigungsdienst
{
  public:
    Benachrichtigungsdienst() = default;
    ~Benachrichtigungsdienst();
    Benachrichtigungsdienst(const Benachrichtigungsdienst &) = delete;
    Benachrichtigungsdienst &operator=(const Benachrichtigungsdienst &) = delete;

    // markup: the service says it reads markup in the body.
    bool start(bool markup = false);
    QString adresse() const { return adresse_; }
    // The Notify calls so far, in order.
    QList<QJsonObject> meldungen() const;

  private:
    QProcess proc_;
    QTemporaryDir ordner_;
    QString adresse_;
};

} // namespace varnek::test

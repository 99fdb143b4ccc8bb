#pragma once

#include <QObject>
#include <QString>

namespace varnek
{

// Desktop notifications through the notification service of the session
// (org.freedesktop.Notifications on the session bus). Every call is sent
// without waiting for the answer, so a slow or missing service never holds
// up the window; without a session bus nothing is sent.
class Benachrichtigung : public QObject
{
    Q_OBJECT
  public:
    static constexpr int kMaxZeichen = 200;

    // symbol: the icon, a name of the icon theme ("varnek") or a file URL.
    explicit Benachrichtigung(QString symbol, QObject *parent = nullptr);

    // Shows a notification with the app name "Varnek" and the icon. The text is cut to kMaxZeichen
    // characters; when the service reads markup in the body, '&', '<' and '>' are escaped, so a
    // peer's text is shown as it was sent. False when no session bus is there.
    bool melde(const QString &titel, const QString &text);

    // The first `zeichen` characters (code points) of the text.
    static QString kuerze(const QString &text, int zeichen = kMaxZeichen);

  private:
    QString symbol_;
    bool markup_ = true; // until the service says otherwise
};

} // namespace varnek

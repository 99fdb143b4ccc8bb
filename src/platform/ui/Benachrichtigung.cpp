#include "platform/ui/Benachrichtigung.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QStringList>
#include <QVariantMap>

#include <utility>

namespace varnek
{

namespace
{
const QString kDienst = QStringLiteral("org.freedesktop.Notifications");
const QString kPfad = QStringLiteral("/org/freedesktop/Notifications");

QDBusMessage aufruf(const QString &methode)
{
    return QDBusMessage::createMethodCall(kDienst, kPfad, kDienst, methode);
}
} // namespace

Benachrichtigung::Benachrichtigung(QString symbol, QObject *parent)
    : QObject(parent), symbol_(std::move(symbol))
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // Whether the service reads markup in the body; asked once, answered
    // long before the first message comes in.
    auto *warte =
        new QDBusPendingCallWatcher(bus.asyncCall(aufruf(QStringLiteral("GetCapabilities"))), this);
    connect(warte, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
        const QDBusPendingReply<QStringList> antwort = *w;
        if (antwort.isValid())
            markup_ = antwort.value().contains(QStringLiteral("body-markup"));
        w->deleteLater();
    });
}

QString Benachrichtigung::kuerze(const QString &text, int zeichen)
{
    int i = 0;
    for (int n = 0; i < text.size() && n < zeichen; ++n)
        i += text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    return text.left(i);
}

bool Benachrichtigung::melde(const QString &titel, const QString &text)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return false;
    QString inhalt = kuerze(text);
    if (markup_)
        inhalt = inhalt.toHtmlEscaped();
    QVariantMap hinweise;
    hinweise.insert(QStringLiteral("desktop-entry"), QStringLiteral("varnek"));
    QDBusMessage m = aufruf(QStringLiteral("Notify"));
    m << QStringLiteral("Varnek") << uint(0) << symbol_ << titel << inhalt << QStringList()
      << hinweise << int(-1);
    // The answer (the notification's id) is not needed: each message is a
    // notification of its own.
    return bus.send(m);
}

} // namespace varnek

#include "platform/HttpFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace varnek {

namespace {

QString addressPath(const QString &address)
{
    return QStringLiteral("/vx/stillbox/vxvx/") + address + QStringLiteral("/Gast.txt");
}

QString hostPart(const QString &host, int httpPort)
{
    QString text = host;
    if (host.contains(QLatin1Char(':')) && !host.startsWith(QLatin1Char('[')))
        text = QLatin1Char('[') + host + QLatin1Char(']');
    if (httpPort > 0 && httpPort != 80)
        text += QLatin1Char(':') + QString::number(httpPort);
    return text;
}

} // namespace

QUrl addressUrl(const QString &host, int httpPort, const QString &address)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(host);
    if (httpPort > 0 && httpPort != 80)
        url.setPort(httpPort);
    // Decoded mode: every character of the address is taken literally and
    // escaped where the URL needs it ('%', '#', '?', blanks, umlauts).
    url.setPath(addressPath(address), QUrl::DecodedMode);
    return url;
}

QString addressUrlText(const QString &host, int httpPort, const QString &address)
{
    return QStringLiteral("http://") + hostPart(host, httpPort) + addressPath(address);
}

HttpFetch::HttpFetch(QObject *parent)
    : QObject(parent), manager_(new QNetworkAccessManager(this)), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    QObject::connect(timer_, &QTimer::timeout, this, &HttpFetch::onTimeout);
}

HttpFetch::~HttpFetch()
{
    if (reply_) {
        QNetworkReply *reply = reply_;
        reply_ = nullptr;
        reply->disconnect(this);
        reply->abort();
        delete reply;
    }
}

bool HttpFetch::start(const QUrl &url)
{
    if (reply_)
        return false;
    body_.clear();
    QNetworkRequest request(url);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    reply_ = manager_->get(request);
    QObject::connect(reply_, &QNetworkReply::readyRead, this, &HttpFetch::onReadyRead);
    QObject::connect(reply_, &QNetworkReply::finished, this, &HttpFetch::onFinished);
    timer_->start(std::max(0, timeoutMs_));
    if (reply_->isFinished()) {
        // Answered at once (e.g. an unusable URL): report from the event loop,
        // never from inside start().
        QNetworkReply *reply = reply_;
        QTimer::singleShot(0, this, [this, reply] {
            if (reply_ == reply)
                onFinished();
        });
    }
    return true;
}

void HttpFetch::abort()
{
    if (reply_)
        finish(false);
}

void HttpFetch::onReadyRead()
{
    if (!reply_)
        return;
    const qint64 room = maxBytes_ - body_.size();
    if (room > 0)
        body_ += reply_->read(room);
    if (body_.size() >= maxBytes_) {
        // Enough: the rest of the body is of no interest.
        const int status = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        deliver(true, status, false);
    }
}

void HttpFetch::onFinished()
{
    if (!reply_)
        return;
    onReadyRead();
    if (!reply_)
        return; // the limit was reached on the last bytes
    const QVariant statusAttr = reply_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    const int status = statusAttr.isValid() ? statusAttr.toInt() : 0;
    const bool answered = reply_->error() == QNetworkReply::NoError || status != 0;
    deliver(answered, status, false);
}

void HttpFetch::onTimeout()
{
    if (reply_)
        finish(true);
}

void HttpFetch::finish(bool timedOut)
{
    deliver(false, 0, timedOut);
}

void HttpFetch::deliver(bool ok, int status, bool timedOut)
{
    releaseReply();
    Result result;
    result.ok = ok;
    result.status = status;
    result.timedOut = timedOut;
    result.body = body_;
    body_.clear();
    Q_EMIT finished(result);
}

void HttpFetch::releaseReply()
{
    timer_->stop();
    QNetworkReply *reply = reply_;
    reply_ = nullptr;
    if (!reply)
        return;
    reply->disconnect(this);
    if (!reply->isFinished())
        reply->abort();
    reply->deleteLater();
}

} // namespace varnek

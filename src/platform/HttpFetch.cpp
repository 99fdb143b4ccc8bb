#include "platform/HttpFetch.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>

namespace varnek
{

namespace
{

int statusOf(const QNetworkReply *reply)
{
    const QVariant attr = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    return attr.isValid() ? attr.toInt() : 0;
}

// Errors of the connection itself (refused, reset, timeout, a garbled
// answer), as opposed to the errors Qt derives from an HTTP status.
bool connectionError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return (code >= 1 && code <= 199) || error == QNetworkReply::ProtocolFailure;
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

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
    origin_ = url;
    redirects_ = 0;
    requests_ = 0;
    timer_->start(std::max(0, timeoutMs_));
    send(url);
    return true;
}

void HttpFetch::send(const QUrl &url)
{
    current_ = url;
    body_.clear();
    status_ = 0;
    contentType_.clear();
    headers_.clear();
    truncated_ = false;
    ++requests_;
    QNetworkRequest request(url);
    request.setRawHeader("Cache-Control", "no-cache");
    request.setRawHeader("Pragma", "no-cache");
    // Uncompressed, so that the bytes received can be held against the
    // Content-Length the server announced.
    request.setRawHeader("Accept-Encoding", "identity");
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         QNetworkRequest::AlwaysNetwork);
    request.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::ManualRedirectPolicy);
    reply_ = manager_->get(request);
    QObject::connect(reply_, &QNetworkReply::readyRead, this, &HttpFetch::onReadyRead);
    QObject::connect(reply_, &QNetworkReply::finished, this, &HttpFetch::onFinished);
    if (reply_->isFinished()) {
        // Answered at once (e.g. an unusable URL): report from the event loop,
        // never from inside start().
        QNetworkReply *reply = reply_;
        QTimer::singleShot(0, this, [this, reply] {
            if (reply_ == reply)
                onFinished();
        });
    }
}

void HttpFetch::abort()
{
    if (reply_)
        deliver(false);
}

void HttpFetch::onReadyRead()
{
    if (!reply_)
        return;
    if (isRedirect(statusOf(reply_))) {
        reply_->readAll(); // the body of a redirect is of no interest
        return;
    }
    const qint64 room = maxBytes_ - body_.size();
    if (room > 0)
        body_ += reply_->read(room);
    if (body_.size() >= maxBytes_) {
        // Enough: the rest of the body is of no interest.
        status_ = statusOf(reply_);
        contentType_ = reply_->rawHeader("Content-Type");
        headers_ = reply_->rawHeaderPairs();
        truncated_ = true;
        deliver(true);
    }
}

void HttpFetch::onFinished()
{
    if (!reply_)
        return;
    onReadyRead();
    if (!reply_)
        return; // the limit was reached on the last bytes
    status_ = statusOf(reply_);
    contentType_ = reply_->rawHeader("Content-Type");
    headers_ = reply_->rawHeaderPairs();
    if (status_ == 0 || connectionError(reply_->error())) {
        deliver(false);
        return;
    }
    bool lengthKnown = false;
    const qint64 length = reply_->rawHeader("Content-Length").trimmed().toLongLong(&lengthKnown);
    if (lengthKnown && body_.size() < length) {
        deliver(false); // cut short
        return;
    }
    if (isRedirect(status_)) {
        if (!followRedirect())
            deliver(true, false, true);
        return;
    }
    deliver(true);
}

bool HttpFetch::followRedirect()
{
    if (redirects_ >= maxRedirects_)
        return false;
    const QByteArray location = reply_->rawHeader("Location");
    if (location.isEmpty())
        return false;
    const QUrl target = current_.resolved(QUrl::fromEncoded(location.trimmed()));
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        target.host().compare(origin_.host(), Qt::CaseInsensitive) != 0)
        return false;
    ++redirects_;
    releaseReply(false);
    send(target);
    return true;
}

void HttpFetch::onTimeout()
{
    if (reply_)
        deliver(false, true);
}

void HttpFetch::deliver(bool ok, bool timedOut, bool redirectRefused)
{
    releaseReply();
    Result result;
    result.ok = ok;
    result.status = ok ? status_ : 0;
    result.timedOut = timedOut;
    result.body = ok ? body_ : QByteArray();
    result.contentType = contentType_;
    result.headers = headers_;
    result.truncated = ok && truncated_;
    result.redirects = redirects_;
    result.redirectRefused = redirectRefused;
    result.requests = requests_;
    body_.clear();
    Q_EMIT finished(result);
}

void HttpFetch::releaseReply(bool stopTimer)
{
    if (stopTimer)
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

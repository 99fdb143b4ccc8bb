#include "platform/HttpAbruf.h"

#include "platform/Dienste.h"

#include <QSslSocket>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace varnek
{

namespace
{

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

// The socket keeps no more than this unread, so a flood is taken in steps.
constexpr qint64 kLesePuffer = 256 * 1024;
// Longest chunk size line taken.
constexpr qsizetype kMaxChunkZeile = 1024;

QByteArray wert(const QList<QPair<QByteArray, QByteArray>> &kopf, const QByteArray &name)
{
    for (const auto &[schluessel, w] : kopf) {
        if (schluessel.compare(name, Qt::CaseInsensitive) == 0)
            return w;
    }
    return QByteArray();
}

// What a kept connection is good for: the same scheme, host and port.
QString verbindungsZiel(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    const int port = url.port(scheme == QLatin1String("https") ? 443 : 80);
    return scheme + QStringLiteral("://") + url.host().toLower() + QLatin1Char(':') +
           QString::number(port);
}

} // namespace

HttpAbruf::HttpAbruf(QObject *parent) : QObject(parent), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    QObject::connect(timer_, &QTimer::timeout, this, &HttpAbruf::onTimeout);
}

HttpAbruf::~HttpAbruf()
{
    verwerfeRuhend();
    if (socket_) {
        QTcpSocket *socket = socket_;
        socket_ = nullptr;
        socket->disconnect(this);
        socket->abort();
        delete socket;
    }
}

bool HttpAbruf::starte(const QUrl &url)
{
    if (socket_)
        return false;
    origin_ = url;
    redirects_ = 0;
    requests_ = 0;
    tlsFehler_.clear();
    neueVerbindungen_ = 0;
    timer_->start(std::max(0, timeoutMs_));
    send(url);
    return true;
}

void HttpAbruf::send(const QUrl &url)
{
    current_ = url;
    eingang_.clear();
    phase_ = Phase::Kopf;
    kopfBytes_ = 0;
    gesucht_ = 0;
    laenge_ = -1;
    chunkRest_ = -1;
    body_.clear();
    status_ = 0;
    contentType_.clear();
    headers_.clear();
    truncated_ = false;
    http11_ = false;
    wiederverwendet_ = false;
    ++requests_;

    const QString scheme = url.scheme().toLower();
    const bool https = scheme == QLatin1String("https");
    const bool brauchbar =
        url.isValid() && !url.host().isEmpty() &&
        (scheme == QLatin1String("http") || (https && QSslSocket::supportsSsl()));
    const QString ziel = verbindungsZiel(url);
    if (brauchbar && ruhend_ && ruhendZiel_ == ziel &&
        ruhend_->state() == QAbstractSocket::ConnectedState && ruhend_->bytesAvailable() == 0) {
        // The connection kept from the last answer carries this request.
        QTcpSocket *socket = ruhend_;
        ruhend_ = nullptr;
        socket->disconnect(this);
        socket_ = socket;
        wiederverwendet_ = true;
        verbindeSignale(socket);
        onConnected();
        return;
    }
    verwerfeRuhend();
    QTcpSocket *socket = https ? new QSslSocket(this) : new QTcpSocket(this);
    socket_ = socket;
    socket->setReadBufferSize(kLesePuffer);
    if (!brauchbar) {
        // Report from the event loop, never from inside start().
        QTimer::singleShot(0, this, [this, socket] {
            if (socket_ == socket)
                deliver(false);
        });
        return;
    }
    ++neueVerbindungen_;
    verbindeSignale(socket);
    if (https) {
        auto *ssl = static_cast<QSslSocket *>(socket);
        QObject::connect(ssl, &QSslSocket::encrypted, this, &HttpAbruf::onConnected);
        // The handshake fails on these by itself; the reason is kept for the user.
        QObject::connect(ssl, &QSslSocket::sslErrors, this, [this](const QList<QSslError> &fehler) {
            if (!fehler.isEmpty())
                tlsFehler_ = QStringLiteral("Zertifikat des Servers nicht vertrauenswürdig: ") +
                             fehler.first().errorString();
        });
        ssl->connectToHostEncrypted(url.host(), quint16(url.port(443)));
    } else {
        QObject::connect(socket, &QTcpSocket::connected, this, &HttpAbruf::onConnected);
        socket->connectToHost(url.host(), quint16(url.port(80)));
    }
}

void HttpAbruf::verbindeSignale(QTcpSocket *socket)
{
    QObject::connect(socket, &QTcpSocket::readyRead, this, &HttpAbruf::onReadyRead);
    QObject::connect(socket, &QTcpSocket::disconnected, this, &HttpAbruf::onDisconnected);
    QObject::connect(socket, &QTcpSocket::errorOccurred, this,
                     [this](QAbstractSocket::SocketError fehler) {
                         if (fehler == QAbstractSocket::RemoteHostClosedError)
                             onDisconnected();
                         else if (socket_ && !neuVersuchen())
                             deliver(false);
                     });
}

void HttpAbruf::setBedingung(const QByteArray &etag, const QByteArray &lastModified)
{
    // Header values never carry a line end of their own.
    const auto sauber = [](const QByteArray &w) {
        return w.contains('\r') || w.contains('\n') ? QByteArray() : w.trimmed();
    };
    etag_ = sauber(etag);
    lastModified_ = sauber(lastModified);
}

bool HttpAbruf::neuVersuchen()
{
    // Only a kept socket, and only while nothing of the answer came: the
    // server closed it while it waited, and never saw the request.
    if (!wiederverwendet_ || !socket_ || phase_ != Phase::Kopf || kopfBytes_ > 0 ||
        !eingang_.isEmpty() || status_ != 0)
        return false;
    releaseSocket(false);
    --requests_; // the same request once more
    send(current_);
    return true;
}

void HttpAbruf::onConnected()
{
    if (!socket_)
        return;
    QByteArray ziel =
        current_.toEncoded(QUrl::RemoveScheme | QUrl::RemoveAuthority | QUrl::RemoveFragment);
    if (ziel.isEmpty())
        ziel = "/";
    QByteArray host = hostFuerUrl(current_.host(QUrl::FullyEncoded)).toLatin1();
    const bool https = current_.scheme().compare(QLatin1String("https"), Qt::CaseInsensitive) == 0;
    if (current_.port() > 0 && current_.port() != (https ? 443 : 80))
        host += ':' + QByteArray::number(current_.port());
    // Uncompressed, so that the bytes received are the file and can be held
    // against the Content-Length the server announced; never from a cache
    // (a cache in front of the server revalidates with it).
    QByteArray bedingung;
    if (!etag_.isEmpty())
        bedingung = "If-None-Match: " + etag_ + "\r\n";
    else if (!lastModified_.isEmpty())
        bedingung = "If-Modified-Since: " + lastModified_ + "\r\n";
    socket_->write("GET " + ziel + " HTTP/1.1\r\nHost: " + host +
                   "\r\nUser-Agent: Varnek-5-NR\r\nAccept-Encoding: identity\r\n"
                   "Cache-Control: no-cache\r\nPragma: no-cache\r\n" +
                   bedingung + "\r\n"); // HTTP/1.1: the connection stays open
}

void HttpAbruf::brichAb()
{
    if (socket_)
        deliver(false);
}

void HttpAbruf::onReadyRead()
{
    QTcpSocket *const socket = socket_;
    if (!socket)
        return;
    eingang_ += socket->readAll();
    while (socket_ == socket) {
        bool weiter = false;
        switch (phase_) {
        case Phase::Kopf:
            weiter = kopfLesen();
            break;
        case Phase::Body:
            weiter = bodyLesen();
            break;
        case Phase::Chunks:
            weiter = chunksLesen();
            break;
        }
        if (!weiter)
            return;
    }
}

bool HttpAbruf::kopfLesen()
{
    // Searched only where the end can be, so bytes dripping in one by one
    // cost no more than a flood.
    const qsizetype von = std::max<qsizetype>(0, gesucht_ - 3);
    gesucht_ = eingang_.size();
    qsizetype ende = -1;
    const qsizetype crlf = eingang_.indexOf("\r\n\r\n", von);
    const qsizetype lf = eingang_.indexOf("\n\n", von);
    if (crlf >= 0 && (lf < 0 || crlf + 2 <= lf))
        ende = crlf + 4;
    else if (lf >= 0)
        ende = lf + 2;
    if (ende < 0 ? kopfBytes_ + eingang_.size() > kMaxKopfBytes
                 : kopfBytes_ + ende > kMaxKopfBytes) {
        deliver(false, false, false, true);
        return false;
    }
    if (ende < 0)
        return false; // more to come
    const QByteArray kopf = eingang_.left(ende);
    eingang_.remove(0, ende);
    kopfBytes_ += ende;
    gesucht_ = 0;

    QList<QByteArray> zeilen = kopf.split('\n');
    for (QByteArray &z : zeilen) {
        if (z.endsWith('\r'))
            z.chop(1);
    }
    const QByteArray &statusZeile = zeilen.value(0);
    bool zahl = false;
    const int status = statusZeile.mid(9, 3).toInt(&zahl);
    if (!statusZeile.startsWith("HTTP/1.") || statusZeile.size() < 12 || statusZeile.at(8) != ' ' ||
        !zahl || status < 100 || status > 999) {
        deliver(false);
        return false;
    }
    if (status >= 100 && status < 200 && status != 101)
        return true; // an interim answer: the final one follows
    status_ = status;
    http11_ = statusZeile.startsWith("HTTP/1.1");
    for (qsizetype i = 1; i < zeilen.size(); ++i) {
        const QByteArray &z = zeilen.at(i);
        if (z.isEmpty())
            continue;
        if ((z.at(0) == ' ' || z.at(0) == '\t') && !headers_.isEmpty()) {
            headers_.last().second += ' ' + z.trimmed();
            continue;
        }
        const qsizetype doppelpunkt = z.indexOf(':');
        if (doppelpunkt <= 0)
            continue;
        headers_.append({z.left(doppelpunkt).trimmed(), z.mid(doppelpunkt + 1).trimmed()});
    }
    contentType_ = wert(headers_, "Content-Type");
    kopfFertig();
    return socket_ != nullptr && phase_ != Phase::Kopf;
}

void HttpAbruf::kopfFertig()
{
    if (isRedirect(status_)) {
        if (!followRedirect())
            deliver(true, false, true);
        return;
    }
    if (status_ < 200 || status_ == 204 || status_ == 304) {
        deliver(true); // no body
        return;
    }
    if (wert(headers_, "Transfer-Encoding").toLower().contains("chunked")) {
        phase_ = Phase::Chunks;
        return;
    }
    bool bekannt = false;
    const qint64 laenge = wert(headers_, "Content-Length").toLongLong(&bekannt);
    laenge_ = bekannt && laenge >= 0 ? laenge : -1;
    phase_ = Phase::Body;
    if (laenge_ == 0)
        deliver(true);
}

void HttpAbruf::bodyNehmen(const QByteArray &teil)
{
    const qint64 room = maxBytes_ - body_.size();
    if (room > 0)
        body_ += teil.left(room);
    if (body_.size() >= maxBytes_) {
        // Enough: the rest of the body is of no interest.
        truncated_ = true;
        deliver(true);
    }
}

bool HttpAbruf::bodyLesen()
{
    QByteArray teil;
    if (laenge_ >= 0) {
        const qint64 fehlt = laenge_ - body_.size();
        teil = eingang_.left(fehlt);
    } else {
        teil = eingang_;
    }
    eingang_.clear();
    bodyNehmen(teil);
    if (socket_ && laenge_ >= 0 && body_.size() >= laenge_)
        deliver(true);
    return false;
}

bool HttpAbruf::chunksLesen()
{
    if (chunkRest_ == -2) {
        // The line end behind a chunk's data.
        if (eingang_.startsWith("\r\n")) {
            eingang_.remove(0, 2);
        } else if (eingang_.startsWith('\n')) {
            eingang_.remove(0, 1);
        } else if (eingang_.size() < 2) {
            return false;
        } else {
            deliver(false);
            return false;
        }
        chunkRest_ = -1;
        return true;
    }
    if (chunkRest_ < 0) {
        const qsizetype zeilenEnde = eingang_.indexOf('\n');
        if (zeilenEnde < 0) {
            if (eingang_.size() > kMaxChunkZeile)
                deliver(false);
            return false;
        }
        bool zahl = false;
        const qint64 groesse =
            eingang_.left(zeilenEnde).split(';').value(0).trimmed().toLongLong(&zahl, 16);
        eingang_.remove(0, zeilenEnde + 1);
        if (!zahl || groesse < 0 || groesse > (qint64(1) << 40)) {
            deliver(false);
            return false;
        }
        if (groesse == 0) {
            deliver(true); // the last chunk; trailers are of no interest
            return false;
        }
        chunkRest_ = groesse;
        return true;
    }
    if (eingang_.isEmpty())
        return false;
    const qint64 nimm = std::min<qint64>(chunkRest_, eingang_.size());
    const QByteArray teil = eingang_.left(nimm);
    eingang_.remove(0, nimm);
    chunkRest_ -= nimm;
    if (chunkRest_ == 0)
        chunkRest_ = -2;
    bodyNehmen(teil);
    return socket_ != nullptr;
}

void HttpAbruf::onDisconnected()
{
    if (!socket_)
        return;
    onReadyRead();
    if (!socket_ || neuVersuchen())
        return;
    // A body without a length ends with the connection; anything else was
    // cut short.
    deliver(phase_ == Phase::Body && laenge_ < 0);
}

bool HttpAbruf::followRedirect()
{
    if (redirects_ >= maxRedirects_)
        return false;
    const QByteArray location = wert(headers_, "Location");
    if (location.isEmpty())
        return false;
    const QUrl target = current_.resolved(QUrl::fromEncoded(location.trimmed()));
    const QString scheme = target.scheme().toLower();
    if (!target.isValid() ||
        (scheme != QLatin1String("http") && scheme != QLatin1String("https")) ||
        target.host().compare(origin_.host(), Qt::CaseInsensitive) != 0)
        return false;
    ++redirects_;
    releaseSocket(false);
    send(target);
    return true;
}

void HttpAbruf::onTimeout()
{
    if (socket_)
        deliver(false, true);
}

bool HttpAbruf::wiederverwendbar(bool ok) const
{
    if (!ok || !socket_ || truncated_ || !http11_ || !eingang_.isEmpty() ||
        socket_->state() != QAbstractSocket::ConnectedState || isRedirect(status_))
        return false;
    if (wert(headers_, "Connection").toLower().contains("close"))
        return false;
    switch (phase_) {
    case Phase::Kopf:
        return status_ == 204 || status_ == 304; // an answer without a body
    case Phase::Body:
        return laenge_ >= 0 && body_.size() == laenge_;
    case Phase::Chunks:
        return true; // ok here means the last chunk came
    }
    return false;
}

void HttpAbruf::parkeSocket()
{
    timer_->stop();
    QTcpSocket *socket = socket_;
    socket_ = nullptr;
    socket->disconnect(this);
    ruhend_ = socket;
    ruhendZiel_ = verbindungsZiel(current_);
    // Anything from the server while it waits (closing, stray bytes) ends it.
    QObject::connect(socket, &QTcpSocket::disconnected, this, &HttpAbruf::verwerfeRuhend);
    QObject::connect(socket, &QTcpSocket::readyRead, this, &HttpAbruf::verwerfeRuhend);
    QObject::connect(socket, &QTcpSocket::errorOccurred, this, &HttpAbruf::verwerfeRuhend);
}

void HttpAbruf::verwerfeRuhend()
{
    QTcpSocket *socket = ruhend_;
    ruhend_ = nullptr;
    if (!socket)
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void HttpAbruf::deliver(bool ok, bool timedOut, bool redirectRefused, bool headerTooLarge)
{
    if (wiederverwendbar(ok && !redirectRefused && !timedOut))
        parkeSocket();
    else
        releaseSocket();
    Antwort result;
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
    result.headerTooLarge = headerTooLarge;
    result.tlsFehler = tlsFehler_;
    result.neueVerbindungen = neueVerbindungen_;
    body_.clear();
    eingang_.clear();
    Q_EMIT fertig(result);
}

void HttpAbruf::releaseSocket(bool stopTimer)
{
    if (stopTimer)
        timer_->stop();
    QTcpSocket *socket = socket_;
    socket_ = nullptr;
    if (!socket)
        return;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

} // namespace varnek

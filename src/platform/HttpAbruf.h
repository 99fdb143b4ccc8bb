#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>

class QTcpSocket;
class QTimer;

namespace varnek
{

// Asynchronous plain HTTP GET that bypasses every cache and keeps at most the
// first maxBytes of the body (50000 unless set: a message file; a photo sets
// its own limit). The window never waits on it: the answer comes through
// finished(), once per start().
//
// Redirects are followed by hand, at most maxRedirects of them, and only to
// http or https on the host of the URL started; any other redirect ends the
// fetch with ok, its 3xx status and redirectRefused.
//
// ok means a whole answer arrived: a body cut short (fewer bytes than its
// Content-Length or its chunks) or ended by a connection error is not ok,
// whatever status came before it. A header section over kMaxKopfBytes ends
// the fetch at once, not ok (headerTooLarge). Interim 1xx answers before the
// final one are skipped.
//
// The request is spoken on a socket of our own (HTTP/1.1, no proxy, no
// compression asked for), so that every byte of the header section is
// counted as it comes in. The connection is kept alive: after a whole answer
// whose end is known (Content-Length, the last chunk, or no body) from an
// HTTP/1.1 server that did not say "Connection: close", the socket waits for
// the next fetch to the same scheme, host and port. A request on such a kept
// socket that the server had closed meanwhile (nothing of an answer came) is
// sent once more on a new connection.
class HttpAbruf : public QObject
{
    Q_OBJECT
  public:
    static constexpr qint64 kDefaultMaxBytes = 50000;
    static constexpr int kDefaultMaxRedirects = 3;
    static constexpr qsizetype kMaxKopfBytes = 64 * 1024;

    struct Antwort {
        bool ok = false;                              // a complete HTTP answer arrived (any status)
        int status = 0;                               // HTTP status, 0 when none
        QByteArray body;                              // at most maxBytes
        QByteArray contentType;                       // the Content-Type header as sent
        QList<QPair<QByteArray, QByteArray>> headers; // every header line as sent
        bool truncated = false;                       // the body was cut at maxBytes
        bool timedOut = false;
        int redirects = 0;            // redirects followed
        bool redirectRefused = false; // a redirect not followed (too many, or elsewhere)
        int requests = 0;             // requests sent for this fetch
        bool headerTooLarge = false;  // the header section passed kMaxKopfBytes
        // https only: why the server's certificate was not trusted (German;
        // empty when it was, or when no handshake took place). Nothing is
        // sent to such a server.
        QString tlsFehler;
        int neueVerbindungen = 0; // TCP connections opened for this fetch
    };

    explicit HttpAbruf(QObject *parent = nullptr);
    ~HttpAbruf() override;

    void setzeMaxBytes(qint64 maxBytes) { maxBytes_ = maxBytes; }
    qint64 maxBytes() const { return maxBytes_; }
    void setzeTimeoutMs(int ms) { timeoutMs_ = ms; }
    void setzeMaxUmleitungen(int n) { maxRedirects_ = n; }
    // Validators of an earlier answer for the next fetches: If-None-Match
    // with the ETag, or, without one, If-Modified-Since with the
    // Last-Modified value. An unchanged file is then answered 304 without a
    // body. Empty values send no condition.
    void setBedingung(const QByteArray &etag, const QByteArray &lastModified);
    // A kept connection is waiting for the next fetch.
    bool verbindungOffen() const { return ruhend_ != nullptr; }

    // False (and no signal) when a fetch is still in flight. Otherwise
    // finished() follows exactly once, from the event loop, never from
    // inside start(). An HTTP error status (404 ...) is an answer: ok with
    // the status and its body. No answer within the timeout (counted over
    // all redirects): timedOut.
    bool starte(const QUrl &url);
    bool laeuft() const { return socket_ != nullptr; }
    // Cancels the fetch in flight; finished() reports it at once with
    // ok = false. Nothing happens when idle.
    void brichAb();

  Q_SIGNALS:
    void fertig(const varnek::HttpAbruf::Antwort &result);

  private:
    enum class Phase { Kopf, Body, Chunks };
    void send(const QUrl &url);
    void onConnected();
    void onReadyRead();
    void onDisconnected();
    void onTimeout();
    bool kopfLesen();
    bool bodyLesen();
    bool chunksLesen();
    void bodyNehmen(const QByteArray &teil);
    void kopfFertig();
    bool followRedirect();
    void deliver(bool ok, bool timedOut = false, bool redirectRefused = false,
                 bool headerTooLarge = false);
    void releaseSocket(bool stopTimer = true);
    // Whether the connection can carry the next request after this answer.
    bool wiederverwendbar(bool ok) const;
    void parkeSocket();
    void verwerfeRuhend();
    void verbindeSignale(QTcpSocket *socket);
    // A kept socket failed before any byte of the answer: true when the
    // request went out again on a new connection.
    bool neuVersuchen();

    QTcpSocket *socket_ = nullptr;
    QTimer *timer_;
    QUrl origin_;
    QUrl current_;
    QByteArray eingang_; // received and not yet taken apart
    Phase phase_ = Phase::Kopf;
    qsizetype kopfBytes_ = 0; // header bytes of this request so far
    qsizetype gesucht_ = 0;   // eingang_ searched for the header's end up to here
    qint64 laenge_ = -1;      // Content-Length, -1 when none
    qint64 chunkRest_ = -1;   // bytes left of the current chunk, -1 at a size line
    QByteArray body_;
    int status_ = 0;
    QByteArray contentType_;
    QList<QPair<QByteArray, QByteArray>> headers_;
    bool truncated_ = false;
    int redirects_ = 0;
    int requests_ = 0;
    qint64 maxBytes_ = kDefaultMaxBytes;
    int timeoutMs_ = 5000;
    int maxRedirects_ = kDefaultMaxRedirects;
    QString tlsFehler_;
    QByteArray etag_;
    QByteArray lastModified_;
    QTcpSocket *ruhend_ = nullptr; // kept alive between fetches
    QString ruhendZiel_;           // its scheme, host and port
    bool wiederverwendet_ = false; // socket_ was kept from an earlier answer
    bool http11_ = false;          // the final answer came as HTTP/1.1
    int neueVerbindungen_ = 0;
};

} // namespace varnek

Q_DECLARE_METATYPE(varnek::HttpAbruf::Antwort)

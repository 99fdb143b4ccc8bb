#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace varnek {

// URL of an address's message file: "http://" host [":" port, unless 80]
// "/vx/stillbox/vxvx/" address "/Gast.txt". Every character of the address
// is taken literally; blanks, '#', '?', '%' and umlauts are escaped.
QUrl addressUrl(const QString &host, int httpPort, const QString &address);
// The same address in readable form (nothing escaped), for display.
QString addressUrlText(const QString &host, int httpPort, const QString &address);

// Asynchronous plain HTTP GET that bypasses every cache and keeps at most the
// first maxBytes of the body. The window never waits on it: the answer comes
// through finished(), once per start().
class HttpFetch : public QObject {
    Q_OBJECT
public:
    struct Result {
        bool ok = false;     // a complete HTTP answer arrived (any status)
        int status = 0;      // HTTP status, 0 when none
        QByteArray body;     // at most maxBytes
        bool timedOut = false;
    };

    explicit HttpFetch(QObject *parent = nullptr);
    ~HttpFetch() override;

    void setMaxBytes(qint64 maxBytes) { maxBytes_ = maxBytes; }
    void setTimeoutMs(int ms) { timeoutMs_ = ms; }

    // False (and no signal) when a fetch is still in flight. Otherwise
    // finished() follows exactly once, from the event loop, never from
    // inside start(). An HTTP error status (404 ...) is an answer: ok with
    // the status and its body. No answer within the timeout: timedOut.
    bool start(const QUrl &url);
    bool busy() const { return reply_ != nullptr; }
    // Cancels the fetch in flight; finished() reports it at once with
    // ok = false. Nothing happens when idle.
    void abort();

Q_SIGNALS:
    void finished(const varnek::HttpFetch::Result &result);

private:
    void onReadyRead();
    void onFinished();
    void onTimeout();
    void finish(bool timedOut);
    void deliver(bool ok, int status, bool timedOut);
    void releaseReply();

    QNetworkAccessManager *manager_;
    QNetworkReply *reply_ = nullptr;
    QTimer *timer_;
    QByteArray body_;
    qint64 maxBytes_ = 50000;
    int timeoutMs_ = 5000;
};

} // namespace varnek

Q_DECLARE_METATYPE(varnek::HttpFetch::Result)

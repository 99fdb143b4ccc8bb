#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;
class QTimer;

namespace varnek {

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

    // False (and no signal) when a fetch is still in flight.
    bool start(const QUrl &url);
    bool busy() const { return reply_ != nullptr; }
    void abort();

Q_SIGNALS:
    void finished(const varnek::HttpFetch::Result &result);

private:
    void onReadyRead();
    void onFinished();
    void onTimeout();
    void finish(bool timedOut);

    QNetworkAccessManager *manager_;
    QNetworkReply *reply_ = nullptr;
    QTimer *timer_;
    QByteArray body_;
    qint64 maxBytes_ = 50000;
    int timeoutMs_ = 5000;
};

} // namespace varnek

#include "support/RohServer.h"

#include <QTcpSocket>

#include <memory>

namespace varnek::test
{

RohServer::RohServer(QByteArray antwort) : antwort_(std::move(antwort))
{
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            ++verbindungen_;
            auto beantwortet = std::make_shared<int>(0);
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket, beantwortet] {
                const QByteArray neu = socket->readAll();
                empfangen_ += neu;
                if (antwort_.isEmpty())
                    return; // held open, never answered
                anfrage_ += neu;
                if (anfrage_.contains("\r\n\r\n")) {
                    anfrage_.clear();
                    if (offenFuer_ > 0 && (*beantwortet)++ < offenFuer_) {
                        socket->write(antwort_);
                        return;
                    }
                    if (offenFuer_ == 0)
                        socket->write(antwort_);
                    socket->disconnectFromHost();
                }
            });
        }
    });
}

} // namespace varnek::test

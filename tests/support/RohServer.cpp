#include "support/RohServer.h"

#include <QTcpSocket>

namespace varnek::test
{

RohServer::RohServer(QByteArray antwort) : antwort_(std::move(antwort))
{
    server_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
        while (QTcpSocket *socket = server_.nextPendingConnection()) {
            ++verbindungen_;
            QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                const QByteArray neu = socket->readAll();
                empfangen_ += neu;
                if (antwort_.isEmpty())
                    return; // held open, never answered
                anfrage_ += neu;
                if (anfrage_.contains("\r\n\r\n")) {
                    anfrage_.clear();
                    socket->write(antwort_);
                    socket->disconnectFromHost();
                }
            });
        }
    });
}

} // namespace varnek::test

#pragma once

#include <QByteArray>
#include <QTcpServer>

namespace varnek::test
{

// A bare TCP server on 127.0.0.1 (free port). Without an answer it accepts
// every connection, keeps what the client sends and never says a word (a
// silent server); with one it sends that answer to each request (ended by
// an empty line) and closes.
class RohServer
{
  public:
    explicit RohServer(QByteArray antwort = QByteArray());
    bool running() const { return server_.isListening(); }
    int port() const { return server_.serverPort(); }
    int verbindungen() const { return verbindungen_; }
    // Keeps each connection open for `antworten` answers (HTTP/1.1 keep-alive)
    // and closes it, unanswered, at the request after them.
    void setOffenFuer(int antworten) { offenFuer_ = antworten; }
    // Everything the clients sent, in order.
    QByteArray empfangen() const { return empfangen_; }

  private:
    QTcpServer server_;
    QByteArray antwort_;
    QByteArray anfrage_;
    QByteArray empfangen_;
    int verbindungen_ = 0;
    int offenFuer_ = 0;
};

} // namespace varnek::test

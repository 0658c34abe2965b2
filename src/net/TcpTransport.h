#pragma once
// Sessions over TCP/IP: a listening socket per served session, a stream per peer, and a
// datagram search of the local network for sessions when no host name is given.

#include "net/SessionTransport.h"

#include <QAbstractSocket>
#include <functional>

class TDXPlay;
class QTcpServer;
class QTcpSocket;
class QUdpSocket;

class TTcpTransport : public TSessionTransport {
    Q_OBJECT
public:
    // Reads its settings from `play` at each step; `joinable` names the sessions a search
    // may be told about.
    TTcpTransport(const TDXPlay& play, std::function<QList<QByteArray>()> joinable);
    ~TTcpTransport() override;

    QList<TFoundSession> Find() override;
    QIODevice* Reach(const TFoundSession& session) override;
    QString Serve(const TFoundSession& joined) override;
    bool Serving() const override { return server_ != nullptr; }
    QString Place() const override;
    void Release() override;

private:
    quint16 EffectivePort() const;
    void AcceptConnections();
    void AnswerDatagrams();
    // The connected socket, or null with the reason in `failure`.
    QTcpSocket* ConnectTo(const QString& host, quint16 port,
                          QAbstractSocket::SocketError* failure = nullptr);
    QList<TFoundSession> SearchNetwork(quint16 port);

    const TDXPlay& play_;
    std::function<QList<QByteArray>()> joinable_;
    quint16 port_ = 0;
    QTcpServer* server_ = nullptr;
    QUdpSocket* responder_ = nullptr;
};

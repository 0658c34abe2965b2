#pragma once
// Sessions over TCP/IP: a listening socket per served session, a stream per peer, and a
// datagram search of the local network for sessions when no host name is given.

#include "net/SessionTransport.h"

#include <QAbstractSocket>
#include <functional>

class TSessionService;
class QTcpServer;
class QTcpSocket;
class QUdpSocket;

class TTcpTransport : public TSessionTransport {
    Q_OBJECT
public:
    // Reads its settings from `play` at each step; `joinable` names the sessions a search
    // may be told about.
    TTcpTransport(const TSessionService& play, std::function<QList<QByteArray>()> joinable);
    ~TTcpTransport() override;

    void Find(TFindAnswer answer) override;
    void Reach(const TFoundSession& session, TReachAnswer answer) override;
    void Stop() override { step_.Stop(); }
    QString Serve(const TFoundSession& joined) override;
    bool Serving() const override { return server_ != nullptr; }
    QString Place() const override;
    void Release() override;

private:
    using TConnected = std::function<void(QTcpSocket* socket, QAbstractSocket::SocketError)>;

    quint16 EffectivePort() const;
    void AcceptConnections();
    void AnswerDatagrams();
    // Answers with the connected socket, or with null and the reason.
    void ConnectTo(const QString& host, quint16 port, TConnected connected);
    void QueryHost(const QString& host, quint16 port, TFindAnswer answer);
    void SearchNetwork(quint16 port, TFindAnswer answer);

    const TSessionService& play_;
    std::function<QList<QByteArray>()> joinable_;
    TStep step_{this};
    quint16 port_ = 0;
    QTcpServer* server_ = nullptr;
    QUdpSocket* responder_ = nullptr;
};

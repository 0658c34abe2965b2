#include "net/TcpTransport.h"

#include "net/DXPlayUnit.h"
#include "platform/Errors.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <algorithm>

using namespace SessionFraming;

TTcpTransport::TTcpTransport(const TDXPlay& play, std::function<QList<QByteArray>()> joinable)
    : play_(play), joinable_(std::move(joinable)) {}

TTcpTransport::~TTcpTransport() {
    Release();
}

QList<TFoundSession> TTcpTransport::Find() {
    const quint16 port = EffectivePort();
    const QString host = play_.TCPIPSetting.HostName.trimmed();
    if (host.isEmpty())
        return SearchNetwork(port);
    QAbstractSocket::SocketError failure = QAbstractSocket::UnknownSocketError;
    QTcpSocket* socket = ConnectTo(host, port, &failure);
    // A host that is there but serves nothing has no sessions; so one can be created there.
    if (!socket && failure == QAbstractSocket::ConnectionRefusedError)
        return {};
    const std::optional<QList<QByteArray>> names =
        socket ? QuerySessions(socket, play_.LinkTimings, play_.ConnectTimeoutMs) : std::nullopt;
    if (!names)
        throw ListNotAcquired();
    QList<TFoundSession> found;
    for (const QByteArray& name : *names)
        found.append({name, host, port});
    return found;
}

QIODevice* TTcpTransport::Reach(const TFoundSession& session) {
    return ConnectTo(session.Host, session.Port);
}

QString TTcpTransport::Serve(const TFoundSession& joined) {
    if (server_)
        return {};
    port_ = joined.Port != 0 ? joined.Port : EffectivePort();
    auto* server = new QTcpServer(this);
    // Any is dual-stack: IPv4 and IPv6 joiners alike.
    if (!server->listen(QHostAddress::Any, port_)) {
        const QString reason = server->errorString();
        delete server;
        return reason;
    }
    server_ = server;
    connect(server_, &QTcpServer::newConnection, this, &TTcpTransport::AcceptConnections);
    // Without the datagram answerer the session is still found by its host name.
    responder_ = new QUdpSocket(this);
    if (responder_->bind(QHostAddress::Any, port_))
        connect(responder_, &QUdpSocket::readyRead, this, &TTcpTransport::AnswerDatagrams);
    return {};
}

QString TTcpTransport::Place() const {
    return QString("port %1").arg(port_);
}

void TTcpTransport::Release() {
    // Closed at once so that the port is free again; deleted later, since this may run
    // inside one of their own signals.
    if (server_) {
        server_->close();
        server_->deleteLater();
    }
    if (responder_) {
        responder_->close();
        responder_->deleteLater();
    }
    server_ = nullptr;
    responder_ = nullptr;
}

quint16 TTcpTransport::EffectivePort() const {
    return play_.TCPIPSetting.Port != 0 ? play_.TCPIPSetting.Port : TDXPlay::DefaultPort;
}

void TTcpTransport::AcceptConnections() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QTcpSocket::disconnected, socket, &QIODevice::readChannelFinished);
        emit Incoming(socket);
    }
}

void TTcpTransport::AnswerDatagrams() {
    while (responder_ && responder_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = responder_->receiveDatagram();
        const std::optional<TFrame> query = DecodeDatagram(datagram.data());
        const QList<QByteArray> names = joinable_();
        if (query && query->Type == TFrameType::SessionQuery && query->Payload.isEmpty() &&
            !names.isEmpty())
            responder_->writeDatagram(
                datagram.makeReply(EncodeFrame(TFrameType::SessionList, EncodeSessionList(names))));
    }
}

QTcpSocket* TTcpTransport::ConnectTo(const QString& host, quint16 port,
                                     QAbstractSocket::SocketError* failure) {
    auto* socket = new QTcpSocket(this);
    TWait wait;
    connect(socket, &QTcpSocket::connected, &wait, &TWait::Finish);
    connect(socket, &QTcpSocket::errorOccurred, &wait, &QEventLoop::quit);
    socket->connectToHost(host, port);
    if (!wait.Run(play_.ConnectTimeoutMs)) {
        if (failure)
            *failure = socket->error();
        delete socket;
        return nullptr;
    }
    connect(socket, &QTcpSocket::disconnected, socket, &QIODevice::readChannelFinished);
    return socket;
}

QList<TFoundSession> TTcpTransport::SearchNetwork(quint16 port) {
    QUdpSocket ipv4;
    QUdpSocket ipv6;
    QList<TFoundSession> found;
    const auto collect = [&](QUdpSocket& socket) {
        while (socket.hasPendingDatagrams()) {
            const QNetworkDatagram datagram = socket.receiveDatagram();
            const std::optional<TFrame> answer = DecodeDatagram(datagram.data());
            const std::optional<QList<QByteArray>> names =
                answer && answer->Type == TFrameType::SessionList
                    ? DecodeSessionList(answer->Payload)
                    : std::nullopt;
            for (const QByteArray& name : names.value_or(QList<QByteArray>{}))
                if (std::none_of(found.begin(), found.end(),
                                 [&](const TFoundSession& s) { return s.Name == name; }))
                    found.append({name, datagram.senderAddress().toString(), port});
        }
    };
    connect(&ipv4, &QUdpSocket::readyRead, &ipv4, [&] { collect(ipv4); });
    connect(&ipv6, &QUdpSocket::readyRead, &ipv6, [&] { collect(ipv6); });
    const QByteArray query = EncodeFrame(TFrameType::SessionQuery, {});
    bool sent = false;
    for (const QHostAddress& target : play_.BroadcastTargets) {
        const bool v6 = target.protocol() == QAbstractSocket::IPv6Protocol;
        QUdpSocket& socket = v6 ? ipv6 : ipv4;
        if (socket.state() == QAbstractSocket::UnconnectedState)
            socket.bind(v6 ? QHostAddress::AnyIPv6 : QHostAddress::AnyIPv4, 0);
        sent = socket.writeDatagram(query, target, port) == query.size() || sent;
    }
    if (!sent)
        throw ListNotAcquired();
    TWait().Run(play_.EnumWaitMs);
    return found;
}

#include "net/TcpTransport.h"

#include "net/SessionService.h"
#include "platform/Errors.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>
#include <memory>

using namespace SessionFraming;

TTcpTransport::TTcpTransport(const TSessionService& play,
                             std::function<QList<QByteArray>()> joinable)
    : play_(play), joinable_(std::move(joinable)) {}

TTcpTransport::~TTcpTransport() {
    Release();
}

void TTcpTransport::Find(TFindAnswer answer) {
    step_.Start();
    const quint16 port = EffectivePort();
    const QString host = play_.TCPIPSetting.HostName.trimmed();
    if (host.isEmpty())
        SearchNetwork(port, std::move(answer));
    else
        QueryHost(host, port, std::move(answer));
}

void TTcpTransport::Reach(const TFoundSession& session, TReachAnswer answer) {
    step_.Start();
    ConnectTo(session.Host, session.Port,
              [answer = std::move(answer)](QTcpSocket* socket, QAbstractSocket::SocketError) {
                  answer(socket);
              });
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
    return play_.TCPIPSetting.Port != 0 ? play_.TCPIPSetting.Port : TSessionService::DefaultPort;
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

void TTcpTransport::ConnectTo(const QString& host, quint16 port, TConnected connected) {
    auto* socket = new QTcpSocket(step_.Context());
    const auto answered = std::make_shared<bool>(false);
    const auto answer = step_.Guard([socket, answered, connected](bool up) {
        if (std::exchange(*answered, true))
            return;
        const QAbstractSocket::SocketError failure = socket->error();
        if (!up) {
            socket->abort();
            socket->deleteLater();
        } else {
            connect(socket, &QTcpSocket::disconnected, socket, &QIODevice::readChannelFinished);
        }
        connected(up ? socket : nullptr, failure);
    });
    connect(socket, &QTcpSocket::connected, socket, [answer] { answer(true); });
    connect(socket, &QTcpSocket::errorOccurred, socket, [answer] { answer(false); });
    QTimer::singleShot(play_.ConnectTimeoutMs, socket, [answer] { answer(false); });
    socket->connectToHost(host, port);
}

// A host that is there but serves nothing has no sessions; so one can be created there.
void TTcpTransport::QueryHost(const QString& host, quint16 port, TFindAnswer answer) {
    ConnectTo(host, port,
              [this, host, port, answer](QTcpSocket* socket, QAbstractSocket::SocketError failure) {
                  if (!socket)
                      return answer(failure == QAbstractSocket::ConnectionRefusedError
                                        ? TFindResult{}
                                        : TFindResult{{}, ListNotAcquiredText()});
                  QuerySessions(socket, play_.LinkTimings, play_.ConnectTimeoutMs, step_.Context(),
                                step_.Guard([answer, host, port](const auto& names) {
                                    if (!names)
                                        return answer({{}, ListNotAcquiredText()});
                                    TFindResult result;
                                    for (const QByteArray& name : *names)
                                        result.Sessions.append({name, host, port});
                                    answer(result);
                                }));
              });
}

void TTcpTransport::SearchNetwork(quint16 port, TFindAnswer answer) {
    auto* ipv4 = new QUdpSocket(step_.Context());
    auto* ipv6 = new QUdpSocket(step_.Context());
    const auto found = std::make_shared<QList<TFoundSession>>();
    const auto collect = [found, port](QUdpSocket* socket) {
        while (socket->hasPendingDatagrams()) {
            const QNetworkDatagram datagram = socket->receiveDatagram();
            const std::optional<TFrame> reply = DecodeDatagram(datagram.data());
            const std::optional<QList<QByteArray>> names =
                reply && reply->Type == TFrameType::SessionList ? DecodeSessionList(reply->Payload)
                                                                : std::nullopt;
            for (const QByteArray& name : names.value_or(QList<QByteArray>{}))
                if (std::none_of(found->begin(), found->end(),
                                 [&](const TFoundSession& s) { return s.Name == name; }))
                    found->append({name, datagram.senderAddress().toString(), port});
        }
    };
    for (QUdpSocket* socket : {ipv4, ipv6})
        connect(socket, &QUdpSocket::readyRead, socket, [collect, socket] { collect(socket); });
    const QByteArray query = EncodeFrame(TFrameType::SessionQuery, {});
    bool sent = false;
    for (const QHostAddress& target : play_.BroadcastTargets) {
        const bool v6 = target.protocol() == QAbstractSocket::IPv6Protocol;
        QUdpSocket* socket = v6 ? ipv6 : ipv4;
        if (socket->state() == QAbstractSocket::UnconnectedState)
            socket->bind(v6 ? QHostAddress::AnyIPv6 : QHostAddress::AnyIPv4, 0);
        sent = socket->writeDatagram(query, target, port) == query.size() || sent;
    }
    if (!sent)
        return step_.Later([answer] { answer({{}, ListNotAcquiredText()}); });
    // The sockets go with the step.
    QTimer::singleShot(play_.EnumWaitMs, step_.Context(), step_.Guard([this, found, answer] {
        step_.Stop();
        answer({*found, std::nullopt});
    }));
}

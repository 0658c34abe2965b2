#include "net/DXPlayUnit.h"

#include "platform/CodePage.h"
#include "platform/Errors.h"

#include <QEventLoop>
#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>

using namespace SessionFraming;

namespace {

constexpr quint32 FirstPlayerId = 1;

KordiError CannotOpen(const QByteArray& sessionName) {
    return KordiError(QString("Session %1 cannot be opened").arg(CodePage::ToUnicode(sessionName)));
}

KordiError ListNotAcquired() {
    return KordiError("Session list cannot be acquired");
}

// A nested event loop that ends when Finish is called or the time is up.
class TWait : public QEventLoop {
public:
    void Finish() {
        finished_ = true;
        quit();
    }
    // True when finished in time.
    bool Run(int timeoutMs) {
        if (!finished_) {
            QTimer::singleShot(timeoutMs, this, &QEventLoop::quit);
            exec();
        }
        return finished_;
    }

private:
    bool finished_ = false;
};

} // namespace

TDXPlay::TDXPlay(QObject* parent) : QObject(parent) {}

TDXPlay::~TDXPlay() {
    Close();
}

QList<TDXPlayProvider> TDXPlay::Providers() {
    return {{DPSPGUID_TCPIP, "TCP/IP"}};
}

void TDXPlay::SelectProvider(const QString& name) {
    Close();
    providerName_.clear();
    found_.clear();
    if (name.isEmpty())
        return;
    const QList<TDXPlayProvider> providers = Providers();
    if (std::none_of(providers.begin(), providers.end(),
                     [&](const TDXPlayProvider& p) { return p.Name == name; }))
        throw KordiError(QString("Provider '%1' not found").arg(name));
    providerName_ = name;
}

QList<QByteArray> TDXPlay::GetSessions() {
    if (providerName_.isEmpty())
        throw ListNotAcquired();
    found_.clear();
    const quint16 port = EffectivePort();
    const QString host = TCPIPSetting.HostName.trimmed();
    if (host.isEmpty()) {
        found_ = SearchNetwork(port);
    } else {
        const std::optional<QList<QByteArray>> names = QueryHost(host, port);
        if (!names)
            throw ListNotAcquired();
        for (const QByteArray& name : *names)
            found_.append({name, host, port});
    }
    QList<QByteArray> names;
    for (const TFoundSession& session : found_)
        names.append(session.Name);
    return names;
}

void TDXPlay::Open(TOpenMode mode, const QByteArray& sessionName, const QByteArray& playerName) {
    Close();
    if (sessionName.isEmpty())
        throw KordiError("Session name is not specified");
    if (playerName.isEmpty())
        throw KordiError("Player name is not specified");
    if (providerName_.isEmpty())
        throw CannotOpen(sessionName);
    if (mode == TOpenMode::Create)
        CreateSession(sessionName, playerName);
    else
        JoinSession(sessionName, playerName);
    emit OnAddPlayer(LocalPlayer());
}

void TDXPlay::Send(quint32 to, const QByteArray& data) {
    if (data.size() < 4 || data.size() > MaxPayload)
        throw KordiError("The message form is illegal");
    if (!opened_)
        return;
    if (to == localId_)
        emit OnMessage(this, LocalPlayer(), data);
    else if (peer_ && (to == AllPlayers || to == peerId_))
        peer_->SendMessage(data);
}

void TDXPlay::Close() {
    if (peer_)
        peer_->Leave();
    peer_ = nullptr;
    for (TPeerLink* link : findChildren<TPeerLink*>(Qt::FindDirectChildrenOnly)) {
        link->Drop();
        link->deleteLater();
    }
    StopHosting();
    opened_ = false;
    sessionName_.clear();
    players_.clear();
    localId_ = peerId_ = 0;
    port_ = 0;
}

TDXPlayPlayer TDXPlay::LocalPlayer() const {
    for (const TDXPlayPlayer& player : players_)
        if (player.Id == localId_)
            return player;
    return {};
}

quint16 TDXPlay::EffectivePort() const {
    return TCPIPSetting.Port != 0 ? TCPIPSetting.Port : DefaultPort;
}

void TDXPlay::CreateSession(const QByteArray& sessionName, const QByteArray& playerName) {
    const quint16 port = EffectivePort();
    if (!StartHosting(port).isEmpty())
        throw CannotOpen(sessionName);
    opened_ = true;
    sessionName_ = sessionName;
    port_ = port;
    localId_ = FirstPlayerId;
    players_ = {{localId_, playerName, false}};
}

void TDXPlay::JoinSession(const QByteArray& sessionName, const QByteArray& playerName) {
    const TFoundSession* found = FindSession(sessionName);
    if (!found)
        throw KordiError(QString("Session '%1' not found").arg(CodePage::ToUnicode(sessionName)));
    const TFoundSession session = *found;
    QTcpSocket* socket = ConnectTo(session.Host, session.Port);
    if (!socket)
        throw CannotOpen(sessionName);
    std::unique_ptr<TPeerLink> link(MakeLink(socket));
    std::optional<TWelcome> welcome;
    TWait wait;
    connect(link.get(), &TPeerLink::Welcomed, &wait, [&](const TWelcome& answer) {
        welcome = answer;
        wait.Finish();
    });
    connect(link.get(), &TPeerLink::Refused, &wait, &QEventLoop::quit);
    connect(link.get(), &TPeerLink::Lost, &wait, &QEventLoop::quit);
    connect(link.get(), &TPeerLink::Left, &wait, &QEventLoop::quit);
    link->Join({ProtocolVersion, session.Name, playerName});
    wait.Run(ConnectTimeoutMs);
    // The host comes first in the welcome; an id of ours that clashes is a broken welcome.
    const auto clashes = [&](const TWirePlayer& p) { return p.Id == welcome->YourId; };
    if (!welcome || welcome->Players.isEmpty() || welcome->YourId == AllPlayers ||
        std::any_of(welcome->Players.begin(), welcome->Players.end(), clashes))
        throw CannotOpen(sessionName);
    opened_ = true;
    sessionName_ = session.Name;
    port_ = session.Port;
    localId_ = welcome->YourId;
    players_.clear();
    for (const TWirePlayer& player : welcome->Players)
        players_.append({player.Id, player.Name, true});
    players_.append({localId_, playerName, false});
    AdoptPeer(link.get(), welcome->Players.first().Id);
    link.release()->Release();
}

const TDXPlay::TFoundSession* TDXPlay::FindSession(const QByteArray& name) const {
    for (const TFoundSession& session : found_)
        if (CodePage::CompareNoCase(session.Name, name) == 0)
            return &session;
    return nullptr;
}

void TDXPlay::AnswerHello(TPeerLink* link, const THello& hello) {
    const bool fits = hello.Version == ProtocolVersion && hello.SessionName == sessionName_ &&
                      !hello.PlayerName.isEmpty() && players_.size() < MaxPlayers;
    if (!fits) {
        link->Refuse();
        link->deleteLater();
        return;
    }
    const TDXPlayPlayer joiner{NextPlayerId(), hello.PlayerName, true};
    link->Accept({joiner.Id, WirePlayers()});
    players_.append(joiner);
    AdoptPeer(link, joiner.Id);
    emit OnAddPlayer(joiner);
}

void TDXPlay::AdoptPeer(TPeerLink* link, quint32 peerId) {
    peer_ = link;
    peerId_ = peerId;
    connect(link, &TPeerLink::MessageReceived, this, [this, link](const QByteArray& data) {
        if (link != peer_ || data.size() < 4)
            return;
        for (const TDXPlayPlayer& player : players_)
            if (player.Id == peerId_)
                return void(emit OnMessage(this, player, data));
    });
    connect(link, &TPeerLink::Left, this, [this, link] {
        if (link == peer_)
            PeerGone(false);
    });
    connect(link, &TPeerLink::Lost, this, [this, link] {
        if (link == peer_)
            PeerGone(true);
    });
}

void TDXPlay::PeerGone(bool lost) {
    peer_->deleteLater();
    peer_ = nullptr;
    const auto gone = std::find_if(players_.begin(), players_.end(),
                                   [this](const TDXPlayPlayer& p) { return p.Id == peerId_; });
    if (gone == players_.end())
        return;
    const TDXPlayPlayer player = *gone;
    players_.erase(gone);
    peerId_ = 0;
    // The handlers may close the session or release this object.
    const QPointer<TDXPlay> alive(this);
    emit OnDeletePlayer(player);
    if (lost && alive && opened_)
        emit OnSessionLost();
    if (alive && opened_ && !IsHost())
        TakeOver();
}

void TDXPlay::TakeOver() {
    const QString failure = StartHosting(port_);
    if (!failure.isEmpty())
        emit OnHostMigrationFailed(
            QString("The session cannot be taken over on port %1: %2").arg(port_).arg(failure));
}

QList<QByteArray> TDXPlay::JoinableSessions() const {
    if (players_.size() < MaxPlayers)
        return {sessionName_};
    return {};
}

QList<TWirePlayer> TDXPlay::WirePlayers() const {
    QList<TWirePlayer> wire;
    for (const TDXPlayPlayer& player : players_)
        wire.append({player.Id, player.Name});
    return wire;
}

quint32 TDXPlay::NextPlayerId() const {
    quint32 highest = 0;
    for (const TDXPlayPlayer& player : players_)
        highest = std::max(highest, player.Id);
    return highest + 1;
}

QString TDXPlay::StartHosting(quint16 port) {
    auto* server = new QTcpServer(this);
    // Any is dual-stack: IPv4 and IPv6 joiners alike.
    if (!server->listen(QHostAddress::Any, port)) {
        const QString reason = server->errorString();
        delete server;
        return reason;
    }
    server_ = server;
    connect(server_, &QTcpServer::newConnection, this, &TDXPlay::AcceptConnections);
    // Without the datagram answerer the session is still found by its host name.
    responder_ = new QUdpSocket(this);
    if (responder_->bind(QHostAddress::Any, port))
        connect(responder_, &QUdpSocket::readyRead, this, &TDXPlay::AnswerDatagrams);
    return {};
}

void TDXPlay::StopHosting() {
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

void TDXPlay::AcceptConnections() {
    while (QTcpSocket* socket = server_->nextPendingConnection()) {
        TPeerLink* link = MakeLink(socket);
        connect(link, &TPeerLink::HelloReceived, this,
                [this, link](const THello& hello) { AnswerHello(link, hello); });
        connect(link, &TPeerLink::QueryReceived, this,
                [this, link] { link->AnswerQuery(JoinableSessions()); });
        // Every link that is not, or no longer, the peer goes once it closes.
        for (auto ended : {&TPeerLink::QueryReceived, &TPeerLink::Left, &TPeerLink::Lost})
            connect(link, ended, link, &QObject::deleteLater);
    }
}

void TDXPlay::AnswerDatagrams() {
    while (responder_ && responder_->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = responder_->receiveDatagram();
        const std::optional<TFrame> query = DecodeDatagram(datagram.data());
        const QList<QByteArray> names = JoinableSessions();
        if (query && query->Type == TFrameType::SessionQuery && query->Payload.isEmpty() &&
            !names.isEmpty())
            responder_->writeDatagram(
                datagram.makeReply(EncodeFrame(TFrameType::SessionList, EncodeSessionList(names))));
    }
}

QTcpSocket* TDXPlay::ConnectTo(const QString& host, quint16 port,
                               QAbstractSocket::SocketError* failure) {
    auto* socket = new QTcpSocket(this);
    TWait wait;
    connect(socket, &QTcpSocket::connected, &wait, &TWait::Finish);
    connect(socket, &QTcpSocket::errorOccurred, &wait, &QEventLoop::quit);
    socket->connectToHost(host, port);
    if (wait.Run(ConnectTimeoutMs))
        return socket;
    if (failure)
        *failure = socket->error();
    delete socket;
    return nullptr;
}

TPeerLink* TDXPlay::MakeLink(QTcpSocket* socket) {
    auto* link = new TPeerLink(socket, LinkTimings, this);
    connect(socket, &QTcpSocket::disconnected, link, &TPeerLink::StreamEnded);
    return link;
}

std::optional<QList<QByteArray>> TDXPlay::QueryHost(const QString& host, quint16 port) {
    QAbstractSocket::SocketError failure = QAbstractSocket::UnknownSocketError;
    QTcpSocket* socket = ConnectTo(host, port, &failure);
    // A host that is there but serves nothing has no sessions; so one can be created there.
    if (!socket && failure == QAbstractSocket::ConnectionRefusedError)
        return QList<QByteArray>{};
    if (!socket)
        return std::nullopt;
    const std::unique_ptr<TPeerLink> link(MakeLink(socket));
    std::optional<QList<QByteArray>> names;
    TWait wait;
    connect(link.get(), &TPeerLink::SessionsReceived, &wait, [&](const QList<QByteArray>& list) {
        names = list;
        wait.Finish();
    });
    connect(link.get(), &TPeerLink::Lost, &wait, &QEventLoop::quit);
    connect(link.get(), &TPeerLink::Left, &wait, &QEventLoop::quit);
    link->Query();
    wait.Run(ConnectTimeoutMs);
    return names;
}

QList<TDXPlay::TFoundSession> TDXPlay::SearchNetwork(quint16 port) {
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
    for (const QHostAddress& target : BroadcastTargets) {
        const bool v6 = target.protocol() == QAbstractSocket::IPv6Protocol;
        QUdpSocket& socket = v6 ? ipv6 : ipv4;
        if (socket.state() == QAbstractSocket::UnconnectedState)
            socket.bind(v6 ? QHostAddress::AnyIPv6 : QHostAddress::AnyIPv4, 0);
        sent = socket.writeDatagram(query, target, port) == query.size() || sent;
    }
    if (!sent)
        throw ListNotAcquired();
    TWait().Run(EnumWaitMs);
    return found;
}

#pragma once
// The session messaging service: copies of the game meet in a named session of at most two
// players and exchange messages, each delivered once, in order and exactly as sent. Sessions
// run over a provider; TCP/IP is the one provider so far. All work happens on the window
// thread; waits (enumeration, joining) run a nested event loop.

#include "net/SessionFraming.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;

// Provider identifiers; the game tells the providers' settings pages apart by them.
inline const QUuid DPSPGUID_TCPIP{"{36e95ee0-8577-11cf-960c-0080c7534e82}"};
inline const QUuid DPSPGUID_MODEM{"{44eaa760-cb68-11cf-9c4e-00a0c905425e}"};

struct TDXPlayProvider {
    QUuid Guid;
    QString Name;
};

struct TDXPlayPlayer {
    quint32 Id = 0;
    QByteArray Name; // code-page text
    bool Remote = false;
};
Q_DECLARE_METATYPE(TDXPlayPlayer)

struct TTCPIPSetting {
    QString HostName; // a name, an IPv4 or an IPv6 address; empty: search the local network
    quint16 Port = 0; // 0: DefaultPort
    bool Enabled = false;
};

enum class TOpenMode { Create, Join };

class TDXPlay : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxPlayers = 2;
    static constexpr quint16 DefaultPort = 47624;
    static constexpr quint32 AllPlayers = 0; // the player id that addresses everyone else

    explicit TDXPlay(QObject* parent = nullptr);
    // Leaves an open session. While one of its events is being handled, release the
    // service with deleteLater.
    ~TDXPlay() override;

    TTCPIPSetting TCPIPSetting;
    SessionFraming::TLinkTimings LinkTimings;
    int EnumWaitMs = 1000;       // how long a network search collects answers
    int ConnectTimeoutMs = 5000; // connecting, querying a host, and a join's handshake
    // Where a search with an empty host name sends its query.
    QList<QHostAddress> BroadcastTargets{QHostAddress(QHostAddress::Broadcast)};

    static QList<TDXPlayProvider> Providers();
    // Closes any open session; an empty name selects no provider.
    void SelectProvider(const QString& name);
    QString ProviderName() const { return providerName_; }

    // The names of the sessions open to a join; remembered for Open with TOpenMode::Join.
    QList<QByteArray> GetSessions();

    // Creates a session of that name, or joins one found by the last GetSessions (its name
    // compared without regard to case). Raises OnAddPlayer for the local player.
    void Open(TOpenMode mode, const QByteArray& sessionName, const QByteArray& playerName);

    // To AllPlayers (everyone but this side), to the peer's id, or to the local player, whose
    // OnMessage runs before Send returns. Without an open session nothing happens.
    void Send(quint32 to, const QByteArray& data);

    // Leaves the session (the peer sees this side leave) and stops listening.
    void Close();

    bool Opened() const { return opened_; }
    bool IsHost() const { return server_ != nullptr; }
    QByteArray SessionName() const { return sessionName_; }
    const QList<TDXPlayPlayer>& Players() const { return players_; }
    // The local player; an empty one without an open session.
    TDXPlayPlayer LocalPlayer() const;

signals:
    void OnMessage(TDXPlay* sender, const TDXPlayPlayer& player, const QByteArray& data);
    void OnAddPlayer(const TDXPlayPlayer& player);
    void OnDeletePlayer(const TDXPlayPlayer& player);
    // The peer's connection died without a goodbye; OnDeletePlayer has been raised for it
    // and the session stays open for a new peer.
    void OnSessionLost();
    // The host is gone and this side could not take the session over; it stays in the
    // session alone without accepting joins. The text says why.
    void OnHostMigrationFailed(const QString& text);

private:
    struct TFoundSession {
        QByteArray Name;
        QString Host;
        quint16 Port;
    };

    quint16 EffectivePort() const;
    void CreateSession(const QByteArray& sessionName, const QByteArray& playerName);
    void JoinSession(const QByteArray& sessionName, const QByteArray& playerName);
    const TFoundSession* FindSession(const QByteArray& name) const;
    void AnswerHello(SessionFraming::TPeerLink* link, const SessionFraming::THello& hello);
    void AdoptPeer(SessionFraming::TPeerLink* link, quint32 peerId);
    void PeerGone(bool lost);
    void TakeOver();
    QList<QByteArray> JoinableSessions() const;
    QList<SessionFraming::TWirePlayer> WirePlayers() const;
    quint32 NextPlayerId() const;

    // The TCP/IP provider: sockets, listening and the datagram search.
    QString StartHosting(quint16 port);
    void StopHosting();
    void AcceptConnections();
    void AnswerDatagrams();
    // The connected socket, or null with the reason in `failure`.
    QTcpSocket* ConnectTo(const QString& host, quint16 port,
                          QAbstractSocket::SocketError* failure = nullptr);
    SessionFraming::TPeerLink* MakeLink(QTcpSocket* socket);
    std::optional<QList<QByteArray>> QueryHost(const QString& host, quint16 port);
    QList<TFoundSession> SearchNetwork(quint16 port);

    QString providerName_;
    QList<TFoundSession> found_;
    bool opened_ = false;
    QByteArray sessionName_;
    quint16 port_ = 0;
    quint32 localId_ = 0;
    quint32 peerId_ = 0;
    QList<TDXPlayPlayer> players_;
    QPointer<SessionFraming::TPeerLink> peer_;
    QTcpServer* server_ = nullptr;
    QUdpSocket* responder_ = nullptr;
};

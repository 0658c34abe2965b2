#pragma once
// The session messaging service: copies of the game meet in a named session of at most two
// players and exchange messages, each delivered once, in order and exactly as sent. Sessions
// run over a provider: TCP/IP, a modem line or a serial cable, all with the same protocol.
// All work happens on the window thread. What waits for the network or a device (the search,
// the join, the modem's answers, the serial cable's question) is started by a call and
// answers through a signal from the event loop.

#include "net/SessionFraming.h"
#include "net/SessionTransport.h"

#include <QByteArray>
#include <QHostAddress>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>

// Provider identifiers; the game tells the providers' settings pages apart by them.
inline const QUuid DPSPGUID_TCPIP{"{36e95ee0-8577-11cf-960c-0080c7534e82}"};
inline const QUuid DPSPGUID_MODEM{"{44eaa760-cb68-11cf-9c4e-00a0c905425e}"};
inline const QUuid DPSPGUID_SERIAL{"{0f1d6860-88d9-11cf-9c4e-00a0c905425e}"};

struct TSessionProvider {
    QUuid Guid;
    QString Name;
};

struct TSessionPlayer {
    quint32 Id = 0;
    QByteArray Name; // code-page text
    bool Remote = false;
};
Q_DECLARE_METATYPE(TSessionPlayer)

struct TTCPIPSetting {
    QString HostName; // a name, an IPv4 or an IPv6 address; empty: search the local network
    quint16 Port = 0; // 0: DefaultPort
    bool Enabled = false;
};

struct TModemSetting {
    QString PhoneNumber; // empty: this side waits for a call; else Go dials it
    QString ModemName;   // an entry of Modems(), or a serial port's name or path
    bool Enabled = false;
};

// Hayes modem waits, in ms.
struct TModemTimings {
    int Command = 3000;    // a command's answer
    int Dial = 60000;      // from dialling to CONNECT
    int Guard = 1000;      // silence around the "+++" escape
    int CarrierPoll = 500; // checks of the carrier detect line, where the port reports it
};

struct TSerialCableSetting {
    QString PortName;
    qint32 BaudRate = 115200;
};
// The answer to the serial cable's question; nothing when the player cancels.
using TCableAnswer = std::function<void(const std::optional<TSerialCableSetting>& setting)>;

// This side could not serve its session: a modem that would not arm for the first call, or
// serving again after the peer had gone.
struct THostFailure {
    bool TakeOver = false; // a joiner taking the session over; else its host serving it again
    QString Place;         // where it was to be served: "port 47624", "modem ttyS0"
    QString Reason;        // the system's or the device's own words
};
Q_DECLARE_METATYPE(THostFailure)

class TSessionService : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxPlayers = 2;
    static constexpr quint16 DefaultPort = 47624;
    static constexpr quint32 AllPlayers = 0; // the player id that addresses everyone else
    static constexpr int ServeTries = 10;
    static constexpr int ServeRetryMs = 200;
    // Connections not yet joined (a would-be joiner's, a query's) that a host keeps at once.
    static constexpr int MaxPendingConnections = 8;

    explicit TSessionService(QObject* parent = nullptr);
    // Leaves an open session. While one of its events is being handled, release the
    // service with deleteLater.
    ~TSessionService() override;

    TTCPIPSetting TCPIPSetting;
    TModemSetting ModemSetting;
    TModemTimings ModemTimings;
    // Asks for the serial cable's port and speed and answers later. The cable's own dialog,
    // offering no choice made before, unless replaced.
    std::function<void(TCableAnswer answer)> AskSerialCable;
    SessionFraming::TLinkTimings LinkTimings;
    int EnumWaitMs = 1000;          // how long a network search collects answers
    int ConnectTimeoutMs = 5000;    // connecting, querying a host, and a join's handshake
    int HandshakeTimeoutMs = 10000; // how long a host keeps a connection that does not join
    // Where a search with an empty host name sends its query.
    QList<QHostAddress> BroadcastTargets{QHostAddress(QHostAddress::Broadcast)};

    static QList<TSessionProvider> Providers();
    // The modems to choose from: the machine's serial ports, by description and port name.
    static QStringList Modems();
    // Refuses a modem setting that cannot be used, with the text the player sees.
    static void CheckModemSetting(const TModemSetting& setting);
    // Closes any open session; an empty name selects no provider.
    void SelectProvider(const QString& name);
    QString ProviderName() const { return providerName_; }

    // Starts a search for the sessions open to a join: SessionsFound or SearchFailed answers,
    // never inside the call. The names are remembered for Join. A modem with a telephone
    // number dials it and keeps the line for the join; a serial cable first asks for its port.
    // A new search, a join, Close, SelectProvider or the end of this object stops it quietly.
    void SearchSessions();
    // Creates a session of that name at once. Raises OnAddPlayer for the local player.
    void Create(const QByteArray& sessionName, const QByteArray& playerName);
    // Starts joining a session found by the last search (its name compared without regard
    // to case): OnAddPlayer for the local player and Joined, or JoinFailed, answer, never
    // inside the call. Stopped quietly as a search is.
    void Join(const QByteArray& sessionName, const QByteArray& playerName);
    // A search or a join is running.
    bool Busy() const { return step_.Running(); }

    // While held, the peer's messages (and its leaving) wait, in order, until released; the
    // link stays up meanwhile, and a peer that sends more than the link holds is lost.
    void HoldMessages();
    void ReleaseMessages();
    bool Holding() const { return holding_; }

    // To AllPlayers (everyone but this side), to the peer's id, or to the local player, whose
    // OnMessage runs before Send returns, held or not. Without an open session nothing
    // happens.
    void Send(quint32 to, const QByteArray& data);

    // Stops a search or a join, leaves the session (the peer sees this side leave), stops
    // listening, hangs up a modem and lets go of the serial port.
    void Close();

    bool Opened() const { return opened_; }
    bool IsHost() const;
    QByteArray SessionName() const { return sessionName_; }
    const QList<TSessionPlayer>& Players() const { return players_; }
    // The local player; an empty one without an open session.
    TSessionPlayer LocalPlayer() const;

signals:
    void SessionsFound(const QList<QByteArray>& names);
    // The text the player sees; an empty text: the player cancelled, and nothing is shown.
    void SearchFailed(const QString& text);
    void Joined();
    void JoinFailed(const QString& text);

    // The player records handed to handlers are copies: they stay valid when a handler
    // closes the session.
    void OnMessage(TSessionService* sender, const TSessionPlayer& player, const QByteArray& data);
    void OnAddPlayer(const TSessionPlayer& player);
    void OnDeletePlayer(const TSessionPlayer& player);
    // The peer's connection died without a goodbye; OnDeletePlayer has been raised for it
    // and the session stays open for a new peer.
    void OnSessionLost();
    // This side could not serve the session (take it over, wait for the next call, or arm a
    // modem for the first); it stays in the session alone.
    void OnHostMigrationFailed(const THostFailure& failure);

private:
    void StopSteps();
    void Found(const TFindResult& result);
    const TFoundSession* FindSession(const QByteArray& name) const;
    const TSessionPlayer* FindPlayer(quint32 id) const;
    void Reached(QIODevice* stream, const TFoundSession& session, const QByteArray& playerName);
    void Welcomed(SessionFraming::TPeerLink* link, const SessionFraming::TWelcome& welcome,
                  const TFoundSession& session, const QByteArray& playerName);
    void FailJoin(const QString& text);
    int PendingConnections() const;
    void Accept(QIODevice* stream);
    void AnswerHello(SessionFraming::TPeerLink* link, const SessionFraming::THello& hello);
    void AdoptPeer(SessionFraming::TPeerLink* link, quint32 peerId);
    void PeerGone(bool lost);
    void ServeAgain(int triesLeft = ServeTries);
    void ServeFailed(const QString& reason);
    QList<QByteArray> JoinableSessions() const;
    QList<SessionFraming::TWirePlayer> WirePlayers() const;
    quint32 NextPlayerId() const;

    QString providerName_;
    std::unique_ptr<TSessionTransport> transport_;
    QList<TFoundSession> found_;
    bool opened_ = false;
    QByteArray sessionName_;
    TFoundSession joined_;
    quint32 localId_ = 0;
    quint32 peerId_ = 0;
    QList<TSessionPlayer> players_;
    QPointer<SessionFraming::TPeerLink> peer_;
    TStep step_{this}; // the running search or join
    bool holding_ = false;
    bool takingOver_ = false;
};

#pragma once
// The session messaging service: copies of the game meet in a named session of at most two
// players and exchange messages, each delivered once, in order and exactly as sent. Sessions
// run over a provider: TCP/IP, a modem line or a serial cable, all with the same protocol.
// All work happens on the window thread; waits (enumeration, joining, the modem's answers)
// run a nested event loop.

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
    TModemSetting ModemSetting;
    TModemTimings ModemTimings;
    // Asks for the serial cable's port and speed; nothing when the player cancels. The
    // cable's own dialog unless replaced.
    std::function<std::optional<TSerialCableSetting>()> AskSerialCable;
    SessionFraming::TLinkTimings LinkTimings;
    int EnumWaitMs = 1000;       // how long a network search collects answers
    int ConnectTimeoutMs = 5000; // connecting, querying a host, and a join's handshake
    // Where a search with an empty host name sends its query.
    QList<QHostAddress> BroadcastTargets{QHostAddress(QHostAddress::Broadcast)};

    static QList<TDXPlayProvider> Providers();
    // The modems to choose from: the machine's serial ports, by description and port name.
    static QStringList Modems();
    // Refuses a modem setting that cannot be used, with the text the player sees.
    static void CheckModemSetting(const TModemSetting& setting);
    // Closes any open session; an empty name selects no provider.
    void SelectProvider(const QString& name);
    QString ProviderName() const { return providerName_; }

    // The names of the sessions open to a join; remembered for Open with TOpenMode::Join.
    // A modem with a telephone number dials it and keeps the line for the join; a serial
    // cable first asks for its port (cancelling raises Cancelled).
    QList<QByteArray> GetSessions();

    // Creates a session of that name, or joins one found by the last GetSessions (its name
    // compared without regard to case). Raises OnAddPlayer for the local player.
    void Open(TOpenMode mode, const QByteArray& sessionName, const QByteArray& playerName);

    // To AllPlayers (everyone but this side), to the peer's id, or to the local player, whose
    // OnMessage runs before Send returns. Without an open session nothing happens.
    void Send(quint32 to, const QByteArray& data);

    // Leaves the session (the peer sees this side leave), stops listening, hangs up a modem
    // and lets go of the serial port.
    void Close();

    bool Opened() const { return opened_; }
    bool IsHost() const;
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
    // The peer is gone and this side could not go on serving the session (take it over,
    // or wait for the next call); it stays in the session alone. The text says why.
    void OnHostMigrationFailed(const QString& text);

private:
    void CreateSession(const QByteArray& sessionName, const QByteArray& playerName);
    void JoinSession(const QByteArray& sessionName, const QByteArray& playerName);
    const TFoundSession* FindSession(const QByteArray& name) const;
    void Accept(QIODevice* stream);
    void AnswerHello(SessionFraming::TPeerLink* link, const SessionFraming::THello& hello);
    void AdoptPeer(SessionFraming::TPeerLink* link, quint32 peerId);
    void PeerGone(bool lost);
    void ServeAgain();
    QList<QByteArray> JoinableSessions() const;
    QList<SessionFraming::TWirePlayer> WirePlayers() const;
    quint32 NextPlayerId() const;
    SessionFraming::TPeerLink* MakeLink(QIODevice* stream);

    QString providerName_;
    std::unique_ptr<TSessionTransport> transport_;
    QList<TFoundSession> found_;
    bool opened_ = false;
    QByteArray sessionName_;
    TFoundSession joined_;
    quint32 localId_ = 0;
    quint32 peerId_ = 0;
    QList<TDXPlayPlayer> players_;
    QPointer<SessionFraming::TPeerLink> peer_;
};

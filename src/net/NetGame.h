#pragma once
// The game's side of network play: this side's moves go to the peer as records, and the
// peer's records and the session's join and leave events reach the game in the order they
// came, each only once the game is idle, so none lands in the middle of a step.

#include "game/Game.h"
#include "net/NetRecords.h"
#include "net/SessionService.h"

#include <QObject>
#include <deque>
#include <functional>

class IMessages;
class TTexts;

// What the network game asks of the program around it: the session, and the windows that
// show what happens in it.
class INetGameHost {
public:
    virtual ~INetGameHost() = default;
    // The open session, or none.
    virtual TSessionService* Session() const = 0;
    virtual void AddChatLine(const QByteArray& line) = 0;
    virtual void PlaySound(TSound sound) = 0;
    // The peer's name is shown and the computer's face hidden; an empty name the other way.
    virtual void ShowPeer(const QByteArray& name) = 0;
    // Switches to the language without starting a game; raises when it cannot.
    virtual void FollowLanguage(int language) = 0;
    // Leaves the session for a new game against the computer, as Disconnect does.
    virtual void LeaveSession() = 0;
    virtual void ShowNetState() = 0;
};

class TNetGame : public QObject {
    Q_OBJECT
public:
    // The notices in the chat log are in the language of `texts`; a refused record is told
    // through `messages`.
    TNetGame(TGame& game, INetGameHost& host, const TTexts& texts, IMessages& messages,
             QObject* parent = nullptr);

    // Sends a record to the peer and hands the local copy to Receive before returning.
    // Without a session nothing is sent.
    void Send(quint32 kind, const QByteArray& text, qint32 param1 = 0, qint32 param2 = 0,
              qint32 param3 = 0, qint32 param4 = 0, qint32 param5 = 0);
    // 0 no session, 1 a session without a peer, 2 a peer present.
    int State() const { return state_; }
    // The peer's name while a peer is present; empty otherwise.
    QByteArray PeerName() const;
    // Sets the state and what follows from it: the game's opponent and the caption's icon.
    void SetNetState(int state);

    void Receive(const TSessionPlayer& player, const QByteArray& data);
    void PlayerAdded(const TSessionPlayer& player);
    void PlayerDeleted(const TSessionPlayer& player);
    // What has not been handled yet belongs to a session that is gone.
    void Forget();

private:
    void Queue(std::function<void()> event);
    void Pump();
    void HoldWhileWaiting();
    void ReceiveChat(const TSessionPlayer& player, const TNetMessage& message);
    void ReceiveNewGame(const TSessionPlayer& player, const TNetMessage& message);
    void ReceiveMove(const TNetMessage& message);
    void StartPeersGame(const TNetMessage& message);
    void SendMove(const TPlayedMove& move);
    void SendOpenedGame(const QByteArray& startWord);
    // A record this side cannot follow: the player is told, and the session is left, so
    // neither side waits for a move that will never come. `why` adds an error's own text.
    void GiveUp(const QString& why = {});
    // Sends a chat notice: the text of `key` in brackets.
    void SendNotice(QByteArrayView key);

    TGame& game_;
    INetGameHost& host_;
    const TTexts& texts_;
    IMessages& messages_;
    std::deque<std::function<void()>> inbox_;
    int state_ = 0;
    bool pumping_ = false;
    // This side opened the current game and nothing has been played in it yet: a new game
    // of the peer's may have crossed ours.
    bool ownGameFresh_ = false;
};

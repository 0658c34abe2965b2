#pragma once
// The game's side of network play: this side's moves go to the peer as records, and the
// peer's records and the session's join and leave events reach the game in the order they
// came, each only once the game is idle, so none lands in the middle of a step.

#include "net/SessionService.h"
#include "net/NetRecords.h"

#include <QObject>
#include <deque>
#include <functional>

class TMainWindow;
struct TPlayedMove;

// Sends a record to the peer and hands the local copy to DXPlayMessage before returning.
// Without a session nothing is sent.
void SendNetMessage(quint32 kind, const QByteArray& text, qint32 param1 = 0, qint32 param2 = 0,
                    qint32 param3 = 0, qint32 param4 = 0, qint32 param5 = 0);
// Sends a chat notice: the text of `key` in brackets.
void SendNotice(QByteArrayView key);

class TNetGame : public QObject {
    Q_OBJECT
public:
    explicit TNetGame(TMainWindow& main);

    void Receive(const TDXPlayPlayer& player, const QByteArray& data);
    void PlayerAdded(const TDXPlayPlayer& player);
    void PlayerDeleted(const TDXPlayPlayer& player);
    // What has not been handled yet belongs to a session that is gone.
    void Forget();
    bool Pending() const { return !inbox_.empty(); }

private:
    void Queue(std::function<void()> event);
    void Pump();
    void HoldWhileWaiting();
    void ReceiveChat(const TDXPlayPlayer& player, const TNetMessage& message);
    void ReceiveNewGame(const TDXPlayPlayer& player, const TNetMessage& message);
    void ReceiveMove(const TNetMessage& message);
    void StartPeersGame(const TNetMessage& message);
    void SendMove(const TPlayedMove& move);
    void SendOpenedGame(const QByteArray& startWord);
    // A record this side cannot follow: the player is told, and the session is left, so
    // neither side waits for a move that will never come. `why` adds an error's own text.
    void GiveUp(const QString& why = {});

    TMainWindow& main_;
    std::deque<std::function<void()>> inbox_;
    bool pumping_ = false;
    bool holding_ = false;
    // This side opened the current game and nothing has been played in it yet: a new game
    // of the peer's may have crossed ours.
    bool ownGameFresh_ = false;
};

// The session's events, forwarded to the main window's network game.
void DXPlayMessage(TDXPlay* sender, const TDXPlayPlayer& player, const QByteArray& data);
void DXPlayAddPlayer(const TDXPlayPlayer& player);
void DXPlayDeletePlayer(const TDXPlayPlayer& player);

// Sets NetState and what follows from it: the game's opponent and the caption's icon.
void SetNetState(int state);
// The main window's caption and menu bar follow NetState.
void RepaintNetState();
// The computer's face and strength are shown for a game against the computer and hidden
// while a peer is present.
void ShowComputerOpponent(bool shown);

#include "net/NetGame.h"

#include "dictionary/Dictionary.h"
#include "platform/Messages.h"
#include "settings/Settings.h"

#include <QScopeGuard>
#include <algorithm>

namespace {

QByteArray Bracketed(const TTexts& texts, QByteArrayView key) {
    return "[" + texts.GetText(key) + "]";
}

// The traced cells travel in board order: column 1..5 outer, row 1..5 inner.
QList<QPoint> BoardOrder(QList<QPoint> cells) {
    std::sort(cells.begin(), cells.end(),
              [](QPoint a, QPoint b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
    return cells;
}

} // namespace

void TNetGame::Send(quint32 kind, const QByteArray& text, qint32 param1, qint32 param2,
                    qint32 param3, qint32 param4, qint32 param5) {
    TSessionService* play = host_.Session();
    if (state_ == 0 || !play)
        return;
    const QByteArray data = EncodeNetMessage({kind, text, param1, param2, param3, param4, param5});
    play->Send(TSessionService::AllPlayers, data);
    play->Send(play->LocalPlayer().Id, data);
}

void TNetGame::SendNotice(QByteArrayView key) {
    Send(nmChat, Bracketed(texts_, key));
}

QByteArray TNetGame::PeerName() const {
    QByteArray peer;
    if (state_ == 2 && host_.Session())
        for (const TSessionPlayer& player : host_.Session()->Players())
            if (player.Remote)
                peer = player.Name;
    return peer;
}

void TNetGame::SetNetState(int state) {
    state_ = state;
    game_.SetOpponent(state == 2 ? TOpponent::Peer : TOpponent::Computer);
    host_.ShowNetState();
}

TNetGame::TNetGame(TGame& game, INetGameHost& host, const TTexts& texts, IMessages& messages,
                   QObject* parent)
    : QObject(parent), game_(game), host_(host), texts_(texts), messages_(messages) {
    connect(&game, &TGame::Changed, this, &TNetGame::Pump);
    connect(&game, &TGame::GameOpened, this, &TNetGame::SendOpenedGame);
    connect(&game, &TGame::MoveMade, this, &TNetGame::SendMove);
    connect(&game, &TGame::TurnPassed, this, [this] {
        ownGameFresh_ = false;
        SendNotice("Net_SkipMove");
        Send(nmMove, {}, 0, 0, 0, 1);
    });
    connect(&game, &TGame::AdviceTaken, this, [this] { SendNotice("Net_Advice"); });
    connect(&game, &TGame::PeerGameEnded, this, [this](int outcome) {
        SendNotice(outcome > 0 ? "Net_Winner" : outcome < 0 ? "Net_Loser" : "Net_Equal");
    });
}

void TNetGame::SendOpenedGame(const QByteArray& startWord) {
    ownGameFresh_ = true;
    Send(nmNewGame, startWord, game_.Dictionary().Language);
}

void TNetGame::SendMove(const TPlayedMove& move) {
    ownGameFresh_ = false;
    const QByteArray text = EncodeMoveText({move.Word, BoardOrder(move.Path)});
    Send(nmMove, text, move.Cell.x(), move.Cell.y(), static_cast<uchar>(move.Letter));
}

// The player is copied into the queue: the session's own list may be gone by the time the
// record is handled.
void TNetGame::Receive(const TSessionPlayer& player, const QByteArray& data) {
    Queue([this, player, data] {
        const std::optional<TNetMessage> message = DecodeNetMessage(data);
        if (!message)
            return GiveUp();
        switch (message->Kind) {
        case nmChat:
            return ReceiveChat(player, *message);
        case nmNewGame:
            return ReceiveNewGame(player, *message);
        case nmMove:
            if (player.Remote)
                ReceiveMove(*message);
            return;
        default:
            return; // a kind of record this side does not know
        }
    });
}

void TNetGame::PlayerAdded(const TSessionPlayer& player) {
    if (!player.Remote)
        return;
    Queue([this, player] {
        if (state_ != 1)
            return;
        host_.PlaySound(TSound::Send);
        SetNetState(2); // before the chat line, whose window caption names the peer
        host_.AddChatLine(player.Name + " > " + Bracketed(texts_, "Net_in"));
        host_.ShowPeer(player.Name);
    });
}

void TNetGame::PlayerDeleted(const TSessionPlayer& player) {
    Queue([this, player] {
        if (state_ != 2)
            return;
        host_.PlaySound(TSound::Send);
        SetNetState(1);
        host_.AddChatLine(player.Name + " > " + Bracketed(texts_, "Net_out"));
        host_.ShowPeer({});
        game_.StartGame(true);
    });
}

void TNetGame::Forget() {
    inbox_.clear();
    ownGameFresh_ = false;
}

void TNetGame::Queue(std::function<void()> event) {
    inbox_.push_back(std::move(event));
    Pump();
}

// One event at a time, and only while the game runs no step and asks no question.
void TNetGame::Pump() {
    if (pumping_)
        return;
    {
        pumping_ = true;
        const auto done = qScopeGuard([this] { pumping_ = false; });
        while (!inbox_.empty() && !game_.Busy()) {
            const std::function<void()> event = std::move(inbox_.front());
            inbox_.pop_front();
            event();
        }
    }
    HoldWhileWaiting();
}

// While an event waits, the session holds the peer's next records (and drops a peer that
// floods it), so a peer cannot grow this side's memory.
void TNetGame::HoldWhileWaiting() {
    TSessionService* play = host_.Session();
    const bool hold = !inbox_.empty();
    if (!play || hold == play->Holding())
        return;
    if (hold)
        play->HoldMessages();
    else
        play->ReleaseMessages();
}

void TNetGame::ReceiveChat(const TSessionPlayer& player, const TNetMessage& message) {
    if (player.Remote)
        host_.PlaySound(TSound::Send);
    host_.AddChatLine(player.Name + " > " + message.Text);
}

void TNetGame::ReceiveNewGame(const TSessionPlayer& player, const TNetMessage& message) {
    if (player.Remote) {
        if (!IsStartRecord(message))
            return GiveUp();
        host_.PlaySound(TSound::Send);
        StartPeersGame(message);
    }
    host_.AddChatLine(player.Name + " > [" + texts_.GetText("Menu_NewGame") + " : " + message.Text +
                      "]");
}

// When both sides opened a game at once, the host's game is the one both play: the host
// keeps its own and sends it again, the joiner takes it.
void TNetGame::StartPeersGame(const TNetMessage& message) {
    if (ownGameFresh_ && host_.Session() && host_.Session()->IsHost()) {
        SendOpenedGame(game_.Board().StartWord());
        return;
    }
    ownGameFresh_ = false;
    if (message.Param1 != game_.Dictionary().Language) {
        try {
            host_.FollowLanguage(message.Param1);
        } catch (const std::exception& error) {
            return GiveUp(QString::fromUtf8(error.what()));
        }
    }
    game_.StartGame(false, message.Text);
}

void TNetGame::ReceiveMove(const TNetMessage& message) {
    ownGameFresh_ = false;
    if (message.Text.size() <= 2) {
        // A bare hand-over (older copies send one after advice) changes nothing unless this
        // side waits.
        if (message.Param4 != 1) {
            game_.TakePeerHandOver();
            return;
        }
        if (!game_.TakePeerSkip())
            GiveUp();
        return;
    }
    const std::optional<TMoveText> move =
        CheckWordMove(message, game_.Dictionary().Language,
                      [&](QPoint cell) { return game_.Board().At(cell).IsFree(); });
    if (!move)
        return GiveUp();
    if (!game_.TakePeerMove({QPoint(message.Param1, message.Param2),
                             static_cast<char>(message.Param3), move->Word, move->Cells}))
        GiveUp();
}

void TNetGame::GiveUp(const QString& why) {
    messages_.ShowError(texts_.GetTextU("Net_Refused") + (why.isEmpty() ? "" : " (" + why + ")"));
    host_.LeaveSession();
}

#include "net/NetGame.h"

#include "ui/MainWindow.h"
#include "dictionary/Dictionary.h"
#include "ui/ChatWindow.h"
#include "ui/ConnectionWindow.h"
#include "platform/CodePage.h"
#include "platform/SafeApplication.h"
#include "settings/Settings.h"
#include "ui/SoundEffects.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QScopeGuard>
#include <algorithm>

namespace {

void AddChatLine(const QByteArray& sender, const QByteArray& text) {
    ChatWindow->AddLine(sender + " > " + text);
}

QByteArray Bracketed(QByteArrayView key) {
    return "[" + GetText(key) + "]";
}

// The traced cells travel in board order: column 1..5 outer, row 1..5 inner.
QList<QPoint> BoardOrder(QList<QPoint> cells) {
    std::sort(cells.begin(), cells.end(),
              [](QPoint a, QPoint b) { return a.x() != b.x() ? a.x() < b.x() : a.y() < b.y(); });
    return cells;
}

} // namespace

void SendNetMessage(quint32 kind, const QByteArray& text, qint32 param1, qint32 param2,
                    qint32 param3, qint32 param4, qint32 param5) {
    if (NetState == 0 || !MainWindow->DXPlay)
        return;
    TDXPlay* play = MainWindow->DXPlay;
    const QByteArray data = EncodeNetMessage({kind, text, param1, param2, param3, param4, param5});
    play->Send(TDXPlay::AllPlayers, data);
    play->Send(play->LocalPlayer().Id, data);
}

void SendNotice(QByteArrayView key) {
    SendNetMessage(nmChat, Bracketed(key));
}

TNetGame::TNetGame(TMainWindow& main) : QObject(&main), main_(main) {
    TGame* game = main.Game;
    connect(game, &TGame::Changed, this, &TNetGame::Pump);
    connect(game, &TGame::GameOpened, this, &TNetGame::SendOpenedGame);
    connect(game, &TGame::MoveMade, this, &TNetGame::SendMove);
    connect(game, &TGame::TurnPassed, this, [this] {
        ownGameFresh_ = false;
        SendNotice("Net_SkipMove");
        SendNetMessage(nmMove, {}, 0, 0, 0, 1);
    });
    connect(game, &TGame::AdviceTaken, this, [] { SendNotice("Net_Advice"); });
    connect(game, &TGame::PeerGameEnded, this, [](int outcome) {
        SendNotice(outcome > 0 ? "Net_Winner" : outcome < 0 ? "Net_Loser" : "Net_Equal");
    });
}

void TNetGame::SendOpenedGame(const QByteArray& startWord) {
    ownGameFresh_ = true;
    SendNetMessage(nmNewGame, startWord, Words.Language);
}

void TNetGame::SendMove(const TPlayedMove& move) {
    ownGameFresh_ = false;
    const QByteArray text = EncodeMoveText({move.Word, BoardOrder(move.Path)});
    SendNetMessage(nmMove, text, move.Cell.x(), move.Cell.y(), static_cast<uchar>(move.Letter));
}

// The player is copied into the queue: the session's own list may be gone by the time the
// record is handled.
void TNetGame::Receive(const TDXPlayPlayer& player, const QByteArray& data) {
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

void TNetGame::PlayerAdded(const TDXPlayPlayer& player) {
    if (!player.Remote)
        return;
    Queue([this, player] {
        if (NetState != 1)
            return;
        PlaySoundEffect(SoundSend);
        SetNetState(2); // before the chat line, whose window caption names the peer
        AddChatLine(player.Name, Bracketed("Net_in"));
        ShowComputerOpponent(false);
        main_.Player1->SetCaption(CodePage::ToUnicode(PlayerName(1)));
        main_.Player1->show();
    });
}

void TNetGame::PlayerDeleted(const TDXPlayPlayer& player) {
    Queue([this, player] {
        if (NetState != 2)
            return;
        PlaySoundEffect(SoundSend);
        SetNetState(1);
        AddChatLine(player.Name, Bracketed("Net_out"));
        main_.Player1->hide();
        ShowComputerOpponent(true);
        main_.StartGame(true);
    });
}

void TNetGame::Forget() {
    inbox_.clear();
    ownGameFresh_ = false;
    holding_ = false;
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
        while (!inbox_.empty() && !main_.Game->Busy()) {
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
    TDXPlay* play = main_.DXPlay;
    const bool hold = !inbox_.empty();
    if (!play || hold == holding_)
        return;
    holding_ = hold;
    if (hold)
        play->HoldMessages();
    else
        play->ReleaseMessages();
}

void TNetGame::ReceiveChat(const TDXPlayPlayer& player, const TNetMessage& message) {
    if (player.Remote)
        PlaySoundEffect(SoundSend);
    AddChatLine(player.Name, message.Text);
}

void TNetGame::ReceiveNewGame(const TDXPlayPlayer& player, const TNetMessage& message) {
    if (player.Remote) {
        if (!IsStartRecord(message))
            return GiveUp();
        PlaySoundEffect(SoundSend);
        StartPeersGame(message);
    }
    AddChatLine(player.Name, "[" + GetText("Menu_NewGame") + " : " + message.Text + "]");
}

// When both sides opened a game at once, the host's game is the one both play: the host
// keeps its own and sends it again, the joiner takes it.
void TNetGame::StartPeersGame(const TNetMessage& message) {
    if (ownGameFresh_ && main_.DXPlay && main_.DXPlay->IsHost()) {
        SendOpenedGame(main_.Game->Board().StartWord());
        return;
    }
    ownGameFresh_ = false;
    if (message.Param1 != Words.Language) {
        QAction* item = main_.LanguageItem(message.Param1);
        // The raised number keeps the switch from starting a game of its own.
        item->setData(item->data().toInt() + 10);
        const auto restore = qScopeGuard([item] { item->setData(item->data().toInt() - 10); });
        try {
            main_.Menu_RussianClick(item);
        } catch (const std::exception& error) {
            return GiveUp(QString::fromUtf8(error.what()));
        }
    }
    main_.StartGame(false, message.Text);
}

void TNetGame::ReceiveMove(const TNetMessage& message) {
    TGame& game = *main_.Game;
    ownGameFresh_ = false;
    if (message.Text.size() <= 2) {
        // A bare hand-over (older copies send one after advice) changes nothing unless this
        // side waits.
        if (message.Param4 != 1) {
            game.TakePeerHandOver();
            return;
        }
        if (!game.TakePeerSkip())
            GiveUp();
        return;
    }
    const std::optional<TMoveText> move = CheckWordMove(
        message, Words.Language, [&](QPoint cell) { return game.Board().At(cell).IsFree(); });
    if (!move)
        return GiveUp();
    if (!game.TakePeerMove({QPoint(message.Param1, message.Param2),
                            static_cast<char>(message.Param3), move->Word, move->Cells}))
        GiveUp();
}

void TNetGame::GiveUp(const QString& why) {
    TSafeApplication::ShowError(GetTextU("Net_Refused") + (why.isEmpty() ? "" : " (" + why + ")"));
    main_.Menu_DisConnectClick();
}

void DXPlayMessage(TDXPlay*, const TDXPlayPlayer& player, const QByteArray& data) {
    MainWindow->NetGame->Receive(player, data);
}

void DXPlayAddPlayer(const TDXPlayPlayer& player) {
    MainWindow->NetGame->PlayerAdded(player);
}

void DXPlayDeletePlayer(const TDXPlayPlayer& player) {
    MainWindow->NetGame->PlayerDeleted(player);
}

void SetNetState(int state) {
    NetState = state;
    MainWindow->Game->SetOpponent(state == 2 ? TOpponent::Peer : TOpponent::Computer);
    RepaintNetState();
}

void RepaintNetState() {
    MainWindow->ShowNetState();
}

void ShowComputerOpponent(bool shown) {
    TMainWindow& main = *MainWindow;
    main.Menu_CPU->setEnabled(shown);
    for (QWidget* part :
         std::initializer_list<QWidget*>{main.CoolBevel1, main.CPUface, main.StrongLabel})
        part->setVisible(shown);
}

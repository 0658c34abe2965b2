#include "net/NetPlayUnit.h"

#include "core/MainUnit.h"
#include "dictionary/WordsUnit.h"
#include "net/ChatUnit.h"
#include "net/Config.h"
#include "platform/CodePage.h"
#include "settings/INIUnit.h"
#include "ui/ChoiceUnit.h"
#include "ui/SoundUnit.h"

#include <QAction>
#include <QCoreApplication>
#include <QFrame>
#include <QLabel>
#include <QScopeGuard>
#include <QtEndian>
#include <algorithm>
#include <cstring>

TLanguageMenu LanguageMenu;

namespace {

constexpr int FieldCount = 7; // Kind, TextLength and the five parameters

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsCellDigit(char c) {
    return c >= '1' && c <= '5';
}
bool IsCellIndex(qint32 index) {
    return index >= 1 && index <= 5;
}

// The capitals of a language: 32 from code 192 for Russian, 26 from "A" for English.
bool IsLetterOf(int language, int code) {
    const int first = language == 1 ? 0xC0 : 'A';
    const int size = language == 1 ? 32 : 26;
    return code >= first && code < first + size;
}

bool IsWordOf(int language, QByteArrayView text) {
    return std::all_of(text.begin(), text.end(),
                       [language](char c) { return IsLetterOf(language, static_cast<uchar>(c)); });
}

void AddChatLine(const QByteArray& sender, const QByteArray& text) {
    ChatWindow->AddLine(sender + " > " + text);
}

QByteArray Bracketed(QByteArrayView key) {
    return "[" + GetText(key) + "]";
}

// Collects the traced cells in board order and gives them their normal look.
QList<QPoint> TakeTracedCells(TCells& cells) {
    QList<QPoint> traced;
    ForEachCell(cells, [&](Tpole& cell) {
        if (cell.Selected) {
            traced.append({cell.Col, cell.Row});
            UnselectCell(cell);
        }
    });
    return traced;
}

void ShiftLanguageNumbers(int by) {
    for (QAction* item : {LanguageMenu.Russian, LanguageMenu.English})
        item->setData(item->data().toInt() + by);
}

// Switches to the peer's language through the language menu; the raised numbers keep the
// handler from starting a game of its own.
void FollowPeerLanguage(int language) {
    if (!LanguageMenu.Click)
        return;
    ShiftLanguageNumbers(10);
    const auto restore = qScopeGuard([] { ShiftLanguageNumbers(-10); });
    LanguageMenu.Click(language == 1 ? LanguageMenu.Russian : LanguageMenu.English);
}

void ReceiveChat(const TDXPlayPlayer& player, const TNetMessage& message) {
    if (player.Remote)
        PlaySoundEffect(SoundSend, true);
    AddChatLine(player.Name, message.Text);
}

void ReceiveNewGame(const TDXPlayPlayer& player, const TNetMessage& message) {
    if (player.Remote) {
        if (!IsStartRecord(message))
            return;
        PlaySoundEffect(SoundSend, true);
        if (message.Param1 != Words.Language)
            FollowPeerLanguage(message.Param1);
        if (message.Param1 != Words.Language)
            return; // a language this side cannot switch to
        MainWindow->StartGame(false, message.Text);
    }
    AddChatLine(player.Name, "[" + GetText("Menu_NewGame") + " : " + message.Text + "]");
}

// The peer's word move, checked against this side's board and alphabet before any of it
// is applied.
std::optional<TMoveText> CheckedWordMove(const TNetMessage& message) {
    return CheckWordMove(message, Words.Language, [](QPoint cell) {
        return MainWindow->Cells[cell.x()][cell.y()]->IsFree();
    });
}

// Places, shows and credits the peer's word; false when a new game took over meanwhile.
bool PlayPeerWord(const TNetMessage& message, const TMoveText& move) {
    TMainWindow& main = *MainWindow;
    const quint32 game = main.GameNumber;
    const auto sameGame = [&] { return main.GameNumber == game; };
    main.Cells[message.Param1][message.Param2]->SetLetter(
        QByteArray(1, static_cast<char>(message.Param3)));
    main.Slowo->SetCaption(CodePage::ToUnicode(move.Word));
    main.CreditWord(2, move.Word);
    for (const QPoint& cell : move.Cells)
        SelectCell(*main.Cells[cell.x()][cell.y()]);
    QCoreApplication::processEvents();
    if (sameGame() && !Words.FindWord(move.Word, static_cast<int>(move.Word.size()))) {
        const int answer = AskQuestion(GetTextU("AddWord1") + " " + CodePage::ToUnicode(move.Word),
                                       GetTextU("AddWord2"));
        if (answer == TChoiceWindow::Yes && sameGame()) {
            Words.AppendWord(move.Word);
            Words.LoadWords();
        }
    }
    if (sameGame())
        PlaySoundEffect(SoundApply, true);
    return sameGame();
}

// The board settles with the peer's new letter fixed, and this side takes the turn. A free
// cell holds no letter of the board, only a preview left under the mouse: it is emptied.
void TakeTheTurn(std::optional<QPoint> placed) {
    TMainWindow& main = *MainWindow;
    ForEachCell(main.Cells, [&](Tpole& cell) {
        UnselectCell(cell);
        if (placed == QPoint(cell.Col, cell.Row))
            cell.Fixed = 1;
        else if (cell.IsFree())
            cell.SetLetter({});
    });
    QCoreApplication::processEvents();
    main.Slowo->SetCaption({});
    main.SkipButton->setEnabled(true);
    main.AdviceButton->setEnabled(true);
    main.setWindowTitle(GetTextU("Title"));
    main.MoveState = 0;
}

// Applies the peer's move record; false when it was refused or a new game took over.
// Records come only while this side waits for the peer, so one that arrives at another
// time (a hand-over behind an advice move, say) must not fix or take back a move in progress.
bool ApplyPeerMove(const TNetMessage& message) {
    TMainWindow& main = *MainWindow;
    if (main.MoveState != 2)
        return false;
    const quint32 game = main.GameNumber;
    if (message.Text.size() <= 2) {
        if (message.Param4 == 1) {
            main.WaitTicks(9);
            if (main.GameNumber != game)
                return false;
            main.Slowo->SetCaption("? ? ?");
        }
        TakeTheTurn(std::nullopt);
        return true;
    }
    const std::optional<TMoveText> move = CheckedWordMove(message);
    if (!move || !PlayPeerWord(message, *move))
        return false;
    TakeTheTurn(QPoint(message.Param1, message.Param2));
    return true;
}

// Each side announces its own result; the side that opened the game opens the next one.
void EndNetworkGame() {
    TMainWindow& main = *MainWindow;
    const quint32 game = main.GameNumber;
    QCoreApplication::processEvents();
    if (main.GameNumber != game)
        return;
    const quint16 own = main.Scores[1];
    const quint16 peer = main.Scores[2];
    SendNotice(own > peer ? "Net_Winner" : own < peer ? "Net_Loser" : "Net_Equal");
    PlaySoundEffect(own < peer ? SoundLoser : SoundWinner, true);
    if (main.StartedHere && main.GameNumber == game)
        main.StartGame(true);
}

void ReceiveMove(const TDXPlayPlayer& player, const TNetMessage& message) {
    if (player.Remote && !ApplyPeerMove(message))
        return;
    if (MainWindow->IsGameOver())
        EndNetworkGame();
}

} // namespace

QByteArray EncodeNetMessage(const TNetMessage& message) {
    QByteArray data(NetMessageOverhead + message.Text.size(), '\0');
    const qint32 fields[FieldCount] = {static_cast<qint32>(message.Kind),
                                       static_cast<qint32>(message.Text.size()),
                                       message.Param1,
                                       message.Param2,
                                       message.Param3,
                                       message.Param4,
                                       message.Param5};
    for (int i = 0; i < FieldCount; ++i)
        qToLittleEndian(fields[i], data.data() + 4 * i);
    std::memcpy(data.data() + NetMessageTextOffset, message.Text.constData(), message.Text.size());
    return data;
}

std::optional<TNetMessage> DecodeNetMessage(QByteArrayView data) {
    if (data.size() < NetMessageOverhead)
        return std::nullopt;
    const auto field = [&](int index) {
        return qFromLittleEndian<qint32>(data.data() + 4 * index);
    };
    const qint32 length = field(1);
    if (length < 0 || data.size() != NetMessageOverhead + qsizetype(length))
        return std::nullopt;
    TNetMessage message;
    message.Kind = qFromLittleEndian<quint32>(data.data());
    message.Text = data.sliced(NetMessageTextOffset, length).toByteArray();
    message.Param1 = field(2);
    message.Param2 = field(3);
    message.Param3 = field(4);
    message.Param4 = field(5);
    message.Param5 = field(6);
    return message;
}

QByteArray EncodeMoveText(const TMoveText& move) {
    QByteArray text = QByteArray::number(move.Word.size()).rightJustified(2, '0') + move.Word;
    for (const QPoint& cell : move.Cells)
        text += QByteArray::number(cell.x()) + QByteArray::number(cell.y());
    return text;
}

std::optional<TMoveText> DecodeMoveText(QByteArrayView text) {
    if (text.size() < 2 || !IsDigit(text[0]) || !IsDigit(text[1]))
        return std::nullopt;
    const int length = (text[0] - '0') * 10 + (text[1] - '0');
    if (length < TWords::MinLength || length > TWords::MaxLength || text.size() != 2 + 3 * length)
        return std::nullopt;
    TMoveText move;
    move.Word = text.sliced(2, length).toByteArray();
    for (qsizetype at = 2 + length; at < text.size(); at += 2) {
        if (!IsCellDigit(text[at]) || !IsCellDigit(text[at + 1]))
            return std::nullopt;
        move.Cells.append({text[at] - '0', text[at + 1] - '0'});
    }
    return move;
}

bool IsStartRecord(const TNetMessage& message) {
    return (message.Param1 == 1 || message.Param1 == 2) && message.Text.size() == 5 &&
           IsWordOf(message.Param1, message.Text);
}

std::optional<TMoveText> CheckWordMove(const TNetMessage& message, int language,
                                       const std::function<bool(QPoint)>& isFree) {
    std::optional<TMoveText> move = DecodeMoveText(message.Text);
    if (!move || !IsCellIndex(message.Param1) || !IsCellIndex(message.Param2) ||
        !IsLetterOf(language, message.Param3) || !IsWordOf(language, move->Word) ||
        !isFree({message.Param1, message.Param2}))
        return std::nullopt;
    return move;
}

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

void SendMove(bool skip) {
    TMainWindow& main = *MainWindow;
    main.ShowWaiting();
    QByteArray text = CodePage::FromUnicode(main.Slowo->Caption());
    main.Slowo->SetCaption({});
    if (!text.isEmpty())
        text = EncodeMoveText({text, TakeTracedCells(main.Cells)});
    // Waiting before the send: the local copy may end this game and open the next one,
    // which gives this side the turn.
    main.MoveState = 2;
    if (skip) {
        SendNetMessage(nmMove, text, 0, 0, 0, 1);
        return;
    }
    const QByteArray letter = main.Cells[main.NewCol][main.NewRow]->Letter();
    SendNetMessage(nmMove, text, main.NewCol, main.NewRow,
                   letter.isEmpty() ? 0 : static_cast<uchar>(letter[0]));
}

void DXPlayMessage(TDXPlay*, const TDXPlayPlayer& player, const QByteArray& data) {
    const std::optional<TNetMessage> message = DecodeNetMessage(data);
    if (!message)
        return;
    switch (message->Kind) {
    case nmChat:
        ReceiveChat(player, *message);
        break;
    case nmNewGame:
        ReceiveNewGame(player, *message);
        break;
    case nmMove:
        ReceiveMove(player, *message);
        break;
    default:
        break;
    }
}

void DXPlayAddPlayer(const TDXPlayPlayer& player) {
    if (!player.Remote)
        return;
    TMainWindow& main = *MainWindow;
    PlaySoundEffect(SoundSend, true);
    NetState = 2; // before the chat line, whose window caption names the peer
    AddChatLine(player.Name, Bracketed("Net_in"));
    ShowComputerOpponent(false);
    RepaintNetState();
    main.Player1->SetCaption(CodePage::ToUnicode(PlayerName(1)));
    main.Player1->show();
}

void DXPlayDeletePlayer(const TDXPlayPlayer& player) {
    TMainWindow& main = *MainWindow;
    PlaySoundEffect(SoundSend, true);
    NetState = 1;
    AddChatLine(player.Name, Bracketed("Net_out"));
    main.Player1->hide();
    ShowComputerOpponent(true);
    RepaintNetState();
    main.StartGame(true);
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

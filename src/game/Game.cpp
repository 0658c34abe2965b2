#include "game/Game.h"

#include "dictionary/Dictionary.h"
#include "dictionary/WordSearch.h"
#include "game/GameReview.h"
#include "platform/CodePage.h"
#include "platform/Errors.h"

#include <QRandomGenerator>
#include <algorithm>
#include <stdexcept>

namespace {

// Pauses in ticks of the game's clock.
constexpr int BlinkTicks = 2;
constexpr int NoWordTicks = 9;
constexpr int AdviceThinkingTicks = 6;
const QByteArray NoWordShown = "? ? ?";

// Keeps every better word the search finds, so its progress can be shown afterwards.
class TImprovementRecorder : public TSearchListener {
public:
    void Improved(const TFoundMove& best) override { Improvements.append(best); }
    QList<TFoundMove> Improvements;
};

// Player 1 or 2 as an index into the per-player members.
std::size_t PlayerSlot(int player) {
    if (player < 1 || player > 2)
        throw std::out_of_range("player " + std::to_string(player));
    return static_cast<std::size_t>(player - 1);
}

} // namespace

TGame::TGame(TDictionary& words, IGameEffects& effects, QObject* parent)
    : QObject(parent), words_(&words), effects_(effects) {
    // The end of a step sequence is a change: a waiting record may now be taken.
    connect(&steps_, &TTimedSteps::Done, this, &TGame::Changed);
}

int TGame::MoveState() const {
    switch (phase_) {
    case TPhase::Placing:
        return 0;
    case TPhase::Tracing:
    case TPhase::Refusing:
        return 1;
    case TPhase::Asking:
        return askingForPeer_ ? 2 : 1;
    default:
        return 2;
    }
}

bool TGame::PersonsTurn() const {
    return (phase_ == TPhase::Placing || phase_ == TPhase::Tracing) && !steps_.Running();
}

bool TGame::ShowsWaiting() const {
    return phase_ == TPhase::Computer || phase_ == TPhase::Waiting || phase_ == TPhase::PeerMove ||
           (phase_ == TPhase::Asking && askingForPeer_);
}

QByteArray TGame::ShownLetter(TCellPos pos) const {
    const TCell& cell = board_.At(pos);
    if (!cell.IsEmpty())
        return cell.Letter;
    const bool preview = hover_ == pos && phase_ == TPhase::Placing && !steps_.Running() &&
                         cell.IsFree() && !chosenLetter_.isEmpty();
    return preview ? chosenLetter_ : QByteArray();
}

quint16 TGame::Score(int player) const {
    return scores_[PlayerSlot(player)];
}

const QList<QByteArray>& TGame::WordList(int player) const {
    return wordLists_[PlayerSlot(player)];
}

bool TGame::IsGameOver() const {
    return skipCount_ >= 2 || board_.Full();
}

void TGame::Update() {
    emit Changed();
}

void TGame::SetPhase(TPhase phase) {
    phase_ = phase;
    Update();
}

void TGame::SetFace(int face) {
    face_ = face;
    Update();
}

QByteArray TGame::TracedWord() const {
    QByteArray word;
    for (const TCellPos& pos : trace_)
        word += board_.At(pos).Letter;
    return word;
}

void TGame::PickLetter(const QByteArray& letter) {
    effects_.Play(TSound::Click1);
    if (letter == chosenLetter_)
        return;
    if (phase_ == TPhase::Tracing && !steps_.Running())
        TakeBackLetter();
    chosenLetter_ = letter;
    Update();
}

void TGame::ClearChosenLetter() {
    chosenLetter_.clear();
    Update();
}

void TGame::ClearTrace() {
    trace_.clear();
    board_.ClearSelection();
    wordShown_.clear();
}

void TGame::RetryWord() {
    face_ = RestFace;
    ClearTrace();
    SetPhase(TPhase::Tracing);
}

void TGame::TakeBackLetter() {
    ClearTrace();
    board_.At(newCell_).Letter.clear();
    SetPhase(TPhase::Placing);
}

void TGame::Hover(TCellPos pos) {
    hover_ = pos;
    Update();
}

void TGame::Unhover() {
    hover_.reset();
    Update();
}

void TGame::ClickCell(TCellPos pos) {
    if (steps_.Running())
        return;
    const TCell& cell = board_.At(pos);
    if (phase_ == TPhase::Tracing) {
        if (cell.Selected && board_.At(newCell_).Selected)
            Submit();
        else if (!cell.Selected && !cell.IsEmpty())
            Trace(pos);
    } else if (phase_ == TPhase::Placing && !chosenLetter_.isEmpty() && cell.IsFree()) {
        Place(pos);
    }
}

// The first letter of a trace may be any letter on the board; each next one a neighbour of
// the last.
void TGame::Trace(TCellPos pos) {
    if (!trace_.isEmpty() && !TBoard::AreNeighbours(trace_.last(), pos))
        return;
    trace_.append(pos);
    board_.At(pos).Selected = true;
    wordShown_ = TracedWord();
    effects_.Play(TSound::Click3);
    Update();
}

void TGame::Place(TCellPos pos) {
    effects_.Play(TSound::Click3);
    board_.At(pos).Letter = chosenLetter_;
    newCell_ = pos;
    SetPhase(TPhase::Tracing);
}

void TGame::RightClick() {
    if (phase_ != TPhase::Tracing || steps_.Running())
        return;
    effects_.Play(TSound::Click2);
    if (trace_.isEmpty()) {
        board_.At(newCell_).Letter.clear();
        SetPhase(TPhase::Placing);
        return;
    }
    ClearTrace();
    Update();
}

void TGame::Submit() {
    const QByteArray word = TracedWord();
    if (word.size() == 1 || word.size() > TDictionary::MaxLength || usedWords_.IsUsed(word)) {
        Refuse();
        return;
    }
    if (words_->FindWord(word, static_cast<int>(word.size()))) {
        AcceptWord(true);
        return;
    }
    face_ = QuestionFace;
    askingForPeer_ = false;
    SetPhase(TPhase::Asking);
    emit QuestionAsked(word);
}

// The face blinks; then the trace is cleared and the placed letter stays for another try.
void TGame::Refuse() {
    SetPhase(TPhase::Refusing);
    face_ = 2;
    Update();
    for (int face : {1, 2, 1, 2, 1, 2})
        steps_.Then(BlinkTicks * tickMs_, [this, face] { SetFace(face); });
    steps_.Then(BlinkTicks * tickMs_, [this] { RetryWord(); });
}

void TGame::AnswerQuestion(TAnswer answer) {
    if (phase_ != TPhase::Asking)
        return;
    face_ = RestFace;
    if (askingForPeer_) {
        // The peer's word stays credited whatever the answer.
        SetPhase(TPhase::PeerMove);
        SettlePeerMove();
        if (answer == TAnswer::Yes)
            AddUnknownWord(wordShown_);
        return;
    }
    if (answer == TAnswer::Yes) {
        try {
            AddUnknownWord(TracedWord());
        } catch (...) {
            RetryWord();
            throw;
        }
        AcceptWord(false);
        return;
    }
    if (answer == TAnswer::No)
        RetryWord();
    else
        SetPhase(TPhase::Tracing);
}

void TGame::AddUnknownWord(const QByteArray& word) {
    words_->AppendWord(word);
    words_->LoadFile(words_->FileName);
}

void TGame::AcceptWord(bool withSound) {
    RecordTurn(1, {newCell_, board_.At(newCell_).Letter.front(), TracedWord(), trace_});
    CreditWord(1, TracedWord());
    board_.At(newCell_).Fixed = true;
    skipCount_ = 0;
    SetPhase(TPhase::Applying);
    if (withSound)
        steps_.Then(effects_.PlayWaited(TSound::Apply), [this] { ContinueAfterWord(); });
    else
        ContinueAfterWord();
}

void TGame::ContinueAfterWord() {
    if (opponent_ == TOpponent::Peer)
        HandOver();
    else if (IsGameOver())
        EndGameAgainstComputer();
    else
        RunComputer([this](bool) {
            if (IsGameOver())
                EndGameAgainstComputer();
            else
                SetPhase(TPhase::Placing);
        });
}

void TGame::HandOver() {
    const TPlayedMove move{newCell_, board_.At(newCell_).Letter.front(), TracedWord(), trace_};
    ClearTrace();
    SetPhase(TPhase::Waiting);
    emit MoveMade(move);
    CheckPeerGameEnd();
}

void TGame::Skip() {
    if (!PersonsTurn())
        return;
    RecordTurn(1);
    if (opponent_ == TOpponent::Peer) {
        if (phase_ == TPhase::Tracing)
            TakeBackLetter();
        wordShown_.clear();
        SetPhase(TPhase::Waiting);
        emit TurnPassed();
        CheckPeerGameEnd();
        return;
    }
    // The pass counts after the computer's reply, unless that reply ended the game.
    RunComputer([this](bool) {
        if (IsGameOver()) {
            EndGameAgainstComputer();
            return;
        }
        ++skipCount_;
        SetPhase(TPhase::Placing);
    });
}

void TGame::Advice() {
    if (!PersonsTurn() || !adviceOffered_)
        return;
    adviceMode_ = true;
    RunComputer([this](bool found) { AfterAdvice(found); });
}

void TGame::AfterAdvice(bool found) {
    adviceMode_ = false;
    if (!found) {
        if (opponent_ == TOpponent::Computer && IsGameOver())
            EndGameAgainstComputer();
        else
            SetPhase(TPhase::Placing);
        return;
    }
    adviceOffered_ = false;
    if (opponent_ == TOpponent::Peer) {
        SetPhase(TPhase::Waiting);
        emit AdviceTaken();
        CheckPeerGameEnd();
    } else {
        ContinueAfterWord();
    }
}

// The search itself takes no time; its progress is played back at a pace a player can
// follow, and only then is the move made.
void TGame::RunComputer(std::function<void(bool)> after) {
    ClearTrace();
    board_.ClearUnfixed();
    const TSearchBoard snapshot = SearchBoardOf(FixedLetters(board_), *words_);
    SetPhase(TPhase::Computer);
    TImprovementRecorder recorder;
    const TSearchOutcome outcome = SearchBestMove(
        snapshot, MakeSearchRequest(*words_, strength_, adviceMode_, usedWords_.Words()),
        &recorder);
    PlayBack(recorder.Improvements, outcome.Best, std::move(after));
}

void TGame::PlayBack(const QList<TFoundMove>& improvements, const TFoundMove& best,
                     std::function<void(bool)> after) {
    // About a second at the top strength, less below it.
    const int ticks = adviceMode_ ? AdviceThinkingTicks : 2 + 3 * std::max(strength_ - 2, 1) / 2;
    const qsizetype shown = improvements.size();
    for (int tick = 1; tick <= ticks; ++tick) {
        steps_.Then(tickMs_, [this, tick, ticks, shown, improvements] {
            if (!adviceMode_ && tick % 2 == 1)
                face_ = tick / 2 % 2 == 0 ? 3 : 4;
            for (qsizetype i = 0; i < shown; ++i)
                if (1 + i * ticks / shown == tick)
                    ShowFound(improvements[i]);
            Update();
        });
    }
    steps_.Then(0, [this, best, after] { SettleComputerMove(best, after); });
}

void TGame::ShowFound(const TFoundMove& move) {
    board_.ClearUnfixed();
    board_.At(BoardPos(move.Cell)).Letter =
        QByteArray(1, static_cast<char>(words_->FirstLetter + move.Letter));
    for (TCellIndex index : move.Path)
        board_.At(BoardPos(index)).Selected = true;
    wordShown_ = move.Word;
}

void TGame::SettleComputerMove(const TFoundMove& best, std::function<void(bool)> after) {
    const int player = adviceMode_ ? 1 : 2;
    if (!best.Found()) {
        RecordTurn(player);
        ++skipCount_;
        if (!adviceMode_)
            face_ = SadFace;
        wordShown_ = NoWordShown;
        Update();
        steps_.Then(NoWordTicks * tickMs_, [this, after] { EndComputerMove(false, after); });
        return;
    }
    ShowFound(best);
    newCell_ = BoardPos(best.Cell);
    const TPlayedMove move{newCell_, board_.At(newCell_).Letter.front(), best.Word,
                           BoardPath(best)};
    RecordTurn(player, move);
    board_.At(newCell_).Fixed = true;
    skipCount_ = 0;
    CreditWord(player, best.Word);
    const bool handToPeer = adviceMode_ && opponent_ == TOpponent::Peer;
    steps_.Then(effects_.PlayWaited(TSound::Apply), [this, handToPeer, move, after] {
        if (handToPeer)
            emit MoveMade(move);
        EndComputerMove(true, after);
    });
}

void TGame::EndComputerMove(bool found, std::function<void(bool)> after) {
    board_.ClearSelection();
    wordShown_.clear();
    face_ = RestFace;
    after(found);
}

void TGame::EndGameAgainstComputer() {
    SetPhase(TPhase::Over);
    emit Finished();
}

bool TGame::TakePeerMove(const TPlayedMove& move) {
    if (!WaitsForPeer())
        return false;
    RecordTurn(2, move);
    board_.At(move.Cell).Letter = QByteArray(1, move.Letter);
    wordShown_ = move.Word;
    CreditWord(2, move.Word);
    for (const TCellPos& pos : move.Path)
        board_.At(pos).Selected = true;
    if (words_->FindWord(move.Word, static_cast<int>(move.Word.size()))) {
        SetPhase(TPhase::PeerMove);
        SettlePeerMove();
        return true;
    }
    face_ = QuestionFace;
    askingForPeer_ = true;
    SetPhase(TPhase::Asking);
    emit QuestionAsked(move.Word);
    return true;
}

void TGame::SettlePeerMove() {
    steps_.Then(effects_.PlayWaited(TSound::Apply), [this] { TakeTurn(); });
}

bool TGame::TakePeerSkip() {
    if (!WaitsForPeer())
        return false;
    RecordTurn(2);
    wordShown_ = NoWordShown;
    SetPhase(TPhase::PeerMove);
    steps_.Then(NoWordTicks * tickMs_, [this] { TakeTurn(); });
    return true;
}

bool TGame::TakePeerHandOver() {
    if (!WaitsForPeer())
        return false;
    TakeTurn();
    return true;
}

// The peer's letter is now part of the board, and this side moves.
void TGame::TakeTurn() {
    board_.ClearSelection();
    for (const TCellPos& pos : TBoard::Places()) {
        TCell& cell = board_.At(pos);
        cell.Fixed = !cell.IsEmpty();
    }
    wordShown_.clear();
    SetPhase(TPhase::Placing);
    CheckPeerGameEnd();
}

// Each side announces its own result; the side that opened the game opens the next one.
void TGame::CheckPeerGameEnd() {
    if (!IsGameOver())
        return;
    const int outcome = scores_[0] > scores_[1] ? 1 : scores_[0] < scores_[1] ? -1 : 0;
    SetPhase(TPhase::Over);
    emit PeerGameEnded(outcome);
    const int pause = effects_.PlayWaited(outcome < 0 ? TSound::Loser : TSound::Winner);
    steps_.Then(pause, [this] {
        if (startedHere_)
            StartGame(true);
    });
}

void TGame::RecordTurn(int player, const TPlayedMove& move) {
    record_.Turns.append(
        {player, FixedLetters(board_), move.Cell, move.Word, move.Path, usedWords_.Words()});
}

void TGame::CreditWord(int player, const QByteArray& word) {
    const std::size_t slot = PlayerSlot(player);
    scores_[slot] = static_cast<quint16>(scores_[slot] + word.size());
    usedWords_.Add(word);
    wordLists_[slot].prepend(word);
    Update();
}

QByteArray TGame::RandomStartWord() const {
    const auto& fives = words_->Lists[5];
    if (fives.isEmpty())
        return {};
    const auto index = QRandomGenerator::global()->bounded(static_cast<int>(fives.size()));
    return CodePage::ToUpper(fives[index]);
}

void TGame::StartGame(bool local, const QByteArray& startWord) {
    steps_.Cancel();
    if (phase_ == TPhase::Over && !record_.Turns.isEmpty())
        lastRecord_ = record_;
    record_ = {words_->Language, {}};
    ++gameNumber_;
    startedHere_ = local;
    usedWords_.Clear();
    wordShown_.clear();
    trace_.clear();
    adviceOffered_ = true;
    adviceMode_ = false;
    askingForPeer_ = false;
    face_ = RestFace;
    const QByteArray word = local ? RandomStartWord() : startWord;
    usedWords_.Add(word);
    board_.SetUp(word);
    scores_[0] = scores_[1] = 0;
    wordLists_[0].clear();
    wordLists_[1].clear();
    skipCount_ = 0;
    SetPhase(local ? TPhase::Placing : TPhase::Waiting);
    if (local && opponent_ == TOpponent::Peer)
        emit GameOpened(board_.StartWord());
    if (word.isEmpty())
        throw KordiError(QString("The dictionary \"%1\" holds no five-letter word to start a "
                                 "game with.")
                             .arg(words_->FileName));
}

void TGame::Stop() {
    steps_.Cancel();
    SetPhase(TPhase::Over);
}

#pragma once
// One game between the person at this machine (player 1) and the opponent (player 2, the
// computer or a peer): the board, whose turn it is, the move being entered, the scores and
// the words played, and the rules that change them. No widgets: windows show it and feed it
// input. The pauses of the game run as timed steps; while one runs, or while a question is
// open, input the state does not take is ignored, never half applied.

#include "game/Board.h"
#include "game/GameRecord.h"
#include "game/TimedSteps.h"
#include "game/UsedWords.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>
#include <optional>

struct TDictionary;
struct TFoundMove;

enum class TSound { Click1, Click2, Click3, Apply, Winner, Loser, Question, Send };

// What the game makes heard; a fake in tests.
class IGameEffects {
public:
    virtual ~IGameEffects() = default;
    virtual void Play(TSound sound) = 0;
    // Plays a sound the game waits for and tells how long, in ms: the sound's length, or a
    // pause of the same order when sound is off.
    virtual int PlayWaited(TSound sound) = 0;
};

enum class TOpponent { Computer, Peer };

enum class TPhase {
    Placing,  // the person places a letter
    Tracing,  // a letter is placed and a word is traced through it
    Refusing, // the blink after a refused word
    Asking,   // the add-word question is open
    Applying, // the pause after the person's accepted word
    Computer, // the computer thinks and plays, for itself or as advice
    Waiting,  // the peer is to move
    PeerMove, // the peer's move is shown
    Over,     // the game has ended
};

// A word move: the new letter and its cell, then the word and its cells in tracing order.
struct TPlayedMove {
    TCellPos Cell;
    char Letter = 0;
    QByteArray Word;
    QList<TCellPos> Path;
};

Q_DECLARE_METATYPE(TPlayedMove)

// The answers of the add-word question.
enum class TAnswer { None, Yes, No };

class TGame : public QObject {
    Q_OBJECT
public:
    // Faces of the computer: 0 rest, 1 and 2 the refusal blink, 3 and 4 thinking, 5 no word
    // or sad, 6 question, 7 to 11 laughing.
    static constexpr int RestFace = 0;
    static constexpr int SadFace = 5;
    static constexpr int QuestionFace = 6;

    TGame(TDictionary& words, IGameEffects& effects, QObject* parent = nullptr);

    const TBoard& Board() const { return board_; }
    TPhase Phase() const { return phase_; }
    // 0 place a letter, 1 trace a word, 2 wait for the opponent.
    int MoveState() const;
    // A timed step runs or the question is open: records of a peer wait.
    bool Busy() const { return steps_.Running() || phase_ == TPhase::Asking; }
    bool WaitsForPeer() const { return phase_ == TPhase::Waiting && !steps_.Running(); }
    // The person's turn, with no step running: Skip and Advice are usable.
    bool PersonsTurn() const;
    // The caption says that the opponent is thinking.
    bool ShowsWaiting() const;
    const QByteArray& ChosenLetter() const { return chosenLetter_; }
    // The cell's letter, or the chosen letter previewed under the mouse.
    QByteArray ShownLetter(TCellPos pos) const;
    const QByteArray& WordShown() const { return wordShown_; }
    quint16 Score(int player) const;
    // The words credited to the player in this game, newest first.
    const QList<QByteArray>& WordList(int player) const;
    const TUsedWords& UsedWords() const { return usedWords_; }
    int SkipCount() const { return skipCount_; }
    bool AdviceMode() const { return adviceMode_; }
    // Advice succeeds once a game; the button is hidden after that.
    bool AdviceOffered() const { return adviceOffered_; }
    bool StartedHere() const { return startedHere_; }
    quint32 GameNumber() const { return gameNumber_; }
    int Face() const { return face_; }
    TCellPos NewCell() const { return newCell_; }
    bool IsGameOver() const;
    // The turns of the game being played, and those of the last game that ended; the latter
    // stays while the next game is played.
    const TGameRecord& Record() const { return record_; }
    const TGameRecord& LastRecord() const { return lastRecord_; }

    // The longest word the computer may play.
    int Strength() const { return strength_; }
    void SetStrength(int strength) { strength_ = strength; }
    TOpponent Opponent() const { return opponent_; }
    void SetOpponent(TOpponent opponent) { opponent_ = opponent; }
    void SetDictionary(TDictionary& words) { words_ = &words; }
    const TDictionary& Dictionary() const { return *words_; }
    // The game's clock: its pauses last a number of ticks of this many ms (100 by default).
    void SetTickMs(int ms) { tickMs_ = ms; }

    // The person's input.
    void PickLetter(const QByteArray& letter);
    void ClearChosenLetter();
    void Hover(TCellPos pos);
    void Unhover();
    void ClickCell(TCellPos pos);
    void RightClick();
    void AnswerQuestion(TAnswer answer);
    void Skip();
    void Advice();
    // A local game picks its start word from the dictionary's five-letter words; a game the
    // peer opened takes the peer's. Raises KordiError, after setting up a board with a free
    // middle row, when the dictionary has no five-letter word.
    void StartGame(bool local, const QByteArray& startWord = {});
    // The program closes: every step ends and nothing more is played.
    void Stop();
    void SetFace(int face);
    void CreditWord(int player, const QByteArray& word);

    // The peer's moves; each returns false, changing nothing, unless the game waits for one.
    bool TakePeerMove(const TPlayedMove& move);
    bool TakePeerSkip();
    bool TakePeerHandOver();

signals:
    void Changed();
    // The add-word question is to be asked; AnswerQuestion answers it.
    void QuestionAsked(const QByteArray& word);
    // A game against the computer has ended: the result and the records come next, and
    // then a new game.
    void Finished();
    // With a peer: this side opened a game, moved, passed, took advice, or saw a game end
    // (outcome 1 won, 0 equal, -1 lost).
    void GameOpened(const QByteArray& startWord);
    void MoveMade(const TPlayedMove& move);
    void TurnPassed();
    void AdviceTaken();
    void PeerGameEnded(int outcome);

private:
    void Update();
    void SetPhase(TPhase phase);
    QByteArray RandomStartWord() const;
    // Drops the traced word: its cells, its selection and its text.
    void ClearTrace();
    // After a refused or unwanted word: the placed letter stays for another word.
    void RetryWord();
    void TakeBackLetter();
    void Trace(TCellPos pos);
    void Place(TCellPos pos);
    void Submit();
    void Refuse();
    void AcceptWord(bool withSound);
    void AddUnknownWord(const QByteArray& word);
    void ContinueAfterWord();
    void HandOver();
    void RunComputer(std::function<void(bool found)> after);
    void PlayBack(const QList<TFoundMove>& improvements, const TFoundMove& best,
                  std::function<void(bool)> after);
    void ShowFound(const TFoundMove& move);
    void SettleComputerMove(const TFoundMove& best, std::function<void(bool)> after);
    void EndComputerMove(bool found, std::function<void(bool)> after);
    void AfterAdvice(bool found);
    void EndGameAgainstComputer();
    void ShowPeerMove(const TPlayedMove& move);
    void SettlePeerMove();
    void TakeTurn();
    void CheckPeerGameEnd();
    QByteArray TracedWord() const;
    // Notes a turn before it changes the board or the used words; an empty move is a pass.
    void RecordTurn(int player, const TPlayedMove& move = {});

    TDictionary* words_;
    IGameEffects& effects_;
    TTimedSteps steps_;
    TBoard board_;
    TPhase phase_ = TPhase::Placing;
    TOpponent opponent_ = TOpponent::Computer;
    QByteArray chosenLetter_;
    TCellPos newCell_{1, 1};
    QList<TCellPos> trace_;
    std::optional<TCellPos> hover_;
    QByteArray wordShown_;
    quint16 scores_[2] = {0, 0};
    QList<QByteArray> wordLists_[2];
    TUsedWords usedWords_;
    int skipCount_ = 0;
    bool adviceMode_ = false;
    bool adviceOffered_ = true;
    bool startedHere_ = true;
    quint32 gameNumber_ = 0;
    int face_ = RestFace;
    int strength_ = 8;
    int tickMs_ = 100;
    TGameRecord record_;
    TGameRecord lastRecord_;
    // What the open question decides: the person's own word, or the peer's.
    bool askingForPeer_ = false;
};

#pragma once
// The review of a recorded game: for each turn, the longest word the same position allowed
// under the same rules as the computer's advice, with no length limit but the board's and the
// words used at that moment excluded, beside the word played.

#include "game/GameRecord.h"

#include <array>

struct TDictionary;
struct TFoundMove;
struct TSearchBoard;

struct TTurnReview {
    QByteArray Best; // empty when the position allowed no word
    TCellPos Cell;
    char Letter = 0;
    QList<TCellPos> Path;
    // The points the turn left on the board: the best word's length beyond the played one's.
    int Missed = 0;
};

// The search's view of a record's board: each letter as its alphabet index in `words`.
TSearchBoard SearchBoardOf(const QByteArray& letters, const TDictionary& words);

// The cells of a found word, in tracing order, as board places.
QList<TCellPos> BoardPath(const TFoundMove& move);

// `words` must be the dictionary of the record's language.
TTurnReview ReviewTurn(const TRecordedTurn& turn, const TDictionary& words);

// The points each player left on the board over the reviewed turns; [0] for player 1.
std::array<int, 2> PointsLeft(const TGameRecord& record, const QList<TTurnReview>& reviews);

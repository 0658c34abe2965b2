#include "game/GameReview.h"

#include "dictionary/Dictionary.h"
#include "dictionary/WordSearch.h"
#include "platform/CodePage.h"

#include <algorithm>

TSearchBoard SearchBoardOf(const QByteArray& letters, const TDictionary& words) {
    TSearchBoard board;
    for (int i = 0; i < BoardCells; ++i) {
        if (letters[i] == TRecordedTurn::EmptyLetter) {
            board.Letters[i] = EmptyCell;
            continue;
        }
        const int letter =
            CodePage::FoldCase(static_cast<unsigned char>(letters[i])) - words.FirstLetter;
        board.Letters[i] = letter >= 0 && letter < words.AlphabetSize()
                               ? static_cast<unsigned char>(letter)
                               : ForeignLetter;
    }
    return board;
}

QList<TCellPos> BoardPath(const TFoundMove& move) {
    QList<TCellPos> path;
    for (TCellIndex index : move.Path)
        path.append(BoardPos(index));
    return path;
}

TTurnReview ReviewTurn(const TRecordedTurn& turn, const TDictionary& words) {
    // A strength of the whole board lifts the computer's limit and leaves the rest of the
    // search as it plays.
    const TSearchRequest request = MakeSearchRequest(words, BoardCells, false, turn.UsedWords);
    const TFoundMove best = SearchBestMove(SearchBoardOf(turn.Board, words), request, nullptr).Best;
    TTurnReview review;
    if (!best.Found())
        return review;
    review.Best = best.Word;
    review.Cell = BoardPos(best.Cell);
    review.Letter = static_cast<char>(words.FirstLetter + best.Letter);
    review.Path = BoardPath(best);
    review.Missed = std::max<int>(0, static_cast<int>(best.Word.size() - turn.Word.size()));
    return review;
}

std::array<int, 2> PointsLeft(const TGameRecord& record, const QList<TTurnReview>& reviews) {
    std::array<int, 2> left{0, 0};
    for (qsizetype i = 0; i < reviews.size() && i < record.Turns.size(); ++i)
        left[record.Turns[i].Player == 1 ? 0 : 1] += reviews[i].Missed;
    return left;
}

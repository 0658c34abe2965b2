#include "PlainSearch.h"

#include "dictionary/Dictionary.h"

namespace {

using TMarks = std::array<bool, BoardCells>;

bool HasLetteredNeighbour(const TSearchBoard& board, TCellIndex cell) {
    const int col = cell / 5, row = cell % 5;
    return (col > 0 && board.Letters[cell - 5] != EmptyCell) ||
           (row > 0 && board.Letters[cell - 1] != EmptyCell) ||
           (col < 4 && board.Letters[cell + 5] != EmptyCell) ||
           (row < 4 && board.Letters[cell + 1] != EmptyCell);
}

struct TPlainSearch {
    const TDictionary& words;
    const QList<QByteArray>& usedWords;
    int maxLength;
    TSearchBoard board;
    TCellIndex trialCell = -1;
    TFoundMove best;

    char Letter(TCellIndex cell) const {
        return static_cast<char>(words.FirstLetter + board.Letters[cell]);
    }

    // Every path on from `cell`, its cells in `marks`, spelling `word` so far: depth first
    // over the neighbours below, above, right and left.
    void Trace(TMarks marks, TCellIndex cell, const QByteArray& word) {
        const int length = static_cast<int>(word.size());
        if (length > maxLength)
            return;
        if (length >= 2 && length > best.Word.size() && marks[trialCell] &&
            !usedWords.contains(word) && words.FindWord(word, length)) {
            best = {word, trialCell, board.Letters[trialCell], {}};
            for (TCellIndex marked = 0; marked < BoardCells; ++marked)
                if (marks[marked])
                    best.Path.push_back(marked);
        }
        const int steps[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
        for (const auto& [colStep, rowStep] : steps) {
            const int col = cell / 5 + colStep, row = cell % 5 + rowStep, next = col * 5 + row;
            if (col < 0 || col > 4 || row < 0 || row > 4 || board.Letters[next] == EmptyCell ||
                marks[next])
                continue;
            TMarks copy = marks;
            copy[next] = true;
            Trace(copy, next, word + Letter(next));
        }
    }

    void TraceFromEveryLetter() {
        for (TCellIndex start = 0; start < BoardCells; ++start)
            if (board.Letters[start] != EmptyCell) {
                TMarks marks{};
                marks[start] = true;
                Trace(marks, start, QByteArray(1, Letter(start)));
            }
    }
};

} // namespace

TFoundMove PlainBestMove(const TSearchBoard& board, const TDictionary& words, int strength,
                         bool adviceMode, const QList<QByteArray>& usedWords) {
    TPlainSearch search{words, usedWords, adviceMode ? 10 : strength, board, -1, {}};
    for (TCellIndex cell = 0; cell < BoardCells; ++cell) {
        if (board.Letters[cell] != EmptyCell)
            continue;
        if (search.best.Word.size() >= strength)
            break;
        if (!HasLetteredNeighbour(board, cell))
            continue;
        search.trialCell = cell;
        for (int letter = 0; letter < words.AlphabetSize(); ++letter) {
            search.board.Letters[cell] = static_cast<unsigned char>(letter);
            search.TraceFromEveryLetter();
        }
        search.board.Letters[cell] = EmptyCell;
    }
    return search.best;
}

#include "SearchPositions.h"

#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"

namespace {

TPosition StartPosition(const TDictionary& words, std::mt19937& random) {
    TPosition position;
    position.Board.Letters.fill(EmptyCell);
    const auto& fives = words.Lists[5];
    QByteArray start;
    while (start.isEmpty()) {
        start = CodePage::ToUpper(fives[static_cast<int>(random() % fives.size())]);
        for (char c : start)
            if (static_cast<unsigned char>(c) - words.FirstLetter >= words.AlphabetSize())
                start.clear();
    }
    for (int col = 0; col < 5; ++col)
        position.Board.Letters[col * 5 + 2] =
            static_cast<unsigned char>(static_cast<unsigned char>(start[col]) - words.FirstLetter);
    position.UsedWords.append(start);
    return position;
}

bool TouchesLetter(const TSearchBoard& board, int cell) {
    const int col = cell / 5, row = cell % 5;
    auto lettered = [&](int c, int r) {
        return c >= 0 && c < 5 && r >= 0 && r < 5 && board.Letters[c * 5 + r] != EmptyCell;
    };
    return lettered(col - 1, row) || lettered(col + 1, row) || lettered(col, row - 1) ||
           lettered(col, row + 1);
}

} // namespace

int TPosition::Letters() const {
    return static_cast<int>(std::count_if(Board.Letters.begin(), Board.Letters.end(),
                                          [](unsigned char l) { return l != EmptyCell; }));
}

TPosition RandomPosition(const TDictionary& words, std::mt19937& random, int moves) {
    TPosition position = StartPosition(words, random);
    for (int placed = 0; placed < moves;) {
        const int cell = static_cast<int>(random() % BoardCells);
        if (position.Board.Letters[cell] != EmptyCell || !TouchesLetter(position.Board, cell))
            continue;
        position.Board.Letters[cell] =
            static_cast<unsigned char>(random() % static_cast<unsigned>(words.AlphabetSize()));
        ++placed;
    }
    return position;
}

TPosition PlayedPosition(const TDictionary& words, std::mt19937& random, int moves) {
    TPosition position = StartPosition(words, random);
    for (int move = 0; move < moves; ++move) {
        const int strength = 3 + static_cast<int>(random() % 6);
        const auto request = MakeSearchRequest(words, strength, false, position.UsedWords);
        const TFoundMove found = SearchBestMove(position.Board, request, nullptr).Best;
        if (!found.Found())
            break;
        position.Board.Letters[found.Cell] = found.Letter;
        position.UsedWords.prepend(found.Word);
    }
    return position;
}

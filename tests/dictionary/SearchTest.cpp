#include "PlainSearch.h"
#include "SearchPositions.h"
#include "TestFolder.h"
#include "dictionary/Dictionary.h"
#include "dictionary/PrefixTree.h"

#include <gtest/gtest.h>

namespace {

class SearchTest : public ::testing::Test {
protected:
    void UseShippedDictionary(int language) {
        folder.LayShippedData();
        Words.Language = static_cast<quint16>(language);
        Words.FirstLetter = language == 1 ? 0xC0 : 0x41;
        Words.LoadWords(folder.Program());
    }
    void UseWords(const QByteArray& lines) {
        folder.Write("DATA/Lib.ENG", lines);
        Words.Language = 2;
        Words.FirstLetter = 0x41;
        Words.LoadWords(folder.Program());
    }
    TSearchRequest Request(int strength, bool advice, const QList<QByteArray>& used) const {
        return MakeSearchRequest(Words, strength, advice, used);
    }
    // Five rows of five letters or "." for empty, separated by "/".
    static TSearchBoard Board(const char* rowsText) {
        const QByteArray rows = QByteArray(rowsText).replace('/', "");
        TSearchBoard board;
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 5; ++col) {
                const char c = rows[row * 5 + col];
                board.Letters[col * 5 + row] =
                    c == '.' ? EmptyCell : static_cast<unsigned char>(c - 'A');
            }
        return board;
    }
    TestFolder folder;
    TDictionary Words;
};

// The move with its path as a set of cells, as the plain algorithm gives it.
std::tuple<QByteArray, TCellIndex, int, std::vector<TCellIndex>> Compared(TFoundMove move) {
    std::sort(move.Path.begin(), move.Path.end());
    return {move.Word, move.Cell, move.Letter, move.Path};
}

} // namespace

// The fast search chooses exactly the move of the plain algorithm, on random and played-out
// positions of both languages from the first move to a crowded board, for the computer and
// for advice, at every strength.
TEST_F(SearchTest, MatchesThePlainAlgorithm) {
    for (int language : {1, 2}) {
        UseShippedDictionary(language);
        std::mt19937 random(1234 + language);
        int crowded = 0, found = 0;
        for (int round = 0; round < 48; ++round) {
            const int moves = round < 36 ? static_cast<int>(random() % 14) : 14 + round % 7;
            const TPosition position = round % 2 ? RandomPosition(Words, random, moves)
                                                 : PlayedPosition(Words, random, moves);
            const bool advice = round % 3 == 0;
            const int strength = 3 + round % 6;
            const auto request = Request(strength, advice, position.UsedWords);
            const TFoundMove fast = SearchBestMove(position.Board, request, nullptr).Best;
            const TFoundMove plain =
                PlainBestMove(position.Board, Words, strength, advice, position.UsedWords);
            EXPECT_EQ(Compared(fast), Compared(plain))
                << "language " << language << " round " << round;
            crowded += position.Letters() >= 15;
            found += plain.Found();
        }
        // The positions cover late games and mostly have a move to find.
        EXPECT_GE(crowded, 8);
        EXPECT_GE(found, 36);
    }
}

// The first word of the greatest length in trial order wins; a used word is never chosen;
// the strength caps the length; a word must pass through the new letter. Advice traces up
// to 10 letters whatever the strength; the computer never beyond it.
TEST_F(SearchTest, ChoosesFirstLongestUnusedWordThroughTheNewLetter) {
    UseWords("CAB\r\nCAD\r\nCABS\r\nAD\r\nBA\r\n");
    const TSearchBoard board = Board("...../...../CA.../...../.....");
    const TCellIndex aboveA = 1 * 5 + 1;
    auto best = [&](int strength, QList<QByteArray> used) {
        return SearchBestMove(board, Request(strength, false, used), nullptr).Best;
    };
    EXPECT_EQ(Compared(best(3, {})), Compared({"CAB", aboveA, 'B' - 'A', {2, 6, 7}}));
    EXPECT_EQ(best(3, {"CAB"}).Word, "CAD");
    EXPECT_EQ(best(2, {}).Word, "BA");
    EXPECT_EQ(best(3, {"CAB", "CAD", "BA", "AD"}).Word, "");

    const TSearchBoard placed = Board("...../...../CAB../...../.....");
    const QList<QByteArray> used = {"CAB", "CAD", "BA", "AD"};
    EXPECT_EQ(SearchBestMove(placed, Request(3, false, used), nullptr).Best.Word, "");
    const TFoundMove plural = SearchBestMove(placed, Request(4, false, used), nullptr).Best;
    EXPECT_EQ(plural.Word, "CABS");
    EXPECT_EQ(plural.Path, (std::vector<TCellIndex>{2, 7, 12, 11}));

    UseWords("ABCDEFGH\r\n");
    const TSearchBoard open = Board("...../...../ABCDE/...GF/.....");
    for (const auto& [strength, advice, word] :
         {std::tuple(3, false, ""), std::tuple(7, false, ""), std::tuple(8, false, "ABCDEFGH"),
          std::tuple(3, true, "ABCDEFGH")})
        EXPECT_EQ(SearchBestMove(open, Request(strength, advice, {}), nullptr).Best.Word, word);
    EXPECT_EQ(SearchBestMove(open, Request(3, true, {}), nullptr).Best.Cell, 2 * 5 + 3);
}

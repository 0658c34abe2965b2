#pragma once
// The computer's search for the best move: for every free cell next to a letter and every
// letter of the alphabet, the longest dictionary word traced through that trial letter,
// up to a length limit. The first word of the greatest length in the fixed trial order wins:
// cells column by column, each from the top; letters in alphabet order; start cells column by
// column; neighbours below, above, right, left, depth first.
//
// No widgets here: the caller hears of each improvement through a listener.

#include <QByteArray>
#include <QList>
#include <array>
#include <cstdint>
#include <vector>

class TPrefixTree;
struct TDictionary;

// A cell index: (column − 1) × 5 + (row − 1), so index order is the board's column-major order.
using TCellIndex = int;
constexpr int BoardCells = 25;
constexpr unsigned char EmptyCell = 0xFF;
// A letter outside the alphabet: it fills its cell, but no word can pass through it.
constexpr unsigned char ForeignLetter = 0xFE;

struct TSearchBoard {
    // The alphabet index (0 = the first letter) of each fixed letter, or EmptyCell.
    std::array<unsigned char, BoardCells> Letters{};
};

struct TFoundMove {
    QByteArray Word; // in capitals of the code page
    TCellIndex Cell = -1;
    unsigned char Letter = 0; // alphabet index of the new letter
    std::vector<TCellIndex> Path;
    bool Found() const { return !Word.isEmpty(); }
};

class TSearchListener {
public:
    virtual ~TSearchListener() = default;
    // A longer word than any before.
    virtual void Improved(const TFoundMove& best) = 0;
};

struct TSearchRequest {
    const TPrefixTree* Tree = nullptr;
    unsigned char FirstLetter = 0xC0;
    int AlphabetSize = 32;
    int Strength = 8;
    bool AdviceMode = false;
    QList<QByteArray> UsedWords;
};

struct TSearchOutcome {
    TFoundMove Best;
};

// A request on the dictionary in memory, in its language.
TSearchRequest MakeSearchRequest(const TDictionary& words, int strength, bool adviceMode,
                                 const QList<QByteArray>& usedWords);

TSearchOutcome SearchBestMove(const TSearchBoard& board, const TSearchRequest& request,
                              TSearchListener* listener);

// The longest word a search may trace: the strength, or 10 for advice whatever the strength.
int SearchLengthLimit(const TSearchRequest& request);

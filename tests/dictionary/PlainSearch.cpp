#include "PlainSearch.h"

#include "dictionary/Dictionary.h"

namespace {

struct TSearchCell {
    char Letter = '?';
    quint8 Mark = 0;
};
using TSearchGrid = std::array<std::array<TSearchCell, 6>, 6>; // [Col][Row], 1..5

struct TContext {
    const TDictionary& words;
    int strength;
    bool adviceMode;
    const QList<QByteArray>& usedWords;
    TSearchGrid trialGrid;
    int trialCol = 0, trialRow = 0;
    QByteArray bestWord;
    TSearchGrid bestGrid;
    int bestCol = 0, bestRow = 0;
};

void SearchFrom(TContext& ctx, TSearchGrid grid, int col, int row, const QByteArray& w) {
    const int length = static_cast<int>(w.size());
    if (!ctx.adviceMode && length > ctx.strength)
        return;
    if (ctx.adviceMode && length > 10)
        return;
    if (length >= 2 && length > ctx.bestWord.size() && grid[ctx.trialCol][ctx.trialRow].Mark == 1 &&
        !ctx.usedWords.contains(w) && ctx.words.FindWord(w, length)) {
        ctx.bestWord = w;
        ctx.bestGrid = grid;
        ctx.bestCol = ctx.trialCol;
        ctx.bestRow = ctx.trialRow;
    }
    const int steps[4][2] = {{0, 1}, {0, -1}, {1, 0}, {-1, 0}};
    for (const auto& step : steps) {
        const int c = col + step[0], r = row + step[1];
        if (c < 1 || c > 5 || r < 1 || r > 5 || grid[c][r].Letter == '?' || grid[c][r].Mark)
            continue;
        TSearchGrid copy = grid;
        copy[c][r].Mark = 1;
        SearchFrom(ctx, copy, c, r, w + ctx.trialGrid[c][r].Letter);
    }
}

void SearchTrial(TContext& ctx) {
    for (int col = 1; col <= 5; ++col)
        for (int row = 1; row <= 5; ++row) {
            if (ctx.trialGrid[col][row].Letter == '?')
                continue;
            ctx.trialGrid[col][row].Mark = 1;
            SearchFrom(ctx, ctx.trialGrid, col, row, QByteArray(1, ctx.trialGrid[col][row].Letter));
            ctx.trialGrid[col][row].Mark = 0;
        }
}

bool HasLetteredNeighbour(const TSearchGrid& grid, int col, int row) {
    return (col > 1 && grid[col - 1][row].Letter != '?') ||
           (row > 1 && grid[col][row - 1].Letter != '?') ||
           (col < 5 && grid[col + 1][row].Letter != '?') ||
           (row < 5 && grid[col][row + 1].Letter != '?');
}

void TryCells(TContext& ctx, unsigned char firstLetter, int alphabet) {
    for (int col = 1; col <= 5; ++col)
        for (int row = 1; row <= 5; ++row) {
            if (ctx.trialGrid[col][row].Letter != '?')
                continue;
            if (ctx.bestWord.size() >= ctx.strength)
                return;
            if (!HasLetteredNeighbour(ctx.trialGrid, col, row))
                continue;
            for (int i = 0; i < alphabet; ++i) {
                ctx.trialCol = col;
                ctx.trialRow = row;
                ctx.trialGrid[col][row].Letter = static_cast<char>(firstLetter + i);
                SearchTrial(ctx);
                ctx.trialGrid[col][row].Letter = '?';
            }
        }
}

} // namespace

TFoundMove PlainBestMove(const TSearchBoard& board, const TDictionary& words, int strength,
                         bool adviceMode, const QList<QByteArray>& usedWords) {
    TContext ctx{words, strength, adviceMode, usedWords, {}, 0, 0, {}, {}, 0, 0};
    for (int col = 1; col <= 5; ++col)
        for (int row = 1; row <= 5; ++row) {
            const unsigned char letter = board.Letters[(col - 1) * 5 + row - 1];
            ctx.trialGrid[col][row].Letter =
                letter == EmptyCell ? '?' : static_cast<char>(words.FirstLetter + letter);
        }
    TryCells(ctx, words.FirstLetter, words.AlphabetSize());
    TFoundMove move;
    move.Word = ctx.bestWord;
    if (!move.Found())
        return move;
    for (int col = 1; col <= 5; ++col)
        for (int row = 1; row <= 5; ++row)
            if (ctx.bestGrid[col][row].Mark)
                move.Path.push_back((col - 1) * 5 + row - 1);
    move.Cell = (ctx.bestCol - 1) * 5 + ctx.bestRow - 1;
    move.Letter = static_cast<unsigned char>(ctx.bestGrid[ctx.bestCol][ctx.bestRow].Letter -
                                             words.FirstLetter);
    return move;
}

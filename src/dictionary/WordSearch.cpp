#include "dictionary/WordSearch.h"

#include "dictionary/Dictionary.h"
#include "dictionary/PrefixTree.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int AdviceLengthLimit = 10;
constexpr int MaxPath = 20;
constexpr int NoLetter = -1;

struct TNeighbours {
    std::array<std::array<signed char, 4>, BoardCells> cells{};
    std::array<int, BoardCells> count{};
};

// Below, above, right, left: the order in which paths grow.
TNeighbours MakeNeighbours() {
    TNeighbours n;
    for (int c = 0; c < BoardCells; ++c) {
        const int col = c / 5, row = c % 5;
        auto add = [&](int target) { n.cells[c][n.count[c]++] = static_cast<signed char>(target); };
        if (row < 4)
            add(c + 1);
        if (row > 0)
            add(c - 1);
        if (col < 4)
            add(c + 5);
        if (col > 0)
            add(c - 5);
    }
    return n;
}

const TNeighbours kNeighbours = MakeNeighbours();

int Distance(TCellIndex a, TCellIndex b) {
    return std::abs(a / 5 - b / 5) + std::abs(a % 5 - b % 5);
}

// One trial cell searched with all its letters in one pass over the paths: a path that has
// not yet reached the trial cell is the same for every letter, so it is walked once.
// Per letter, the first word of the greatest length is kept, exactly as letter-by-letter
// trials would keep it, because the order of paths is the same for every letter.
class TCellPass {
public:
    TCellPass(const TSearchBoard& board, const TSearchRequest& request, TCellIndex trial,
              int bestBefore)
        : board_(board), request_(request), tree_(*request.Tree), trial_(trial),
          limit_(SearchLengthLimit(request)), bestBefore_(bestBefore) {
        bestLength_.fill(0);
        floor_.fill(bestBefore);
    }

    void Run() {
        const std::uint32_t root = tree_.Root();
        for (TCellIndex start = 0; start < BoardCells; ++start) {
            path_[0] = start;
            if (start == trial_) {
                ForEachTrialLetter(root, [&](int letter, std::uint32_t child) {
                    Walk(start, child, 1, 1u << start, letter);
                });
            } else if (board_.Letters[start] < request_.AlphabetSize) {
                const std::uint32_t child = tree_.Child(root, board_.Letters[start]);
                if (child != TPrefixTree::None)
                    Walk(start, child, 1, 1u << start, NoLetter);
            }
        }
    }

    int BestLength(int letter) const { return bestLength_[letter]; }
    const std::vector<TCellIndex>& BestPath(int letter) const { return bestPath_[letter]; }

private:
    template <typename Action> void ForEachTrialLetter(std::uint32_t node, Action action) {
        std::uint32_t mask = tree_.ChildMask(node);
        while (mask) {
            const int letter = std::countr_zero(mask);
            mask &= mask - 1;
            if (letter < request_.AlphabetSize)
                action(letter, tree_.Child(node, letter));
        }
    }

    void Walk(TCellIndex cell, std::uint32_t node, int length, std::uint32_t visited, int letter) {
        if (letter != NoLetter) {
            const int floor = floor_[letter];
            if (length >= 2 && length > floor && tree_.IsWord(node) && !IsUsed(length, letter))
                Record(length, letter);
            if (length >= limit_ || length + tree_.Depth(node) <= floor_[letter])
                return;
        } else if (length >= limit_ || length + Distance(cell, trial_) > limit_ ||
                   length + tree_.Depth(node) <= bestBefore_) {
            return;
        }
        const auto& next = kNeighbours.cells[cell];
        for (int i = 0; i < kNeighbours.count[cell]; ++i) {
            const TCellIndex n = next[i];
            if (visited & (1u << n))
                continue;
            path_[length] = n;
            if (n == trial_) {
                ForEachTrialLetter(node, [&](int trialLetter, std::uint32_t child) {
                    Walk(n, child, length + 1, visited | (1u << n), trialLetter);
                });
            } else if (board_.Letters[n] < request_.AlphabetSize) {
                const std::uint32_t child = tree_.Child(node, board_.Letters[n]);
                if (child != TPrefixTree::None)
                    Walk(n, child, length + 1, visited | (1u << n), letter);
            }
        }
    }

    char LetterAt(TCellIndex cell, int trialLetter) const {
        const int index = cell == trial_ ? trialLetter : board_.Letters[cell];
        return static_cast<char>(request_.FirstLetter + index);
    }

    bool IsUsed(int length, int letter) const {
        for (const QByteArray& used : request_.UsedWords) {
            if (used.size() != length)
                continue;
            int i = 0;
            while (i < length && used[i] == LetterAt(path_[i], letter))
                ++i;
            if (i == length)
                return true;
        }
        return false;
    }

    void Record(int length, int letter) {
        bestLength_[letter] = length;
        bestPath_[letter].assign(path_.begin(), path_.begin() + length);
        // A later letter only matters when it beats every earlier letter's word.
        for (int l = letter; l < static_cast<int>(floor_.size()); ++l)
            floor_[l] = std::max(floor_[l], length);
    }

    const TSearchBoard& board_;
    const TSearchRequest& request_;
    const TPrefixTree& tree_;
    const TCellIndex trial_;
    const int limit_;
    const int bestBefore_;
    std::array<TCellIndex, MaxPath> path_{};
    std::array<int, TPrefixTree::MaxLetters> bestLength_{};
    std::array<int, TPrefixTree::MaxLetters> floor_{};
    std::array<std::vector<TCellIndex>, TPrefixTree::MaxLetters> bestPath_;
};

bool HasLetteredNeighbour(const TSearchBoard& board, TCellIndex cell) {
    for (int i = 0; i < kNeighbours.count[cell]; ++i)
        if (board.Letters[kNeighbours.cells[cell][i]] != EmptyCell)
            return true;
    return false;
}

TFoundMove MakeMove(const TSearchBoard& board, const TSearchRequest& request, TCellIndex trial,
                    int letter, const std::vector<TCellIndex>& path) {
    TFoundMove move;
    move.Cell = trial;
    move.Letter = static_cast<unsigned char>(letter);
    move.Path = path;
    for (TCellIndex cell : path) {
        const int index = cell == trial ? letter : board.Letters[cell];
        move.Word += static_cast<char>(request.FirstLetter + index);
    }
    return move;
}

} // namespace

int SearchLengthLimit(const TSearchRequest& request) {
    return std::min(request.AdviceMode ? AdviceLengthLimit : request.Strength, MaxPath);
}

TSearchRequest MakeSearchRequest(const TDictionary& words, int strength, bool adviceMode,
                                 const QList<QByteArray>& usedWords) {
    TSearchRequest request;
    request.Tree = &words.Prefixes();
    request.FirstLetter = words.FirstLetter;
    request.AlphabetSize = words.AlphabetSize();
    request.Strength = strength;
    request.AdviceMode = adviceMode;
    request.UsedWords = usedWords;
    return request;
}

TSearchOutcome SearchBestMove(const TSearchBoard& board, const TSearchRequest& request,
                              TSearchListener* listener) {
    TSearchOutcome outcome;
    for (TCellIndex cell = 0; cell < BoardCells; ++cell) {
        if (board.Letters[cell] != EmptyCell || !HasLetteredNeighbour(board, cell))
            continue;
        const int bestBefore = static_cast<int>(outcome.Best.Word.size());
        if (bestBefore >= request.Strength)
            break;
        TCellPass pass(board, request, cell, bestBefore);
        pass.Run();
        for (int letter = 0; letter < request.AlphabetSize; ++letter) {
            if (pass.BestLength(letter) <= outcome.Best.Word.size())
                continue;
            outcome.Best = MakeMove(board, request, cell, letter, pass.BestPath(letter));
            if (listener)
                listener->Improved(outcome.Best);
        }
    }
    return outcome;
}

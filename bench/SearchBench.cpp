// The computer's move on seeded positions: the game's search against the plain algorithm,
// by language, board fill and mode. Each benchmark cycles through its positions, so the
// reported time is the mean over them; the counter max_us is the slowest position. The review
// of a whole recorded game is measured on games the computer plays against itself.

#include "PlainSearch.h"
#include "SearchPositions.h"
#include "dictionary/Dictionary.h"
#include "dictionary/PrefixTree.h"
#include "game/GameReview.h"
#include "platform/CodePage.h"
#include "platform/ProgramFolder.h"
#include "settings/Settings.h"

#include <benchmark/benchmark.h>
#include <chrono>
#include <map>

namespace {

constexpr int PositionsPerSet = 16;

// The shipped dictionary of the language, read once for every benchmark.
const TDictionary& Dictionary(int language) {
    static std::map<int, TDictionary> loaded;
    TDictionary& words = loaded[language];
    if (words.WordCount[language] == 0) {
        UseLanguage(words, static_cast<quint16>(language));
        words.LoadWords(TProgramFolder(KORDI_SOURCE_DIR "/data"));
    }
    return words;
}

// Positions with at least `minLetters` letters on the board, reached by play.
std::vector<TPosition> Positions(int language, int minLetters) {
    const TDictionary& words = Dictionary(language);
    std::mt19937 random(77 + language * 1000 + minLetters);
    std::vector<TPosition> positions;
    while (positions.size() < PositionsPerSet) {
        TPosition position = PlayedPosition(words, random, minLetters - 5 + 3);
        if (position.Letters() >= minLetters)
            positions.push_back(position);
    }
    return positions;
}

TSearchRequest Request(const TDictionary& words, const TPosition& position, int strength,
                       bool advice) {
    return MakeSearchRequest(words, strength, advice, position.UsedWords);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Each iteration plays every position once. Reported: the median and the worst over the
// positions of each position's median time, which other processes on the machine disturb
// far less than a single run.
template <typename Move>
void Measure(benchmark::State& state, const std::vector<TPosition>& positions, Move move) {
    std::vector<std::vector<double>> times(positions.size());
    for (auto _ : state)
        for (std::size_t i = 0; i < positions.size(); ++i) {
            const auto start = std::chrono::steady_clock::now();
            benchmark::DoNotOptimize(move(positions[i]));
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            times[i].push_back(took.count());
        }
    std::vector<double> medians;
    for (const auto& t : times)
        medians.push_back(Median(t));
    state.counters["median_us"] = Median(medians);
    state.counters["worst_us"] = *std::max_element(medians.begin(), medians.end());
    state.counters["moves"] = benchmark::Counter(static_cast<double>(positions.size()),
                                                 benchmark::Counter::kIsIterationInvariantRate);
}

// Arguments: language, minimum letters on the board, advice (0 or 1).
void BM_FastMove(benchmark::State& state) {
    const int language = static_cast<int>(state.range(0));
    const auto positions = Positions(language, static_cast<int>(state.range(1)));
    const bool advice = state.range(2) != 0;
    const TDictionary& words = Dictionary(language);
    Measure(state, positions, [&](const TPosition& p) {
        return SearchBestMove(p.Board, Request(words, p, 8, advice), nullptr).Best.Word;
    });
}

void BM_PlainMove(benchmark::State& state) {
    const int language = static_cast<int>(state.range(0));
    const auto positions = Positions(language, static_cast<int>(state.range(1)));
    const bool advice = state.range(2) != 0;
    const TDictionary& words = Dictionary(language);
    Measure(state, positions, [&](const TPosition& p) {
        return PlainBestMove(p.Board, words, 8, advice, p.UsedWords).Word;
    });
}

void BM_BuildPrefixTree(benchmark::State& state) {
    const TDictionary& words = Dictionary(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(TPrefixTree(words).NodeCount());
}

// A whole game of the computer against itself at full strength, recorded as the game does.
TGameRecord PlayedGame(int language, unsigned seed) {
    const TDictionary& words = Dictionary(language);
    std::mt19937 random(seed);
    const auto& fives = words.Lists[5];
    const QByteArray start = CodePage::ToUpper(fives[random() % fives.size()]);
    TGameRecord record{static_cast<quint16>(language), {}};
    TRecordedTurn turn;
    TBoard board;
    board.SetUp(start);
    turn.Board = FixedLetters(board);
    turn.UsedWords = {start};
    for (int passes = 0; passes < 2 && turn.Board.contains(TRecordedTurn::EmptyLetter);) {
        const TFoundMove move =
            SearchBestMove(SearchBoardOf(turn.Board, words),
                           MakeSearchRequest(words, 8, false, turn.UsedWords), nullptr)
                .Best;
        record.Turns.append(turn);
        TRecordedTurn& played = record.Turns.last();
        passes = move.Found() ? 0 : passes + 1;
        if (move.Found()) {
            played.Word = move.Word;
            played.Cell = BoardPos(move.Cell);
            played.Path = BoardPath(move);
            turn.Board[move.Cell] = static_cast<char>(words.FirstLetter + move.Letter);
            turn.UsedWords.prepend(move.Word);
        }
        turn.Player = 3 - turn.Player;
    }
    return record;
}

// Arguments: language. Each iteration reviews every turn of one of eight games.
void BM_ReviewGame(benchmark::State& state) {
    const int language = static_cast<int>(state.range(0));
    std::vector<TGameRecord> games;
    for (unsigned seed = 1; seed <= 8; ++seed)
        games.push_back(PlayedGame(language, seed));
    const TDictionary& words = Dictionary(language);
    std::size_t next = 0, turns = 0;
    for (auto _ : state) {
        const TGameRecord& game = games[next++ % games.size()];
        for (const TRecordedTurn& turn : game.Turns)
            benchmark::DoNotOptimize(ReviewTurn(turn, words).Missed);
        turns += game.Turns.size();
    }
    state.counters["turns_per_game"] =
        static_cast<double>(turns) / static_cast<double>(state.iterations());
}

void FillLevels(benchmark::internal::Benchmark* b) {
    for (int language : {1, 2})
        for (int letters : {5, 10, 15, 20})
            for (int advice : {0, 1})
                b->Args({language, letters, advice});
}

void LateGame(benchmark::internal::Benchmark* b) {
    for (int language : {1, 2})
        for (int advice : {0, 1})
            b->Args({language, 15, advice});
}

} // namespace

BENCHMARK(BM_FastMove)->Apply(FillLevels)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PlainMove)->Apply(LateGame)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReviewGame)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildPrefixTree)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

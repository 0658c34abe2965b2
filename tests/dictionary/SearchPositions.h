#pragma once
// Seeded board positions for the search tests and benchmarks: random fills and positions
// reached by playing the computer against itself.

#include "dictionary/WordSearch.h"

#include <random>

struct TDictionary;

struct TPosition {
    TSearchBoard Board;
    QList<QByteArray> UsedWords;
    int Letters() const;
};

// A five-letter start word in row 3, then `moves` letters put next to letters at random.
TPosition RandomPosition(const TDictionary& words, std::mt19937& random, int moves);
// A start word, then up to `moves` moves of the game's own search at mixed strengths.
TPosition PlayedPosition(const TDictionary& words, std::mt19937& random, int moves);

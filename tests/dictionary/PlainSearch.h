#pragma once
// The computer's move computed the plain way, step by step as the game's rules describe it:
// a copied grid per step, a string per path, a dictionary look-up per candidate, no pruning.
// Kept as the reference that the game's fast search must match exactly.

#include "dictionary/WordSearch.h"

struct TDictionary;

TFoundMove PlainBestMove(const TSearchBoard& board, const TDictionary& words, int strength,
                         bool adviceMode, const QList<QByteArray>& usedWords);

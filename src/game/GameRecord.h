#pragma once
// The record of one game, turn by turn, as the game saw it: who moved, the board before the
// move, the word traced through the new letter or a pass, and the words used at that moment.
// It is written and read as text, one turn a line, so a game can be reviewed without the
// program that played it.

#include "game/Board.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct TRecordedTurn {
    int Player = 1; // 1 this side, 2 the opponent; advice moves for player 1
    // The fixed letters before the move, in code page bytes, cell by cell in board order
    // (column 1..5 outer, row 1..5 inner); EmptyLetter where there is none.
    QByteArray Board = QByteArray(TBoard::Size * TBoard::Size, EmptyLetter);
    TCellPos Cell;   // the new letter's cell; unused for a pass
    QByteArray Word; // empty for a pass
    QList<TCellPos> Path;
    QList<QByteArray> UsedWords;

    static constexpr char EmptyLetter = '.';
    bool Passed() const { return Word.isEmpty(); }
    // The letter placed: the word's letter on the new cell.
    char Letter() const;
};

struct TGameRecord {
    quint16 Language = 2; // 1 Russian, 2 English
    QList<TRecordedTurn> Turns;
};

// The board's fixed letters as a record keeps them.
QByteArray FixedLetters(const TBoard& board);

// The text form, UTF-8: a first line "kordi-record language N", then one line a turn:
//   PLAYER BOARD WORD PATH USED
// BOARD is 25 letters, rows from the top, "." for an empty cell; WORD the word or "-" for a
// pass; PATH the word's cells as column and row digits joined by "-", the new letter's cell
// marked "*" (or "-" for a pass); USED the used words joined by "," (or "-").
QByteArray WriteRecord(const TGameRecord& record);
// Raises KordiError naming `source` and the line for a record that breaks the format or the
// rules of a move.
TGameRecord ReadRecord(const QByteArray& text, const QString& source);

#pragma once
// The board as data: 5 by 5 cells, column and row both 1..5. A cell holds one letter (a
// code-page byte) or none, is fixed once its letter belongs to the board, and is selected
// while it is part of the word being traced or shown.

#include <QByteArray>
#include <QList>
#include <QPoint>
#include <array>

// A cell's place: x is the column, y the row, both 1..5.
using TCellPos = QPoint;

struct TCell {
    QByteArray Letter; // one byte, or empty
    bool Fixed = false;
    bool Selected = false;

    bool IsEmpty() const { return Letter.isEmpty(); }
    bool IsFree() const { return !Fixed; }
};

class TBoard {
public:
    static constexpr int Size = 5;

    // Raises std::out_of_range outside 1..5.
    TCell& At(TCellPos pos);
    const TCell& At(TCellPos pos) const;

    // Row 3 takes the start word, fixed; every other cell is free and empty; nothing is
    // selected. Without a start word the middle row stays free.
    void SetUp(const QByteArray& startWord);
    // The start word read back from row 3.
    QByteArray StartWord() const;
    bool Full() const;
    void ClearSelection();
    // Empties every free cell and clears the selection: the board as the last move left it.
    void ClearUnfixed();
    // The selected cells in board order: column 1..5 outer, row 1..5 inner.
    QList<TCellPos> SelectedCells() const;

    static bool Contains(TCellPos pos);
    // Cells that share a side.
    static bool AreNeighbours(TCellPos a, TCellPos b);
    // Every place in board order.
    static const QList<TCellPos>& Places();

private:
    std::array<TCell, Size * Size> cells_{};
};

// A cell's place in board order, from 0, and back.
int BoardIndex(TCellPos pos);
TCellPos BoardPos(int index);

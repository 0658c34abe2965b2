#include "game/Board.h"

#include <stdexcept>

namespace {

std::size_t Index(TCellPos pos) {
    if (!TBoard::Contains(pos))
        throw std::out_of_range("cell outside the board");
    return static_cast<std::size_t>(BoardIndex(pos));
}

} // namespace

TCell& TBoard::At(TCellPos pos) {
    return cells_[Index(pos)];
}

const TCell& TBoard::At(TCellPos pos) const {
    return cells_[Index(pos)];
}

void TBoard::SetUp(const QByteArray& startWord) {
    for (const TCellPos& pos : Places()) {
        TCell& cell = At(pos);
        cell = {};
        if (pos.y() == 3) {
            cell.Letter = startWord.mid(pos.x() - 1, 1);
            cell.Fixed = !cell.IsEmpty();
        }
    }
}

QByteArray TBoard::StartWord() const {
    QByteArray word;
    for (int col = 1; col <= Size; ++col)
        word += At({col, 3}).Letter;
    return word;
}

bool TBoard::Full() const {
    for (const TCell& cell : cells_)
        if (cell.IsFree())
            return false;
    return true;
}

void TBoard::ClearSelection() {
    for (TCell& cell : cells_)
        cell.Selected = false;
}

void TBoard::ClearUnfixed() {
    for (TCell& cell : cells_) {
        if (cell.IsFree())
            cell.Letter.clear();
        cell.Selected = false;
    }
}

QList<TCellPos> TBoard::SelectedCells() const {
    QList<TCellPos> selected;
    for (const TCellPos& pos : Places())
        if (At(pos).Selected)
            selected.append(pos);
    return selected;
}

bool TBoard::Contains(TCellPos pos) {
    return pos.x() >= 1 && pos.x() <= Size && pos.y() >= 1 && pos.y() <= Size;
}

bool TBoard::AreNeighbours(TCellPos a, TCellPos b) {
    const int dc = a.x() - b.x();
    const int dr = a.y() - b.y();
    return dc * dc + dr * dr == 1;
}

int BoardIndex(TCellPos pos) {
    return (pos.x() - 1) * TBoard::Size + pos.y() - 1;
}

TCellPos BoardPos(int index) {
    return {index / TBoard::Size + 1, index % TBoard::Size + 1};
}

const QList<TCellPos>& TBoard::Places() {
    static const QList<TCellPos> places = [] {
        QList<TCellPos> all;
        for (int col = 1; col <= Size; ++col)
            for (int row = 1; row <= Size; ++row)
                all.append({col, row});
        return all;
    }();
    return places;
}

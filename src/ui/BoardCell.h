#pragma once
// A board cell on the screen: a textured label that shows one cell of the game's board and
// reports the mouse. Column and row are 1..5.

#include "game/Board.h"
#include "platform/Checked.h"
#include "platform/TexturedLabel.h"

class TBoardCell : public TTexturedLabel {
    Q_OBJECT
public:
    TBoardCell(QWidget* parent, int col, int row);

    const quint16 Col;
    const quint16 Row;
    TCellPos Pos() const { return {Col, Row}; }

signals:
    void Entered(TBoardCell* cell);
    void Left(TBoardCell* cell);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
};

using TCells = CheckedArray<CheckedArray<TBoardCell*, 1, 5>, 1, 5>;

inline const QColor SelectedLetterColor{196, 255, 212};

// Creates the 25 cells on `owner`, centred on a width of `width`.
void CreateBoard(TCells& cells, QWidget* owner, int width);

// Applies `action` to every cell, column 1..5 outer, row 1..5 inner.
template <typename Action> void ForEachCell(const TCells& cells, Action action) {
    for (int col = 1; col <= 5; ++col)
        for (int row = 1; row <= 5; ++row)
            action(*cells[col][row]);
}

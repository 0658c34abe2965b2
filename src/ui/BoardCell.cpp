#include "ui/BoardCell.h"

TBoardCell::TBoardCell(QWidget* parent, int col, int row)
    : TTexturedLabel(parent), Col(static_cast<quint16>(col)), Row(static_cast<quint16>(row)) {
    SetBevels(Bevel::Raised, Bevel::Raised);
    QFont cellFont("Default");
    cellFont.setPointSize(19);
    setFont(cellFont);
}

void TBoardCell::enterEvent(QEnterEvent* event) {
    TTexturedLabel::enterEvent(event);
    emit Entered(this);
}

void TBoardCell::leaveEvent(QEvent* event) {
    TTexturedLabel::leaveEvent(event);
    emit Left(this);
}

void CreateBoard(TCells& cells, QWidget* owner, int width) {
    const int left = width / 2 - 100;
    for (int col = 1; col <= 5; ++col)
        for (int row = 1; row <= 5; ++row) {
            auto* cell = new TBoardCell(owner, col, row);
            cell->setGeometry(left + (col - 1) * 40 - 1, 118 + (row - 1) * 40, 40, 40);
            cells[col][row] = cell;
        }
}

#include "ui/BoardCell.h"

Tpole::Tpole(QWidget* parent, int col, int row)
    : TCoolLabel(parent), Col(static_cast<quint16>(col)), Row(static_cast<quint16>(row)) {
    SetBevels(Bevel::Raised, Bevel::Raised);
    QFont cellFont("Default");
    cellFont.setPointSize(19);
    setFont(cellFont);
}

void Tpole::enterEvent(QEnterEvent* event) {
    TCoolLabel::enterEvent(event);
    emit Entered(this);
}

void Tpole::leaveEvent(QEvent* event) {
    TCoolLabel::leaveEvent(event);
    emit Left(this);
}

void CreateBoard(TCells& cells, QWidget* owner) {
    const int left = owner->width() / 2 - 100;
    for (int col = 1; col <= 5; ++col)
        for (int row = 1; row <= 5; ++row) {
            auto* cell = new Tpole(owner, col, row);
            cell->setGeometry(left + (col - 1) * 40 - 1, 118 + (row - 1) * 40, 40, 40);
            cells[col][row] = cell;
        }
}

#include "core/PoleUnit.h"

#include "platform/CodePage.h"
#include "ui/ImagesUnit.h"

Tpole::Tpole(QWidget* parent, int col, int row)
    : TCoolLabel(parent), Col(static_cast<quint16>(col)), Row(static_cast<quint16>(row)) {
    SetBevels(Bevel::Raised, Bevel::Raised);
    QFont cellFont("Default");
    cellFont.setPointSize(19);
    setFont(cellFont);
}

void Tpole::SetLetter(const QByteArray& letter) {
    letter_ = letter;
    SetCaption(CodePage::ToUnicode(letter));
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

void SelectCell(Tpole& cell) {
    if (cell.Selected)
        return;
    cell.SetTexture(SkinBitmaps[SlotTracedCell]);
    cell.Selected = 1;
    cell.SetFontColor(SelectedLetterColor);
}

void UnselectCell(Tpole& cell) {
    if (!cell.Selected)
        return;
    cell.SetTexture(SkinBitmaps[SlotCell]);
    cell.Selected = 0;
    cell.SetFontColor(Qt::black);
}

void ClearSelection(TCells& cells) {
    ForEachCell(cells, [](Tpole& cell) { UnselectCell(cell); });
}

void RefreshBevels(TCells& cells) {
    ForEachCell(cells, [](Tpole& cell) {
        const bool pressed = cell.IsFree() && !cell.IsEmpty() && !cell.Selected;
        const auto bevel = pressed ? TCoolLabel::Bevel::Lowered : TCoolLabel::Bevel::Raised;
        cell.SetBevels(bevel, bevel);
    });
}

bool BoardFull(const TCells& cells) {
    bool full = true;
    ForEachCell(cells, [&](Tpole& cell) { full = full && !cell.IsFree(); });
    return full;
}

void SetUpBoard(TCells& cells, const QByteArray& startWord) {
    ForEachCell(cells, [&](Tpole& cell) {
        if (cell.Row == 3) {
            // Without a start word the middle row stays free rather than fixed and empty.
            cell.SetLetter(startWord.mid(cell.Col - 1, 1));
            cell.Fixed = cell.IsEmpty() ? 0 : 1;
        } else {
            cell.SetLetter({});
            cell.Fixed = 0;
        }
        UnselectCell(cell);
    });
}

QByteArray StartWordOf(const TCells& cells) {
    QByteArray word;
    for (int col = 1; col <= 5; ++col)
        word += cells[col][3]->Letter();
    return word;
}

bool AreNeighbours(int col1, int row1, int col2, int row2) {
    const int dc = col1 - col2;
    const int dr = row1 - row2;
    return dc * dc + dr * dr == 1;
}

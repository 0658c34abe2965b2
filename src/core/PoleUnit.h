#pragma once
// The board: 25 letter cells, column-major, 1-based. A cell's letter is its caption.

#include "platform/Checked.h"
#include "platform/CoolLabel.h"

#include <QByteArray>

class Tpole : public TCoolLabel {
    Q_OBJECT
public:
    Tpole(QWidget* parent, int col, int row);

    quint8 Fixed = 0;
    quint8 Selected = 1; // so the first UnselectCell gives every cell its normal look
    const quint16 Col;
    const quint16 Row;

    // The letter as one code-page byte, or empty.
    QByteArray Letter() const { return letter_; }
    void SetLetter(const QByteArray& letter);
    bool IsEmpty() const { return letter_.isEmpty(); }
    bool IsFree() const { return Fixed == 0; }

signals:
    void Entered(Tpole* cell);
    void Left(Tpole* cell);

protected:
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QByteArray letter_;
};

using TCells = CheckedArray<CheckedArray<Tpole*, 1, 5>, 1, 5>;

inline const QColor SelectedLetterColor{196, 255, 212};

// Creates the 25 cells on `owner`, centred on its width.
void CreateBoard(TCells& cells, QWidget* owner);

void SelectCell(Tpole& cell);
void UnselectCell(Tpole& cell);
void ClearSelection(TCells& cells);
void RefreshBevels(TCells& cells);
bool BoardFull(const TCells& cells);
void SetUpBoard(TCells& cells, const QByteArray& startWord);
// The start word read back from row 3.
QByteArray StartWordOf(const TCells& cells);
bool AreNeighbours(int col1, int row1, int col2, int row2);

// Applies `action` to every cell, column 1..5 outer, row 1..5 inner.
template <typename Action> void ForEachCell(const TCells& cells, Action action) {
    for (int col = 1; col <= 5; ++col)
        for (int row = 1; row <= 5; ++row)
            action(*cells[col][row]);
}

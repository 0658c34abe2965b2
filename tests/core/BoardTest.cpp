#include "TestFolder.h"
#include "core/PoleUnit.h"
#include "ui/ImagesUnit.h"

#include <QWidget>
#include <gtest/gtest.h>

namespace {

class BoardTest : public ::testing::Test {
protected:
    BoardTest() {
        folder.LayShippedData();
        LoadSkinImages();
        owner.resize(588, 410);
        CreateBoard(cells, &owner);
        SetUpBoard(cells, "ABCDE");
    }
    TestFolder folder;
    QWidget owner;
    TCells cells;
};

} // namespace

// The start word lies fixed in row 3 and reads back; the other 20 cells are free and empty.
// Without a start word the middle row is left free and empty too.
TEST_F(BoardTest, SetUpPlacesStartWordInMiddleRow) {
    EXPECT_EQ(StartWordOf(cells), "ABCDE");
    ForEachCell(cells, [](Tpole& cell) {
        EXPECT_FALSE(cell.Selected);
        EXPECT_EQ(cell.Fixed, cell.Row == 3 ? 1 : 0);
        EXPECT_EQ(cell.IsEmpty(), cell.Row != 3);
    });
    SetUpBoard(cells, {});
    EXPECT_TRUE(StartWordOf(cells).isEmpty());
    EXPECT_EQ(cells[3][3]->Fixed, 0);
}

// Only cells sharing a side are neighbours.
TEST_F(BoardTest, NeighboursShareASide) {
    EXPECT_TRUE(AreNeighbours(2, 2, 2, 3) && AreNeighbours(3, 2, 2, 2));
    EXPECT_FALSE(AreNeighbours(2, 2, 3, 3) || AreNeighbours(2, 2, 2, 2) ||
                 AreNeighbours(1, 1, 1, 3));
}

// Selecting twice is selecting once; unselecting an unselected cell changes nothing. A
// tentative letter looks pressed in; once selected it looks raised again.
TEST_F(BoardTest, SelectionLook) {
    Tpole& cell = *cells[2][3];
    SelectCell(cell);
    SelectCell(cell);
    EXPECT_EQ(cell.Selected, 1);
    EXPECT_EQ(cell.FontColor(), SelectedLetterColor);
    EXPECT_EQ(cell.Texture().cacheKey(), SkinBitmaps[SlotTracedCell].cacheKey());
    ClearSelection(cells);
    EXPECT_EQ(cell.Selected, 0);
    EXPECT_EQ(cell.FontColor(), QColor(Qt::black));
    cell.SetFontColor(Qt::red);
    UnselectCell(cell);
    EXPECT_EQ(cell.FontColor(), QColor(Qt::red));

    Tpole& tentative = *cells[1][2];
    tentative.SetLetter("X");
    RefreshBevels(cells);
    EXPECT_EQ(tentative.OuterBevel(), TCoolLabel::Bevel::Lowered);
    EXPECT_EQ(cells[1][3]->OuterBevel(), TCoolLabel::Bevel::Raised);
    SelectCell(tentative);
    RefreshBevels(cells);
    EXPECT_EQ(tentative.OuterBevel(), TCoolLabel::Bevel::Raised);
}

// The board is full once every free cell has been fixed, and not before.
TEST_F(BoardTest, FullBoard) {
    EXPECT_FALSE(BoardFull(cells));
    ForEachCell(cells, [](Tpole& cell) { cell.Fixed = cell.Col != 5 || cell.Row != 5; });
    EXPECT_FALSE(BoardFull(cells));
    cells[5][5]->Fixed = 1;
    EXPECT_TRUE(BoardFull(cells));
}

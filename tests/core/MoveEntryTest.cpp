#include "GameFixture.h"
#include "dictionary/WordsUnit.h"
#include "platform/CoolLabel.h"
#include "ui/ChoiceUnit.h"

#include <QApplication>
#include <QTest>

namespace {

using MoveEntry = GameFixture;

void Answer(bool yes) {
    WhenModal<TChoiceWindow>([yes](TChoiceWindow* question) {
        QTest::mouseClick(yes ? question->YesButton : question->NoButton, Qt::LeftButton);
    });
}

} // namespace

// The game starts with the dictionary's five-letter word in row 3. A chosen letter is
// previewed under the mouse, placed by a click, and a word traced over neighbours through it
// is accepted and credited one point per letter.
TEST_F(MoveEntry, PlaceTraceAndSubmit) {
    EXPECT_EQ(StartWordOf(Main().Cells), "HOUSE");
    PickLetter('A');
    MoveTo(1, 2);
    EXPECT_EQ(Caption(1, 2), "A");
    MoveTo(2, 2);
    EXPECT_EQ(Caption(1, 2), "");
    ClickCell(1, 2);
    EXPECT_EQ(Main().MoveState, 1);
    ClickCell(1, 2);
    ClickCell(3, 3); // not a neighbour of the last traced cell: ignored
    ClickCell(1, 3);
    EXPECT_EQ(Main().Slowo->Caption(), "AH");
    ClickCell(1, 3);
    EXPECT_EQ(Main().Score1->Caption(), "002");
    EXPECT_EQ(Main().WordLabels[1][1]->Caption(), "AH");
    EXPECT_EQ(Cell(1, 2).Fixed, 1);
    // The computer found nothing to answer with and gave the turn back.
    EXPECT_EQ(Main().Score2->Caption(), "000");
    EXPECT_EQ(Main().SkipCount, 1);
    EXPECT_EQ(Main().MoveState, 0);
}

// One letter, and a word used before in this game, are refused and the trace cleared; the
// placed letter stays.
TEST_F(MoveEntry, RefusesOneLetterAndUsedWords) {
    PickLetter('A');
    ClickCell(1, 2);
    ClickCell(1, 2);
    ClickCell(1, 2);
    EXPECT_EQ(Main().Slowo->Caption(), "");
    EXPECT_EQ(Cell(1, 2).Selected, 0);
    EXPECT_EQ(Main().MoveState, 1);
    ClickCell(1, 2);
    ClickCell(1, 3);
    ClickCell(1, 3);
    EXPECT_EQ(Main().Score1->Caption(), "002");

    PlayWord('A', 1, 4, {{1, 4}, {1, 3}});
    EXPECT_EQ(Main().Score1->Caption(), "002");
    EXPECT_EQ(Main().MoveState, 1);
    EXPECT_EQ(Caption(1, 4), "A");
}

// A word of 21 letters is refused without a look-up or a question.
TEST_F(MoveEntry, RefusesTwentyOneLetters) {
    // A snake over every row, with one free cell for the new letter at its end.
    ForEachCell(Main().Cells, [](Tpole& cell) {
        cell.SetLetter("B");
        cell.Fixed = 1;
    });
    Cell(1, 5).SetLetter({});
    Cell(1, 5).Fixed = 0;
    PickLetter('A');
    ClickCell(1, 5);
    std::vector<std::pair<int, int>> snake;
    for (int row = 1; row <= 4; ++row)
        for (int i = 0; i < 5; ++i)
            snake.push_back({row % 2 ? i + 1 : 5 - i, row});
    for (auto [col, row] : snake)
        ClickCell(col, row);
    ClickCell(1, 5);
    EXPECT_EQ(Main().Slowo->Caption().size(), 21);
    ClickCell(1, 5);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(Main().Slowo->Caption(), "");
    EXPECT_EQ(Main().Score1->Caption(), "000");
}

// Right clicks do nothing while a window that suspends the game is active. Otherwise the
// first cancels the trace, the second takes the letter back, and the chosen letter is
// previewed again under the mouse.
TEST_F(MoveEntry, RightClicksTakeBack) {
    PickLetter('A');
    ClickCell(1, 2);
    MainActive = 0;
    RightClick(1, 2);
    MainActive = 1;
    EXPECT_EQ(Main().MoveState, 1);
    ClickCell(1, 2);
    RightClick(1, 2);
    EXPECT_EQ(Main().Slowo->Caption(), "");
    EXPECT_EQ(Cell(1, 2).Selected, 0);
    EXPECT_EQ(Caption(1, 2), "A");
    EXPECT_EQ(Main().MoveState, 1);
    RightClick(1, 2);
    EXPECT_EQ(Main().MoveState, 0);
    EXPECT_EQ(Caption(1, 2), "A"); // the preview, back at once
    MoveTo(2, 2);
    EXPECT_EQ(Caption(1, 2), "");
}

// Picking another letter takes the placed one back; picking the chosen one changes nothing.
TEST_F(MoveEntry, PickingAnotherLetter) {
    PickLetter('A');
    ClickCell(1, 2);
    PickLetter('A');
    EXPECT_EQ(Main().MoveState, 1);
    PickLetter('B');
    EXPECT_EQ(Main().MoveState, 0);
    EXPECT_EQ(Caption(1, 2), "");
    EXPECT_EQ(Main().ChosenLetter, "B");
    EXPECT_EQ(Main().letters[1]->FontColor(), QColor(255, 255, 0));
    EXPECT_EQ(Main().letters[2]->FontColor(), QColor(0, 0, 255));
}

// Declining the add-word question clears the trace and credits nothing; an unknown word
// added after a yes is in the file, credited, and known later.
TEST_F(MoveEntry, AddWordQuestion) {
    Answer(false);
    PlayWord('A', 1, 4, {{1, 3}, {1, 4}});
    EXPECT_EQ(Main().Score1->Caption(), "000");
    EXPECT_EQ(Main().Slowo->Caption(), "");
    EXPECT_EQ(Main().MoveState, 1);
    EXPECT_FALSE(folder.Read("DATA/Lib.ENG").contains("HA"));

    Answer(true);
    for (auto [col, row] : {std::pair(1, 3), std::pair(1, 4), std::pair(1, 4)})
        ClickCell(col, row);
    EXPECT_EQ(Main().Score1->Caption(), "002");
    EXPECT_TRUE(folder.Read("DATA/Lib.ENG").endsWith("HA\r\n"));
    EXPECT_TRUE(Words.FindWord("HA", 2));
}

// The main window as a view of the game: what the mouse does reaches the game, and what the
// game holds shows on the window. The rules themselves are tested on the game alone.

#include "WindowFixture.h"
#include "dictionary/Dictionary.h"
#include "platform/TexturedLabel.h"
#include "ui/QuestionWindow.h"
#include "ui/RecordsWindow.h"
#include "ui/ResultWindow.h"

#include <QLineEdit>
#include <QShowEvent>
#include <QTest>
#include <QtTest/qtestspontaneevent.h>

namespace {

using MainWindowView = GameFixture;

class MainWindowWithoutWords : public GameFixture {
protected:
    MainWindowWithoutWords() : GameFixture("HOUSE\r\n") {}
};

} // namespace

// Letter buttons, hovering, clicks and the word label: the chosen letter shows blue and is
// previewed under the mouse; the placed letter looks pressed in; the traced word is shown,
// and once accepted it heads the person's list and the score reads in three digits.
TEST_F(MainWindowView, MousePlaysAWord) {
    PickLetter('A');
    EXPECT_EQ(Main().LetterButtons[1]->FontColor(), QColor(0, 0, 255));
    EXPECT_EQ(Main().LetterButtons[2]->FontColor(), QColor(255, 255, 0));
    MoveTo(1, 2);
    EXPECT_EQ(Caption(1, 2), "A");
    MoveTo(2, 2);
    EXPECT_EQ(Caption(1, 2), "");
    ClickCell(1, 2);
    EXPECT_EQ(Cell(1, 2).OuterBevel(), TTexturedLabel::Bevel::Lowered);
    ClickCell(1, 2);
    ClickCell(1, 3);
    EXPECT_EQ(Main().WordLabel->Caption(), "AH");
    EXPECT_EQ(Cell(1, 3).FontColor(), SelectedLetterColor);
    ClickCell(1, 3);
    EXPECT_EQ(Main().OwnScoreLabel->Caption(), "002");
    EXPECT_EQ(Main().WordLabels[1][1]->Caption(), "AH");
    EXPECT_FALSE(Main().SkipButton->isEnabled());
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(Main().SkipButton->isEnabled());
    EXPECT_EQ(Cell(1, 2).OuterBevel(), TTexturedLabel::Bevel::Raised);
    EXPECT_EQ(Main().windowTitle(), "Kordi 2000");
}

// The add-word question opens without holding the program, and its buttons answer the game.
TEST_F(MainWindowView, AddWordQuestionAnswers) {
    PlayWord('A', 1, 4, {{1, 3}, {1, 4}});
    ASSERT_TRUE(QuestionWindow->isVisible());
    EXPECT_TRUE(QuestionWindow->windowTitle().endsWith(" HA"));
    QTest::mouseClick(QuestionWindow->NoButton, Qt::LeftButton);
    EXPECT_EQ(Main().WordLabel->Caption(), "");
    for (auto [col, row] : {std::pair(1, 3), std::pair(1, 4), std::pair(1, 4)})
        ClickCell(col, row);
    ASSERT_TRUE(QuestionWindow->isVisible());
    QTest::mouseClick(QuestionWindow->YesButton, Qt::LeftButton);
    EXPECT_EQ(Main().OwnScoreLabel->Caption(), "002");
    EXPECT_TRUE(Words.FindWord("HA", 2));
}

// The end of a game against the computer opens the result window, then the records window,
// then starts the next game. Hiding the program meanwhile, or the window system showing the
// window again after a minimise, neither ends the window nor resets the typed name, and the
// result is filed once, when its window closes.
TEST_F(MainWindowWithoutWords, GameEndWindowsSurviveHiding) {
    const quint32 game = Game().GameNumber();
    QTest::mouseClick(Main().SkipButton, Qt::LeftButton);
    ASSERT_TRUE(Settled());
    QTest::mouseClick(Main().SkipButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([this] { return ResultWindow->isVisible(); }, 5000));
    ResultWindow->NameEdit->setText("Ann");
    Main().ToggleHidden();
    EXPECT_FALSE(ResultWindow->isVisible());
    Main().ToggleHidden();
    ASSERT_TRUE(ResultWindow->isVisible());
    QShowEvent restored;
    QSpontaneKeyEvent::setSpontaneous(&restored);
    QApplication::sendEvent(ResultWindow, &restored);
    EXPECT_EQ(ResultWindow->NameEdit->text(), "Ann");
    EXPECT_TRUE(CurrentWinners()[0].IsEmpty());
    QTest::mouseClick(ResultWindow->OkButton, Qt::LeftButton);
    EXPECT_EQ(CurrentWinners()[0], (TWinner{"Ann", 0}));
    EXPECT_TRUE(CurrentWinners()[1].IsEmpty());
    ASSERT_TRUE(RecordsWindow->isVisible());
    QTest::mouseClick(RecordsWindow->OkButton, Qt::LeftButton);
    EXPECT_EQ(Game().GameNumber(), game + 1);
    EXPECT_EQ(Game().MoveState(), 0);
}

#include "GameFixture.h"
#include "platform/CoolLabel.h"
#include "settings/AddRatingUnit.h"
#include "settings/WinnersUnit.h"

#include <QTest>
#include <QTimer>

namespace {

using TurnFlow = GameFixture;

class TurnFlowWithoutWords : public GameFixture {
protected:
    TurnFlowWithoutWords() : GameFixture("HOUSE\r\n") {}
};

} // namespace

// Scores show three digits; the newest word heads its list, and a word pushed off the
// screen is still refused as used.
TEST_F(TurnFlow, CreditingWords) {
    Main().CreditWord(1, "SEVEN12");
    Main().CreditWord(1, "HOUSE");
    EXPECT_EQ(Main().Score1->Caption(), "012");
    EXPECT_EQ(Main().WordLabels[1][1]->Caption(), "HOUSE");
    EXPECT_EQ(Main().WordLabels[1][2]->Caption(), "SEVEN12");
    for (int i = 0; i < 15; ++i)
        Main().CreditWord(2, "W" + QByteArray::number(i));
    EXPECT_EQ(Main().WordLabels[2][15]->Caption(), "W0");
    Main().CreditWord(2, "LAST");
    EXPECT_EQ(Main().WordLabels[2][15]->Caption(), "W1");
    EXPECT_TRUE(Main().UsedWords.IsUsed("W0"));
    EXPECT_EQ(Main().Score2->Caption(), "039");
}

// Against the computer a skip answered without a word leaves the game running; a second
// such pair ends it, and the next game starts with no passes counted.
TEST_F(TurnFlowWithoutWords, TwoFruitlessSkipsEndTheGame) {
    const quint32 game = Main().GameNumber;
    QTest::mouseClick(Main().SkipButton, Qt::LeftButton);
    EXPECT_EQ(Main().SkipCount, 2);
    EXPECT_EQ(Main().GameNumber, game);
    EXPECT_EQ(Main().MoveState, 0);
    // The result window, then the records window, then the next game.
    bool sawResult = false, sawRecords = false;
    WhenModal<TAddRatingWindow>([&](TAddRatingWindow* result) {
        sawResult = true;
        WhenModal<TWinnersWindow>([&](TWinnersWindow* records) {
            sawRecords = true;
            QTest::mouseClick(records->CoolOkbutton, Qt::LeftButton);
        });
        QTest::mouseClick(result->CoolOkButton, Qt::LeftButton);
    });
    QTest::mouseClick(Main().SkipButton, Qt::LeftButton);
    EXPECT_TRUE(sawResult);
    EXPECT_TRUE(sawRecords);
    EXPECT_EQ(Main().GameNumber, game + 1);
    EXPECT_EQ(Main().SkipCount, 0);
    EXPECT_EQ(Main().MoveState, 0);
}

// Advice plays the best word for the person, hides the Advice button and the computer
// answers at once.
TEST_F(TurnFlow, AdviceFound) {
    QTest::mouseClick(Main().AdviceButton, Qt::LeftButton);
    EXPECT_EQ(Main().Score1->Caption(), "002");
    EXPECT_EQ(Main().WordLabels[1][1]->Caption(), "AH");
    EXPECT_EQ(Caption(1, 2), "A");
    EXPECT_EQ(Cell(1, 2).Fixed, 1);
    EXPECT_FALSE(Main().AdviceButton->isVisible());
    EXPECT_EQ(Main().SkipCount, 1); // the computer's reply found nothing
    EXPECT_EQ(Main().MoveState, 0);
    Main().Menu_NewGameClick();
    EXPECT_TRUE(Main().AdviceButton->isVisible());
}

// An advice that finds nothing credits nothing, keeps the button and counts as a pass.
TEST_F(TurnFlowWithoutWords, AdviceNotFound) {
    QTest::mouseClick(Main().AdviceButton, Qt::LeftButton);
    EXPECT_EQ(Main().Score1->Caption(), "000");
    EXPECT_TRUE(Main().AdviceButton->isVisible());
    EXPECT_EQ(Main().SkipCount, 1);
    EXPECT_EQ(Main().AdviceMode, 0);
    EXPECT_EQ(Main().MoveState, 0);
}

// A new game started while the computer searches stops the search, and nothing of the
// old move reaches the new game.
TEST_F(TurnFlow, NewGameDuringSearch) {
    PickLetter('A');
    ClickCell(1, 2);
    const quint32 game = Main().GameNumber;
    // The waiting caption goes up just before the search starts.
    QObject::connect(
        &Main(), &QWidget::windowTitleChanged, &Main(),
        [this] { QTimer::singleShot(0, &Main(), [this] { Main().Menu_NewGameClick(); }); },
        Qt::SingleShotConnection);
    QTest::mouseClick(Main().SkipButton, Qt::LeftButton);
    EXPECT_EQ(Main().GameNumber, game + 1);
    EXPECT_EQ(Main().SkipCount, 0);
    EXPECT_EQ(Main().MoveState, 0);
    EXPECT_EQ(Main().Score2->Caption(), "000");
    // Only the preview of the chosen letter under the mouse is on the fresh board.
    ForEachCell(Main().Cells, [](Tpole& cell) {
        const bool preview = cell.Col == 1 && cell.Row == 2;
        EXPECT_EQ(cell.IsEmpty(), cell.Row != 3 && !preview);
        EXPECT_EQ(cell.Fixed, cell.Row == 3 ? 1 : 0);
        EXPECT_EQ(cell.Selected, 0);
    });
    EXPECT_TRUE(Main().SkipButton->isEnabled());
}

// A tentative letter looks pressed in after the next timer tick; the strength label shows
// the level, the strength less 2.
TEST_F(TurnFlow, TimerRefreshesBevels) {
    PickLetter('A');
    ClickCell(1, 2);
    MoveTo(5, 5);
    Cell(1, 2).SetBevels(TCoolLabel::Bevel::Raised, TCoolLabel::Bevel::Raised);
    QTRY_COMPARE_WITH_TIMEOUT(Cell(1, 2).OuterBevel(), TCoolLabel::Bevel::Lowered, 1000);
    EXPECT_EQ(Main().StrongLabel->Caption(), "6");
}

// The rules of one game, played on the model alone.

#include "GameFixture.h"

#include <QSignalSpy>

namespace {

class GameWithoutWords : public GameTest {
protected:
    GameWithoutWords() : GameTest("HOUSE\r\n") {}
};

} // namespace

// The start word lies in row 3 and counts as used. A chosen letter is previewed only over a
// free cell; a click places it, a word traced over neighbours through it is credited a point
// a letter, and the computer answers and gives the turn back.
TEST_F(GameTest, PlaceTraceAndSubmit) {
    EXPECT_TRUE(game.UsedWords().IsUsed("HOUSE"));
    game.PickLetter("A");
    game.Hover({1, 2});
    EXPECT_EQ(game.ShownLetter({1, 2}), "A");
    game.Hover({1, 3});
    EXPECT_EQ(game.ShownLetter({1, 2}), "");
    EXPECT_EQ(game.ShownLetter({1, 3}), "H");
    game.ClickCell({1, 2});
    game.ClickCell({1, 2});
    game.ClickCell({3, 3}); // not a neighbour of the last traced cell
    game.ClickCell({1, 3});
    EXPECT_EQ(game.WordShown(), "AH");
    game.ClickCell({1, 3});
    EXPECT_EQ(game.Score(1), 2);
    EXPECT_TRUE(Cell(1, 2).Fixed);
    EXPECT_EQ(game.MoveState(), 2);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.SkipCount(), 1); // the computer found nothing
    EXPECT_EQ(game.MoveState(), 0);
    EXPECT_EQ(effects.Waited, std::vector<TSound>{TSound::Apply});
}

// One letter and a used word are refused with the blink, which takes no input; the trace
// goes, the letter stays.
TEST_F(GameTest, RefusesOneLetterAndUsedWords) {
    game.PickLetter("A");
    for (int click = 0; click < 3; ++click)
        game.ClickCell({1, 2});
    EXPECT_EQ(game.Phase(), TPhase::Refusing);
    game.ClickCell({1, 3});
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.WordShown(), "");
    EXPECT_FALSE(Cell(1, 2).Selected);
    EXPECT_EQ(game.MoveState(), 1);
    for (TCellPos pos : {TCellPos(1, 2), TCellPos(1, 3), TCellPos(1, 3)})
        game.ClickCell(pos);
    ASSERT_TRUE(Settled());
    PlayWord('A', {1, 4}, {{1, 4}, {1, 3}});
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.Score(1), 2);
    EXPECT_EQ(Letter(1, 4), "A");
}

// The first right click cancels the trace, the second takes the letter back; picking another
// letter takes a placed one back, picking the chosen one changes nothing.
TEST_F(GameTest, TakingBack) {
    game.PickLetter("A");
    game.ClickCell({1, 2});
    game.ClickCell({1, 2});
    game.RightClick();
    EXPECT_FALSE(Cell(1, 2).Selected);
    EXPECT_EQ(game.MoveState(), 1);
    game.RightClick();
    EXPECT_EQ(Letter(1, 2), "");
    game.ClickCell({1, 2});
    game.PickLetter("A");
    EXPECT_EQ(game.MoveState(), 1);
    game.PickLetter("B");
    EXPECT_EQ(game.MoveState(), 0);
    EXPECT_EQ(Letter(1, 2), "");
}

// An unknown word asks first, taking no input meanwhile: no clears the trace, no answer
// keeps it, yes adds the word to the file and credits it without the apply sound.
TEST_F(GameTest, AddWordQuestion) {
    QSignalSpy asked(&game, &TGame::QuestionAsked);
    PlayWord('A', {1, 4}, {{1, 3}, {1, 4}});
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0][0].toByteArray(), "HA");
    game.ClickCell({1, 3});
    game.AnswerQuestion(TAnswer::No);
    EXPECT_EQ(game.WordShown(), "");
    EXPECT_FALSE(folder.Read("DATA/Lib.ENG").contains("HA"));

    for (TCellPos pos : {TCellPos(1, 3), TCellPos(1, 4), TCellPos(1, 4)})
        game.ClickCell(pos);
    game.AnswerQuestion(TAnswer::None);
    EXPECT_EQ(game.WordShown(), "HA");
    game.ClickCell({1, 4});
    game.AnswerQuestion(TAnswer::Yes);
    EXPECT_EQ(game.Score(1), 2);
    EXPECT_TRUE(folder.Read("DATA/Lib.ENG").endsWith("HA\r\n"));
    EXPECT_TRUE(dictionary.FindWord("HA", 2));
    EXPECT_TRUE(effects.Waited.empty());
}

// Advice plays the best word for the person, is gone until the next game, and the computer
// answers at once; the record notes it as the person's turn.
TEST_F(GameTest, Advice) {
    game.Advice();
    EXPECT_TRUE(game.ShowsWaiting());
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.WordList(1), QList<QByteArray>{"AH"});
    EXPECT_TRUE(Cell(1, 2).Fixed);
    EXPECT_FALSE(game.AdviceOffered());
    EXPECT_FALSE(game.AdviceMode());
    EXPECT_EQ(game.MoveState(), 0);
    ASSERT_GE(game.Record().Turns.size(), 1);
    EXPECT_EQ(game.Record().Turns[0].Player, 1);
    game.StartGame(true);
    EXPECT_TRUE(game.AdviceOffered());
}

// A skip answered without a word leaves the game running with two passes; advice that then
// finds nothing ends it, and nothing of the advice outlives it: the next game's moves are the
// person's and the computer's own, and its second fruitless pair of turns ends it.
TEST_F(GameWithoutWords, FruitlessAdviceThatEndsTheGame) {
    QSignalSpy finished(&game, &TGame::Finished);
    game.Skip();
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.SkipCount(), 2);
    EXPECT_EQ(finished.size(), 0);
    game.Advice();
    ASSERT_TRUE(Settled());
    EXPECT_EQ(finished.size(), 1);
    EXPECT_FALSE(game.AdviceMode());
    EXPECT_TRUE(game.AdviceOffered());
    game.StartGame(true);
    PlayWord('A', {1, 2}, {{1, 2}, {1, 3}});
    game.AnswerQuestion(TAnswer::Yes);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.WordList(1), QList<QByteArray>{"AH"});
    EXPECT_EQ(game.Score(2), 0);
    EXPECT_EQ(game.SkipCount(), 1);
    game.Skip();
    ASSERT_TRUE(Settled());
    EXPECT_EQ(finished.size(), 2);
    EXPECT_EQ(game.Phase(), TPhase::Over);
}

// During the pause after an accepted word no input is taken: the fixed letter stays, Skip
// and Advice do nothing, and the computer moves once.
TEST_F(GameTest, NoInputDuringTheApplyPause) {
    effects.WaitedMs = 100;
    PlayWord('A', {1, 2}, {{1, 2}, {1, 3}});
    EXPECT_EQ(game.Phase(), TPhase::Applying);
    game.PickLetter("B");
    game.RightClick();
    game.RightClick();
    game.ClickCell({2, 2});
    game.Skip();
    game.Advice();
    EXPECT_EQ(Letter(1, 2), "A");
    EXPECT_TRUE(Cell(1, 2).Fixed);
    EXPECT_EQ(Letter(2, 2), "");
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.SkipCount(), 1);
    EXPECT_TRUE(game.AdviceOffered());
    EXPECT_EQ(game.MoveState(), 0);
}

// A new game during the pause, or during the computer's thinking, is a fresh game in which
// the person moves first; nothing of the old move reaches it. Closing ends every step.
TEST_F(GameTest, NewGameOrCloseCutsThePauseShort) {
    effects.WaitedMs = 100;
    PlayWord('A', {1, 2}, {{1, 2}, {1, 3}});
    game.StartGame(true);
    EXPECT_FALSE(game.Busy());
    EXPECT_EQ(game.Score(1), 0);
    QTest::qWait(200);
    EXPECT_EQ(game.MoveState(), 0);
    EXPECT_EQ(game.SkipCount(), 0);

    game.Skip();
    EXPECT_EQ(game.Phase(), TPhase::Computer);
    game.StartGame(true);
    QTest::qWait(50);
    EXPECT_EQ(game.SkipCount(), 0);
    EXPECT_EQ(game.Face(), TGame::RestFace);

    PlayWord('A', {1, 2}, {{1, 2}, {1, 3}});
    game.Stop();
    QTest::qWait(200);
    EXPECT_EQ(game.Phase(), TPhase::Over);
    EXPECT_EQ(game.SkipCount(), 0); // the computer never moved
}

// The computer shows its thinking faces before it plays its word, credited to it; its
// strength caps the word's length.
TEST_F(GameTest, ComputerPlaysAtItsStrength) {
    folder.Write("DATA/Lib.ENG", "HOUSE\r\nAH\r\nHOSE\r\n");
    dictionary.LoadWords(folder.Program());
    game.SetStrength(3);
    QList<int> faces;
    QObject::connect(&game, &TGame::Changed, [&] { faces.append(game.Face()); });
    game.Skip();
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(faces.contains(3) && faces.contains(4));
    EXPECT_EQ(game.WordList(2), QList<QByteArray>{"AH"});
    EXPECT_EQ(game.Score(2), 2);
}

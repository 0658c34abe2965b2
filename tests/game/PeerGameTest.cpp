// The game against a peer, on the model alone: what it hands to the peer and how it takes
// the peer's moves.

#include "GameFixture.h"

#include <QSignalSpy>

namespace {

class PeerGame : public GameTest {
protected:
    PeerGame() : GameTest("HOUSE\r\nAH\r\nBB\r\n") {
        game.SetOpponent(TOpponent::Peer);
        game.StartGame(true);
    }
    // The peer plays B into the cell with the word BB over it and the cell below or above.
    TPlayedMove PeerMove(TCellPos cell) { return {cell, 'B', "BB", {cell, cell}}; }
};

} // namespace

// A local game opened with a peer is announced; the person's word goes to the peer with its
// path, and this side then waits and takes no input.
TEST_F(PeerGame, OpensAndHandsOverItsMove) {
    QSignalSpy opened(&game, &TGame::GameOpened);
    QSignalSpy moved(&game, &TGame::MoveMade);
    game.StartGame(true);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toByteArray(), "HOUSE");
    PlayWord('A', {1, 2}, {{1, 2}, {1, 3}});
    ASSERT_TRUE(Settled());
    ASSERT_EQ(moved.size(), 1);
    const auto move = moved[0][0].value<TPlayedMove>();
    EXPECT_EQ(move.Cell, TCellPos(1, 2));
    EXPECT_EQ(move.Letter, 'A');
    EXPECT_EQ(move.Word, "AH");
    EXPECT_EQ(move.Path, (QList<TCellPos>{{1, 2}, {1, 3}}));
    EXPECT_TRUE(game.WaitsForPeer());
    game.Skip();
    game.PickLetter("B");
    game.ClickCell({2, 2});
    EXPECT_EQ(Letter(2, 2), "");
}

// The peer's move is shown and credited, its letter fixed after the apply pause, and the turn
// comes back; the peer's skip shows "? ? ?" for a pause and is not counted as a pass; a
// bare hand-over gives the turn back at once. Records that come while this side does not
// wait change nothing.
TEST_F(PeerGame, TakesThePeersTurnOnlyWhenWaiting) {
    EXPECT_FALSE(game.TakePeerMove(PeerMove({2, 2})));
    EXPECT_FALSE(game.TakePeerSkip());
    EXPECT_FALSE(game.TakePeerHandOver());
    EXPECT_EQ(Letter(2, 2), "");
    game.Skip();
    ASSERT_TRUE(game.TakePeerMove(PeerMove({2, 2})));
    EXPECT_EQ(game.WordShown(), "BB");
    EXPECT_EQ(game.Score(2), 2);
    EXPECT_FALSE(game.TakePeerMove(PeerMove({2, 4})));
    ASSERT_TRUE(Settled());
    EXPECT_TRUE(Cell(2, 2).Fixed);
    EXPECT_EQ(game.MoveState(), 0);

    game.Skip();
    ASSERT_TRUE(game.TakePeerSkip());
    EXPECT_EQ(game.WordShown(), "? ? ?");
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.MoveState(), 0);
    EXPECT_EQ(game.SkipCount(), 0);
    game.Skip();
    EXPECT_TRUE(game.TakePeerHandOver());
    EXPECT_EQ(game.MoveState(), 0);
}

// An unknown word of the peer's stays credited whatever the answer; yes adds it.
TEST_F(PeerGame, AsksAboutThePeersUnknownWord) {
    QSignalSpy asked(&game, &TGame::QuestionAsked);
    game.Skip();
    ASSERT_TRUE(game.TakePeerMove({{2, 2}, 'O', "OH", {{2, 2}, {2, 3}}}));
    ASSERT_EQ(asked.size(), 1);
    game.AnswerQuestion(TAnswer::Yes);
    ASSERT_TRUE(Settled());
    EXPECT_EQ(game.Score(2), 2);
    EXPECT_TRUE(dictionary.FindWord("OH", 2));
    EXPECT_EQ(game.MoveState(), 0);
}

// A full board ends the game on this side: it announces its own result after every move
// and, having opened the game, opens the next one.
TEST_F(PeerGame, FullBoardEndsTheGame) {
    QSignalSpy ended(&game, &TGame::PeerGameEnded);
    QSignalSpy opened(&game, &TGame::GameOpened);
    for (const TCellPos& pos : TBoard::Places()) {
        if (!Cell(pos.x(), pos.y()).IsFree())
            continue;
        game.Skip();
        ASSERT_TRUE(game.TakePeerMove(PeerMove(pos)));
        ASSERT_TRUE(Settled());
    }
    ASSERT_EQ(ended.size(), 1);
    EXPECT_EQ(ended[0][0].toInt(), -1);
    EXPECT_EQ(effects.Waited.back(), TSound::Loser);
    EXPECT_EQ(opened.size(), 1);
    EXPECT_EQ(game.Score(2), 0);
}

// A player's action racing the peer's records: what arrives while the game waits for an
// answer is held, and nothing of a session outlives its end.

#include "NetGameFixture.h"
#include "ui/ChatWindow.h"
#include "ui/QuestionWindow.h"

#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

// The peer leaves while this side is asked about its word, and the player disconnects before
// answering: the leave held meanwhile never sets the state of a session that is gone.
TEST_F(NetGame, DisconnectWhileThePeersLeaveWaits) {
    JoinPeer();
    PeerOpensGame();
    peer.Send(TSessionService::AllPlayers, Record(1, "03CAT233334", {3, 4, 'T'}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return questionWindow->isVisible(); }, WaitMs));
    peer.Close();
    QTest::qWait(200);
    EXPECT_EQ(NetState(), 2); // the leave waits behind the question
    Main().Menu_DisConnectClick();
    EXPECT_EQ(NetState(), 0);
    EXPECT_FALSE(questionWindow->isVisible());
    QTest::qWait(200);
    EXPECT_EQ(NetState(), 0);
    EXPECT_TRUE(Main().Menu_Connect->isEnabled());
    EXPECT_FALSE(Main().Menu_DisConnect->isEnabled());
    EXPECT_EQ(Game().MoveState(), 0);
}

// While this side is asked about the peer's word, a peer that floods it with chat lines is
// cut off once a megabyte waits, instead of growing this side's memory.
TEST_F(NetGame, FloodWhileAskedIsCutOff) {
    JoinPeer();
    PeerOpensGame();
    peer.Send(TSessionService::AllPlayers, Record(1, "03CAT233334", {3, 4, 'T'}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return questionWindow->isVisible(); }, WaitMs));
    const int lines = ChatWindow->Memo->blockCount();
    const QByteArray line(60 * 1024, 'x');
    for (int i = 0; i < 40 && peer.Opened() && NetState() == 2; ++i) {
        peer.Send(TSessionService::AllPlayers, Record(0, line));
        QTest::qWait(20);
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return NetState() == 0; }, WaitMs));
    EXPECT_EQ(ChatWindow->Memo->blockCount(), lines);
    EXPECT_EQ(Game().Opponent(), TOpponent::Computer);
}

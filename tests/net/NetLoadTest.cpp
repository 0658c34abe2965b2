// The game under a flood from its peer: 10,000 chat lines and 1,000 moves, each move answered
// by the game before the next, sent as fast as the peer can. Nothing is lost, nothing comes
// out of order, the log keeps its cap, and memory stays flat.

#include "NetGameFixture.h"
#include "game/UsedWords.h"
#include "net/ChatUnit.h"
#include "platform/CodePage.h"
#include "platform/CoolLabel.h"
#include "settings/INIUnit.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <unistd.h>

namespace {

constexpr int Moves = 1000;
constexpr int LinesPerMove = 10; // 10,000 chat lines in all
// Ten of the twenty free cells of a game are filled, then the peer opens the next game.
constexpr int MovesPerGame = 10;
constexpr int WarmUpMoves = 100;
// Resident memory may grow this much after the warm-up (it grows by some 300 KiB): allocator
// noise, well below 200 bytes kept for each of the 9,900 records that follow.
constexpr qint64 MemoryMargin = 2 * 1024 * 1024;

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer's allocator keeps freed memory aside, so resident memory says nothing here;
// its leak check at exit stands in.
constexpr bool MemoryMeasured = false;
#else
constexpr bool MemoryMeasured = true;
#endif

qint64 ResidentBytes() {
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
}

// The cell of the peer's letter: rows 1 and 2 fill up, column by column.
QPoint PeerCell(int move) {
    return {move % 5 + 1, move % MovesPerGame / 5 + 1};
}

QStringList LogTail(qsizetype count) {
    const QStringList lines = ChatWindow->Memo->toPlainText().split('\n');
    return lines.mid(std::max<qsizetype>(0, lines.size() - count));
}

} // namespace

class NetLoad : public NetGame {
protected:
    // Waits as QTest::qWaitFor does, but handles each record the moment it arrives instead
    // of napping 10 ms between looks.
    static bool WaitFast(const std::function<bool()>& done) {
        const QDeadlineTimer deadline(WaitMs);
        QTimer wake; // bounds each wait for events
        wake.start(50);
        while (!done()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return true;
    }

    // The peer's records of one move: a new game every MovesPerGame moves, the chat lines, and
    // its word AH with the A placed in the PeerCell. Gives the lines
    // the log is to end with once the game has answered.
    QStringList SendRound(int move) {
        QStringList expected;
        if (move % MovesPerGame == 0) {
            peer.Send(TDXPlay::AllPlayers, Record(2, "HOUSE", {2}));
            expected << "Peer > [" + GetTextU("Menu_NewGame") + " : HOUSE]";
        }
        for (int i = 0; i < LinesPerMove; ++i) {
            const QByteArray line = "line " + QByteArray::number(move * LinesPerMove + i);
            peer.Send(TDXPlay::AllPlayers, Record(0, line));
            expected << "Peer > " + line;
        }
        const QPoint cell = PeerCell(move);
        const QByteArray cells = QByteArray::number(cell.x()) + QByteArray::number(cell.y()) + "13";
        peer.Send(TDXPlay::AllPlayers, Record(1, "02AH" + cells, {cell.x(), cell.y(), 'A'}));
        expected << "Me > " + CodePage::ToUnicode(Notice("Net_SkipMove"));
        return expected;
    }

    // The game takes the turn, with the peer's letter and score, and answers with a skip.
    void Answer(int move) {
        const QPoint cell = PeerCell(move);
        ASSERT_TRUE(WaitFast([&] {
            return Game().MoveState() == 0 && Caption(cell.x(), cell.y()) == "A";
        })) << "move "
            << move << " was not applied; the log ends with "
            << LogTail(3).join(" / ").toStdString();
        ASSERT_EQ(Main().Score2->Caption(), ScoreText(quint16(2 * (move % MovesPerGame + 1))));
        QTest::mouseClick(Main().SkipButton, Qt::LeftButton);
        ASSERT_TRUE(WaitFast([&] {
            return !received.isEmpty() && received.last().startsWith(QByteArray("\1\0\0\0", 4));
        })) << "no answer to move "
            << move;
        received.clear();
        sound.Sound().Played.clear(); // what the test records must not grow either
    }
};

// Every chat line and move arrives once and in order, the log holds the last 256 lines, and
// memory after a warm-up does not grow with the records.
TEST_F(NetLoad, FloodOfChatLinesAndMoves) {
    JoinPeer();
    received.clear();
    qint64 warm = 0;
    for (int move = 0; move < Moves; ++move) {
        if (move == WarmUpMoves)
            warm = ResidentBytes();
        const QStringList expected = SendRound(move);
        Answer(move);
        if (HasFatalFailure())
            return;
        ASSERT_EQ(LogTail(expected.size()), expected) << "after move " << move;
    }
    EXPECT_EQ(ChatWindow->Memo->blockCount(), TChatWindow::MaxLines);
    if (MemoryMeasured) {
        EXPECT_LT(ResidentBytes() - warm, MemoryMargin)
            << "from " << warm / 1024 << " KiB after the warm-up";
    }
}

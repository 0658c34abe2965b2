// The game's side of the network protocol: the real main window against a scripted peer on
// loopback whose records are laid out by hand, field by field.

#include "net/NetGame.h"
#include "MessageRecorder.h"
#include "SessionWaits.h"
#include "dictionary/Dictionary.h"
#include "platform/CodePage.h"
#include "platform/TexturedLabel.h"
#include "settings/Settings.h"
#include "ui/ChatWindow.h"
#include "ui/ConnectionWindow.h"
#include "ui/FakeSound.h"
#include "ui/QuestionWindow.h"
#include "ui/WindowFixture.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

namespace {

// The real main window in a network game against a scripted peer on loopback.
class NetGame : public GameFixture {
protected:
    static constexpr int WaitMs = 5000;

    NetGame() : port(FreePort()) {
        window->CreateConnectionWindow();
        window->CreateChatWindow();
        ConnectionWindow = window->ConnectionWindow;
        ChatWindow = window->ChatWindow;
        peer.SelectProvider("TCP/IP");
        peer.TCPIPSetting = {"127.0.0.1", port, true};
        QObject::connect(
            &peer, &TSessionService::OnMessage,
            [this](TSessionService*, const TSessionPlayer& player, const QByteArray& data) {
                if (player.Remote)
                    received.append(data);
            });
    }

    // Kind, TextLength, Param1..Param5 as 32-bit little-endian, the text, and a 4-byte pad.
    static QByteArray Record(qint32 kind, const QByteArray& text,
                             std::array<qint32, 4> params = {}) {
        QByteArray data;
        for (qint32 value :
             {kind, qint32(text.size()), params[0], params[1], params[2], params[3], 0})
            for (int shift = 0; shift < 32; shift += 8)
                data += char(quint32(value) >> shift & 0xFF);
        return data + text + "PAD!";
    }
    static void ExpectRecord(const QByteArray& data, qint32 kind, const QByteArray& text,
                             std::array<qint32, 4> params = {}) {
        EXPECT_EQ(data.chopped(4), Record(kind, text, params).chopped(4)); // whatever the pad
    }
    QByteArray Notice(const char* key) const { return "[" + GetText(key) + "]"; }

    // Shows the connection window through Connect, fills it in as the person would, and
    // waits for it to close.
    void RunConnectWindow(const std::function<void(TConnectionWindow&)>& fill) {
        Main().Menu_ConnectClick();
        ASSERT_TRUE(ConnectionWindow->isVisible());
        fill(*ConnectionWindow);
        if (!QTest::qWaitFor([this] { return !ConnectionWindow->isVisible(); }, WaitMs)) {
            ADD_FAILURE() << "the connection window stayed open";
            ConnectionWindow->reject();
        }
    }
    // Go on the TCP/IP page for the host on `port`, waited for, and its one session chosen.
    static void SearchInWindow(TConnectionWindow& form, quint16 port) {
        form.TCPIPHostName->setText("127.0.0.1");
        form.TCPIPPort->setValue(port);
        form.TCPIPConnectButtonClick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Busy(); }, WaitMs));
        ASSERT_EQ(form.SessionListBox->count(), 1);
        form.SessionListBoxClick(form.SessionListBox->item(0));
    }
    // The peer hosts and the game joins it, which opens the first game.
    void JoinPeer() {
        peer.Create("Kordi", "Peer");
        RunConnectWindow([this](TConnectionWindow& form) {
            form.PlayerNameEdit->setText("Me");
            SearchInWindow(form, port);
            ASSERT_TRUE(form.JoinButton->isEnabled());
            form.JoinButtonClick();
        });
        ASSERT_TRUE(WaitReceived(1));
    }
    // The peer opens a game with HOUSE; the game waits for its first move.
    void PeerOpensGame() {
        peer.Send(TSessionService::AllPlayers, Record(2, "HOUSE", {2}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Game().StartedHere(); }, WaitMs));
    }
    // The peer moves CAT, a word this side does not know, and the game asks about it.
    void PeerMovesAnUnknownWord() {
        peer.Send(TSessionService::AllPlayers, Record(1, "03CAT233334", {3, 4, 'T'}));
        ASSERT_TRUE(QTest::qWaitFor([&] { return QuestionWindow->isVisible(); }, WaitMs));
    }
    bool WaitReceived(int count) {
        return QTest::qWaitFor([&] { return received.size() >= count; }, WaitMs);
    }
    // Sends a chat line and waits until it is in the log, so everything sent before it has
    // been handled.
    bool RoundTrip(const QByteArray& line) {
        peer.Send(TSessionService::AllPlayers, Record(0, line));
        return QTest::qWaitFor([&] { return LastLogLine() == "Peer > " + line; }, WaitMs);
    }
    QString LastLogLine() { return ChatWindow->Memo->toPlainText().split('\n').last(); }
    int NetState() { return Main().NetGame->State(); }

    FakeSoundScope sound{look.Sounds};
    quint16 port;
    TSessionService peer;
    QList<QByteArray> received;
    TConnectionWindow* ConnectionWindow;
    TChatWindow* ChatWindow;
};

} // namespace

// The joiner opens the first game and sends its start word and language; its word move
// travels with the cells in board order; Disconnect leaves the session, and the peer sees it.
TEST_F(NetGame, JoinerOpensTheFirstGameSendsItsMoveAndDisconnects) {
    JoinPeer();
    EXPECT_EQ(Main().PeerNameLabel->Caption(), "Peer");
    ExpectRecord(received[0], 2, "HOUSE", {2});
    EXPECT_EQ(LastLogLine(), "Me > [" + GetTextU("Menu_NewGame") + " : HOUSE]");

    PlayWord('A', 1, 2, {{1, 2}, {1, 3}});
    ASSERT_TRUE(WaitReceived(2));
    ExpectRecord(received[1], 1, "02AH1213", {1, 2, 'A', 0});

    Main().Menu_DisConnect->trigger();
    EXPECT_EQ(NetState(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return peer.Players().size() == 1; }, WaitMs));
}

// Both sides open a new game at once: the joiner takes the host's game and sends its own no
// more. The peer's move 03CAT233334 then places the letter, traces its cells and shows the
// word, and gives this side the turn once the question about it is answered; records that
// came meanwhile are handled after it.
TEST_F(NetGame, CrossingNewGamesAndThePeersMove) {
    JoinPeer();
    PeerOpensGame();
    EXPECT_EQ(LastLogLine(), "Peer > [" + GetTextU("Menu_NewGame") + " : HOUSE]");

    PeerMovesAnUnknownWord();
    EXPECT_TRUE(State(2, 3).Selected && State(3, 3).Selected && State(3, 4).Selected &&
                !State(1, 3).Selected);
    EXPECT_EQ(Main().WordLabel->Caption(), "CAT");
    for (const char* line : {"asked", "while asked"}) // the second one is held
        peer.Send(TSessionService::AllPlayers, Record(0, line));
    QTest::qWait(200);
    EXPECT_NE(LastLogLine(), "Peer > while asked"); // it waits behind the question
    QTest::mouseClick(QuestionWindow->NoButton, Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Game().MoveState() == 0; }, WaitMs));
    EXPECT_EQ(Caption(3, 4), "T");
    EXPECT_TRUE(QTest::qWaitFor([&] { return LastLogLine() == "Peer > while asked"; }, WaitMs));
    EXPECT_EQ(received.size(), 1);
}

// Skip takes back the placed letter and sends the notice and the skip record; the peer's skip
// record gives the turn back; Advice sends its word as a move and the notice, and no bare
// hand-over after them.
TEST_F(NetGame, SkipAndAdviceRecords) {
    JoinPeer();
    PickLetter('A');
    ClickCell(1, 2);
    QTest::mouseClick(Main().SkipButton, Qt::LeftButton);
    ASSERT_TRUE(WaitReceived(3));
    ExpectRecord(received[1], 0, Notice("Net_SkipMove"));
    ExpectRecord(received[2], 1, "", {0, 0, 0, 1});
    EXPECT_EQ(Caption(1, 2), "");

    peer.Send(TSessionService::AllPlayers, Record(1, "", {0, 0, 0, 1}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Game().MoveState() == 0; }, WaitMs));
    QTest::mouseClick(Main().AdviceButton, Qt::LeftButton);
    ASSERT_TRUE(WaitReceived(5));
    ExpectRecord(received[3], 1, "02AH1213", {1, 2, 'A', 0});
    ExpectRecord(received[4], 0, Notice("Net_Advice"));
    ASSERT_TRUE(RoundTrip("after the advice"));
    EXPECT_EQ(received.size(), 5);
}

// A new game in the other language switches this side's language, dictionary and letters
// before its word is laid out, and starts no second game.
TEST_F(NetGame, NewGameInThePeersLanguage) {
    JoinPeer();
    const quint32 games = Game().GameNumber();
    const QByteArray word = "\xCA\xCE\xD8\xCA\xC0";
    peer.Send(TSessionService::AllPlayers, Record(2, word, {1}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Game().Board().StartWord() == word; }, WaitMs));
    EXPECT_EQ(Words.Language, 1);
    EXPECT_TRUE(Main().LetterButtons[32]->isVisibleTo(window.get()));
    EXPECT_EQ(Game().GameNumber(), games + 1);
}

// A peer that joins the game's session is announced in the log and takes the computer's
// place; a lost connection ends the session as Disconnect does. (Hosting, and a peer's
// leave, are played by the two-player end-to-end test.)
TEST_F(NetGame, JoinAndLossOfAPeer) {
    RunConnectWindow([this](TConnectionWindow& form) {
        form.NetSession->BroadcastTargets = {QHostAddress(QHostAddress::LocalHost)};
        form.NetSession->EnumWaitMs = 200;
        form.TCPIPHostName->clear();
        form.TCPIPPort->setValue(port);
        form.TCPIPConnectButtonClick();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Busy(); }, WaitMs));
        form.HostButtonClick();
    });
    JoinNow(peer, Search(peer).value(0), "Peer");
    ASSERT_TRUE(QTest::qWaitFor([this] { return NetState() == 2; }, WaitMs));
    EXPECT_EQ(LastLogLine(), "Peer > " + CodePage::ToUnicode(Notice("Net_in")));
    EXPECT_FALSE(Main().Menu_CPU->isEnabled());
    peer.findChild<QTcpSocket*>()->abort();
    ASSERT_TRUE(QTest::qWaitFor([this] { return NetState() == 0; }, WaitMs));
    EXPECT_EQ(LastLogLine(), "Peer > " + CodePage::ToUnicode(Notice("Net_out")));
    EXPECT_TRUE(Main().Menu_Connect->isEnabled() && !Main().Menu_DisConnect->isEnabled());
}

// A record this side cannot follow is not dropped in silence, which would leave both sides
// waiting: the player is told, and the session is left for a game against the computer.
TEST_F(NetGame, UnfollowableRecordEndsTheSession) {
    MessageRecorder messages;
    JoinPeer();
    PeerOpensGame();
    peer.Send(TSessionService::AllPlayers, Record(1, "03CAT233364", {3, 4, 'T'}));
    ASSERT_TRUE(QTest::qWaitFor([this] { return NetState() == 0; }, WaitMs));
    EXPECT_EQ(messages.Shown, QStringList{GetTextU("Net_Refused")});
    EXPECT_EQ(Game().Opponent(), TOpponent::Computer);
}

// The peer leaves while this side is asked about its word, and the player disconnects before
// answering: the leave held meanwhile never sets the state of a session that is gone.
TEST_F(NetGame, DisconnectWhileThePeersLeaveWaits) {
    JoinPeer();
    PeerOpensGame();
    PeerMovesAnUnknownWord();
    peer.Close();
    QTest::qWait(200);
    EXPECT_EQ(NetState(), 2); // the leave waits behind the question
    Main().Menu_DisConnectClick();
    EXPECT_FALSE(QuestionWindow->isVisible());
    QTest::qWait(200);
    EXPECT_EQ(NetState(), 0);
    EXPECT_TRUE(Main().Menu_Connect->isEnabled() && !Main().Menu_DisConnect->isEnabled());
    EXPECT_EQ(Game().MoveState(), 0);
}

// While this side is asked about the peer's word, a peer that floods it with chat lines is
// cut off once a megabyte waits, instead of growing this side's memory.
TEST_F(NetGame, FloodWhileAskedIsCutOff) {
    JoinPeer();
    PeerOpensGame();
    PeerMovesAnUnknownWord();
    const int lines = ChatWindow->Memo->blockCount();
    for (int i = 0; i < 40 && peer.Opened() && NetState() == 2; ++i) {
        peer.Send(TSessionService::AllPlayers, Record(0, QByteArray(60 * 1024, 'x')));
        QTest::qWait(20);
    }
    ASSERT_TRUE(QTest::qWaitFor([this] { return NetState() == 0; }, WaitMs));
    EXPECT_EQ(ChatWindow->Memo->blockCount(), lines);
    EXPECT_EQ(Game().Opponent(), TOpponent::Computer);
}

// The connection window never blocks: Go shows the wait cursor and disables Join and Host
// until the answer, and Cancel during a join (to a host that lists its session and never
// answers a join) stops it, brings the cursor back and releases the unused component.
TEST_F(NetGame, ConnectionWindowWaitsForItsAnswersAndCancels) {
    QTcpServer mute;
    ASSERT_TRUE(mute.listen(QHostAddress::LocalHost));
    bool listing = true; // the first connection is the search's query
    QObject::connect(&mute, &QTcpServer::newConnection, [&] {
        QTcpSocket* socket = mute.nextPendingConnection();
        if (std::exchange(listing, false))
            socket->write(SessionFraming::EncodeFrame(SessionFraming::TFrameType::SessionList,
                                                      SessionFraming::EncodeSessionList({"Mute"})));
    });
    RunConnectWindow([&](TConnectionWindow& form) {
        form.TCPIPHostName->setText("127.0.0.1");
        form.TCPIPPort->setValue(mute.serverPort());
        form.TCPIPConnectButtonClick();
        ASSERT_TRUE(form.Busy() && QApplication::overrideCursor());
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        EXPECT_FALSE(form.JoinButton->isEnabled() || form.HostButton->isEnabled());
        SearchInWindow(form, mute.serverPort());
        form.JoinButtonClick();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return mute.findChildren<QTcpSocket*>().size() == 2; }, WaitMs));
        EXPECT_TRUE(form.Busy());
        QTest::mouseClick(form.CancelButton, Qt::LeftButton);
    });
    EXPECT_FALSE(ConnectionWindow->Busy());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(Main().NetSession, nullptr);
    EXPECT_TRUE(Main().PollTimer->isActive());
}

// A joiner that cannot take the session over leaves it and is told so in its own language,
// with the place and the reason, in a box that does not wait.
TEST_F(NetGame, FailedTakeOverIsToldInThePlayersLanguage) {
    JoinPeer();
    peer.Close();
    QTcpServer squatter;
    ASSERT_TRUE(squatter.listen(QHostAddress::Any, port));
    ASSERT_TRUE(QTest::qWaitFor([this] { return NetState() == 0; }, WaitMs));
    QMessageBox* box = window->findChild<QMessageBox*>();
    ASSERT_TRUE(box && box->isVisible());
    EXPECT_NE(GetText("Net_HostFailed"), "?");
    const QString told = GetTextU("Net_HostFailed") + QString(" (port %1: ").arg(port);
    EXPECT_TRUE(box->text().startsWith(told) && box->text().size() > told.size() + 1)
        << "the reason follows the place: " << box->text().toStdString();
    box->close();
}

#include "ErrorText.h"
#include "SessionWaits.h"

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using namespace SessionFraming;

namespace {

constexpr int WaitMs = 5000;

// The names of the players as the component lists them, remote ones marked.
QByteArray Roster(const TSessionService& play) {
    QByteArrayList names;
    for (const TSessionPlayer& player : play.Players())
        names.append((player.Remote ? "remote " : "") + player.Name);
    return names.join(", ");
}

// The messages a spy on OnMessage caught.
QByteArrayList Data(const QSignalSpy& messages) {
    QByteArrayList data;
    for (const QList<QVariant>& message : messages)
        data.append(message.at(2).toByteArray());
    return data;
}

// A raw socket speaking the wire format by hand, for what a well-behaved peer never sends.
class TRawPeer {
public:
    explicit TRawPeer(quint16 port) {
        socket.connectToHost(QHostAddress::LocalHost, port);
        socket.waitForConnected(WaitMs);
    }
    void Write(TFrameType type, QByteArrayView payload = {}) {
        socket.write(EncodeFrame(type, payload));
        socket.flush();
    }
    // Whether the host welcomed the join; its pings before the answer are passed over.
    bool Join(const QByteArray& session, quint32 version = ProtocolVersion) {
        Write(TFrameType::Hello, EncodeHello({version, session, "Raw"}));
        TFrame frame;
        const auto answered = [&] {
            reader.Append(socket.readAll());
            while (reader.Next(frame) == TFrameReader::TResult::Frame)
                if (frame.Type != TFrameType::Ping)
                    return true;
            return false;
        };
        return QTest::qWaitFor(answered, WaitMs) && frame.Type == TFrameType::Welcome &&
               DecodeWelcome(frame.Payload);
    }
    bool ClosedByOtherSide() {
        return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; },
                               WaitMs);
    }

    QTcpSocket socket;
    TFrameReader reader;
};

class DXPlayTest : public ::testing::Test {
protected:
    std::unique_ptr<TSessionService> MakePlay(const QString& hostName = "127.0.0.1") {
        auto play = std::make_unique<TSessionService>();
        play->SelectProvider("TCP/IP");
        play->TCPIPSetting = {hostName, port, true};
        play->EnumWaitMs = 300;
        play->BroadcastTargets = {QHostAddress(QHostAddress::LocalHost)};
        return play;
    }
    // A guest that found the host's session and joined it.
    std::unique_ptr<TSessionService> JoinedGuest() {
        auto guest = MakePlay();
        EXPECT_EQ(Search(*guest), QList<QByteArray>{"Kordi"});
        JoinNow(*guest, "Kordi", "Guest");
        EXPECT_TRUE(QTest::qWaitFor([&] { return host->Players().size() == 2; }, WaitMs));
        return guest;
    }

    quint16 port = FreePort();
    std::unique_ptr<TSessionService> host = MakePlay();
    QSignalSpy hostAdded{host.get(), &TSessionService::OnAddPlayer};
    QSignalSpy hostDeleted{host.get(), &TSessionService::OnDeletePlayer};
    QSignalSpy hostLost{host.get(), &TSessionService::OnSessionLost};
    QSignalSpy hostMessages{host.get(), &TSessionService::OnMessage};
};

} // namespace

// Misuse is refused with the texts the player sees.
TEST_F(DXPlayTest, RefusalsCarryThePlayersTexts) {
    TSessionService play;
    play.SelectProvider("TCP/IP");
    play.TCPIPSetting = {"no-such-host.invalid", port, true};
    EXPECT_EQ(ErrorText([&] { Search(play); }), "Session list cannot be acquired");
    play.TCPIPSetting = {"127.0.0.1", port, true};
    EXPECT_TRUE(Search(play).isEmpty()); // a host where nothing listens has no session
    EXPECT_EQ(ErrorText([&] { play.Create("", "Me"); }), "Session name is not specified");
    EXPECT_EQ(ErrorText([&] { play.Create("S", ""); }), "Player name is not specified");
    EXPECT_EQ(ErrorText([&] { JoinNow(play, "Nope", "Me"); }), "Session 'Nope' not found");
    host->Create("Kordi", "Host");
    EXPECT_EQ(ErrorText([&] { play.Create("Other", "Me"); }),
              "Session Other cannot be opened"); // the port is taken
}

// The listener takes IPv6 joiners as well as IPv4 ones.
TEST_F(DXPlayTest, JoinOverIPv6) {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHostIPv6, 0))
        GTEST_SKIP() << "no IPv6 loopback here";
    host->Create("Kordi", "Host");
    const std::unique_ptr<TSessionService> guest = MakePlay("::1");
    JoinNow(*guest, Search(*guest).value(0), "Guest");
    EXPECT_TRUE(QTest::qWaitFor([&] { return hostAdded.count() == 2; }, WaitMs));
}

// A join lists both players on both sides; a message the host sends the moment the player
// joins reaches it after its Joined; local sends come back at once; and many messages arrive
// exactly as sent, once and in order, both ways.
TEST_F(DXPlayTest, JoinAndExchangeInOrder) {
    host->Create("Kordi", "Host");
    QObject::connect(host.get(), &TSessionService::OnAddPlayer, [&](const TSessionPlayer& player) {
        if (player.Remote)
            host->Send(TSessionService::AllPlayers, "FIRST");
    });
    auto guest = MakePlay();
    QByteArrayList seen; // by the guest, in order; its own messages marked
    QObject::connect(guest.get(), &TSessionService::Joined, [&] { seen.append("joined"); });
    QObject::connect(guest.get(), &TSessionService::OnMessage,
                     [&](TSessionService*, const TSessionPlayer& from, const QByteArray& data) {
                         seen.append((from.Remote ? "" : "own ") + data);
                     });
    ASSERT_EQ(Search(*guest).size(), 1);
    JoinNow(*guest, "KORDI", "Guest"); // a listed name typed in another case
    EXPECT_EQ(Roster(*guest), "remote Host, Guest");
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, WaitMs));
    EXPECT_EQ(Roster(*host), "Host, remote Guest");
    guest->Send(guest->LocalPlayer().Id, "SELF");
    EXPECT_EQ(seen, (QByteArrayList{"joined", "FIRST", "own SELF"}));

    QByteArrayList sent;
    for (int i = 0; i < 1000; ++i)
        guest->Send(TSessionService::AllPlayers, sent.emplace_back("MSG:" + QByteArray::number(i)));
    host->Send(TSessionService::AllPlayers, QByteArray(MaxPayload, 'x'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen.size() == 4; }, WaitMs));
    EXPECT_EQ(seen[3], QByteArray(MaxPayload, 'x'));
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostMessages.count() >= 1000; }, WaitMs));
    EXPECT_EQ(Data(hostMessages), sent);
    EXPECT_EQ(hostMessages.at(0).at(1).value<TSessionPlayer>().Name, "Guest");
}

// A session is found by its host's name and by a broadcast; a full one is no longer listed
// and refuses a third player; a wrong session name or protocol version is refused as well.
TEST_F(DXPlayTest, JoinsThatDoNotFitAreRefused) {
    host->Create("Kordi", "Host");
    EXPECT_EQ(Search(*MakePlay("")), QList<QByteArray>{"Kordi"}); // found by a broadcast
    const std::unique_ptr<TSessionService> third = MakePlay();
    ASSERT_EQ(Search(*third).size(), 1);
    const auto guest = JoinedGuest();
    EXPECT_EQ(ErrorText([&] { JoinNow(*third, "Kordi", "Third"); }),
              "Session Kordi cannot be opened");
    EXPECT_TRUE(Search(*third).isEmpty());
    guest->Close();
    ASSERT_TRUE(hostDeleted.wait(WaitMs));
    EXPECT_EQ(hostLost.count(), 0); // a goodbye is no loss

    EXPECT_FALSE(TRawPeer(port).Join("Other"));
    EXPECT_FALSE(TRawPeer(port).Join("Kordi", ProtocolVersion + 1));
    EXPECT_TRUE(TRawPeer(port).Join("Kordi"));
}

// A frame that trickles in byte by byte is delivered once, whole; a broken frame (too long,
// of no known type, garbage) closes that connection only, and the session goes on.
TEST_F(DXPlayTest, PartialAndBrokenFrames) {
    host->Create("Kordi", "Host");
    TRawPeer peer(port);
    ASSERT_TRUE(peer.Join("Kordi"));
    for (char byte : EncodeFrame(TFrameType::Data, "SLOW MESSAGE")) {
        EXPECT_EQ(hostMessages.count(), 0);
        peer.socket.write(&byte, 1);
        peer.socket.flush();
        QTest::qWait(2);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostMessages.count() == 1; }, WaitMs));
    EXPECT_EQ(Data(hostMessages), QByteArrayList{"SLOW MESSAGE"});

    QByteArray oversized = EncodeFrame(TFrameType::Data, "abcd");
    oversized[8] = 1, oversized[9] = 0, oversized[10] = 1; // a length of 64 KiB + 1
    QByteArray unknownType = EncodeFrame(TFrameType::Ping, {});
    unknownType[4] = 99;
    peer.socket.write(oversized);
    EXPECT_TRUE(peer.ClosedByOtherSide());
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostDeleted.count() == 1; }, WaitMs));
    for (const QByteArray& broken : {QByteArray(HeaderSize, 'Z'), unknownType}) {
        TRawPeer other(port);
        other.socket.write(broken);
        EXPECT_TRUE(other.ClosedByOtherSide());
    }
    EXPECT_TRUE(host->Opened());
    EXPECT_TRUE(TRawPeer(port).Join("Kordi"));
}

// When the host leaves, here from the handler of a message (whose sender's record must
// outlive the close), the joiner takes the session over on the same port and a new player
// can find and join it there.
TEST_F(DXPlayTest, JoinerTakesOverWhenTheHostLeaves) {
    host->Create("Kordi", "Host");
    const auto guest = JoinedGuest();
    QSignalSpy guestDeleted(guest.get(), &TSessionService::OnDeletePlayer);
    QSignalSpy guestMessages(guest.get(), &TSessionService::OnMessage);
    QByteArray sender;
    QObject::connect(host.get(), &TSessionService::OnMessage,
                     [&](TSessionService*, const TSessionPlayer& player, const QByteArray&) {
                         host->Close();
                         sender = player.Name;
                     });
    guest->Send(TSessionService::AllPlayers, "LAST");
    ASSERT_TRUE(guestDeleted.wait(WaitMs));
    EXPECT_EQ(sender, "Guest");
    EXPECT_TRUE(guest->IsHost());

    const std::unique_ptr<TSessionService> newcomer = MakePlay();
    JoinNow(*newcomer, Search(*newcomer).value(0), "Newcomer");
    EXPECT_NE(newcomer->LocalPlayer().Id, guest->LocalPlayer().Id);
    newcomer->Send(TSessionService::AllPlayers, "HELLO");
    ASSERT_TRUE(guestMessages.wait(WaitMs));
    EXPECT_EQ(Data(guestMessages), QByteArrayList{"HELLO"});
}

// A search and a join answer from the event loop, never inside the call; a new search, Close
// and the end of the component stop them without an answer.
TEST_F(DXPlayTest, SearchAndJoinAnswerLaterAndStopQuietly) {
    host->Create("Kordi", "Host");
    const std::unique_ptr<TSessionService> guest = MakePlay();
    QSignalSpy found(guest.get(), &TSessionService::SessionsFound);
    QSignalSpy joined(guest.get(), &TSessionService::Joined);
    guest->SearchSessions();
    guest->SearchSessions(); // stops the first
    EXPECT_EQ(found.count(), 0);
    ASSERT_TRUE(found.wait(WaitMs));
    guest->Join("Kordi", "Early");
    EXPECT_EQ(joined.count(), 0);
    guest->Close();
    EXPECT_FALSE(guest->Busy());

    std::unique_ptr<TSessionService> searching = MakePlay("");
    searching->SearchSessions();
    std::unique_ptr<TSessionService> joining = MakePlay();
    ASSERT_EQ(Search(*joining).size(), 1);
    joining->Join("Kordi", "Late");
    searching.reset();
    joining.reset();
    QTest::qWait(600); // twice a search's time: no stray answer reaches a released component
    EXPECT_EQ(found.count(), 1);
    EXPECT_EQ(joined.count(), 0);
    EXPECT_EQ(host->Players().size(), 1);
}

// While delivery is held the link stays up on the peer's pings and delivers nothing; released,
// every message comes in order, and the peer's leave after them.
TEST_F(DXPlayTest, HeldMessagesWaitInOrder) {
    host->LinkTimings = {50, 400}; // pings every 50 ms, a link lost after 400 ms of silence
    host->Create("Kordi", "Host");
    const auto guest = JoinedGuest();
    guest->LinkTimings = {50, 400};
    host->HoldMessages();
    QByteArrayList sent;
    for (int i = 0; i < 3; ++i)
        guest->Send(TSessionService::AllPlayers, sent.emplace_back("MSG:" + QByteArray::number(i)));
    QTest::qWait(1200); // three silence timeouts
    EXPECT_EQ(hostMessages.count() + hostDeleted.count(), 0);
    guest->Send(TSessionService::AllPlayers, sent.emplace_back("LAST"));
    guest->Close();
    QTest::qWait(300);
    EXPECT_EQ(hostDeleted.count(), 0);
    host->ReleaseMessages();
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostDeleted.count() == 1; }, WaitMs));
    EXPECT_EQ(Data(hostMessages), sent);
    EXPECT_EQ(hostLost.count(), 0);
}

// A peer that floods while delivery is held is dropped as lost once what is held passes
// 1 MiB; nothing of the flood reaches the game, and the session stays open.
TEST_F(DXPlayTest, FloodWhileHeldIsLost) {
    host->Create("Kordi", "Host");
    TRawPeer peer(port);
    ASSERT_TRUE(peer.Join("Kordi"));
    host->HoldMessages();
    for (int i = 0; i < 20; ++i)
        peer.Write(TFrameType::Data, QByteArray(60 * 1024, 'f'));
    EXPECT_TRUE(peer.ClosedByOtherSide());
    ASSERT_TRUE(QTest::qWaitFor([&] { return hostLost.count() == 1; }, WaitMs));
    host->ReleaseMessages();
    QTest::qWait(100);
    EXPECT_EQ(hostMessages.count(), 0);
    EXPECT_TRUE(host->Opened());
}

// A host keeps at most MaxPendingConnections connections that have not joined, drops each
// once its handshake time is up, and tells the player nothing; the joined peer stays.
TEST_F(DXPlayTest, PendingConnectionsAreFewAndShortLived) {
    host->HandshakeTimeoutMs = 3000;
    host->Create("Kordi", "Host");
    TRawPeer joiner(port);
    ASSERT_TRUE(joiner.Join("Kordi"));
    std::vector<std::unique_ptr<TRawPeer>> idle;
    for (int i = 0; i < TSessionService::MaxPendingConnections; ++i)
        idle.push_back(std::make_unique<TRawPeer>(port));
    TRawPeer extra(port);
    EXPECT_TRUE(extra.ClosedByOtherSide());
    for (const auto& peer : idle)
        EXPECT_EQ(peer->socket.state(), QAbstractSocket::ConnectedState);
    for (const auto& peer : idle)
        EXPECT_TRUE(peer->ClosedByOtherSide());
    EXPECT_EQ(joiner.socket.state(), QAbstractSocket::ConnectedState);
    EXPECT_EQ(hostAdded.count(), 2);
    EXPECT_EQ(hostDeleted.count() + hostLost.count(), 0);
}

#pragma once
// The real main window in a network game against a scripted peer on loopback, whose records
// are laid out by hand, field by field.

#include "net/SessionService.h"
#include "ui/FakeSound.h"
#include "ui/WindowFixture.h"

#include <QByteArray>
#include <QList>
#include <array>
#include <functional>

class TConnectionWindow;
class TChatWindow;

class NetGame : public GameFixture {
protected:
    static constexpr int WaitMs = 5000;

    NetGame();

    // Kind, TextLength, Param1..Param5 as 32-bit little-endian, the text, and a 4-byte pad.
    static QByteArray Record(qint32 kind, const QByteArray& text,
                             std::array<qint32, 4> params = {});
    static void ExpectRecord(const QByteArray& data, qint32 kind, const QByteArray& text,
                             std::array<qint32, 4> params = {});
    QByteArray Notice(const char* key) const;
    // Declines the add-word question as soon as it is asked.
    static void DeclineQuestion(std::function<void()> whileAsked = {});

    // Shows the connection window through Connect, fills it in as the person would, and
    // waits for it to close.
    void RunConnectWindow(const std::function<void(TConnectionWindow&)>& fill);
    // Go on the TCP/IP page, waited for until the search answers.
    static void SearchInWindow(TConnectionWindow& form);
    // The peer hosts and the game joins it, which opens the first game.
    void JoinPeer();
    // The peer opens a game with HOUSE; the game waits for its first move.
    void PeerOpensGame();
    bool WaitReceived(int count);
    // Sends a chat line and waits until it is in the log, so everything sent before it has
    // been handled.
    bool RoundTrip(const QByteArray& line);
    QString LastLogLine();
    bool Played(const QString& effect);
    int NetState() { return Main().NetGame->State(); }

    FakeSoundScope sound{look.Sounds};
    quint16 port;
    TSessionService peer;
    QList<QByteArray> received;
    TConnectionWindow* ConfigForm;
    TChatWindow* ChatWindow;
};

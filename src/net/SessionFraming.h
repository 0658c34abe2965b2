#pragma once
// The session wire format and one peer connection over any byte stream (a TCP socket today,
// a serial line later): framing, handshake, keep-alive and in-order delivery of messages.
//
// A frame is a 12-byte header (magic, type, payload length; little-endian 32-bit each) and its
// payload. A stream that breaks these rules is closed, never half decoded.

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <optional>

class QIODevice;

namespace SessionFraming {

inline constexpr quint32 Magic = 0x4E44524B; // "KRDN" on the wire
inline constexpr quint32 ProtocolVersion = 1;
inline constexpr int HeaderSize = 12;
inline constexpr int MaxPayload = 64 * 1024;
// What a link keeps of a peer's bytes, held or not yet cut into frames; past it the link is lost.
inline constexpr qsizetype MaxHeldBytes = 1024 * 1024;

enum class TFrameType : quint32 {
    Hello = 1,    // joiner: version, session name, player name
    Welcome,      // host: the joiner's id and the players already in the session
    Refuse,       // host: the join is refused; the stream closes
    Data,         // an application message, exactly as sent
    Ping,         // keep-alive, empty
    Bye,          // the sender leaves the session
    SessionQuery, // which sessions do you host? (stream or datagram)
    SessionList,  // the answer: the names of the sessions open to a join
};

struct TFrame {
    TFrameType Type;
    QByteArray Payload;
};

QByteArray EncodeFrame(TFrameType type, QByteArrayView payload);

// Collects stream bytes and cuts them into whole frames.
class TFrameReader {
public:
    enum class TResult { Frame, NeedMore, Broken };

    void Append(QByteArrayView bytes) { buffer_.append(bytes); }
    // Takes the next whole frame off the buffer. Broken: bad magic, unknown type or an
    // oversized length; the buffer is then useless and the stream must be closed.
    TResult Next(TFrame& frame);
    qsizetype Buffered() const { return buffer_.size(); }

private:
    QByteArray buffer_;
};

// One whole frame in one datagram, or nothing.
std::optional<TFrame> DecodeDatagram(QByteArrayView datagram);

struct TWirePlayer {
    quint32 Id = 0;
    QByteArray Name;
};

struct THello {
    quint32 Version = ProtocolVersion;
    QByteArray SessionName;
    QByteArray PlayerName;
};

struct TWelcome {
    quint32 YourId = 0;
    QList<TWirePlayer> Players; // those already in the session
};

QByteArray EncodeHello(const THello& hello);
std::optional<THello> DecodeHello(QByteArrayView payload);
QByteArray EncodeWelcome(const TWelcome& welcome);
std::optional<TWelcome> DecodeWelcome(QByteArrayView payload);
QByteArray EncodeSessionList(const QList<QByteArray>& names);
std::optional<QList<QByteArray>> DecodeSessionList(QByteArrayView payload);

struct TLinkTimings {
    int PingInterval = 2000;    // ms between keep-alive pings
    int SilenceTimeout = 10000; // ms without a byte from the peer before the link is lost
};

// One connection to a peer over a byte stream it owns. The accepting side waits for the
// first frame (a Hello or a SessionQuery) and answers through Accept, Refuse or AnswerQuery;
// the calling side starts with Join or Query. Once joined, messages flow both ways.
class TPeerLink : public QObject {
    Q_OBJECT
public:
    TPeerLink(QIODevice* device, const TLinkTimings& timings, QObject* parent = nullptr);
    ~TPeerLink() override;

    void Join(const THello& hello);
    void Query();
    void Accept(const TWelcome& welcome);
    void Refuse();
    void AnswerQuery(const QList<QByteArray>& names);
    void SendMessage(QByteArrayView data);
    // Holds the peer's messages (and its goodbye behind them) while the owner is not ready
    // for them; the link goes on reading, so pings keep it up, and is lost when what it
    // holds passes MaxHeldBytes. A joiner's link holds from the welcome on.
    void Hold();
    // Delivers what was held, in order, from the event loop, and what follows as it comes.
    void Release();
    // Says goodbye and closes the stream.
    void Leave();
    // Closes the stream without a word.
    void Drop();

    bool IsJoined() const { return state_ == TState::Joined; }
    bool IsClosed() const { return state_ == TState::Closed; }

    // The stream has ended without a goodbye (for devices whose end only they can tell).
    void StreamEnded();

signals:
    void HelloReceived(const SessionFraming::THello& hello);
    void QueryReceived();
    void Welcomed(const SessionFraming::TWelcome& welcome);
    void Refused();
    void SessionsReceived(const QList<QByteArray>& names);
    void MessageReceived(const QByteArray& data);
    void Left(); // the peer said goodbye
    void Lost(); // silence, a broken stream or a protocol violation

private:
    enum class TState { Accepting, Deciding, Joining, Querying, Joined, Closed };

    void ReadAvailable();
    // The stream has ended or the peer has gone silent: the link is lost once the frames
    // received before are handled.
    void EndAfterPendingFrames();
    void ScheduleDispatch();
    void Dispatch();
    // The next frame to handle: a held one once released, else one off the stream (held
    // ones are set aside). False when there is none yet or the link has failed.
    bool NextFrame(TFrame& frame);
    bool OverLimit() const { return heldBytes_ + reader_.Buffered() > MaxHeldBytes; }
    void Handle(const TFrame& frame);
    void HandleWhileAccepting(const TFrame& frame);
    void HandleWhileJoining(const TFrame& frame);
    void HandleWhileQuerying(const TFrame& frame);
    void HandleWhileJoined(const TFrame& frame);
    void Write(TFrameType type, QByteArrayView payload = {});
    void Finish(TFrameType type, QByteArrayView payload = {});
    void Close();
    void Fail();

    QPointer<QIODevice> device_;
    TFrameReader reader_;
    TState state_ = TState::Accepting;
    bool held_ = false;
    QList<TFrame> heldFrames_;
    qsizetype heldBytes_ = 0;
    bool ended_ = false;             // see EndAfterPendingFrames
    bool dispatchScheduled_ = false; // a Dispatch is queued
    bool dispatching_ = false;       // a Dispatch is handling frames
    QTimer pingTimer_;
    QTimer silenceTimer_;
};

} // namespace SessionFraming

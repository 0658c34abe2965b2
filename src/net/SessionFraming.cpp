#include "net/SessionFraming.h"

#include <QIODevice>
#include <QScopeGuard>
#include <QtEndian>

namespace SessionFraming {

namespace {

constexpr quint32 LastFrameType = static_cast<quint32>(TFrameType::SessionList);
// How long a closing stream may take to hand its last frame to the system.
constexpr int FinalFlushMs = 500;

void AppendU32(QByteArray& out, quint32 value) {
    const quint32 wire = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&wire), sizeof wire);
}

void AppendU16(QByteArray& out, quint16 value) {
    const quint16 wire = qToLittleEndian(value);
    out.append(reinterpret_cast<const char*>(&wire), sizeof wire);
}

// Names travel as a 16-bit length and their bytes.
void AppendName(QByteArray& out, const QByteArray& name) {
    const QByteArray kept = name.left(0xFFFF);
    AppendU16(out, quint16(kept.size()));
    out.append(kept);
}

// Reads fields off a payload; any read past its end marks the whole payload as malformed.
class TPayloadReader {
public:
    explicit TPayloadReader(QByteArrayView payload) : rest_(payload) {}

    quint32 U32() {
        const QByteArrayView bytes = Take(4);
        return ok_ ? qFromLittleEndian<quint32>(bytes.data()) : 0;
    }
    quint16 U16() {
        const QByteArrayView bytes = Take(2);
        return ok_ ? qFromLittleEndian<quint16>(bytes.data()) : 0;
    }
    QByteArray Name() {
        const quint16 size = U16();
        return Take(size).toByteArray();
    }
    bool Ok() const { return ok_; }
    // Well formed: nothing was missing and nothing is left over.
    bool Complete() const { return ok_ && rest_.isEmpty(); }

private:
    QByteArrayView Take(qsizetype size) {
        if (!ok_ || rest_.size() < size) {
            ok_ = false;
            return {};
        }
        const QByteArrayView taken = rest_.first(size);
        rest_ = rest_.sliced(size);
        return taken;
    }

    QByteArrayView rest_;
    bool ok_ = true;
};

template <typename T> std::optional<T> IfComplete(const TPayloadReader& reader, T value) {
    return reader.Complete() ? std::optional<T>(std::move(value)) : std::nullopt;
}

} // namespace

QByteArray EncodeFrame(TFrameType type, QByteArrayView payload) {
    Q_ASSERT(payload.size() <= MaxPayload);
    QByteArray frame;
    frame.reserve(HeaderSize + payload.size());
    AppendU32(frame, Magic);
    AppendU32(frame, static_cast<quint32>(type));
    AppendU32(frame, quint32(payload.size()));
    frame.append(payload);
    return frame;
}

TFrameReader::TResult TFrameReader::Next(TFrame& frame) {
    if (buffer_.size() < HeaderSize)
        return TResult::NeedMore;
    TPayloadReader header(QByteArrayView(buffer_).first(HeaderSize));
    const quint32 magic = header.U32();
    const quint32 type = header.U32();
    const quint32 length = header.U32();
    if (magic != Magic || type == 0 || type > LastFrameType || length > quint32(MaxPayload))
        return TResult::Broken;
    if (buffer_.size() < HeaderSize + qsizetype(length))
        return TResult::NeedMore;
    frame.Type = static_cast<TFrameType>(type);
    frame.Payload = buffer_.sliced(HeaderSize, length);
    buffer_.remove(0, HeaderSize + length);
    return TResult::Frame;
}

std::optional<TFrame> DecodeDatagram(QByteArrayView datagram) {
    TFrameReader reader;
    reader.Append(datagram);
    TFrame frame;
    if (reader.Next(frame) != TFrameReader::TResult::Frame ||
        HeaderSize + frame.Payload.size() != datagram.size())
        return std::nullopt;
    return frame;
}

QByteArray EncodeHello(const THello& hello) {
    QByteArray out;
    AppendU32(out, hello.Version);
    AppendName(out, hello.SessionName);
    AppendName(out, hello.PlayerName);
    return out;
}

std::optional<THello> DecodeHello(QByteArrayView payload) {
    TPayloadReader reader(payload);
    THello hello;
    hello.Version = reader.U32();
    hello.SessionName = reader.Name();
    hello.PlayerName = reader.Name();
    return IfComplete(reader, std::move(hello));
}

QByteArray EncodeWelcome(const TWelcome& welcome) {
    QByteArray out;
    AppendU32(out, welcome.YourId);
    AppendU16(out, quint16(welcome.Players.size()));
    for (const TWirePlayer& player : welcome.Players) {
        AppendU32(out, player.Id);
        AppendName(out, player.Name);
    }
    return out;
}

std::optional<TWelcome> DecodeWelcome(QByteArrayView payload) {
    TPayloadReader reader(payload);
    TWelcome welcome;
    welcome.YourId = reader.U32();
    // The count is only trusted as far as the payload backs it: the reads stop at its end.
    for (int left = reader.U16(); left > 0 && reader.Ok(); --left) {
        TWirePlayer player;
        player.Id = reader.U32();
        player.Name = reader.Name();
        welcome.Players.append(std::move(player));
    }
    return IfComplete(reader, std::move(welcome));
}

QByteArray EncodeSessionList(const QList<QByteArray>& names) {
    QByteArray out;
    AppendU16(out, quint16(names.size()));
    for (const QByteArray& name : names)
        AppendName(out, name);
    return out;
}

std::optional<QList<QByteArray>> DecodeSessionList(QByteArrayView payload) {
    TPayloadReader reader(payload);
    QList<QByteArray> names;
    for (int left = reader.U16(); left > 0 && reader.Ok(); --left)
        names.append(reader.Name());
    return IfComplete(reader, std::move(names));
}

TPeerLink::TPeerLink(QIODevice* device, const TLinkTimings& timings, QObject* parent)
    : QObject(parent), device_(device) {
    device->setParent(this);
    connect(device, &QIODevice::readyRead, this, &TPeerLink::ReadAvailable);
    connect(device, &QIODevice::readChannelFinished, this, &TPeerLink::StreamEnded);
    pingTimer_.setInterval(timings.PingInterval);
    connect(&pingTimer_, &QTimer::timeout, this, [this] { Write(TFrameType::Ping); });
    pingTimer_.start();
    silenceTimer_.setSingleShot(true);
    silenceTimer_.setInterval(timings.SilenceTimeout);
    connect(&silenceTimer_, &QTimer::timeout, this, &TPeerLink::EndAfterPendingFrames);
    silenceTimer_.start();
    if (device->bytesAvailable() > 0)
        QTimer::singleShot(0, this, &TPeerLink::ReadAvailable);
}

TPeerLink::~TPeerLink() {
    // The device dies with this link; its last signals must not reach a half-destroyed one.
    if (device_)
        device_->disconnect(this);
}

void TPeerLink::Join(const THello& hello) {
    state_ = TState::Joining;
    Write(TFrameType::Hello, EncodeHello(hello));
}

void TPeerLink::Query() {
    state_ = TState::Querying;
    Write(TFrameType::SessionQuery);
}

void TPeerLink::Accept(const TWelcome& welcome) {
    state_ = TState::Joined;
    Write(TFrameType::Welcome, EncodeWelcome(welcome));
}

void TPeerLink::Refuse() {
    Finish(TFrameType::Refuse);
}

void TPeerLink::AnswerQuery(const QList<QByteArray>& names) {
    Finish(TFrameType::SessionList, EncodeSessionList(names));
}

void TPeerLink::SendMessage(QByteArrayView data) {
    if (state_ == TState::Joined)
        Write(TFrameType::Data, data);
}

void TPeerLink::Hold() {
    held_ = true;
}

void TPeerLink::Release() {
    held_ = false;
    ScheduleDispatch();
}

void TPeerLink::Leave() {
    Finish(TFrameType::Bye);
}

void TPeerLink::Drop() {
    Close();
}

void TPeerLink::StreamEnded() {
    if (state_ == TState::Closed)
        return;
    ReadAvailable(); // a goodbye may still sit in the stream
    EndAfterPendingFrames();
}

void TPeerLink::EndAfterPendingFrames() {
    ended_ = true;
    silenceTimer_.stop();
    ScheduleDispatch();
}

void TPeerLink::ReadAvailable() {
    if (state_ == TState::Closed || !device_)
        return;
    const QByteArray bytes = device_->readAll();
    if (!bytes.isEmpty()) {
        reader_.Append(bytes);
        silenceTimer_.start();
    }
    if (OverLimit())
        return Fail();
    ScheduleDispatch();
}

void TPeerLink::ScheduleDispatch() {
    if (dispatchScheduled_)
        return;
    dispatchScheduled_ = true;
    QTimer::singleShot(0, this, &TPeerLink::Dispatch);
}

// Runs from the event loop, never inside a signal of the device: a handler may close or
// delete the link and its device. Frames are handled one at a time, in order: a dispatch
// asked for while one runs is left to the running one.
void TPeerLink::Dispatch() {
    dispatchScheduled_ = false;
    if (dispatching_)
        return;
    const QPointer<TPeerLink> alive(this);
    dispatching_ = true;
    const auto done = qScopeGuard([&] {
        if (alive)
            dispatching_ = false;
    });
    TFrame frame;
    while (state_ != TState::Closed && NextFrame(frame)) {
        try {
            Handle(frame);
        } catch (...) {
            // The error goes on to the application's handler; the frames behind it still come.
            if (alive)
                ScheduleDispatch();
            throw;
        }
        if (!alive)
            return;
    }
    if (alive && ended_ && !held_ && heldFrames_.isEmpty())
        Fail();
}

bool TPeerLink::NextFrame(TFrame& frame) {
    if (!held_ && !heldFrames_.isEmpty()) {
        frame = heldFrames_.takeFirst();
        heldBytes_ -= HeaderSize + frame.Payload.size();
        return true;
    }
    for (;;) {
        const TFrameReader::TResult result = reader_.Next(frame);
        if (result == TFrameReader::TResult::Broken)
            Fail();
        if (result != TFrameReader::TResult::Frame)
            return false;
        if (!held_)
            return true;
        // Pings only keep the link up; they need no handling.
        if (frame.Type == TFrameType::Ping)
            continue;
        heldBytes_ += HeaderSize + frame.Payload.size();
        heldFrames_.append(std::move(frame));
        if (OverLimit()) {
            Fail();
            return false;
        }
    }
}

void TPeerLink::Handle(const TFrame& frame) {
    if (frame.Type == TFrameType::Ping)
        return;
    if (frame.Type == TFrameType::Bye) {
        Close();
        emit Left();
        return;
    }
    switch (state_) {
    case TState::Accepting:
        return HandleWhileAccepting(frame);
    case TState::Joining:
        return HandleWhileJoining(frame);
    case TState::Querying:
        return HandleWhileQuerying(frame);
    case TState::Joined:
        return HandleWhileJoined(frame);
    case TState::Deciding: // nothing but pings is due before the owner answers the Hello
        return Fail();
    case TState::Closed:
        return;
    }
}

void TPeerLink::HandleWhileAccepting(const TFrame& frame) {
    if (frame.Type == TFrameType::SessionQuery && frame.Payload.isEmpty())
        return void(emit QueryReceived());
    const std::optional<THello> hello =
        frame.Type == TFrameType::Hello ? DecodeHello(frame.Payload) : std::nullopt;
    if (!hello)
        return Fail();
    state_ = TState::Deciding;
    emit HelloReceived(*hello);
}

void TPeerLink::HandleWhileJoining(const TFrame& frame) {
    if (frame.Type == TFrameType::Refuse) {
        Close();
        emit Refused();
        return;
    }
    const std::optional<TWelcome> welcome =
        frame.Type == TFrameType::Welcome ? DecodeWelcome(frame.Payload) : std::nullopt;
    if (!welcome)
        return Fail();
    state_ = TState::Joined;
    held_ = true;
    emit Welcomed(*welcome);
}

void TPeerLink::HandleWhileQuerying(const TFrame& frame) {
    const std::optional<QList<QByteArray>> names =
        frame.Type == TFrameType::SessionList ? DecodeSessionList(frame.Payload) : std::nullopt;
    if (!names)
        return Fail();
    Close();
    emit SessionsReceived(*names);
}

void TPeerLink::HandleWhileJoined(const TFrame& frame) {
    if (frame.Type != TFrameType::Data)
        return Fail();
    emit MessageReceived(frame.Payload);
}

void TPeerLink::Write(TFrameType type, QByteArrayView payload) {
    if (state_ != TState::Closed && device_)
        device_->write(EncodeFrame(type, payload));
}

void TPeerLink::Finish(TFrameType type, QByteArrayView payload) {
    Write(type, payload);
    if (device_)
        device_->waitForBytesWritten(FinalFlushMs);
    Close();
}

void TPeerLink::Close() {
    if (state_ == TState::Closed)
        return;
    state_ = TState::Closed;
    pingTimer_.stop();
    silenceTimer_.stop();
    if (device_)
        device_->close();
}

void TPeerLink::Fail() {
    if (state_ == TState::Closed)
        return;
    Close();
    emit Lost();
}

} // namespace SessionFraming

#pragma once
// The provider side of the session service: how the streams of a session are found, reached
// and served. TCP/IP, a modem line and a serial cable each hand out byte streams; the session
// protocol over those streams is one and the same (SessionFraming).

#include "net/SessionFraming.h"

#include <QByteArray>
#include <QEventLoop>
#include <QList>
#include <QObject>
#include <QString>
#include <optional>

class QIODevice;
class KordiError;

struct TFoundSession {
    QByteArray Name;
    QString Host;     // TCP/IP only
    quint16 Port = 0; // TCP/IP only
};

class TSessionTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The sessions open to a join. Raises KordiError with the text the player sees.
    virtual QList<TFoundSession> Find() = 0;
    // A stream to the host of a found session, or nullptr when it cannot be reached.
    virtual QIODevice* Reach(const TFoundSession& session) = 0;
    // Starts, or goes on, taking joiners (Incoming): a new session when `joined` is empty,
    // else the joined one taken over. Returns why it cannot, or an empty text.
    virtual QString Serve(const TFoundSession& joined) = 0;
    virtual bool Serving() const = 0;
    // Where sessions are served, for messages: "port 47624", "modem ttyS0".
    virtual QString Place() const = 0;
    // Stops serving and lets go of every connection, line and device.
    virtual void Release() = 0;

signals:
    // A new stream from a would-be joiner or a session query.
    void Incoming(QIODevice* stream);
};

KordiError ListNotAcquired();

// A nested event loop that ends when Finish is called or the time is up.
class TWait : public QEventLoop {
public:
    void Finish();
    // True when finished in time.
    bool Run(int timeoutMs);

private:
    bool finished_ = false;
};

// Asks the host at the other end of the stream (which it takes over) for the names of its
// sessions; nothing when no answer comes in time.
std::optional<QList<QByteArray>>
QuerySessions(QIODevice* stream, const SessionFraming::TLinkTimings& timings, int timeoutMs);

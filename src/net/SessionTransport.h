#pragma once
// The provider side of the session service: how the streams of a session are found, reached
// and served. TCP/IP, a modem line and a serial cable each hand out byte streams; the session
// protocol over those streams is one and the same (SessionFraming). Every step that waits for
// the network or a device answers through a callback from the event loop, never inside the
// call that started it.

#include "net/SessionFraming.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <optional>

class QIODevice;
class KordiError;

struct TFoundSession {
    QByteArray Name;
    QString Host;     // TCP/IP only
    quint16 Port = 0; // TCP/IP only
};

struct TFindResult {
    QList<TFoundSession> Sessions;
    // The text the player sees when the search failed; an empty text: the player cancelled.
    std::optional<QString> Failure;
};

using TFindAnswer = std::function<void(const TFindResult& result)>;
// The stream to the host, or nullptr when it cannot be reached.
using TReachAnswer = std::function<void(QIODevice* stream)>;

// The running asynchronous step of its owner (a search, a join, a modem sequence). Its
// callbacks are tied to a context object: stopping the step, or starting the next one,
// drops them all, and so does the owner's end.
class TStep {
public:
    explicit TStep(QObject* owner) : owner_(owner) {}
    TStep(const TStep&) = delete;
    TStep& operator=(const TStep&) = delete;

    // Stops the running step and gives the new one's context.
    QObject* Start();
    void Stop();
    bool Running() const { return current_ != nullptr; }
    QObject* Context() const { return current_; }
    // The callback runs only while the step that was running when it was made still runs.
    template <typename F> auto Guard(F callback) {
        return [this, context = QPointer<QObject>(current_),
                callback = std::move(callback)](auto&&... args) {
            if (context && context == current_)
                callback(std::forward<decltype(args)>(args)...);
        };
    }
    // Runs `callback` from the event loop, guarded as above.
    void Later(std::function<void()> callback);

private:
    QObject* owner_;
    QPointer<QObject> current_;
};

class TSessionTransport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // Starts a search for the sessions open to a join; a new search or Stop ends the old one.
    virtual void Find(TFindAnswer answer) = 0;
    // Starts reaching the host of a found session.
    virtual void Reach(const TFoundSession& session, TReachAnswer answer) = 0;
    // Ends a running Find or Reach without an answer.
    virtual void Stop() = 0;
    // Starts, or goes on, taking joiners (Incoming): a new session when `joined` is empty,
    // else the joined one taken over. Returns why it cannot at once, or an empty text; a
    // failure found later (a modem that does not take its commands) comes as ServeFailed.
    virtual QString Serve(const TFoundSession& joined) = 0;
    virtual bool Serving() const = 0;
    // Where sessions are served, for messages: "port 47624", "modem ttyS0".
    virtual QString Place() const = 0;
    // Stops serving and lets go of every connection, line and device.
    virtual void Release() = 0;

signals:
    // A new stream from a would-be joiner or a session query.
    void Incoming(QIODevice* stream);
    void ServeFailed(const QString& reason);
};

QString ListNotAcquiredText();
KordiError ListNotAcquired();

// Asks the host at the other end of the stream (which it takes over, under `context`) for the
// names of its sessions; nothing when no answer comes in time. The answer comes once, from
// the event loop, and not at all once `context` is gone.
void QuerySessions(QIODevice* stream, const SessionFraming::TLinkTimings& timings, int timeoutMs,
                   QObject* context,
                   std::function<void(const std::optional<QList<QByteArray>>& names)> answer);

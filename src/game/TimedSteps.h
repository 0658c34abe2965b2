#pragma once
// The game's pauses as an explicit sequence: each step runs on the event loop a given time
// after the step before it, never inside another handler. Cancelling drops every step that
// has not run yet.

#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

class TTimedSteps : public QObject {
    Q_OBJECT
public:
    using TStep = std::function<void()>;

    explicit TTimedSteps(QObject* parent = nullptr);

    // Runs `step` `delayMs` after the last step queued before it has run.
    void Then(int delayMs, TStep step);
    void Cancel();
    // A step is waiting to run, or running now.
    bool Running() const { return running_ || !queue_.empty(); }

signals:
    // The last queued step has run and no other is waiting.
    void Done();

private:
    void StartNext();
    void RunNext();

    std::deque<std::pair<int, TStep>> queue_;
    QTimer timer_;
    bool running_ = false;
};

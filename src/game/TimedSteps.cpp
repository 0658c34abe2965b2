#include "game/TimedSteps.h"

TTimedSteps::TTimedSteps(QObject* parent) : QObject(parent) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &TTimedSteps::RunNext);
}

void TTimedSteps::Then(int delayMs, TStep step) {
    queue_.emplace_back(delayMs, std::move(step));
    if (!running_ && !timer_.isActive())
        StartNext();
}

void TTimedSteps::Cancel() {
    queue_.clear();
    timer_.stop();
}

void TTimedSteps::StartNext() {
    timer_.start(queue_.front().first);
}

void TTimedSteps::RunNext() {
    if (queue_.empty())
        return;
    TStep step = std::move(queue_.front().second);
    queue_.pop_front();
    running_ = true;
    try {
        step();
    } catch (...) {
        // The error is shown by whoever handles it; the steps after it still run.
        running_ = false;
        if (!queue_.empty())
            StartNext();
        throw;
    }
    running_ = false;
    if (!queue_.empty())
        StartNext();
    else
        emit Done();
}

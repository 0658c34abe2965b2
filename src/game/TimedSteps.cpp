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
    step();
    running_ = false;
    if (!queue_.empty())
        StartNext();
    else
        emit Done();
}

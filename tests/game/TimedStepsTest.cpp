#include "game/TimedSteps.h"
#include "MessageRecorder.h"

#include <QTest>
#include <gtest/gtest.h>
#include <stdexcept>

// Steps run in order, each after its delay, and a step that fails is reported without
// stopping the ones after it or leaving the sequence running for ever.
TEST(TimedSteps, RunInOrderAndSurviveAFailingStep) {
    MessageRecorder messages;
    TTimedSteps steps;
    QList<int> ran;
    steps.Then(5, [&] { ran.append(1); });
    steps.Then(5, [] { throw std::runtime_error("a step failed"); });
    steps.Then(5, [&] { ran.append(3); });
    EXPECT_TRUE(steps.Running());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !steps.Running(); }, 2000));
    EXPECT_EQ(ran, (QList<int>{1, 3}));
    EXPECT_EQ(messages.Shown, QStringList{"a step failed"});

    steps.Then(50, [&] { ran.append(4); });
    steps.Cancel();
    QTest::qWait(100);
    EXPECT_FALSE(steps.Running());
    EXPECT_EQ(ran.size(), 2);
}

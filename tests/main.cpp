#include "ChildProcess.h"
#include "MessageRecorder.h"
#include "platform/SafeApplication.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (const std::optional<int> status = RunChildRole())
        return *status;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TSafeApplication app(argc, argv, MessageRecorder::Messages());
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

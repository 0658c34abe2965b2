#pragma once
// Records the program's plain messages during one test. Outside such a scope a message
// fails the running test instead of waiting for someone to close a message box.

#include "platform/Messages.h"

#include <QStringList>
#include <gtest/gtest.h>

class MessageRecorder {
public:
    MessageRecorder() {
        Messages::SetSink([this](const QString& text) { Shown.append(text); });
    }
    ~MessageRecorder() { FailOnMessages(); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    static void FailOnMessages() {
        Messages::SetSink([](const QString& text) {
            ADD_FAILURE() << "unexpected message: " << text.toStdString();
        });
    }

    QStringList Shown;
};

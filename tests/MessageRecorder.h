#pragma once
// The messages of the parts a test makes and of the test program's top-level error handler.
// Inside a MessageRecorder's scope they are recorded; outside one a message fails the running
// test instead of waiting for someone to close a message box.

#include "platform/Messages.h"

#include <QStringList>
#include <gtest/gtest.h>

class MessageRecorder {
public:
    MessageRecorder() { Current() = this; }
    ~MessageRecorder() { Current() = nullptr; }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    // What the tests hand every part that shows messages.
    static IMessages& Messages() {
        struct TRouted final : IMessages {
            void Show(const QString& text) override { Record(text); }
            void ShowError(const QString& text) override { Record(text); }
        };
        static TRouted messages;
        return messages;
    }

    QStringList Shown;

private:
    static void Record(const QString& text) {
        if (Current())
            Current()->Shown.append(text);
        else
            ADD_FAILURE() << "unexpected message: " << text.toStdString();
    }
    static MessageRecorder*& Current() {
        static MessageRecorder* current = nullptr;
        return current;
    }
};

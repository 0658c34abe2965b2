#pragma once
// The application object whose event dispatch is the program's top-level error handler:
// an error that reaches the edge of an event handler is shown as a message, and the
// program goes on.

#include <QApplication>

class IMessages;

class TSafeApplication : public QApplication {
public:
    // The errors are shown through `messages`, which outlives the application.
    TSafeApplication(int& argc, char** argv, IMessages& messages);
    bool notify(QObject* receiver, QEvent* event) override;

private:
    IMessages& messages_;
};

#pragma once
// The application object whose event dispatch is the program's top-level error handler:
// an error that reaches the edge of an event handler is shown in a message box, and the
// program goes on.

#include <QApplication>
#include <functional>

class TSafeApplication : public QApplication {
public:
    TSafeApplication(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;

    // Runs `action` and shows any error it raises (a cancelled step ends quietly); for code
    // outside event dispatch.
    static void Guard(const std::function<void()>& action);
    static void ShowError(const QString& text);
};
